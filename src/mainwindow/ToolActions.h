#pragma once

#include "mainwindow/ToolButtons.h"

#include <QObject>

#include <functional>

class ImageButton;
class ImageCanvas;
class LiveSource;
class OSDProcessor;
class PopupSlot;
class PrintControl;
class RecordingControl;
class SnapshotControl;
class ToolWindowHost;

// What the side panel's tool buttons do, on the canvas of the current mode: the drawing tools
// and their line-style popups (a press-and-hold on a tool button opens its popup), the mask and
// effect, zoom, rotation and freeze, the camera's brightness and autofocus, and snapshot,
// recording, settings and print. Each action shows its on-screen indication and closes a popup
// that does not belong to its button.
//
// Threads: GUI thread only.
class ToolActions : public QObject
{
    Q_OBJECT
public:
    // The window's parts the actions work on; none is owned.
    struct Parts
    {
        const ToolButtons *tools = nullptr;
        PopupSlot *popup = nullptr;
        ToolWindowHost *host = nullptr; // what the popups read and apply
        LiveSource *liveSource = nullptr;
        SnapshotControl *snapshots = nullptr;
        RecordingControl *recording = nullptr;
        PrintControl *printing = nullptr;
        std::function<ImageCanvas *()> currentCanvas;
        std::function<OSDProcessor *()> currentOsd;
    };

    // Connects every tool button to its action.
    explicit ToolActions(const Parts &parts, QObject *parent = nullptr);

    // The mask a click on the mask button brings back (the circle at first).
    int rememberedMask() const { return m_rememberedMask; }

public slots:
    void line();
    void lineHold();
    void rectangle();
    void rectangleHold();
    void freehand();
    void freehandHold();
    void circle();
    void circleHold();
    void arrow();
    void arrowHold();
    void triangle();
    void triangleHold();
    void erase();
    void eraseHold();
    void eraseAll();
    void text();
    void textHold();
    void clip();
    void fillBackground();
    void fillBackgroundHold();
    void hand();
    void mask();
    void maskHold();
    void effectHold();
    void zoomInStart();
    void zoomInStop();
    void zoomOutStart();
    void zoomOutStop();
    void zoomReset();
    void autoFocus();
    void brightnessDown();
    void brightnessUp();
    void rotate();
    void rotateRev();
    void macro();
    void freeze();
    void record();
    void snapshot();
    void settings();
    void print();

private:
    ImageCanvas *canvas() const { return m_currentCanvas(); }
    OSDProcessor *osd() const { return m_currentOsd(); }
    // Selects the tool of a line style and opens its popup beside `anchor`.
    void openLineStylePopup(int style, ImageButton *anchor);

    const ToolButtons *m_tools;
    PopupSlot *m_popup;
    ToolWindowHost *m_host;
    LiveSource *m_live;
    SnapshotControl *m_snapshots;
    RecordingControl *m_recording;
    PrintControl *m_printing;
    std::function<ImageCanvas *()> m_currentCanvas;
    std::function<OSDProcessor *()> m_currentOsd;
    int m_rememberedMask = 1;
};

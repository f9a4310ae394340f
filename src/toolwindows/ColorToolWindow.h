#pragma once

#include "toolwindows/ToolWindow.h"

#include <QColor>
#include <QPointer>

class ImageButton;
class ImageCanvas;
class ToolWindowHost;

// The line width, line colour and fill colour popup of the drawing tools. It has a width row
// and, when their labels are given, a line colour row and a fill colour row (the fill row only
// together with the line colour row). A click writes the choice into the canvas in use at once;
// the popup stays open and, after every mode switch, checks what the new canvas holds.
//
// Threads: GUI thread only.
class ColorToolWindow : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr int WidthCount = 4;
    static constexpr int ColorCount = 4;
    static constexpr int FillNone = 4; // index of the fill row's NONE button

    static int lineWidthAt(int index);
    static QColor colorAt(int index);

    ColorToolWindow(QWidget *anchor, ToolWindowHost *host, const QString &title, const QString &widthLabel,
                    const QString &lineColorLabel, const QString &fillColorLabel);

    bool hasLineColorRow() const { return m_hasLineColorRow; }
    bool hasFillRow() const { return m_hasFillRow; }
    ImageButton *widthButton(int index) const { return m_widthButtons[index]; }
    ImageButton *lineColorButton(int index) const { return m_lineColorButtons[index]; }
    ImageButton *fillButton(int index) const { return m_fillButtons[index]; }

public slots:
    void modeChanged();
    void lineWidthChanged();
    void colorChanged();
    void fillColorChanged();

private:
    bool m_hasLineColorRow = false;
    bool m_hasFillRow = false;
    ImageButton *m_widthButtons[WidthCount] = {};
    ImageButton *m_lineColorButtons[ColorCount] = {};
    ImageButton *m_fillButtons[ColorCount + 1] = {};
    QPointer<ImageCanvas> m_canvas;
    ToolWindowHost *m_host = nullptr;
};

#pragma once

#include <QImage>
#include <QMetaObject>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

class ImageCanvas;
class OSDProcessor;
class QObject;
class QWidget;

// What the popup tool windows need of the window that opens them (the main window): the canvas
// in use and its on-screen display, the camera's supported sizes and the operations the settings
// popup applies, the section labels of the colour popups, and the notification of a mode switch
// after which the canvas in use may be another one.
//
// Threads: GUI thread only.
class ToolWindowHost
{
public:
    virtual ~ToolWindowHost();

    // The window itself: every popup's parent.
    virtual QWidget *hostWidget() = 0;
    virtual ImageCanvas *currentCanvas() const = 0;
    // The on-screen display of `canvas`; null for a canvas the host does not know.
    virtual OSDProcessor *osdProcessor(ImageCanvas *canvas) const = 0;
    // The capture sizes the camera may use, in the order the settings popup lists them.
    virtual const QVector<QSize> &supportedResolutions() const = 0;
    // Hands a new capture size to the live camera source.
    virtual void setLiveResolution(int width, int height) = 0;
    // The capture size the live camera runs at now (which may not be the one asked for); an
    // invalid size when it does not run.
    virtual QSize liveResolution() const = 0;
    virtual void resetRecordingState() = 0;
    // Power-line frequency code: 1 = 50 Hz, 2 = 60 Hz.
    virtual void applyFlicker(int code) = 0;
    // Runs `slot` (in `receiver`'s context, dropped with it) after every mode switch that
    // changed the mode.
    virtual QMetaObject::Connection connectModeChanged(QObject *receiver, std::function<void()> slot) = 0;

    // Section labels of the colour popups, translated once by the host.
    virtual const QString &widthLabel() const = 0;
    virtual const QString &lineWidthLabel() const = 0;
    virtual const QString &lineColorLabel() const = 0;
    virtual const QString &fillColorLabel() const = 0;
    // The picture of the about popup.
    virtual QImage aboutPicture() const = 0;
};

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class CanvasMessages;
class LiveSource;

// What the live canvas says about the camera, in words, instead of a silent black picture: that
// no document camera is connected and how to connect one, that it is starting, that the user may
// not use it, or that another program uses it. The words follow the live source's availability
// and go once the camera gives pictures. It also says why a recording or a snapshot of the live
// camera does nothing while there is no camera picture: a notice on the canvas the user looks at.
//
// Threads: GUI thread only.
class CameraStatusDisplay : public QObject
{
    Q_OBJECT
public:
    // `liveMessages` are those of the live canvas; neither is owned.
    CameraStatusDisplay(LiveSource *source, CanvasMessages *liveMessages, QObject *parent = nullptr);

    // A recording or a snapshot was asked of the live camera while it gives no picture: tells
    // why nothing happens on `messages` (the current canvas's).
    void explainNoRecording(CanvasMessages *messages) const;
    void explainNoSnapshot(CanvasMessages *messages) const;

    static QString noCameraTitle();
    static QString noCameraDetail();
    static QString startingTitle();
    static QString noPermissionTitle(const QString &device);
    static QString inUseTitle();
    static QString inUseDetail();
    static QString noRecordingNotice();
    static QString noSnapshotNotice();

private:
    void showAvailability();

    QPointer<LiveSource> m_source;
    QPointer<CanvasMessages> m_messages;
};

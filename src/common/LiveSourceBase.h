#pragma once

#include <QObject>
#include <QtGlobal>

// The live camera as the main window and the on-screen display see it.
//
// The first five operations are the device operations every live source offers; the level and
// zoom operations are what the on-screen display reads for its brightness bar and zoom
// indication. Status results follow one rule: 0 or positive is success, negative is failure.
//
// Threads: every operation is called on the GUI thread only; implementations take no lock.
class LiveSourceBase : public QObject
{
    Q_OBJECT

public:
    explicit LiveSourceBase(QObject *parent = nullptr);
    ~LiveSourceBase() override;

    virtual bool isOpen() = 0;
    // One request to the camera's vendor extension unit: `controlId` selects the control,
    // `data` / `length` is the caller's buffer. Returns the request's status.
    virtual qint32 setExtensionControl(quint32 controlId, void *data, quint32 length) = 0;
    virtual qint32 getExtensionControl(quint32 controlId, void *data, quint32 length) = 0;
    // Power-line frequency code: 1 = 50 Hz, 2 = 60 Hz.
    virtual qint32 flicker() = 0;
    virtual qint32 setFlicker(qint32 value) = 0;

    // Brightness in steps of one brightnessUp()/brightnessDown(); all 0 while not open.
    virtual int brightnessLevel() = 0;
    virtual int brightnessLevelMax() = 0;
    virtual int brightnessLevelMin() = 0;
    // The camera's own optical zoom state; 0.0 while not open.
    virtual double deviceZoomPosition() = 0;
    virtual double deviceZoomFactor() = 0;
};

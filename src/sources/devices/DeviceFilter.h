#pragma once

#include "sources/devices/CaptureFormatChooser.h"

#include <QString>
#include <QVector>

// GStreamer stays inside the sources: users of this header see the element type only by name.
typedef struct _GstElement GstElement;

// Camera properties behind the video processing amplifier and the camera control.
enum class DeviceProperty { Brightness, PowerLineFrequency, Focus };

// Flags of a property write: automatic or manual control.
enum DevicePropertyFlag { PROPERTY_FLAG_AUTO = 1, PROPERTY_FLAG_MANUAL = 2 };

// A device taken by the device search: it makes the GStreamer element that captures from it
// and, for a camera, reaches its controls. The queries mirror the control interfaces a camera
// must have to be taken: the extension unit (hasPropertyControl), brightness and power-line
// frequency (hasVideoProcAmp) and focus (hasCameraControl). An audio input has none of them.
//
// Status results: 0 is success, a negative value is a failure (a negated errno for devices).
//
// Threads: GUI thread only. createElement() hands out a new floating element; the caller owns it.
class DeviceFilter
{
public:
    virtual ~DeviceFilter();

    virtual QString displayName() const = 0;
    virtual GstElement *createElement() = 0;

    virtual bool hasPropertyControl();
    virtual bool hasVideoProcAmp();
    virtual bool hasCameraControl();

    // MJPG sizes and rates the camera offers, and its own current format.
    virtual QVector<FrameSizeOption> captureFormats();
    virtual CaptureMode currentFormat();

    virtual qint32 getProperty(DeviceProperty property, qint32 *value);
    virtual qint32 getPropertyRange(DeviceProperty property, qint32 *minimum, qint32 *maximum);
    virtual qint32 setProperty(DeviceProperty property, qint32 value, int flags);

    // One request to the vendor extension unit: read (set = false) or write `length` bytes.
    virtual qint32 extensionUnitRequest(bool set, quint32 controlId, void *data, quint32 length);

protected:
    DeviceFilter() = default;
    DeviceFilter(const DeviceFilter &) = delete;
    DeviceFilter &operator=(const DeviceFilter &) = delete;
};

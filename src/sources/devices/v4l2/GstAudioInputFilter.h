#pragma once

#include "sources/devices/DeviceFilter.h"
#include "sources/media/GstRef.h"

#include <vector>

struct DeviceMoniker;

// An audio input found by GStreamer's device monitor ("Audio/Source"). Its display name
// carries the USB ids the sound server reports, so that the camera's own microphone can be
// told apart: "audio:<name> usb#vid_04fc&pid_5330".
//
// Threads: GUI thread only.
class GstAudioInputFilter : public DeviceFilter
{
public:
    explicit GstAudioInputFilter(GstDevice *device); // takes a reference of its own
    ~GstAudioInputFilter() override;

    QString displayName() const override;
    GstElement *createElement() override;

    // What the device's properties say of it: the display name with the USB ids, whether it is
    // a monitor of an output and whether it is the default input. PulseAudio writes the ids as
    // "04fc", PipeWire as "0x04fc"; monitors have "device.class" "monitor".
    static DeviceMoniker describe(const QString &label, const GstStructure *properties);
    // Four lower-case hex digits of a USB id in either form; empty when it is none.
    static QString usbId(const QString &text);
    // Every audio input the system offers now, in the monitor's order.
    static std::vector<DeviceMoniker> enumerate();

private:
    GstRef<GstDevice> m_device;
};

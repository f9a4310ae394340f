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

    static QString displayNameOf(GstDevice *device);
    // Every audio input the system offers now, in the monitor's order.
    static std::vector<DeviceMoniker> enumerate();

private:
    GstRef<GstDevice> m_device;
};

#pragma once

#include "sources/devices/CaptureFormatChooser.h"
#include "sources/devices/DeviceFilter.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

#include <gst/gst.h>

#include <atomic>
#include <memory>

// A document camera that lives in the program: it appears as a video input with a supported
// USB id, produces MJPG from videotestsrc through jpegenc at any offered size and rate, keeps
// its controls and extension-unit registers in memory and has a microphone (audiotestsrc).
// Tests plug it in, unplug it and stall it; DOCUMENT_CAMERA_SIMULATED=1 lets a user try the
// program without a camera.
//
// Threads: the controls, formats and the operation log are used on the GUI thread and guarded
// by m_mutex; the plugged and stalled flags and the frame counter are atomic because the
// streaming thread reads them for every frame. Share it through std::shared_ptr: running
// elements keep it alive.
class SimulatedCamera : public std::enable_shared_from_this<SimulatedCamera>
{
public:
    static constexpr quint16 VENDOR_ID = 0x04FC;
    static constexpr quint16 PRODUCT_ID = 0x5330;
    static constexpr qint32 BRIGHTNESS_MIN = -64;
    static constexpr qint32 BRIGHTNESS_MAX = 64;
    static constexpr quint32 REGISTER_ADDRESS_CONTROL = 19;
    static constexpr quint32 REGISTER_DATA_CONTROL = 20;

    SimulatedCamera();
    ~SimulatedCamera();
    SimulatedCamera(const SimulatedCamera &) = delete;
    SimulatedCamera &operator=(const SimulatedCamera &) = delete;

    // Presence and streaming, as a test drives them.
    void plugIn();
    void unplug();
    void setStalled(bool stalled);
    bool isPluggedIn() const { return m_plugged.load(std::memory_order_acquire); }
    bool isStalled() const { return m_stalled.load(std::memory_order_acquire); }
    int framesDelivered() const { return m_frames.load(std::memory_order_acquire); }

    QString displayName() const;
    QString microphoneDisplayName() const;

    // Offered MJPG formats: any size from 16 x 16 to 4096 x 4096 at 1 to 60 frames/s unless a
    // test restricts them. The camera's own format is the one it keeps when asked for another.
    void setOfferedFormats(const QVector<FrameSizeOption> &formats);
    QVector<FrameSizeOption> offeredFormats() const;
    void setCurrentFormat(const CaptureMode &mode);
    CaptureMode currentFormat() const;
    // The videotestsrc pattern (its nick, e.g. "smpte", "white"); moving by default.
    void setPattern(const QString &pattern);

    // Controls; a negated errno while unplugged.
    qint32 property(DeviceProperty property, qint32 *value);
    qint32 propertyRange(DeviceProperty property, qint32 *minimum, qint32 *maximum);
    qint32 setProperty(DeviceProperty property, qint32 value, int flags);
    bool focusAuto() const;
    qint32 extensionUnitRequest(bool set, quint32 controlId, void *data, quint32 length);
    void setRegister(quint32 address, quint32 value);
    // Every control read and write, e.g. "get Focus", "set Focus 300 manual".
    QStringList operations() const;
    void clearOperations();

    // New floating elements: the MJPG camera source (a bin) and the microphone.
    GstElement *createVideoElement();
    GstElement *createAudioElement();

private:
    static GstPadProbeReturn frameProbe(GstPad *pad, GstPadProbeInfo *info, gpointer data);
    static const char *propertyName(DeviceProperty property);
    GstCaps *offeredCaps() const;

    std::atomic<bool> m_plugged{true};
    std::atomic<bool> m_stalled{false};
    std::atomic<int> m_frames{0};
    std::atomic<int> m_generation{0}; // bumped by unplug(): elements of an older plug-in fail

    mutable QMutex m_mutex;
    QVector<FrameSizeOption> m_formats;
    CaptureMode m_current;
    QString m_pattern;
    QHash<int, qint32> m_properties;
    bool m_focusAuto = true;
    quint32 m_registerAddress = 0;
    QHash<quint32, quint32> m_registers;
    QStringList m_operations;
};

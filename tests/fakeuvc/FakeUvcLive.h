#pragma once

// What the tests of the program's live path on the fake camera share: the system's devices
// with a microphone of the test's choosing, the canvas and the live source built as the
// window builds them, the fake camera's state, and recordings read back with ffprobe.

#include "FakeUvcTest.h"
#include "canvas/ImageCanvas.h"
#include "sources/devices/DeviceBackend.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/devices/v4l2/V4l2Backend.h"
#include "sources/live/LiveSource.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>

#include <gst/gst.h>

namespace fakeuvctest {

// A microphone that cannot start: an ALSA card that is not there, as when the device went
// or the sound server refuses.
class BrokenMicrophone : public DeviceFilter
{
public:
    QString displayName() const override { return QStringLiteral("audio:Broken Microphone"); }
    GstElement *createElement() override
    {
        GstElement *source = gst_element_factory_make("alsasrc", nullptr);
        if (source)
            g_object_set(source, "device", "hw:97", nullptr);
        return source;
    }
};

// The system's cameras as the program finds them (V4l2Backend on the real /sys and /dev,
// which the fake camera answers), with one audio input: the simulated machine microphone, a
// broken one, or none (the fake camera has no microphone of its own).
class CameraDevices : public DeviceBackend
{
public:
    enum class Microphone { None, Simulated, Broken };
    explicit CameraDevices(Microphone microphone)
        : m_microphone(microphone)
        , m_simulated(std::make_shared<SimulatedCamera>())
    { }

    std::vector<DeviceMoniker> enumerate(DeviceCategory category) override
    {
        if (category == DeviceCategory::VideoInput)
            return m_video.enumerate(category);
        std::vector<DeviceMoniker> inputs;
        if (m_microphone == Microphone::Simulated) {
            std::shared_ptr<SimulatedCamera> simulated = m_simulated;
            for (DeviceMoniker &moniker : SimulatedBackend(simulated).enumerate(category))
                inputs.push_back(std::move(moniker));
        } else if (m_microphone == Microphone::Broken) {
            inputs.emplace_back(
                QStringLiteral("audio:Broken Microphone"),
                []() -> std::unique_ptr<DeviceFilter> { return std::make_unique<BrokenMicrophone>(); });
        }
        return inputs;
    }

private:
    Microphone m_microphone;
    V4l2Backend m_video;
    std::shared_ptr<SimulatedCamera> m_simulated;
};

// One field of the fake camera's state line ("streaming", "capture", "handles", ...).
inline QString stateField(const QString &field, int camera = 0)
{
    const QString line = state().split('\n').filter(QStringLiteral("camera %1 ").arg(camera)).value(0);
    const QRegularExpression pattern(QStringLiteral("(?:^| )%1=(\\S*)").arg(field));
    return pattern.match(line).captured(1);
}

// The sequence number the fake camera drew on a picture of the canvas (frame size given).
inline qint64 frameCodeOf(const QImage &picture, int frameWidth, int frameHeight)
{
    if (picture.isNull())
        return -1;
    uint32_t sequence = 0;
    const bool found = fakeuvc::readFrameCode(
        frameWidth, frameHeight, picture.width(), picture.height(),
        [&](int x, int y) { return qGray(picture.pixel(x, y)); }, &sequence);
    return found ? qint64(sequence) : -1;
}

// A recording as ffprobe reads it.
struct Probed
{
    bool ok = false;
    QString error;
    double videoSeconds = -1;
    double audioSeconds = -1;
    int videoFrames = -1;
    QString frameRate; // "30/1"
};

inline Probed probe(const QString &file)
{
    Probed result;
    QProcess process;
    process.start(QStringLiteral("ffprobe"),
                  {"-v", "error", "-show_entries",
                   "stream=codec_type,duration,nb_frames,r_frame_rate,sample_rate", "-of", "compact=p=0:nk=0",
                   file});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        result.error = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    for (const QString &line :
         QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        QMap<QString, QString> fields;
        for (const QString &pair : line.split('|'))
            fields.insert(pair.section('=', 0, 0), pair.section('=', 1));
        if (fields.value("codec_type") == QLatin1String("video")) {
            result.videoSeconds = fields.value("duration").toDouble();
            result.videoFrames = fields.value("nb_frames").toInt();
            result.frameRate = fields.value("r_frame_rate");
        } else if (fields.value("codec_type") == QLatin1String("audio")) {
            // AVI gives PCM no duration: its samples counted at its rate are its length.
            bool known = false;
            result.audioSeconds = fields.value("duration").toDouble(&known);
            const double rate = fields.value("sample_rate").toDouble();
            if (!known && rate > 0)
                result.audioSeconds = fields.value("nb_frames").toDouble() / rate;
        }
    }
    result.ok = result.videoSeconds > 0;
    return result;
}

// The canvas and the live source on the fake camera, as the window builds them.
struct LiveRig
{
    explicit LiveRig(CameraDevices::Microphone microphone = CameraDevices::Microphone::None, int width = 640,
                     int height = 480)
    {
        canvas.resize(640, 480);
        source = std::make_unique<LiveSource>(std::make_unique<CameraDevices>(microphone), canvas.pipeline(),
                                              width, height, width, height);
    }
    ~LiveRig() { source.reset(); } // the source goes before the canvas it feeds

    // Waits for the opening (the settle time and a check); false when it did not come.
    bool waitForOpen(int timeoutMs = 10000)
    {
        QSignalSpy plugIn(source.get(), &LiveSource::devicePlugIn);
        return source->isOpen() || plugIn.wait(timeoutMs);
    }
    // The sequence number on the canvas's current picture.
    qint64 frameOnCanvas() const
    {
        const QImage picture = canvas.pipeline()->outputImage();
        return frameCodeOf(picture, picture.width(), picture.height());
    }

    ImageCanvas canvas;
    std::unique_ptr<LiveSource> source;
};

} // namespace fakeuvctest

#include "sources/devices/simulated/SimulatedCamera.h"

#include <QMutexLocker>
#include <QtEndian>

#include <cerrno>
#include <cstring>

namespace {

// What a running camera element needs from its camera, released with the element's pad.
struct ProbeData
{
    std::shared_ptr<SimulatedCamera> camera;
    int generation;
    std::atomic<bool> errorPosted{false};
};

void addFraction(GValue *list, const FrameRate &rate)
{
    GValue fraction = G_VALUE_INIT;
    g_value_init(&fraction, GST_TYPE_FRACTION);
    gst_value_set_fraction(&fraction, rate.numerator, rate.denominator);
    gst_value_list_append_value(list, &fraction);
    g_value_unset(&fraction);
}

void setIntRange(GstStructure *structure, const char *field, int minimum, int maximum, int step)
{
    if (minimum == maximum) {
        gst_structure_set(structure, field, G_TYPE_INT, minimum, nullptr);
        return;
    }
    GValue range = G_VALUE_INIT;
    g_value_init(&range, GST_TYPE_INT_RANGE);
    gst_value_set_int_range_step(&range, minimum, maximum, step > 0 ? step : 1);
    gst_structure_set_value(structure, field, &range);
    g_value_unset(&range);
}

} // namespace

SimulatedCamera::SimulatedCamera()
    : m_pattern(QStringLiteral("smpte"))
{
    FrameSizeOption any;
    any.minWidth = any.minHeight = 16;
    any.maxWidth = any.maxHeight = 4096;
    any.minRate = FrameRate(1);
    any.maxRate = FrameRate(60);
    m_formats = {any};
    m_current.width = 1280;
    m_current.height = 720;
    m_current.rateNumerator = 30;
    m_properties.insert(int(DeviceProperty::Brightness), 0);
    m_properties.insert(int(DeviceProperty::PowerLineFrequency), 1);
    m_properties.insert(int(DeviceProperty::Focus), 300);
    // Optical zoom at its wide end: position 1.00, factors 1.000 x 1.000.
    m_registers.insert(0x70000024, 100);
    m_registers.insert(0x7000001C, 1000);
    m_registers.insert(0x7000001E, 1000);
}

SimulatedCamera::~SimulatedCamera() = default;

void SimulatedCamera::plugIn()
{
    m_plugged.store(true, std::memory_order_release);
}

void SimulatedCamera::unplug()
{
    m_generation.fetch_add(1, std::memory_order_acq_rel);
    m_plugged.store(false, std::memory_order_release);
}

void SimulatedCamera::setStalled(bool stalled)
{
    m_stalled.store(stalled, std::memory_order_release);
}

QString SimulatedCamera::displayName() const
{
    return QStringLiteral("simulated:camera usb#vid_%1&pid_%2")
        .arg(VENDOR_ID, 4, 16, QLatin1Char('0'))
        .arg(PRODUCT_ID, 4, 16, QLatin1Char('0'));
}

QString SimulatedCamera::microphoneDisplayName() const
{
    return QStringLiteral("simulated:microphone");
}

void SimulatedCamera::setOfferedFormats(const QVector<FrameSizeOption> &formats)
{
    QMutexLocker lock(&m_mutex);
    m_formats = formats;
}

QVector<FrameSizeOption> SimulatedCamera::offeredFormats() const
{
    QMutexLocker lock(&m_mutex);
    return m_formats;
}

void SimulatedCamera::setCurrentFormat(const CaptureMode &mode)
{
    QMutexLocker lock(&m_mutex);
    m_current = mode;
}

CaptureMode SimulatedCamera::currentFormat() const
{
    QMutexLocker lock(&m_mutex);
    return m_current;
}

void SimulatedCamera::setPattern(const QString &pattern)
{
    QMutexLocker lock(&m_mutex);
    m_pattern = pattern;
}

const char *SimulatedCamera::propertyName(DeviceProperty property)
{
    switch (property) {
    case DeviceProperty::Brightness:
        return "Brightness";
    case DeviceProperty::PowerLineFrequency:
        return "PowerLineFrequency";
    case DeviceProperty::Focus:
        return "Focus";
    }
    return "?";
}

qint32 SimulatedCamera::property(DeviceProperty property, qint32 *value)
{
    if (!isPluggedIn())
        return -ENODEV;
    QMutexLocker lock(&m_mutex);
    m_operations << QStringLiteral("get %1").arg(QLatin1String(propertyName(property)));
    *value = m_properties.value(int(property));
    return 0;
}

qint32 SimulatedCamera::propertyRange(DeviceProperty property, qint32 *minimum, qint32 *maximum)
{
    if (!isPluggedIn())
        return -ENODEV;
    switch (property) {
    case DeviceProperty::Brightness:
        *minimum = BRIGHTNESS_MIN;
        *maximum = BRIGHTNESS_MAX;
        break;
    case DeviceProperty::PowerLineFrequency:
        *minimum = 0;
        *maximum = 2;
        break;
    case DeviceProperty::Focus:
        *minimum = 0;
        *maximum = 1023;
        break;
    }
    return 0;
}

qint32 SimulatedCamera::setProperty(DeviceProperty property, qint32 value, int flags)
{
    if (!isPluggedIn())
        return -ENODEV;
    qint32 minimum = 0, maximum = 0;
    propertyRange(property, &minimum, &maximum);
    QMutexLocker lock(&m_mutex);
    const bool automatic = flags & PROPERTY_FLAG_AUTO;
    m_operations << QStringLiteral("set %1 %2 %3")
                        .arg(QLatin1String(propertyName(property)))
                        .arg(value)
                        .arg(automatic ? QStringLiteral("auto") : QStringLiteral("manual"));
    if (property == DeviceProperty::Focus) {
        m_focusAuto = automatic;
        if (automatic)
            return 0; // the focus run chooses the position
    }
    // Like a UVC camera: a value outside the range is refused and changes nothing.
    if (value < minimum || value > maximum)
        return -ERANGE;
    m_properties.insert(int(property), value);
    return 0;
}

bool SimulatedCamera::focusAuto() const
{
    QMutexLocker lock(&m_mutex);
    return m_focusAuto;
}

qint32 SimulatedCamera::extensionUnitRequest(bool set, quint32 controlId, void *data, quint32 length)
{
    if (!isPluggedIn())
        return -ENODEV;
    if (length != 4 || !data)
        return -EINVAL;
    QMutexLocker lock(&m_mutex);
    quint32 value = 0;
    if (controlId == REGISTER_ADDRESS_CONTROL) {
        if (set) {
            std::memcpy(&value, data, 4);
            m_registerAddress = qFromLittleEndian(value);
        } else {
            value = qToLittleEndian(m_registerAddress);
            std::memcpy(data, &value, 4);
        }
        return 0;
    }
    if (controlId == REGISTER_DATA_CONTROL && !set) {
        value = qToLittleEndian(m_registers.value(m_registerAddress));
        std::memcpy(data, &value, 4);
        return 0;
    }
    return -EINVAL;
}

void SimulatedCamera::setRegister(quint32 address, quint32 value)
{
    QMutexLocker lock(&m_mutex);
    m_registers.insert(address, value);
}

QStringList SimulatedCamera::operations() const
{
    QMutexLocker lock(&m_mutex);
    return m_operations;
}

void SimulatedCamera::clearOperations()
{
    QMutexLocker lock(&m_mutex);
    m_operations.clear();
}

GstCaps *SimulatedCamera::offeredCaps() const
{
    QMutexLocker lock(&m_mutex);
    GstCaps *caps = gst_caps_new_empty();
    for (const FrameSizeOption &option : m_formats) {
        GstStructure *structure = gst_structure_new_empty("image/jpeg");
        setIntRange(structure, "width", option.minWidth, option.maxWidth, option.stepWidth);
        setIntRange(structure, "height", option.minHeight, option.maxHeight, option.stepHeight);
        if (!option.rates.isEmpty()) {
            GValue list = G_VALUE_INIT;
            g_value_init(&list, GST_TYPE_LIST);
            for (const FrameRate &rate : option.rates)
                addFraction(&list, rate);
            gst_structure_set_value(structure, "framerate", &list);
            g_value_unset(&list);
        } else if (option.maxRate.isValid()) {
            const FrameRate minimum = option.minRate.isValid() ? option.minRate : FrameRate(1, 3600);
            gst_structure_set(structure, "framerate", GST_TYPE_FRACTION_RANGE, minimum.numerator,
                              minimum.denominator, option.maxRate.numerator, option.maxRate.denominator,
                              nullptr);
        }
        gst_caps_append_structure(caps, structure);
    }
    return caps;
}

GstPadProbeReturn SimulatedCamera::frameProbe(GstPad *pad, GstPadProbeInfo *, gpointer data)
{
    auto *probe = static_cast<ProbeData *>(data);
    SimulatedCamera *camera = probe->camera.get();
    const bool gone = !camera->isPluggedIn()
        || camera->m_generation.load(std::memory_order_acquire) != probe->generation;
    if (gone) {
        // A camera pulled out mid-stream: the source reports a read error once and stays silent.
        if (!probe->errorPosted.exchange(true)) {
            GstElement *source = gst_pad_get_parent_element(pad);
            if (source) {
                GST_ELEMENT_ERROR(source, RESOURCE, READ, ("The simulated camera was unplugged."), (nullptr));
                gst_object_unref(source);
            }
        }
        return GST_PAD_PROBE_DROP;
    }
    if (camera->isStalled())
        return GST_PAD_PROBE_DROP;
    camera->m_frames.fetch_add(1, std::memory_order_acq_rel);
    return GST_PAD_PROBE_OK;
}

GstElement *SimulatedCamera::createVideoElement()
{
    QString pattern;
    {
        QMutexLocker lock(&m_mutex);
        pattern = m_pattern;
    }
    GstElement *bin = gst_bin_new(nullptr);
    GstElement *source = gst_element_factory_make("videotestsrc", nullptr);
    GstElement *encoder = gst_element_factory_make("jpegenc", nullptr);
    GstElement *offered = gst_element_factory_make("capsfilter", nullptr);
    if (!source || !encoder || !offered) {
        for (GstElement *e : {source, encoder, offered})
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    gst_util_set_object_arg(G_OBJECT(source), "pattern", pattern.toUtf8().constData());
    g_object_set(source, "is-live", TRUE, "horizontal-speed", 2, nullptr);
    GstCaps *caps = offeredCaps();
    g_object_set(offered, "caps", caps, nullptr);
    gst_caps_unref(caps);
    gst_bin_add_many(GST_BIN(bin), source, encoder, offered, nullptr);
    gst_element_link_many(source, encoder, offered, nullptr);

    GstPad *output = gst_element_get_static_pad(offered, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", output));
    gst_object_unref(output);

    GstPad *frames = gst_element_get_static_pad(source, "src");
    auto *probe = new ProbeData{shared_from_this(), m_generation.load(std::memory_order_acquire)};
    gst_pad_add_probe(frames, GST_PAD_PROBE_TYPE_BUFFER, &SimulatedCamera::frameProbe, probe,
                      [](gpointer data) { delete static_cast<ProbeData *>(data); });
    gst_object_unref(frames);
    return bin;
}

GstElement *SimulatedCamera::createAudioElement()
{
    GstElement *source = gst_element_factory_make("audiotestsrc", nullptr);
    if (source)
        g_object_set(source, "is-live", TRUE, "volume", 0.1, "freq", 440.0, nullptr);
    return source;
}

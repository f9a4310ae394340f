#include "sources/devices/v4l2/GstAudioInputFilter.h"

#include "sources/devices/DeviceBackend.h"

namespace {

QString stringProperty(const GstStructure *properties, const char *name)
{
    const gchar *value = properties ? gst_structure_get_string(properties, name) : nullptr;
    return value ? QString::fromUtf8(value) : QString();
}

} // namespace

GstAudioInputFilter::GstAudioInputFilter(GstDevice *device)
    : m_device(GstRef<GstDevice>::borrow(device))
{ }

GstAudioInputFilter::~GstAudioInputFilter() = default;

QString GstAudioInputFilter::displayName() const
{
    gchar *label = gst_device_get_display_name(m_device.get());
    GstStructure *properties = gst_device_get_properties(m_device.get());
    const QString name = describe(QString::fromUtf8(label ? label : ""), properties).displayName;
    if (properties)
        gst_structure_free(properties);
    g_free(label);
    return name;
}

GstElement *GstAudioInputFilter::createElement()
{
    return gst_device_create_element(m_device.get(), nullptr);
}

QString GstAudioInputFilter::usbId(const QString &text)
{
    QString digits = text.trimmed().toLower();
    if (digits.startsWith(QLatin1String("0x")))
        digits = digits.mid(2);
    if (digits.isEmpty() || digits.size() > 4)
        return {};
    for (const QChar c : digits) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9'))
              || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return {};
    }
    return digits.rightJustified(4, QLatin1Char('0'));
}

DeviceMoniker GstAudioInputFilter::describe(const QString &label, const GstStructure *properties)
{
    DeviceMoniker description;
    description.displayName = QStringLiteral("audio:") + label;
    const QString vendor = usbId(stringProperty(properties, "device.vendor.id"));
    const QString product = usbId(stringProperty(properties, "device.product.id"));
    if (!vendor.isEmpty() && !product.isEmpty())
        description.displayName += QStringLiteral(" usb#vid_%1&pid_%2").arg(vendor, product);
    // PulseAudio lists what every output plays as a source of its own, "Monitor of ...".
    description.isMonitor = stringProperty(properties, "device.class") == QLatin1String("monitor")
        || label.startsWith(QLatin1String("Monitor of "));
    gboolean isDefault = FALSE;
    if (properties && gst_structure_get_boolean(properties, "is-default", &isDefault))
        description.isDefault = isDefault;
    return description;
}

std::vector<DeviceMoniker> GstAudioInputFilter::enumerate()
{
    std::vector<DeviceMoniker> monikers;
    GstRef<GstDeviceMonitor> monitor(gst_device_monitor_new());
    gst_device_monitor_add_filter(monitor.get(), "Audio/Source", nullptr);
    if (!gst_device_monitor_start(monitor.get()))
        return monikers;
    GList *devices = gst_device_monitor_get_devices(monitor.get());
    for (GList *item = devices; item; item = item->next) {
        GstDevice *device = GST_DEVICE(item->data);
        GstRef<GstDevice> held = GstRef<GstDevice>::borrow(device);
        gchar *label = gst_device_get_display_name(device);
        GstStructure *properties = gst_device_get_properties(device);
        DeviceMoniker moniker = describe(QString::fromUtf8(label ? label : ""), properties);
        if (properties)
            gst_structure_free(properties);
        g_free(label);
        moniker.bind = [held]() -> std::unique_ptr<DeviceFilter> {
            return std::make_unique<GstAudioInputFilter>(held.get());
        };
        monikers.push_back(std::move(moniker));
    }
    g_list_free_full(devices, gst_object_unref);
    gst_device_monitor_stop(monitor.get());
    return monikers;
}

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
    return displayNameOf(m_device.get());
}

GstElement *GstAudioInputFilter::createElement()
{
    return gst_device_create_element(m_device.get(), nullptr);
}

QString GstAudioInputFilter::displayNameOf(GstDevice *device)
{
    gchar *label = gst_device_get_display_name(device);
    QString name = QStringLiteral("audio:") + QString::fromUtf8(label ? label : "");
    g_free(label);

    GstStructure *properties = gst_device_get_properties(device);
    const QString vendor = stringProperty(properties, "device.vendor.id");
    const QString product = stringProperty(properties, "device.product.id");
    if (properties)
        gst_structure_free(properties);
    if (!vendor.isEmpty() && !product.isEmpty())
        name += QStringLiteral(" usb#vid_%1&pid_%2").arg(vendor.toLower(), product.toLower());
    return name;
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
        monikers.push_back({displayNameOf(device), [held]() -> std::unique_ptr<DeviceFilter> {
                                return std::make_unique<GstAudioInputFilter>(held.get());
                            }});
    }
    g_list_free_full(devices, gst_object_unref);
    gst_device_monitor_stop(monitor.get());
    return monikers;
}

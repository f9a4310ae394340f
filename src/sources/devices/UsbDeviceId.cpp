#include "sources/devices/UsbDeviceId.h"

#include <cctype>

namespace {

struct SupportedDevice
{
    quint16 vid;
    quint16 pid;
};

// The table ends with a row whose vendor id is 0.
constexpr SupportedDevice kSupportedDevices[] = {
    {0x04FC, 0x5330}, {0x04FC, 0x5339}, {0x04FC, 0x6330}, {0x04FC, 0x6339},
    {0x04FC, 0x2620}, {0x04FC, 0x2089}, {0, 0},
};

} // namespace

quint16 UsbDeviceId::hexAfter(const QString &text, const QString &tag)
{
    const int at = text.indexOf(tag, 0, Qt::CaseSensitive);
    if (at < 0)
        return 0;
    const QString digits = text.mid(at + tag.size(), 4);
    if (digits.size() != 4)
        return 0;
    for (const QChar c : digits) {
        if (c.unicode() > 0x7f || !std::isxdigit(static_cast<unsigned char>(c.toLatin1())))
            return 0;
    }
    bool ok = false;
    const uint value = digits.toUInt(&ok, 16);
    return ok ? static_cast<quint16>(value) : 0;
}

void UsbDeviceId::parseVidPid(const QString &displayName, quint16 *vid, quint16 *pid)
{
    *vid = hexAfter(displayName, QStringLiteral("vid_"));
    *pid = hexAfter(displayName, QStringLiteral("pid_"));
}

bool UsbDeviceId::isSupportedDevice(quint16 vid, quint16 pid)
{
    for (const SupportedDevice *row = kSupportedDevices; row->vid != 0; ++row) {
        if (row->vid == vid && (row->pid & 0xFF00) == (pid & 0xFF00))
            return true;
    }
    return false;
}

#pragma once

#include <QString>
#include <QtGlobal>

// USB vendor and product ids as the device search reads them from a device's display name,
// and the table of supported document cameras.
//
// Threads: stateless; callable from any thread.
class UsbDeviceId
{
public:
    // Reads the four characters after the first "vid_" and after the first "pid_" (lower case,
    // case-sensitive) as hexadecimal numbers; a missing tag or characters that are not four
    // hexadecimal digits give 0.
    static void parseVidPid(const QString &displayName, quint16 *vid, quint16 *pid);

    // True when a row of the supported table has this vendor and the same high byte of the
    // product id; the low byte of the product id is not compared.
    static bool isSupportedDevice(quint16 vid, quint16 pid);

private:
    static quint16 hexAfter(const QString &text, const QString &tag);
};

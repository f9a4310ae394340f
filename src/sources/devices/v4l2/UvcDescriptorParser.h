#pragma once

#include <QByteArray>
#include <QString>

// Finds a UVC extension unit in a USB device's raw descriptors (the sysfs `descriptors` file:
// device descriptor followed by the configuration descriptors).
//
// Threads: stateless; callable from any thread.
class UvcDescriptorParser
{
public:
    // The camera's vendor extension unit {63610682-5070-49AB-B8CC-B3855E8D221D}, as its
    // descriptor stores it: the first three GUID fields little-endian.
    static const QByteArray &vendorExtensionGuid();

    // bUnitID of the VideoControl extension-unit descriptor whose guidExtensionCode equals
    // `guid`; -1 when there is none.
    static int findExtensionUnit(const QByteArray &descriptors, const QByteArray &guid);
    static int findExtensionUnitInFile(const QString &descriptorsPath, const QByteArray &guid);
};

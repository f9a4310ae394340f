#include "sources/devices/v4l2/UvcDescriptorParser.h"

#include <QFile>

namespace {
constexpr quint8 kInterfaceDescriptor = 0x04;
constexpr quint8 kClassSpecificInterface = 0x24;
constexpr quint8 kExtensionUnitSubtype = 0x06;
constexpr quint8 kVideoClass = 0x0E;
constexpr quint8 kVideoControlSubclass = 0x01;
// bLength, bDescriptorType, bDescriptorSubtype, bUnitID, guidExtensionCode[16]
constexpr int kGuidOffset = 4;
constexpr int kMinExtensionUnitLength = kGuidOffset + 16;
} // namespace

const QByteArray &UvcDescriptorParser::vendorExtensionGuid()
{
    static const QByteArray guid = QByteArray::fromHex("82066163"
                                                       "7050"
                                                       "AB49"
                                                       "B8CCB3855E8D221D");
    return guid;
}

int UvcDescriptorParser::findExtensionUnit(const QByteArray &descriptors, const QByteArray &guid)
{
    const auto *bytes = reinterpret_cast<const quint8 *>(descriptors.constData());
    const int size = descriptors.size();
    bool inVideoControl = false;
    int at = 0;
    while (at + 2 <= size) {
        const int length = bytes[at];
        if (length < 2 || at + length > size)
            break; // truncated or corrupt: nothing past this point can be trusted
        const quint8 type = bytes[at + 1];
        if (type == kInterfaceDescriptor && length >= 7) {
            inVideoControl = bytes[at + 5] == kVideoClass && bytes[at + 6] == kVideoControlSubclass;
        } else if (inVideoControl && type == kClassSpecificInterface && length >= kMinExtensionUnitLength
                   && bytes[at + 2] == kExtensionUnitSubtype
                   && descriptors.mid(at + kGuidOffset, 16) == guid) {
            return bytes[at + 3];
        }
        at += length;
    }
    return -1;
}

int UvcDescriptorParser::findExtensionUnitInFile(const QString &descriptorsPath, const QByteArray &guid)
{
    QFile file(descriptorsPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return findExtensionUnit(file.readAll(), guid);
}

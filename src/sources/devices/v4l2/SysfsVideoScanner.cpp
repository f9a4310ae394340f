#include "sources/devices/v4l2/SysfsVideoScanner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

QString SysfsVideoNode::displayName() const
{
    QString name = QStringLiteral("v4l2:") + devicePath;
    if (!usbDevicePath.isEmpty())
        name += QStringLiteral(" usb#vid_%1&pid_%2")
                    .arg(vid, 4, 16, QLatin1Char('0'))
                    .arg(pid, 4, 16, QLatin1Char('0'));
    return name;
}

SysfsVideoScanner::SysfsVideoScanner(QString sysRoot, QString devRoot)
    : m_sysRoot(std::move(sysRoot))
    , m_devRoot(std::move(devRoot))
{ }

bool SysfsVideoScanner::readHexId(const QString &path, quint16 *value)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const uint id = QString::fromLatin1(file.read(16)).trimmed().toUInt(&ok, 16);
    if (!ok || id > 0xFFFF)
        return false;
    *value = static_cast<quint16>(id);
    return true;
}

QString SysfsVideoScanner::findUsbDevice(const QString &deviceLink) const
{
    const QString resolved = QFileInfo(deviceLink).canonicalFilePath();
    if (resolved.isEmpty())
        return {};
    const QString root = QFileInfo(m_sysRoot).canonicalFilePath();
    QDir dir(resolved);
    // Walk up from the interface the node belongs to; stop at the sysfs root.
    while (dir.absolutePath().startsWith(root) && dir.absolutePath() != root) {
        if (dir.exists(QStringLiteral("idVendor")) && dir.exists(QStringLiteral("idProduct")))
            return dir.absolutePath();
        if (!dir.cdUp())
            break;
    }
    return {};
}

QVector<SysfsVideoNode> SysfsVideoScanner::nodes() const
{
    QDir classDir(m_sysRoot + QStringLiteral("/class/video4linux"));
    QStringList names = classDir.entryList({QStringLiteral("video*")},
                                           QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    auto number = [](const QString &n) { return n.mid(5).toInt(); };
    std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        return number(a) != number(b) ? number(a) < number(b) : a < b;
    });

    QVector<SysfsVideoNode> result;
    for (const QString &name : names) {
        SysfsVideoNode node;
        node.name = name;
        node.devicePath = m_devRoot + QLatin1Char('/') + name;
        QFile index(classDir.filePath(name + QStringLiteral("/index")));
        bool numeric = false;
        const int value = index.open(QIODevice::ReadOnly)
            ? QString::fromLatin1(index.read(16)).trimmed().toInt(&numeric)
            : -1;
        node.index = numeric ? value : -1;
        const QString usb = findUsbDevice(classDir.filePath(name + QStringLiteral("/device")));
        if (!usb.isEmpty() && readHexId(usb + QStringLiteral("/idVendor"), &node.vid)
            && readHexId(usb + QStringLiteral("/idProduct"), &node.pid)) {
            node.usbDevicePath = usb;
            QFile removable(usb + QStringLiteral("/removable"));
            node.builtIn = removable.open(QIODevice::ReadOnly) && removable.read(16).trimmed() == "fixed";
        } else {
            node.vid = node.pid = 0;
        }
        result.append(node);
    }
    return result;
}

#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

// One video4linux node as sysfs describes it.
struct SysfsVideoNode
{
    QString name;          // "video0"
    QString devicePath;    // "/dev/video0"
    QString usbDevicePath; // sysfs folder of the USB device above the node; empty when not USB
    quint16 vid = 0;
    quint16 pid = 0;
    // The node's number among the nodes of its device (sysfs "index"); -1 when not told. A
    // UVC camera's capture node is 0, its metadata node 1.
    int index = -1;
    // The USB device calls itself "fixed" in its "removable" file: a laptop's own camera.
    bool builtIn = false;

    // "v4l2:/dev/video0 usb#vid_04fc&pid_5330"; without the USB part for other buses.
    QString displayName() const;
};

// Lists the video4linux nodes under a sysfs root ("/sys" in the product, a fixture tree in
// tests) and finds the USB device each hangs off: the first folder above the node's device
// link that holds idVendor and idProduct.
//
// Threads: any thread; keeps no state beyond its roots.
class SysfsVideoScanner
{
public:
    explicit SysfsVideoScanner(QString sysRoot, QString devRoot = QStringLiteral("/dev"));

    // Nodes in numeric order (video2 before video10).
    QVector<SysfsVideoNode> nodes() const;

private:
    QString findUsbDevice(const QString &deviceLink) const;
    static bool readHexId(const QString &path, quint16 *value);

    QString m_sysRoot;
    QString m_devRoot;
};

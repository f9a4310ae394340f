#pragma once

#include "sources/devices/v4l2/V4l2Io.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QStringList>
#include <QVector>

// Stands in for V4L2 camera nodes: answers the ioctls the V4L2 backend makes from tables the
// test fills in, and logs every call that changes something. Not thread-safe: GUI thread only.
class FakeV4l2Io : public V4l2Io
{
public:
    struct Control
    {
        qint32 minimum = 0;
        qint32 maximum = 0;
        qint32 value = 0;
        quint32 flags = 0;
    };
    struct FrameSize
    {
        quint32 width;
        quint32 height;
        QVector<quint32> rates; // whole frames/s
    };
    struct Node
    {
        int openError = 0;   // a negated errno, or 0
        int streamError = 0; // REQBUFS's answer: -EBUSY while another program streams
        QByteArray driver = "uvcvideo";
        quint32 deviceCaps = 0x04000001;    // V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING
        QMap<quint32, Control> controls;    // by V4L2 control id
        QMap<quint32, QByteArray> unitData; // extension unit: (unit << 8 | selector) -> bytes
        QMap<quint32, int> unitLengths;     // a control's length (UVC_GET_LEN); 4 when not listed
        QVector<FrameSize> mjpegSizes;
        quint32 currentPixelFormat = 0; // 0: MJPG at currentSize
        FrameSize currentSize{0, 0, {}};
    };

    QHash<QString, Node> nodes; // by device path
    QStringList calls;          // "S_CTRL <id hex> <value>", "XU <unit> <selector> GET|SET|LEN <size>"
    int openCount = 0;
    QStringList openedPaths; // every node opened, in order

    int openDevice(const QString &path) override;
    void closeDevice(int fd) override;
    int control(int fd, unsigned long request, void *arg) override;

private:
    QHash<int, QString> m_open;
    int m_nextFd = 100;
};

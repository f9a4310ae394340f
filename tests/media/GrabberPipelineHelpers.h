#pragma once

#include "sources/media/GstBufferMapping.h"
#include "sources/media/GstRef.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QRandomGenerator>

#include <atomic>
#include <cstring>

// Collects the buffers that pass one pad, from the streaming thread.
struct BufferTap
{
    std::atomic<int> count{0};
    std::atomic<int> startingWith{0}; // buffers whose first bytes equal `prefix`
    QByteArray prefix;
    bool keepBytes = false;
    QMutex mutex;
    QList<QByteArray> bytes; // guarded by mutex

    void attach(GstPad *pad)
    {
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &BufferTap::probe, this, nullptr);
    }

    QList<QByteArray> kept()
    {
        QMutexLocker lock(&mutex);
        return bytes;
    }

private:
    static GstPadProbeReturn probe(GstPad *, GstPadProbeInfo *info, gpointer data)
    {
        auto *self = static_cast<BufferTap *>(data);
        GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
        GstBufferMapping map(buffer, GST_MAP_READ);
        if (map.isMapped()) {
            if (!self->prefix.isEmpty() && map.size() >= gsize(self->prefix.size())
                && std::memcmp(map.data(), self->prefix.constData(), size_t(self->prefix.size())) == 0)
                self->startingWith.fetch_add(1);
            if (self->keepBytes) {
                QMutexLocker lock(&self->mutex);
                self->bytes.append(QByteArray(reinterpret_cast<const char *>(map.data()), int(map.size())));
            }
        }
        self->count.fetch_add(1);
        return GST_PAD_PROBE_OK;
    }
};

// Lets the first `passing` buffers through a pad, then holds the streaming thread there, as
// a camera does that stops delivering in the middle of a recording.
struct StallAfter
{
    explicit StallAfter(int n)
        : passing(n)
    { }
    std::atomic<int> passing;

    void attach(GstPad *pad)
    {
        gst_pad_add_probe(pad, GstPadProbeType(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER),
                          &StallAfter::probe, this, nullptr);
    }

private:
    // PASS lets a buffer through a blocking probe; OK holds it until the pad flushes.
    static GstPadProbeReturn probe(GstPad *, GstPadProbeInfo *, gpointer data)
    {
        auto *self = static_cast<StallAfter *>(data);
        return self->passing.fetch_sub(1) > 0 ? GST_PAD_PROBE_PASS : GST_PAD_PROBE_OK;
    }
};

// Waits on a pipeline's bus for end-of-stream or an error, at most timeoutMs.
inline bool waitForEos(GstElement *pipeline, int timeoutMs)
{
    GstRef<GstBus> bus(gst_element_get_bus(pipeline));
    GstRef<GstMessage> message(
        gst_bus_timed_pop_filtered(bus.get(), GstClockTime(timeoutMs) * GST_MSECOND,
                                   GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    if (message && GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
        GError *error = nullptr;
        gchar *debug = nullptr;
        gst_message_parse_error(message.get(), &error, &debug);
        qWarning("error from %s: %s (%s)", GST_MESSAGE_SRC_NAME(message.get()), error ? error->message : "",
                 debug ? debug : "");
        g_clear_error(&error);
        g_free(debug);
    }
    return message && GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_EOS;
}

// A real JPEG picture; noisy pictures compress badly and give large files.
inline QByteArray makeJpeg(int width, int height, bool noisy, int quality)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    if (noisy) {
        QRandomGenerator random(7);
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = random.generate() | 0xFF000000u;
        }
    } else {
        QPainter painter(&image);
        painter.fillRect(width / 4, height / 4, width / 2, height / 2, Qt::yellow);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

#include "RecordedFiles.h"

#include "sources/media/AviChunkIndex.h"
#include "sources/media/GstRef.h"

#include <QFile>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace RecordedFiles {

Facts discover(const QString &path)
{
    Facts facts;
    GError *error = nullptr;
    const std::unique_ptr<GstDiscoverer, decltype(&g_object_unref)> discoverer(
        gst_discoverer_new(20 * GST_SECOND, &error), &g_object_unref);
    if (!discoverer) {
        facts.error = error ? QString::fromUtf8(error->message) : QStringLiteral("no discoverer");
        g_clear_error(&error);
        return facts;
    }
    const std::unique_ptr<gchar, decltype(&g_free)> uri(
        gst_filename_to_uri(path.toLocal8Bit().constData(), nullptr), &g_free);
    const std::unique_ptr<GstDiscovererInfo, decltype(&g_object_unref)> info(
        uri ? gst_discoverer_discover_uri(discoverer.get(), uri.get(), &error) : nullptr, &g_object_unref);
    if (info && gst_discoverer_info_get_result(info.get()) == GST_DISCOVERER_OK) {
        facts.opened = true;
        facts.seconds = double(gst_discoverer_info_get_duration(info.get())) / GST_SECOND;
        GList *video = gst_discoverer_info_get_video_streams(info.get());
        GList *audio = gst_discoverer_info_get_audio_streams(info.get());
        facts.videoStreams = int(g_list_length(video));
        facts.audioStreams = int(g_list_length(audio));
        gst_discoverer_stream_info_list_free(video);
        gst_discoverer_stream_info_list_free(audio);
    } else {
        facts.error = error ? QString::fromUtf8(error->message) : QStringLiteral("not discovered");
    }
    g_clear_error(&error);
    return facts;
}

bool finished(const QString &path, QString *why)
{
    QString error;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    AviChunkIndex index;
    const bool scanned = fd >= 0 && index.scan(fd, &error);
    if (fd >= 0)
        ::close(fd);
    if (!scanned)
        error = fd < 0 ? QStringLiteral("cannot open %1").arg(path) : error;
    else if (!index.hasIndex())
        error = QStringLiteral("no index");
    else if (index.headerFrames() == 0)
        error = QStringLiteral("the header counts no frames");
    if (why)
        *why = error;
    return error.isEmpty();
}

QImage lastFrame(const QString &path)
{
    GError *error = nullptr;
    GstRef<GstElement> pipeline(
        gst_parse_launch("filesrc name=src ! avidemux ! jpegdec ! videoconvert ! video/x-raw,format=RGB ! "
                         "appsink name=sink sync=false",
                         &error));
    g_clear_error(&error);
    if (!pipeline)
        return QImage();
    GstRef<GstElement> src(gst_bin_get_by_name(GST_BIN(pipeline.get()), "src"));
    g_object_set(src.get(), "location", path.toLocal8Bit().constData(), nullptr);
    GstRef<GstElement> sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    QImage last;
    // Ends at end-of-stream; a file that stops delivering (an error upstream) ends it after
    // a bounded wait instead of blocking for ever.
    while (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink.get()), 5 * GST_SECOND)) {
        const GstStructure *s = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
        int w = 0, h = 0;
        gst_structure_get_int(s, "width", &w);
        gst_structure_get_int(s, "height", &h);
        GstBuffer *buffer = gst_sample_get_buffer(sample);
        GstMapInfo map;
        if (w > 0 && h > 0 && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            last = QImage(map.data, w, h, int(map.size) / h, QImage::Format_RGB888).copy();
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return last;
}

} // namespace RecordedFiles

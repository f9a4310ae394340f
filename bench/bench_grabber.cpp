// Cost of the frame grabber per sample: the preview hand-over, the record-mode copy of the
// converted picture (in place and with new memory), and a whole preview pipeline's rate.
#include "common/ICaptureCB.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"
#include "sources/media/MediaSample.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class NullSink : public ICaptureCB
{
public:
    void imageCaptured(void *, int, int, bool, bool) override { }
    void stillImageCaptured(QImage *) override { }
    void streamImageCaptured(void *data, int, int, bool, bool) override { *static_cast<char *>(data) ^= 1; }
};

void report(const char *what, qint64 ns, int n)
{
    std::printf("%-48s %10.1f us per sample\n", what, double(ns) / n / 1000.0);
}

void benchTransform(int mode, int w, int h, int jpegBytes, gsize bufferBytes, const char *what)
{
    NullSink sink;
    std::vector<unsigned char> slot(size_t(jpegBytes), 0x5A);
    sink.recordBuffer[0] = slot.data();
    sink.recordBytes[0] = jpegBytes;
    sink.recordBufferSize = jpegBytes;
    sink.recordReadySlot.store(0);
    DirectShowTransformFilter filter(&sink, mode);
    MediaType type;
    type.majorType = MediaMajorType::Video;
    VideoInfoHeader vih;
    vih.bmiHeader.biWidth = w;
    vih.bmiHeader.biHeight = h;
    type.format = vih;
    filter.SetMediaType(PinDirection::Input, type);
    const int n = 300;
    qint64 total = 0;
    for (int i = 0; i < n; ++i) {
        GstBuffer *buffer = gst_buffer_new_allocate(nullptr, bufferBytes, nullptr);
        QElapsedTimer t;
        t.start();
        {
            MediaSample sample(buffer);
            filter.Transform(sample);
        }
        total += t.nsecsElapsed();
        gst_buffer_unref(buffer);
    }
    sink.recordBuffer[0] = nullptr;
    report(what, total, n);
}

void benchPipeline(int w, int h, int frames)
{
    NullSink sink;
    auto filter = std::make_shared<DirectShowTransformFilter>(&sink, DirectShowTransformFilter::MODE_PREVIEW);
    MediaGraph graph("bench");
    GstElement *src = graph.addElement("videotestsrc", "Source");
    g_object_set(src, "num-buffers", frames, nullptr);
    GstElement *caps = graph.addElement("capsfilter", "Caps");
    char capsText[128];
    std::snprintf(capsText, sizeof capsText, "video/x-raw,format=BGRx,width=%d,height=%d,framerate=30/1", w,
                  h);
    GstCaps *c = gst_caps_from_string(capsText);
    g_object_set(caps, "caps", c, nullptr);
    gst_caps_unref(c);
    GstRef<GstElement> grabber = GrabberElement::create(filter, "Grabber");
    graph.addElement(grabber.get(), "Grabber");
    GstElement *out = graph.addElement("fakesink", "Renderer");
    g_object_set(out, "sync", FALSE, nullptr);
    gst_element_link_many(src, caps, grabber.get(), out, nullptr);
    QElapsedTimer t;
    t.start();
    graph.run();
    GstRef<GstBus> bus = graph.bus();
    GstRef<GstMessage> m(gst_bus_timed_pop_filtered(bus.get(), 60 * GST_SECOND,
                                                    GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    const double s = double(t.nsecsElapsed()) / 1e9;
    std::printf("%-48s %10.1f frames/s (test source included)\n", "preview pipeline 1280x720 BGRx",
                frames / s);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The record case with a small camera buffer prints its fixed line for every sample.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    if (!MediaFramework::initialize())
        return 1;
    benchTransform(DirectShowTransformFilter::MODE_PREVIEW, 1920, 1080, 1, 1920u * 1080u * 4u,
                   "preview 1920x1080");
    benchTransform(DirectShowTransformFilter::MODE_RECORD, 1920, 1080, 300000, 4u * 1024u * 1024u,
                   "record 300 KB JPEG into 4 MB camera buffer");
    benchTransform(DirectShowTransformFilter::MODE_RECORD, 1920, 1080, 300000, 100000u,
                   "record 300 KB JPEG, camera buffer 100 KB");
    benchPipeline(1280, 720, 300);
    return 0;
}

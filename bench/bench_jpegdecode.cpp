// CPU time per frame of decoding camera JPEGs into what the grabber takes: the program's own
// decoder element (straight into BGRx) against jpegdec alone (into I420, the decoding floor)
// and jpegdec followed by videoconvert to BGRx (GStreamer's own way to the grabber's layout).
//
//   build/bin/bench_jpegdecode [runs = 3]
//
// The frames are camera-like: a document scene with sensor noise, 4:2:2 and 4:2:0 at quality
// 85, the same frame pushed again and again from memory through appsrc into a fakesink.
// Each figure is the least CPU time per frame of the runs (user + system, whole process),
// so a busy machine inflates it less than wall time.

#include "BenchSupport.h"
#include "sources/media/GstRef.h"
#include "sources/media/JpegDecoderElement.h"
#include "sources/media/MediaFramework.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <gst/app/gstappsrc.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

namespace {

struct Failure
{
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void onError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<Failure *>(cinfo->err)->jump, 1);
}

// Plain values only between setjmp and the library's longjmp.
bool compress(const unsigned char *rgb, int width, int height, int hSampling, int vSampling,
              unsigned char **out, unsigned long *outSize)
{
    jpeg_compress_struct c;
    Failure failure;
    c.err = jpeg_std_error(&failure.mgr);
    failure.mgr.error_exit = onError;
    if (setjmp(failure.jump) != 0) {
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, out, outSize);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 85, TRUE);
    c.comp_info[0].h_samp_factor = hSampling;
    c.comp_info[0].v_samp_factor = vSampling;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<unsigned char *>(rgb) + size_t(c.next_scanline) * size_t(width) * 3;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

// Paper with lines of text and a photograph, and the noise of a camera's sensor.
std::vector<unsigned char> cameraScene(int width, int height)
{
    std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
    QRandomGenerator random(1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double r = 226 - 30.0 * y / height, g = r - 3, b = r - 10;
            if (x > width / 2 && y > height / 2) {
                r = 128 + 90 * std::sin(x * 0.011);
                g = 128 + 90 * std::sin(y * 0.013 + 1);
                b = 128 + 90 * std::cos((x + y) * 0.007);
            } else if ((y % 40) >= 10 && (y % 40) < 28 && ((x / 5) % 7) < 4 && ((x * 7 + y * 3) % 13) < 9) {
                r -= 180;
                g -= 180;
                b -= 180;
            }
            const double noise = double(int(random.bounded(9)) - 4);
            unsigned char *p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            p[0] = static_cast<unsigned char>(std::clamp(r + noise, 0.0, 255.0));
            p[1] = static_cast<unsigned char>(std::clamp(g + noise, 0.0, 255.0));
            p[2] = static_cast<unsigned char>(std::clamp(b + noise, 0.0, 255.0));
        }
    }
    return rgb;
}

// CPU seconds per frame for `frames` pushes of the frame through `elements`.
double cpuPerFrame(const char *elements, const QByteArray &jpeg, int width, int height, int frames)
{
    const QString description =
        QStringLiteral("appsrc name=src format=time block=true max-bytes=%1 "
                       "caps=\"image/jpeg,width=%2,height=%3,framerate=30/1\" ! %4 ! fakesink sync=false")
            .arg(jpeg.size() * 4)
            .arg(width)
            .arg(height)
            .arg(QString::fromUtf8(elements));
    GError *error = nullptr;
    GstRef<GstElement> pipeline(gst_parse_launch(description.toUtf8().constData(), &error));
    if (!pipeline || error) {
        std::fprintf(stderr, "cannot build %s: %s\n", elements, error ? error->message : "");
        g_clear_error(&error);
        return -1;
    }
    GstRef<GstElement> src(gst_bin_get_by_name(GST_BIN(pipeline.get()), "src"));
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    const double cpu0 = BenchSupport::cpuSeconds();
    for (int i = 0; i < frames; ++i) {
        // The frame's bytes are lent, not copied: only the decoding is measured.
        GstBuffer *buffer = gst_buffer_new_wrapped_full(
            GST_MEMORY_FLAG_READONLY, const_cast<char *>(jpeg.constData()), gsize(jpeg.size()), 0,
            gsize(jpeg.size()), nullptr, nullptr);
        GST_BUFFER_PTS(buffer) = GstClockTime(i) * GST_SECOND / 30;
        gst_app_src_push_buffer(GST_APP_SRC(src.get()), buffer);
    }
    gst_app_src_end_of_stream(GST_APP_SRC(src.get()));
    GstRef<GstBus> bus(gst_element_get_bus(pipeline.get()));
    GstRef<GstMessage> done(gst_bus_timed_pop_filtered(bus.get(), 300 * GST_SECOND,
                                                       GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    const double cpu = BenchSupport::cpuSeconds() - cpu0;
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    if (!done || GST_MESSAGE_TYPE(done.get()) != GST_MESSAGE_EOS) {
        std::fprintf(stderr, "%s did not finish\n", elements);
        return -1;
    }
    return cpu / frames;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!MediaFramework::initialize())
        return 1;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    struct Variant
    {
        const char *name;
        const char *elements;
    };
    const Variant variants[] = {
        {"doccamjpegdec", JpegDecoderElement::FACTORY_NAME},
        {"jpegdec", "jpegdec"},
        {"jpegdec+videoconvert", "jpegdec ! videoconvert ! video/x-raw,format=BGRx"},
    };
    struct Size
    {
        int width, height, frames;
    };
    const Size sizes[] = {{1920, 1080, 150}, {3264, 2448, 40}};
    struct Sampling
    {
        const char *name;
        int h, v;
    };
    const Sampling samplings[] = {{"4:2:2", 2, 1}, {"4:2:0", 2, 2}};

    std::printf("JPEG decoding, CPU ms per frame (least of %d runs)\n", runs);
    std::printf("%-24s %10s %14s %10s %22s %12s %14s\n", "frame", "KiB", "doccamjpegdec", "jpegdec",
                "jpegdec+videoconvert", "/ jpegdec", "/ +videoconv");
    for (const Size &size : sizes) {
        const std::vector<unsigned char> rgb = cameraScene(size.width, size.height);
        for (const Sampling &sampling : samplings) {
            unsigned char *out = nullptr;
            unsigned long outSize = 0;
            if (!compress(rgb.data(), size.width, size.height, sampling.h, sampling.v, &out, &outSize))
                return 1;
            const QByteArray jpeg(reinterpret_cast<const char *>(out), int(outSize));
            std::free(out);
            double best[3] = {1e9, 1e9, 1e9};
            for (int run = 0; run < runs; ++run) {
                for (int i = 0; i < 3; ++i) {
                    const double t = cpuPerFrame(variants[i].elements, jpeg, size.width, size.height,
                                                 size.frames);
                    if (t < 0)
                        return 1;
                    best[i] = std::min(best[i], t);
                }
            }
            char frame[64];
            std::snprintf(frame, sizeof frame, "%dx%d %s", size.width, size.height, sampling.name);
            std::printf("%-24s %10.0f %14.2f %10.2f %22.2f %12.2f %14.2f\n", frame, jpeg.size() / 1024.0,
                        best[0] * 1e3, best[1] * 1e3, best[2] * 1e3, best[0] / best[1], best[0] / best[2]);
            std::fflush(stdout);
        }
    }
    return 0;
}

#include "JpegSamples.h"

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

// Plain values only between setjmp and the library's longjmp. The output buffer is libjpeg's.
bool compress(const uchar *pixels, int stride, int width, int height, const JpegSamples::Options &o,
              unsigned char **out, unsigned long *outSize, unsigned char *row)
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
    c.input_components = o.greyscale ? 1 : o.cmyk ? 4 : 3;
    c.in_color_space = o.greyscale ? JCS_GRAYSCALE : o.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, o.quality, TRUE);
    if (!o.greyscale && !o.cmyk) {
        c.comp_info[0].h_samp_factor = o.hSampling;
        c.comp_info[0].v_samp_factor = o.vSampling;
    }
    c.restart_interval = unsigned(o.restartInterval);
    c.arith_code = o.arithmetic ? TRUE : FALSE;
    static jpeg_scan_info oneScanPerComponent[3];
    if (o.progressive) {
        jpeg_simple_progression(&c);
    } else if (o.multiScan && c.num_components == 3) {
        for (int i = 0; i < 3; ++i) {
            oneScanPerComponent[i] = jpeg_scan_info{};
            oneScanPerComponent[i].comps_in_scan = 1;
            oneScanPerComponent[i].component_index[0] = i;
            oneScanPerComponent[i].Ss = 0;
            oneScanPerComponent[i].Se = 63;
        }
        c.scan_info = oneScanPerComponent;
        c.num_scans = 3;
    }
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        const uchar *in = pixels + size_t(c.next_scanline) * size_t(stride);
        for (int x = 0; x < width; ++x) {
            const uchar r = in[3 * x], g = in[3 * x + 1], b = in[3 * x + 2];
            if (o.greyscale) {
                row[x] = uchar((r * 299 + g * 587 + b * 114 + 500) / 1000);
            } else if (o.cmyk) {
                row[4 * x] = uchar(255 - r);
                row[4 * x + 1] = uchar(255 - g);
                row[4 * x + 2] = uchar(255 - b);
                row[4 * x + 3] = 0;
            } else {
                row[3 * x] = r;
                row[3 * x + 1] = g;
                row[3 * x + 2] = b;
            }
        }
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

int clampByte(double v)
{
    return v < 0 ? 0 : v > 255 ? 255 : int(v + 0.5);
}

} // namespace

QImage JpegSamples::documentScene(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    const int photoX = width / 2 / 16 * 16;
    const int photoY = height / 2 / 16 * 16;
    const int barY = height / 4 / 16 * 16;
    for (int y = 0; y < height; ++y) {
        uchar *line = image.scanLine(y);
        const double shade = 232.0 - 24.0 * y / std::max(height, 1);
        for (int x = 0; x < width; ++x) {
            int r = clampByte(shade + 6), g = clampByte(shade + 3), b = clampByte(shade - 4);
            if (x >= photoX && y >= photoY && photoX > 0) {
                r = clampByte(128 + 90 * std::sin(x * 0.02));
                g = clampByte(128 + 90 * std::sin(y * 0.025 + 1));
                b = clampByte(128 + 90 * std::cos((x + y) * 0.015));
            } else if (height >= 64 && y >= barY && y < barY + 16) {
                static const int patches[6][3] = {{220, 40, 40},  {40, 180, 60},  {30, 60, 200},
                                                  {240, 200, 20}, {150, 40, 170}, {20, 170, 190}};
                const int *p = patches[(x / 16) % 6];
                r = p[0];
                g = p[1];
                b = p[2];
            } else if ((y % 24) >= 6 && (y % 24) < 16 && ((x / 3) % 5) < 2 && ((x * 7 + y * 3) % 11) < 8) {
                // Text: darker by the same amount in every channel, so only luma changes.
                r -= 190;
                g -= 190;
                b -= 190;
            }
            line[3 * x] = uchar(std::max(r, 0));
            line[3 * x + 1] = uchar(std::max(g, 0));
            line[3 * x + 2] = uchar(std::max(b, 0));
        }
    }
    return image;
}

QByteArray JpegSamples::encode(const QImage &picture, const Options &options)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> row(size_t(std::max(rgb.width(), 1)) * 4);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    const bool made = compress(rgb.constBits(), rgb.bytesPerLine(), rgb.width(), rgb.height(), options, &out,
                               &outSize, row.data());
    QByteArray bytes;
    if (made)
        bytes = QByteArray(reinterpret_cast<const char *>(out), int(outSize));
    std::free(out);
    return bytes;
}

QByteArray JpegSamples::withTwelveBitHeader(const QByteArray &jpeg)
{
    QByteArray patched = jpeg;
    for (int i = 2; i + 4 < patched.size(); ++i) {
        const uchar marker = uchar(patched[i + 1]);
        if (uchar(patched[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            patched[i + 4] = char(12);
            break;
        }
    }
    return patched;
}

int JpegSamples::firstRestartMarker(const QByteArray &jpeg)
{
    for (int i = 2; i + 1 < jpeg.size(); ++i) {
        const uchar marker = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && marker >= 0xD0 && marker <= 0xD7)
            return i;
    }
    return -1;
}

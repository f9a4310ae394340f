#include "sources/photograph/JpegPictureDecoder.h"

#include "sources/photograph/DecodeJob.h"
#include "sources/photograph/PictureScaler.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>
#include <vector>

// libjpeg reports failures through error_exit, which leaves with longjmp to the setjmp in
// decodeGuarded(). Only libjpeg's frames and the plain callbacks below lie between the two, so
// the jump skips no destructor; the C++ objects of a decode live in decode(), outside.

namespace {

constexpr int ROWS_PER_CHECK = 16;
constexpr QRgb GREY = 0xff808080;

struct Session
{
    jpeg_decompress_struct cinfo; // first: a j_common_ptr is also a Session pointer
    jpeg_error_mgr err;
    std::jmp_buf jump;
    bool dataEnded;
    int warnings;
    char message[JMSG_LENGTH_MAX];
};

Session *sessionOf(j_common_ptr cinfo)
{
    return reinterpret_cast<Session *>(cinfo);
}

[[noreturn]] void onError(j_common_ptr cinfo)
{
    Session *s = sessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, s->message);
    std::longjmp(s->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return; // trace output
    Session *s = sessionOf(cinfo);
    ++s->warnings;
    // The file ends, or the picture's data does (a marker where data should be): what follows
    // would be made up.
    if (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER)
        s->dataEnded = true;
    if (s->message[0] == '\0')
        (*cinfo->err->format_message)(cinfo, s->message);
}

// Memory libjpeg keeps for the whole picture when it cannot decode it in one pass: one
// coefficient block of 128 bytes per 8 x 8 block of every component.
qint64 wholePictureBuffers(const jpeg_decompress_struct &c)
{
    if (!c.progressive_mode && !jpeg_has_multiple_scans(const_cast<jpeg_decompress_struct *>(&c)))
        return 0;
    qint64 bytes = 0;
    for (int i = 0; i < c.num_components; ++i) {
        const jpeg_component_info &comp = c.comp_info[i];
        const qint64 w = (qint64(c.image_width) * comp.h_samp_factor + c.max_h_samp_factor * 8 - 1)
            / (c.max_h_samp_factor * 8);
        const qint64 h = (qint64(c.image_height) * comp.v_samp_factor + c.max_v_samp_factor * 8 - 1)
            / (c.max_v_samp_factor * 8);
        bytes += (w + comp.h_samp_factor) * (h + comp.v_samp_factor) * qint64(sizeof(JBLOCK));
    }
    return bytes;
}

// What the guarded part hands back besides the rows it gave the scaler.
struct Frame
{
    int eighths;
    QSize declared;
    QSize target;
    qint64 maxBytes;
    JDIMENSION outWidth;
    bool cmyk;
    bool refused;
    bool headerRead;
    bool stopped;
};

using RowSink = void (*)(void *context, const uchar *bgrx);
using StopTest = bool (*)(void *context);

// Only plain values live in this frame (see the top of the file).
bool decodeGuarded(Session *s, std::FILE *file, Frame *f, uchar *rowBuffer, uchar *cmykBuffer, RowSink sink,
                   StopTest stop, void *context)
{
    if (setjmp(s->jump) != 0) {
        jpeg_abort_decompress(&s->cinfo);
        return false;
    }
    jpeg_create_decompress(&s->cinfo);
    jpeg_stdio_src(&s->cinfo, file);
    jpeg_read_header(&s->cinfo, TRUE);
    f->headerRead = true;
    if (s->cinfo.image_width != JDIMENSION(f->declared.width())
        || s->cinfo.image_height != JDIMENSION(f->declared.height())) {
        std::snprintf(s->message, sizeof s->message, "the header declares %u x %u, not %d x %d",
                      s->cinfo.image_width, s->cinfo.image_height, f->declared.width(), f->declared.height());
        jpeg_abort_decompress(&s->cinfo);
        return false;
    }
    const qint64 whole = wholePictureBuffers(s->cinfo);
    if (whole > f->maxBytes / 2) {
        std::snprintf(s->message, sizeof s->message, "a %s picture that needs %lld MB to decode",
                      s->cinfo.progressive_mode ? "progressive" : "multi-scan", whole >> 20);
        f->refused = true;
        jpeg_abort_decompress(&s->cinfo);
        return false;
    }
    s->cinfo.mem->max_memory_to_use = long(f->maxBytes);
    s->cinfo.scale_num = unsigned(f->eighths);
    s->cinfo.scale_denom = 8;
    f->cmyk = s->cinfo.jpeg_color_space == JCS_CMYK || s->cinfo.jpeg_color_space == JCS_YCCK;
    s->cinfo.out_color_space = f->cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    s->cinfo.dither_mode = JDITHER_NONE;
    jpeg_start_decompress(&s->cinfo);
    f->outWidth = s->cinfo.output_width;
    while (s->cinfo.output_scanline < s->cinfo.output_height) {
        if (s->cinfo.output_scanline % ROWS_PER_CHECK == 0 && stop(context)) {
            f->stopped = true;
            jpeg_abort_decompress(&s->cinfo);
            return true;
        }
        JSAMPROW row = f->cmyk ? cmykBuffer : rowBuffer;
        jpeg_read_scanlines(&s->cinfo, &row, 1);
        if (f->cmyk) {
            // Adobe writes CMYK inverted: each channel times K gives the colour.
            for (JDIMENSION x = 0; x < f->outWidth; ++x) {
                const uchar *in = cmykBuffer + x * 4;
                uchar *out = rowBuffer + x * 4;
                const int k = in[3];
                out[0] = uchar(in[2] * k / 255);
                out[1] = uchar(in[1] * k / 255);
                out[2] = uchar(in[0] * k / 255);
                out[3] = 0xff;
            }
        }
        sink(context, rowBuffer);
        if (s->dataEnded) {
            // The rest would be the last coefficients repeated: not the picture.
            jpeg_abort_decompress(&s->cinfo);
            return true;
        }
    }
    jpeg_finish_decompress(&s->cinfo);
    return true;
}

struct Context
{
    PictureScaler *scaler;
    DecodeJob *job;
};

void takeRow(void *context, const uchar *bgrx)
{
    static_cast<Context *>(context)->scaler->addRow(bgrx);
}

bool mustStop(void *context)
{
    return static_cast<Context *>(context)->job->mustStop();
}

} // namespace

int JpegPictureDecoder::scaleEighths(const QSize &declared, const QSize &target)
{
    for (int m = 1; m < 8; ++m) {
        const qint64 w = (qint64(declared.width()) * m + 7) / 8;
        const qint64 h = (qint64(declared.height()) * m + 7) / 8;
        if (w >= target.width() && h >= target.height())
            return m;
    }
    return 8;
}

void JpegPictureDecoder::decode(std::FILE *file, const QSize &declared, const QSize &target, DecodeJob &job)
{
    Frame f{};
    f.eighths = scaleEighths(declared, target);
    f.declared = declared;
    f.target = target;
    f.maxBytes = job.maxBytes;
    const QSize decoded(int((qint64(declared.width()) * f.eighths + 7) / 8),
                        int((qint64(declared.height()) * f.eighths + 7) / 8));
    const qint64 rowBytes = qint64(decoded.width()) * 4;
    if (PictureScaler::memoryFor(decoded, target) + 2 * rowBytes > job.maxBytes) {
        job.outcome = DecodeJob::Outcome::TooLarge;
        job.detail = QStringLiteral("%1 x %2 pixels decode into more than %3 MB")
                         .arg(decoded.width())
                         .arg(decoded.height())
                         .arg(job.maxBytes >> 20);
        return;
    }
    PictureScaler scaler(decoded, target, QImage::Format_RGB32);
    std::vector<uchar> rows;
    if (scaler.isValid()) {
        try {
            rows.resize(size_t(rowBytes) * 2 + 64);
        } catch (const std::bad_alloc &) {
            scaler = PictureScaler(QSize(), QSize(), QImage::Format_RGB32);
        }
    }
    if (!scaler.isValid()) {
        job.outcome = DecodeJob::Outcome::TooLarge;
        job.detail =
            QStringLiteral("no memory for a %1 x %2 picture").arg(target.width()).arg(target.height());
        return;
    }

    auto *s = new Session{};
    s->cinfo.err = jpeg_std_error(&s->err);
    s->err.error_exit = onError;
    s->err.emit_message = onMessage;
    Context context{&scaler, &job};
    const bool finished = decodeGuarded(s, file, &f, rows.data(), rows.data() + rowBytes + 32, takeRow,
                                        mustStop, &context);
    const QString message = QString::fromLatin1(s->message);
    const bool dataEnded = s->dataEnded;
    jpeg_destroy_decompress(&s->cinfo); // nothing to do when it was never created
    delete s;

    if (f.stopped)
        return; // mustStop() set the outcome
    if (f.refused) {
        job.outcome = DecodeJob::Outcome::TooLarge;
        job.detail = message;
        return;
    }
    // A file that breaks off in its first rows holds no picture worth showing (a header
    // patched to declare a huge size over a small picture's data, a file cut short).
    if ((!finished || dataEnded) && scaler.rowsTaken() < std::max(1, decoded.height() / 8)) {
        job.outcome = DecodeJob::Outcome::Damaged;
        job.detail = message.isEmpty() ? QStringLiteral("no picture data") : message;
        return;
    }
    const bool whole = finished && !dataEnded && scaler.rowsTaken() == decoded.height();
    job.image = scaler.finish(GREY);
    job.outcome = whole ? DecodeJob::Outcome::Decoded : DecodeJob::Outcome::Partial;
    job.detail = message;
}

#include "sources/media/JpegFrameDecoder.h"

#include "common/JpegMemoryArena.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports failures through error_exit, which must not return: it leaves with longjmp
// to the setjmp in the function that called into the library. Everything between the two
// is C, or C++ functions here whose frames hold only plain values, so the jump skips no
// destructor.
//
// libjpeg's memory manager would obtain the per-picture memory from malloc for every frame;
// a JpegMemoryArena serves it instead, so that after the first frame of a size decoding
// allocates nothing.

namespace {

// Rows handed to libjpeg per call; it never asks for more than four (merged 2x2 upsampling
// gives two).
constexpr JDIMENSION MAX_ROWS_PER_CALL = 16;

enum class Stage { Header, Picture };

} // namespace

// Standard layout, libjpeg's decompressor first: a j_common_ptr from libjpeg is also a
// pointer to the whole session.
struct JpegDecodeSession
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    jmp_buf jump;
    JpegMemoryArena arena;
    bool created;
    Stage stage;
    int failure; // libjpeg message code of the last failure
    int paddedFrames;
    char message[JMSG_LENGTH_MAX];
    char reason[96];
};

namespace {

using Session = JpegDecodeSession;

Session *sessionOf(j_common_ptr cinfo)
{
    return reinterpret_cast<Session *>(cinfo);
}

[[noreturn]] void onError(j_common_ptr cinfo)
{
    Session *s = sessionOf(cinfo);
    s->failure = cinfo->err->msg_code;
    (*cinfo->err->format_message)(cinfo, s->message);
    std::longjmp(s->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return; // trace output
    Session *s = sessionOf(cinfo);
    if (cinfo->err->msg_code == JWRN_EXTRANEOUS_DATA) {
        ++s->paddedFrames;
        return;
    }
    s->failure = cinfo->err->msg_code;
    (*cinfo->err->format_message)(cinfo, s->message);
    std::longjmp(s->jump, 2);
}

bool createGuarded(Session *s)
{
    if (setjmp(s->jump) != 0)
        return false;
    jpeg_create_decompress(&s->cinfo);
    s->arena.attach(reinterpret_cast<j_common_ptr>(&s->cinfo));
    return true;
}

const char *samplingName(const jpeg_decompress_struct &c)
{
    if (c.num_components != 3)
        return "";
    const jpeg_component_info &y = c.comp_info[0];
    const jpeg_component_info &cb = c.comp_info[1];
    const jpeg_component_info &cr = c.comp_info[2];
    if (cb.h_samp_factor != cr.h_samp_factor || cb.v_samp_factor != cr.v_samp_factor
        || y.h_samp_factor % cb.h_samp_factor != 0 || y.v_samp_factor % cb.v_samp_factor != 0)
        return " (unusual sampling)";
    const int h = y.h_samp_factor / cb.h_samp_factor;
    const int v = y.v_samp_factor / cb.v_samp_factor;
    if (h == 1 && v == 1)
        return " 4:4:4";
    if (h == 2 && v == 1)
        return " 4:2:2";
    if (h == 2 && v == 2)
        return " 4:2:0";
    if (h == 1 && v == 2)
        return " 4:4:0";
    if (h == 4 && v == 1)
        return " 4:1:1";
    return " (unusual sampling)";
}

// After the header: whether the frame is one decode() takes; s->reason says what it is.
bool takes(Session *s)
{
    jpeg_decompress_struct &c = s->cinfo;
    const char *space = nullptr;
    switch (c.jpeg_color_space) {
    case JCS_YCbCr:
        space = "YCbCr";
        break;
    case JCS_GRAYSCALE:
        space = "greyscale";
        break;
    case JCS_RGB:
        space = "RGB";
        break;
    case JCS_CMYK:
        space = "CMYK";
        break;
    case JCS_YCCK:
        space = "YCCK";
        break;
    default:
        space = "an unknown colour space";
        break;
    }
    const bool colours = c.jpeg_color_space == JCS_YCbCr || c.jpeg_color_space == JCS_GRAYSCALE
        || c.jpeg_color_space == JCS_RGB;
    const char *coding = c.progressive_mode ? "progressive"
        : jpeg_has_multiple_scans(&c)       ? "multi-scan"
                                            : "sequential";
    std::snprintf(s->reason, sizeof s->reason, "%s %s%s%s", coding, space,
                  c.jpeg_color_space == JCS_YCbCr ? samplingName(c) : "",
                  c.arith_code ? ", arithmetic coding" : "");
    return colours && !c.progressive_mode && !jpeg_has_multiple_scans(&c);
}

// Only plain values live in this frame (see the top of the file).
JpegFrameDecoder::Outcome inspectGuarded(Session *s, const uint8_t *jpeg, size_t size)
{
    s->stage = Stage::Header;
    if (setjmp(s->jump) != 0) {
        jpeg_abort_decompress(&s->cinfo);
        if (s->failure == JERR_BAD_PRECISION) {
            std::snprintf(s->reason, sizeof s->reason, "%s", "12-bit");
            return JpegFrameDecoder::Outcome::Unsupported;
        }
        return JpegFrameDecoder::Outcome::Unreadable;
    }
    jpeg_mem_src(&s->cinfo, jpeg, static_cast<unsigned long>(size));
    jpeg_read_header(&s->cinfo, TRUE);
    const bool taken = takes(s);
    jpeg_abort_decompress(&s->cinfo);
    return taken ? JpegFrameDecoder::Outcome::Decoded : JpegFrameDecoder::Outcome::Unsupported;
}

// Only plain values live in this frame (see the top of the file).
JpegFrameDecoder::Outcome decodeGuarded(Session *s, const uint8_t *jpeg, size_t size, uint8_t *bgrx,
                                        int stride, int width, int height, int eighths)
{
    s->stage = Stage::Header;
    if (setjmp(s->jump) != 0) {
        jpeg_abort_decompress(&s->cinfo);
        if (s->stage == Stage::Picture)
            return JpegFrameDecoder::Outcome::Corrupt;
        return s->failure == JERR_BAD_PRECISION ? JpegFrameDecoder::Outcome::Unsupported
                                                : JpegFrameDecoder::Outcome::Unreadable;
    }
    jpeg_mem_src(&s->cinfo, jpeg, static_cast<unsigned long>(size));
    jpeg_read_header(&s->cinfo, TRUE);
    if (!takes(s)) {
        jpeg_abort_decompress(&s->cinfo);
        return JpegFrameDecoder::Outcome::Unsupported;
    }
    if (JDIMENSION(JpegFrameDecoder::scaledLength(int(s->cinfo.image_width), eighths)) != JDIMENSION(width)
        || JDIMENSION(JpegFrameDecoder::scaledLength(int(s->cinfo.image_height), eighths))
            != JDIMENSION(height)) {
        std::snprintf(s->message, sizeof s->message, "a picture of %u x %u at %d/8 in a stream of %d x %d",
                      s->cinfo.image_width, s->cinfo.image_height, eighths, width, height);
        jpeg_abort_decompress(&s->cinfo);
        return JpegFrameDecoder::Outcome::WrongSize;
    }
    if (eighths != 8) {
        s->cinfo.scale_num = unsigned(eighths);
        s->cinfo.scale_denom = 8;
    }
    s->stage = Stage::Picture;
    s->cinfo.out_color_space = JCS_EXT_BGRX;
    s->cinfo.dct_method = JDCT_IFAST;
    s->cinfo.do_fancy_upsampling = FALSE;
    s->cinfo.do_block_smoothing = FALSE;
    s->cinfo.dither_mode = JDITHER_NONE;
    jpeg_start_decompress(&s->cinfo);
    while (s->cinfo.output_scanline < s->cinfo.output_height) {
        JSAMPROW rows[MAX_ROWS_PER_CALL];
        const JDIMENSION first = s->cinfo.output_scanline;
        const JDIMENSION count = std::min({JDIMENSION(std::max(s->cinfo.rec_outbuf_height, 1)),
                                           MAX_ROWS_PER_CALL, s->cinfo.output_height - first});
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = bgrx + size_t(first + i) * size_t(stride);
        jpeg_read_scanlines(&s->cinfo, rows, count);
    }
    jpeg_finish_decompress(&s->cinfo);
    return JpegFrameDecoder::Outcome::Decoded;
}

} // namespace

JpegFrameDecoder::JpegFrameDecoder()
    : m_session(new JpegDecodeSession{})
{
    Session *s = m_session.get();
    s->cinfo.err = jpeg_std_error(&s->err);
    s->err.error_exit = onError;
    s->err.emit_message = onMessage;
    s->created = createGuarded(s);
}

JpegFrameDecoder::~JpegFrameDecoder()
{
    Session *s = m_session.get();
    if (s->created)
        jpeg_destroy_decompress(&s->cinfo);
}

JpegFrameDecoder::Header JpegFrameDecoder::inspect(const uint8_t *jpeg, size_t size)
{
    Header header;
    Session *s = m_session.get();
    s->reason[0] = '\0';
    s->message[0] = '\0';
    if (!s->created || !jpeg || size == 0)
        return header;
    header.outcome = inspectGuarded(s, jpeg, size);
    if (header.outcome == Outcome::Unreadable) {
        header.description = QByteArray(s->message);
        return header;
    }
    header.width = int(s->cinfo.image_width);
    header.height = int(s->cinfo.image_height);
    header.description = QByteArray(s->reason);
    return header;
}

int JpegFrameDecoder::scaleToCover(int width, int height, int boxWidth, int boxHeight)
{
    if (boxWidth <= 0 || boxHeight <= 0 || width <= 0 || height <= 0
        || (width <= boxWidth && height <= boxHeight))
        return 8;
    // The picture fitted into the box, keeping its aspect ratio.
    const double f = std::min(double(boxWidth) / width, double(boxHeight) / height);
    const int fitWidth = std::max(1, int(width * f));
    const int fitHeight = std::max(1, int(height * f));
    for (int m = 1; m < 8; ++m) {
        if (scaledLength(width, m) >= fitWidth && scaledLength(height, m) >= fitHeight)
            return m;
    }
    return 8;
}

JpegFrameDecoder::Outcome JpegFrameDecoder::decode(const uint8_t *jpeg, size_t size, uint8_t *bgrx,
                                                   int stride, int width, int height, int scaleEighths)
{
    Session *s = m_session.get();
    s->reason[0] = '\0';
    s->message[0] = '\0';
    if (!s->created || !jpeg || size == 0 || !bgrx || width <= 0 || height <= 0 || stride < width * 4) {
        std::snprintf(s->message, sizeof s->message, "%s", "no frame to decode");
        return Outcome::Unreadable;
    }
    const Outcome outcome = decodeGuarded(s, jpeg, size, bgrx, stride, width, height,
                                          std::clamp(scaleEighths, 1, 8));
    if (outcome == Outcome::Unsupported && s->message[0] == '\0')
        std::snprintf(s->message, sizeof s->message, "%s", s->reason);
    return outcome;
}

QByteArray JpegFrameDecoder::lastMessage() const
{
    return QByteArray(m_session->message);
}

int JpegFrameDecoder::paddedFrames() const
{
    return m_session->paddedFrames;
}

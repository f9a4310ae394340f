#include "canvas/JpegFrameEncoder.h"

#include "common/JpegMemoryArena.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports failures through error_exit, which must not return: it leaves with longjmp
// to the setjmp in the function that called into the library. Everything between the two is
// C, or C++ functions here whose frames hold only plain values, so the jump skips no
// destructor.

namespace {

// The first size of the JPEG buffer; it doubles while a frame needs more, up to the limit.
constexpr std::size_t FIRST_BUFFER = 256 * 1024;
constexpr JDIMENSION ROWS_PER_CALL = 16;
constexpr UINT16 DOTS_PER_INCH = 96;

} // namespace

// Standard layout, libjpeg's compressor first: a j_common_ptr from libjpeg is also a pointer
// to the whole session.
struct JpegEncodeSession
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    jpeg_destination_mgr destination;
    jmp_buf jump;
    JpegMemoryArena arena;
    bool created;
    bool tooLarge;
    unsigned char *buffer; // malloc/realloc
    std::size_t capacity;
    std::size_t limit;
    std::size_t size;
};

namespace {

using Session = JpegEncodeSession;

Session *sessionOf(j_common_ptr cinfo)
{
    return reinterpret_cast<Session *>(cinfo);
}

[[noreturn]] void onError(j_common_ptr cinfo)
{
    std::longjmp(sessionOf(cinfo)->jump, 1);
}

void onMessage(j_common_ptr, int) { }

// libjpeg writes a byte before it looks at the room left, so it starts with room.
void startDestination(j_compress_ptr cinfo)
{
    Session *s = sessionOf(reinterpret_cast<j_common_ptr>(cinfo));
    if (!s->buffer) {
        const std::size_t first = std::min(s->limit + 1, FIRST_BUFFER);
        s->buffer = static_cast<unsigned char *>(std::malloc(first));
        if (!s->buffer)
            ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 200);
        s->capacity = first;
    }
    s->destination.next_output_byte = s->buffer;
    s->destination.free_in_buffer = std::min(s->capacity, s->limit + 1);
}

// What was given is full: the buffer grows, up to one byte past the limit (libjpeg asks for
// more room as soon as a byte fills the room it has, so that byte tells whether the JPEG
// really passes the limit).
boolean growDestination(j_compress_ptr cinfo)
{
    Session *s = sessionOf(reinterpret_cast<j_common_ptr>(cinfo));
    const std::size_t used = std::size_t(s->destination.next_output_byte - s->buffer);
    if (used > s->limit) {
        s->tooLarge = true;
        ERREXIT(cinfo, JERR_BUFFER_SIZE);
    }
    const std::size_t wanted = std::min(s->limit + 1, std::max(used * 2, FIRST_BUFFER));
    if (wanted > s->capacity) {
        auto *bigger = static_cast<unsigned char *>(std::realloc(s->buffer, wanted));
        if (!bigger)
            ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 201);
        s->buffer = bigger;
        s->capacity = wanted;
    }
    s->destination.next_output_byte = s->buffer + used;
    s->destination.free_in_buffer = wanted - used;
    return TRUE;
}

void finishDestination(j_compress_ptr cinfo)
{
    Session *s = sessionOf(reinterpret_cast<j_common_ptr>(cinfo));
    s->size = std::size_t(s->destination.next_output_byte - s->buffer);
}

bool createGuarded(Session *s)
{
    if (setjmp(s->jump) != 0)
        return false;
    jpeg_create_compress(&s->cinfo);
    s->arena.attach(reinterpret_cast<j_common_ptr>(&s->cinfo));
    s->destination.init_destination = startDestination;
    s->destination.empty_output_buffer = growDestination;
    s->destination.term_destination = finishDestination;
    s->cinfo.dest = &s->destination;
    return true;
}

// Only plain values live in this frame (see the top of the file).
bool encodeGuarded(Session *s, const uchar *pixels, int width, int height, int stride, bool bottomUp,
                   int quality)
{
    if (setjmp(s->jump) != 0) {
        jpeg_abort_compress(&s->cinfo);
        return false;
    }
    jpeg_compress_struct &c = s->cinfo;
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    c.density_unit = 1;
    c.X_density = DOTS_PER_INCH;
    c.Y_density = DOTS_PER_INCH;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW rows[ROWS_PER_CALL];
        const JDIMENSION first = c.next_scanline;
        const JDIMENSION count = std::min(ROWS_PER_CALL, c.image_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            const JDIMENSION y = bottomUp ? c.image_height - 1 - (first + i) : first + i;
            rows[i] = const_cast<JSAMPROW>(pixels + std::size_t(y) * std::size_t(stride));
        }
        jpeg_write_scanlines(&c, rows, count);
    }
    jpeg_finish_compress(&c);
    return true;
}

} // namespace

JpegFrameEncoder::JpegFrameEncoder()
    : m_session(new JpegEncodeSession{})
{
    Session *s = m_session.get();
    s->cinfo.err = jpeg_std_error(&s->err);
    s->err.error_exit = onError;
    s->err.emit_message = onMessage;
    s->created = createGuarded(s);
}

JpegFrameEncoder::~JpegFrameEncoder()
{
    Session *s = m_session.get();
    if (s->created)
        jpeg_destroy_compress(&s->cinfo);
    std::free(s->buffer);
}

JpegFrameEncoder::Outcome JpegFrameEncoder::encode(const uchar *pixels, int width, int height, int stride,
                                                   bool bottomUp, int quality, std::size_t limit)
{
    Session *s = m_session.get();
    s->size = 0;
    s->tooLarge = false;
    s->limit = limit;
    if (!s->created || !pixels || width <= 0 || height <= 0 || stride < width * 4 || limit == 0
        || limit == std::size_t(-1))
        return Outcome::Failed;
    if (encodeGuarded(s, pixels, width, height, stride, bottomUp, std::max(1, std::min(quality, 100))))
        return Outcome::Encoded;
    s->size = 0;
    return s->tooLarge ? Outcome::TooLarge : Outcome::Failed;
}

const uchar *JpegFrameEncoder::data() const
{
    return m_session->buffer;
}

std::size_t JpegFrameEncoder::size() const
{
    return m_session->size;
}

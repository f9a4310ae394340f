#include "sources/photograph/PngPictureDecoder.h"

#include "sources/photograph/DecodeJob.h"
#include "sources/photograph/PictureScaler.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <png.h>
#include <vector>

// libpng reports failures with longjmp to the setjmp in the guarded functions below. Only
// libpng's frames and the plain callbacks lie between the two, so the jump skips no
// destructor; the C++ objects of a decode live in decode(), outside.

namespace {

constexpr int ROWS_PER_CHECK = 16;
constexpr QRgb GREY = 0xff808080;

struct Session
{
    png_structp png;
    png_infop info;
    char message[160];
};

void onError(png_structp png, png_const_charp text)
{
    auto *s = static_cast<Session *>(png_get_error_ptr(png));
    std::snprintf(s->message, sizeof s->message, "%s", text);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp)
{
    // Warnings (a bad ancillary chunk, an unknown profile) do not stop the picture.
}

struct Header
{
    png_uint_32 width;
    png_uint_32 height;
    int interlace;
    bool alpha;
};

// Only plain values live in this frame (see the top of the file).
bool readHeader(Session *s, std::FILE *file, Header *h)
{
    if (setjmp(png_jmpbuf(s->png)) != 0)
        return false;
    png_init_io(s->png, file);
    // Any size the header may declare is looked at by the caller, not refused by libpng.
    png_set_user_limits(s->png, 0x7fffffffu, 0x7fffffffu);
    png_read_info(s->png, s->info);
    int depth = 0, colour = 0;
    png_get_IHDR(s->png, s->info, &h->width, &h->height, &depth, &colour, &h->interlace, nullptr, nullptr);
    h->alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(s->png, s->info, PNG_INFO_tRNS);
    if (depth == 16)
        png_set_strip_16(s->png);
    if (colour == PNG_COLOR_TYPE_PALETTE || depth < 8 || png_get_valid(s->png, s->info, PNG_INFO_tRNS))
        png_set_expand(s->png);
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(s->png);
    png_set_bgr(s->png);
    if (!h->alpha)
        png_set_filler(s->png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(s->png, s->info);
    return true;
}

using RowSink = void (*)(void *context, const uchar *bgra);
using StopTest = bool (*)(void *context);

// Only plain values live in this frame (see the top of the file). Returns whether every row
// was read; *stopped tells a stop from a failure.
bool readRows(Session *s, png_uint_32 height, uchar *row, RowSink sink, StopTest stop, void *context,
              bool *stopped)
{
    if (setjmp(png_jmpbuf(s->png)) != 0)
        return false;
    for (png_uint_32 y = 0; y < height; ++y) {
        if (y % ROWS_PER_CHECK == 0 && stop(context)) {
            *stopped = true;
            return false;
        }
        png_read_row(s->png, row, nullptr);
        sink(context, row);
    }
    return true;
}

struct Context
{
    PictureScaler *scaler;
    DecodeJob *job;
};

void takeRow(void *context, const uchar *bgra)
{
    static_cast<Context *>(context)->scaler->addRow(bgra);
}

bool mustStop(void *context)
{
    return static_cast<Context *>(context)->job->mustStop();
}

// The libpng structures of one decode, released whatever happens.
class PngSession
{
public:
    PngSession()
    {
        m_s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &m_s, onError, onWarning);
        if (m_s.png)
            m_s.info = png_create_info_struct(m_s.png);
    }
    ~PngSession()
    {
        png_destroy_read_struct(m_s.png ? &m_s.png : nullptr, m_s.info ? &m_s.info : nullptr, nullptr);
    }
    PngSession(const PngSession &) = delete;
    PngSession &operator=(const PngSession &) = delete;

    bool isValid() const { return m_s.png && m_s.info; }
    Session *get() { return &m_s; }

private:
    Session m_s{};
};

} // namespace

bool PngPictureDecoder::takes(std::FILE *file)
{
    png_byte signature[8] = {};
    const bool png = std::fread(signature, 1, sizeof signature, file) == sizeof signature
        && png_sig_cmp(signature, 0, sizeof signature) == 0;
    std::rewind(file);
    if (!png)
        return false;
    PngSession session;
    Header h{};
    const bool taken = session.isValid() && readHeader(session.get(), file, &h)
        && h.interlace == PNG_INTERLACE_NONE;
    std::rewind(file);
    return taken;
}

void PngPictureDecoder::decode(std::FILE *file, const QSize &declared, const QSize &target, DecodeJob &job)
{
    PngSession session;
    Header h{};
    if (!session.isValid() || !readHeader(session.get(), file, &h)) {
        job.outcome = DecodeJob::Outcome::Damaged;
        job.detail = QString::fromLatin1(session.get()->message);
        return;
    }
    if (h.width != png_uint_32(declared.width()) || h.height != png_uint_32(declared.height())) {
        job.outcome = DecodeJob::Outcome::Damaged;
        job.detail = QStringLiteral("the header declares %1 x %2").arg(h.width).arg(h.height);
        return;
    }
    const qint64 rowBytes = qint64(declared.width()) * 4;
    if (PictureScaler::memoryFor(declared, target) + rowBytes > job.maxBytes) {
        job.outcome = DecodeJob::Outcome::TooLarge;
        job.detail = QStringLiteral("%1 x %2 pixels decode into more than %3 MB")
                         .arg(declared.width())
                         .arg(declared.height())
                         .arg(job.maxBytes >> 20);
        return;
    }
    PictureScaler scaler(declared, target, h.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    std::vector<uchar> row;
    if (scaler.isValid()) {
        try {
            row.resize(size_t(rowBytes) + 64);
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
    Context context{&scaler, &job};
    bool stopped = false;
    const bool whole = readRows(session.get(), h.height, row.data(), takeRow, mustStop, &context, &stopped);
    if (stopped)
        return; // mustStop() set the outcome
    const QString message = QString::fromLatin1(session.get()->message);
    if (!whole && scaler.rowsTaken() < std::max(1, declared.height() / 8)) {
        job.outcome = DecodeJob::Outcome::Damaged;
        job.detail = message.isEmpty() ? QStringLiteral("no picture data") : message;
        return;
    }
    job.image = scaler.finish(GREY);
    job.outcome = whole ? DecodeJob::Outcome::Decoded : DecodeJob::Outcome::Partial;
    job.detail = message;
}

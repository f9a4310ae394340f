#pragma once

// What the tests on the fake camera share: starting under the preload, talking to the
// library, descriptors that close themselves, and reading frames back.

#include "FrameCode.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QtTest>

#include <linux/videodev2.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <jpeglib.h>
#include <unistd.h>
#include <vector>

namespace fakeuvctest {

using Environment = QList<QPair<QByteArray, QByteArray>>;

// LD_PRELOAD for a process that is to see the fake camera (with a sanitizer runtime in
// front in sanitizer builds).
inline QByteArray preload()
{
    return QByteArray(FAKEUVC_PRELOAD);
}

// The library has to be there from the process's start, so a test program runs itself again
// with it (and with `environment` describing the cameras) unless that already happened.
inline void ensurePreloaded(char **argv, const Environment &environment)
{
    if (dlsym(RTLD_DEFAULT, "fakeuvc_command"))
        return;
    if (qEnvironmentVariableIsSet("FAKEUVC_TEST_REEXEC")) {
        fprintf(stderr, "the fake camera library did not load (LD_PRELOAD=%s)\n", getenv("LD_PRELOAD"));
        exit(1);
    }
    QByteArray value = preload();
    const QByteArray existing = qgetenv("LD_PRELOAD");
    if (!existing.isEmpty())
        value += ':' + existing;
    setenv("LD_PRELOAD", value.constData(), 1);
    setenv("FAKEUVC_TEST_REEXEC", "1", 1);
    for (const auto &setting : environment)
        setenv(setting.first.constData(), setting.second.constData(), 1);
    execv("/proc/self/exe", argv);
    perror("execv");
    exit(1);
}

// A command to the fake cameras of this process ("unplug", "fps 12", ...): 0 or -errno.
inline int command(const char *line)
{
    using Command = int (*)(const char *);
    static auto function = reinterpret_cast<Command>(dlsym(RTLD_DEFAULT, "fakeuvc_command"));
    return function ? function(line) : -ENOSYS;
}

inline QString state()
{
    using State = size_t (*)(char *, size_t);
    static auto function = reinterpret_cast<State>(dlsym(RTLD_DEFAULT, "fakeuvc_state"));
    if (!function)
        return {};
    std::vector<char> text(8192);
    function(text.data(), text.size());
    return QString::fromUtf8(text.data());
}

// ioctl as V4L2 programs call it: 0 (or the result) on success, the negated errno otherwise.
inline int xioctl(int fd, unsigned long request, void *arg)
{
    int result;
    do {
        result = ::ioctl(fd, request, arg);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? -errno : result;
}

class Fd
{
public:
    explicit Fd(const char *path, int flags = O_RDWR | O_NONBLOCK | O_CLOEXEC)
        : m_fd(::open(path, flags))
        , m_error(m_fd < 0 ? errno : 0)
    { }
    explicit Fd(int fd)
        : m_fd(fd)
        , m_error(fd < 0 ? errno : 0)
    { }
    ~Fd() { reset(); }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;

    int get() const { return m_fd; }
    int error() const { return m_error; }
    bool isOpen() const { return m_fd >= 0; }
    int ioctl(unsigned long request, void *arg) const { return xioctl(m_fd, request, arg); }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
    int m_error;
};

struct Image
{
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<uint8_t> pixels;
    int warnings = 0; // corrupt-data messages libjpeg raised while decoding
    int luma(int x, int y) const
    {
        const uint8_t *p = &pixels[(size_t(y) * width + x) * components];
        return components == 1 ? p[0] : (p[0] * 77 + p[1] * 150 + p[2] * 29) >> 8;
    }
};

namespace detail {
struct JpegError
{
    jpeg_error_mgr base;
    jmp_buf jump;
    int warnings = 0;
};
inline void onError(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<JpegError *>(cinfo->err)->jump, 1);
}
inline void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        reinterpret_cast<JpegError *>(cinfo->err)->warnings++;
}
} // namespace detail

// Decodes a JPEG the way jpegdec does (libjpeg); false when libjpeg gives up.
inline bool decodeJpeg(const uint8_t *data, size_t size, Image *image)
{
    jpeg_decompress_struct cinfo;
    detail::JpegError error;
    cinfo.err = jpeg_std_error(&error.base);
    error.base.error_exit = detail::onError;
    error.base.emit_message = detail::onMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    image->width = int(cinfo.output_width);
    image->height = int(cinfo.output_height);
    image->components = cinfo.output_components;
    image->pixels.resize(size_t(image->width) * image->height * image->components);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &image->pixels[size_t(cinfo.output_scanline) * image->width * image->components];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    image->warnings = error.warnings;
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// The sequence number a picture of the fake camera carries; -1 when it carries none.
inline qint64 frameCode(const Image &image, int frameWidth, int frameHeight)
{
    uint32_t sequence = 0;
    const bool found = fakeuvc::readFrameCode(
        frameWidth, frameHeight, image.width, image.height, [&](int x, int y) { return image.luma(x, y); },
        &sequence);
    return found ? qint64(sequence) : -1;
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace fakeuvctest

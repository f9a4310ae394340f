#include "sources/media/PositionedIo.h"

#include <cerrno>
#include <unistd.h>

namespace PositionedIo {

bool readAt(int fd, quint64 offset, void *out, std::size_t length)
{
    auto *bytes = static_cast<char *>(out);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, bytes + done, length - done, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

bool writeAt(int fd, quint64 offset, const void *in, std::size_t length)
{
    const auto *bytes = static_cast<const char *>(in);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pwrite(fd, bytes + done, length - done, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

} // namespace PositionedIo

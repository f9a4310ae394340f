#pragma once

#include <QtGlobal>

#include <cstddef>

// Reads and writes at a position of a file descriptor without moving its offset (pread/pwrite),
// whole or not at all: short transfers are continued and interruptions retried.
//
// Threads: stateless; any thread.
namespace PositionedIo {

// False when the file ends before `length` bytes or the system refuses.
bool readAt(int fd, quint64 offset, void *out, std::size_t length);
// False when the system refuses (a full disk, a lost device).
bool writeAt(int fd, quint64 offset, const void *in, std::size_t length);

} // namespace PositionedIo

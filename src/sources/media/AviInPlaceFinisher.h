#pragma once

#include <QString>
#include <QtGlobal>

// Finishes, in place, a recording whose multiplexer could not finish it because the writer
// failed under it (a full disk, a limit on the file's size): the part-written chunk at the
// end is cut off, the index of the whole chunks is appended and the header gets its true
// counts and sizes, as the multiplexer would have written them. Where the file system has no
// room for the index, the last chunks give theirs: a recording that lost its last second is
// better than one that no player can seek in.
//
// Unlike the repair at the next start (RecordingRepairer), nothing is copied, so it works on
// a disk with no room for a copy. Only what the program's recordings hold is rewritten: one
// "RIFF AVI " list with the multiplexer's header list (main header, a stream list per stream,
// the OpenDML header) followed by the movie list. A file of several parts (past 1 GiB) is left
// for the repair, which rewrites it into a copy.
//
// Threads: any thread; finish() blocks for a few reads and writes of the file's ends.
class AviInPlaceFinisher
{
public:
    // What the index needs beyond its own bytes, so that a file system that counts in blocks
    // does not fail the last write.
    static constexpr qint64 SPACE_MARGIN = 64 * 1024;

    struct Result
    {
        bool finished = false;
        bool alreadyComplete = false; // nothing was changed
        quint64 droppedChunks = 0;    // whole chunks given up for the index's room
        double seconds = 0;           // what the finished file holds
        QString error;                // why it could not be finished, in English
    };

    // `fd` is open for reading and writing. `freeBytes` is the file system's free space, or -1
    // to ask the file system of `fd`; a limit on the size of the process's files
    // (RLIMIT_FSIZE) counts too.
    static Result finish(int fd, qint64 freeBytes = -1);
};

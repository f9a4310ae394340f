#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// One decode of one picture file: what is asked (the file, the box the picture must fit, the
// memory and time it may take, a way to call it off) and what came out. The picture readers
// fill in the second half.
//
// Threads: a plain value used by one thread at a time; `cancelled` may read state another
// thread writes, which is that state's business (an atomic).
struct DecodeJob
{
    enum class Outcome {
        Decoded,     // the whole picture
        Partial,     // the data ended or broke off; the rows not reached are grey
        NotAPicture, // no picture format knows the file, or it cannot be opened
        Damaged,     // a picture file whose header or data cannot be decoded at all
        TooLarge,    // decoding it would take more memory than one decode may
        TimedOut,    // the deadline passed first
        Cancelled,   // called off
    };

    // The file's name as the system spells it (any bytes, not necessarily UTF-8).
    QByteArray path;
    // The upright picture is scaled down to fit this box, keeping its aspect ratio; an empty box
    // asks for the whole picture, within the limits below.
    QSize box;
    // Pictures smaller than the box are scaled up to fit it (thumbnails).
    bool growToFit = false;
    // Largest picture handed out; a larger one is scaled down to this many pixels.
    qint64 maxPixels = 0;
    // Memory one decode may take; a file that cannot be decoded within it is refused.
    qint64 maxBytes = 0;
    QDeadlineTimer deadline{QDeadlineTimer::Forever};
    std::function<bool()> cancelled;

    Outcome outcome = Outcome::NotAPicture;
    QImage image;   // upright, fitted to the box; null unless Decoded or Partial
    QSize fullSize; // upright size of the whole picture as its header declares it
    QString detail; // in words, for the log

    // Whether the decode must stop now (deadline passed or called off); sets the outcome.
    bool mustStop()
    {
        if (cancelled && cancelled()) {
            outcome = Outcome::Cancelled;
            return true;
        }
        if (deadline.hasExpired()) {
            outcome = Outcome::TimedOut;
            return true;
        }
        return false;
    }
};

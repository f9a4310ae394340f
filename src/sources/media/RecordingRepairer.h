#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

#include <atomic>

class AviChunkIndex;

// Finds the recordings that a crash or a power failure left unfinished and makes complete
// files of them.
//
// Every journal (RecordingJournal) in a folder names an unfinished recording. For each one:
//   1. A journal that is a link, or that an earlier repair marked as failed, is passed over;
//      so is a recording another process still writes (it holds a lock on the file), and a
//      recording that is gone or already complete (its journal is removed).
//   2. The partial file is walked chunk by chunk (AviChunkIndex) and its whole chunks are
//      written into a new AVI file beside it (AviRemuxer), created exclusively, never through
//      a link.
//   3. The copy is verified: its header counts its frames, it has an index and the same frames
//      as the original, it plays as a finished recording with a video stream and a working
//      seek (AviPlaybackCheck), and its duration is within TOLERANCE_SECONDS of what the
//      original holds.
//   4. Only then does the copy replace the original, by a rename within the folder, and the
//      journal goes. When any step fails, the original stays exactly as it was, the copy is
//      removed and the journal is marked with the cause so that the file is reported once and
//      not tried again.
//
// Threads: any thread but the GUI thread, since a long recording takes seconds to rewrite;
// nothing is kept between calls. A cancellation is seen between chunks: the file is left for
// the next start, neither marked nor reported.
class RecordingRepairer
{
public:
    static constexpr double TOLERANCE_SECONDS = 0.5;

    enum class Failure {
        None,
        Unreadable,    // the file or its journal cannot be read
        NotARecording, // not an AVI file the program can read
        NoPicture,     // no whole video frame was written before the end
        IsLink,        // the recording's name is a link; it is not followed
        CannotWrite,   // the repaired copy cannot be written (full or read-only folder)
        NotPlayable,   // the repaired copy did not pass the checks
    };

    struct Outcome
    {
        QString path;
        bool repaired = false;
        Failure failure = Failure::None;
        QString detail;             // the cause in English, for the log
        double recordedSeconds = 0; // what the journal last counted (it lags by up to its interval)
        double seconds = 0;         // the repaired file's duration
    };

    // The recordings in `folder` that were repaired or could not be; journals passed over
    // silently (see above) give no outcome. An unreadable folder gives none.
    static QVector<Outcome> repairFolder(const QString &folder, const std::atomic<bool> *cancel = nullptr);

private:
    enum class Step { Reported, Silent, Cancelled };

    static Step repair(int folderFd, const QString &folder, const QString &journalName,
                       const std::atomic<bool> *cancel, Outcome *outcome);
    static Step rewrite(int folderFd, const QString &folder, const QString &name, int recording,
                        const AviChunkIndex &index, const std::atomic<bool> *cancel, Outcome *outcome);
};

Q_DECLARE_METATYPE(RecordingRepairer::Outcome)

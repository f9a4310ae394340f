// Repair benchmark: an unfinished recording of the given size (default 1200 MB, past the
// 1 GiB point where avimux starts a second RIFF part) is made as a crash leaves it, cut in the
// middle of its last chunk, and repaired. Prints the size, the time of the repair (walk,
// rewrite, checks, replace), the throughput, the durations before and after and the peak
// memory of the process.
//
//   bench_recordingrepair [megabytes] [folder]      (defaults: 1200, a temporary folder)

#include "BenchSupport.h"
#include "sources/media/AviChunkIndex.h"
#include "sources/media/GstRef.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/RecordingJournal.h"
#include "sources/media/RecordingRepairer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A large high-rate recording, stopped without end-of-stream once the file has `bytes`.
bool makeUnfinished(const QString &path, qint64 bytes)
{
    GError *error = nullptr;
    GstRef<GstElement> pipeline(gst_parse_launch(
        "videotestsrc pattern=snow ! video/x-raw,width=1280,height=720,framerate=30/1 ! jpegenc quality=95 ! "
        "queue max-size-bytes=0 max-size-buffers=0 max-size-time=3000000000 ! avimux name=mux ! filesink "
        "name=out "
        "audiotestsrc ! audio/x-raw,format=S16LE,rate=48000,channels=2 ! "
        "queue max-size-bytes=0 max-size-buffers=0 max-size-time=3000000000 ! mux.",
        &error));
    g_clear_error(&error);
    if (!pipeline)
        return false;
    GstRef<GstElement> out(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    g_object_set(out.get(), "location", QFile::encodeName(path).constData(), nullptr);
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    const bool grown = BenchSupport::spinUntil([&] { return QFileInfo(path).size() >= bytes; }, 600000);
    gst_element_set_state(pipeline.get(), GST_STATE_NULL); // no end-of-stream: no index, no counts
    if (!grown)
        return false;
    // A crash cuts the last chunk.
    return ::truncate(QFile::encodeName(path).constData(), QFileInfo(path).size() - 3000) == 0;
}

AviChunkIndex scanned(const QString &path)
{
    AviChunkIndex index;
    QString error;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        index.scan(fd, &error);
        ::close(fd);
    }
    return index;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1200;
    QTemporaryDir temporary(argc > 2 ? QString::fromLocal8Bit(argv[2]) + "/repair-XXXXXX" : QString());
    if (!temporary.isValid() || !MediaFramework::initialize())
        return 1;
    const QString path = temporary.filePath("2024-01-01_00-00-00.avi");
    std::printf("making an unfinished recording of %lld MB ...\n", megabytes);
    if (!makeUnfinished(path, megabytes * 1000 * 1000))
        return 2;
    const AviChunkIndex before = scanned(path);
    RecordingJournal::Contents journal;
    journal.file = QFileInfo(path).fileName();
    journal.path = path;
    QFile journalFile(RecordingJournal::journalPath(path));
    if (!journalFile.open(QIODevice::WriteOnly) || journalFile.write(RecordingJournal::encode(journal)) < 0)
        return 3;
    journalFile.close();

    const double cpuBefore = BenchSupport::cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const QVector<RecordingRepairer::Outcome> outcomes = RecordingRepairer::repairFolder(temporary.path());
    const double seconds = clock.elapsed() / 1000.0;
    const double cpu = BenchSupport::cpuSeconds() - cpuBefore;
    const AviChunkIndex after = scanned(path);

    const int video = before.videoStream();
    std::printf("file               %.1f MB, %s part past 1 GiB\n", before.fileSize() / 1e6,
                before.fileSize() > (1u << 30) ? "a RIFF AVIX" : "no");
    std::printf("whole chunks       %llu video, %zu in all; header frames before %u, after %u\n",
                static_cast<unsigned long long>(before.streams()[video].chunks), before.chunks().size(),
                before.headerFrames(), after.headerFrames());
    std::printf("held before        %.2f s\n", before.seconds());
    if (outcomes.size() != 1 || !outcomes[0].repaired) {
        std::printf("repair FAILED: %s\n",
                    outcomes.isEmpty() ? "no outcome" : qPrintable(outcomes[0].detail));
        return 4;
    }
    std::printf("repaired file      %.2f s, index %s\n", outcomes[0].seconds,
                after.hasIndex() ? "yes" : "no");
    std::printf("repair             %.2f s wall, %.2f s CPU, %.0f MB/s\n", seconds, cpu,
                before.fileSize() / 1e6 / seconds);
    std::printf("peak memory        %ld MiB\n", BenchSupport::statusKiB("VmHWM") / 1024);
    return 0;
}

#include "UnfinishedRecordings.h"

#include "sources/media/GstRef.h"
#include "sources/media/RecordingJournal.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

#include <atomic>
#include <fcntl.h>
#include <unistd.h>

namespace UnfinishedRecordings {

bool make(const QString &path, bool withSound)
{
    QString description = QStringLiteral("videotestsrc num-buffers=%1 pattern=ball ! "
                                         "video/x-raw,width=320,height=240,framerate=30/1 ! jpegenc ! "
                                         "queue ! avimux name=mux ! filesink name=out")
                              .arg(FRAMES);
    if (withSound)
        description += QStringLiteral(" audiotestsrc num-buffers=%1 samplesperbuffer=1470 ! "
                                      "audio/x-raw,format=S16LE,rate=44100,channels=1 ! queue ! mux.")
                           .arg(FRAMES);
    GError *error = nullptr;
    GstRef<GstElement> pipeline(gst_parse_launch(description.toUtf8().constData(), &error));
    g_clear_error(&error);
    if (!pipeline)
        return false;
    GstRef<GstElement> out(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    g_object_set(out.get(), "location", QFile::encodeName(path).constData(), nullptr);
    GstRef<GstElement> mux(gst_bin_get_by_name(GST_BIN(pipeline.get()), "mux"));
    static std::atomic<int> ended;
    ended = 0;
    GST_OBJECT_LOCK(mux.get());
    for (GList *l = mux.get()->sinkpads; l; l = l->next) {
        gst_pad_add_probe(
            GST_PAD(l->data), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM,
            [](GstPad *, GstPadProbeInfo *info, gpointer) {
                if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) != GST_EVENT_EOS)
                    return GST_PAD_PROBE_OK;
                ++ended;
                return GST_PAD_PROBE_DROP; // the file is never finished
            },
            nullptr, nullptr);
    }
    GST_OBJECT_UNLOCK(mux.get());
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    // Once one input has ended (unseen by the multiplexer), the other waits for it for ever:
    // what could be written by then is in the file.
    QElapsedTimer clock;
    clock.start();
    while (ended < 1 && clock.elapsed() < 20000)
        QTest::qWait(20);
    QTest::qWait(200);
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return ended >= 1;
}

bool writeJournal(const QString &recording, qint64 recordedMs)
{
    RecordingJournal::Contents c;
    c.file = QFileInfo(recording).fileName();
    c.path = recording;
    c.captureCaps = "image/jpeg,width=320,height=240,framerate=30/1";
    c.width = 320;
    c.height = 240;
    c.framerate = "30/1";
    c.started = QDateTime::currentDateTimeUtc();
    c.recordedMs = recordedMs;
    QFile f(RecordingJournal::journalPath(recording));
    const QByteArray bytes = RecordingJournal::encode(c);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

AviChunkIndex scan(const QString &path)
{
    AviChunkIndex index;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    QString error;
    if (fd >= 0) {
        index.scan(fd, &error);
        ::close(fd);
    }
    return index;
}

QByteArray digest(const QString &path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "missing";
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
        return "not a regular file"; // reading a pipe would wait for a writer
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

RecordingJournal::Contents journalOf(const QString &recording)
{
    RecordingJournal::Contents c;
    RecordingJournal::decode(readFile(RecordingJournal::journalPath(recording)), &c);
    return c;
}

bool isLink(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool isRegular(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace UnfinishedRecordings

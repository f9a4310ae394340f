#include "RecordedFiles.h"
#include "SmallFileSystem.h"
#include "UnfinishedRecordings.h"
#include "sources/media/AviChunkIndex.h"
#include "sources/media/AviInPlaceFinisher.h"
#include "sources/media/AviPlaybackCheck.h"
#include "sources/media/MediaFramework.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <fcntl.h>
#include <unistd.h>

// Recordings whose writer failed under them, finished where they lie: the part-written end
// goes, the index is appended and the header counts what the file holds, with the last chunks
// given up when the disk has no room for the index.
using namespace UnfinishedRecordings;

namespace {

const bool PRIVATE_MOUNTS = SmallFileSystem::enterPrivateMounts();

AviInPlaceFinisher::Result finishFile(const QString &path, qint64 freeBytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return AviInPlaceFinisher::Result();
    const AviInPlaceFinisher::Result result = AviInPlaceFinisher::finish(fd, freeBytes);
    ::close(fd);
    return result;
}

} // namespace

class TestAviInPlaceFinisher : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_unfinished;
    int m_case = 0;

    QString freshCopy()
    {
        const QString path = m_root.filePath(QString("case%1.avi").arg(++m_case));
        return QFile::copy(m_unfinished, path) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(MediaFramework::initialize());
        m_unfinished = m_root.filePath("unfinished.avi");
        QVERIFY(make(m_unfinished));
    }

    // `cut`: where the writer stopped; `free`: the room the disk has (bytes, -1: plenty);
    // `dropped`: whole chunks given up for the index.
    void finishesWhatTheWriterLeft_data()
    {
        QTest::addColumn<QString>("cut");
        QTest::addColumn<qint64>("free");
        QTest::addColumn<bool>("dropsChunks");
        QTest::newRow("stopped between chunks") << "none" << qint64(-1) << false;
        QTest::newRow("stopped inside a picture") << "video" << qint64(-1) << false;
        QTest::newRow("stopped inside a chunk head") << "head" << qint64(-1) << false;
        QTest::newRow("disk full: no room for the index") << "video" << qint64(0) << true;
        QTest::newRow("disk nearly full") << "none" << AviInPlaceFinisher::SPACE_MARGIN << true;
    }
    void finishesWhatTheWriterLeft()
    {
        QFETCH(QString, cut);
        QFETCH(qint64, free);
        QFETCH(bool, dropsChunks);
        const QString path = freshCopy();
        QVERIFY(!path.isEmpty());
        const AviChunkIndex partial = scan(path);
        QByteArray bytes = readFile(path);
        if (cut == "video") {
            for (auto it = partial.chunks().rbegin(); it != partial.chunks().rend(); ++it) {
                if (partial.streams()[int(it->stream)].type == "vids") {
                    bytes.truncate(int(it->offset + it->size / 2));
                    break;
                }
            }
        } else if (cut == "head") {
            bytes.truncate(int(partial.chunks().back().offset - 4));
        }
        QVERIFY(writeFile(path, bytes));
        const AviChunkIndex before = scan(path);

        const AviInPlaceFinisher::Result result = finishFile(path, free < 0 ? qint64(1) << 40 : free);
        QVERIFY2(result.finished, qPrintable(result.error));
        QVERIFY(!result.alreadyComplete);
        QCOMPARE(result.droppedChunks > 0, dropsChunks);

        const AviChunkIndex after = scan(path);
        QVERIFY(after.hasIndex());
        const int video = after.videoStream();
        QCOMPARE(after.headerFrames(), quint32(after.streams()[video].chunks));
        QCOMPARE(quint64(after.chunks().size()), quint64(before.chunks().size()) - result.droppedChunks);
        // The file grew by no more than the room there was.
        if (free >= 0)
            QVERIFY(qint64(QFileInfo(path).size()) - bytes.size() + AviInPlaceFinisher::SPACE_MARGIN <= free);

        const AviPlaybackCheck::Result playback = AviPlaybackCheck::check(path);
        QVERIFY2(playback.playable, qPrintable(playback.error));
        QVERIFY(playback.hasVideo);
        const RecordedFiles::Facts facts = RecordedFiles::discover(path);
        QVERIFY2(facts.opened, qPrintable(facts.error));
        QCOMPARE(facts.audioStreams, 1);
        QVERIFY2(std::fabs(facts.seconds - after.seconds()) < 0.05,
                 qPrintable(QString("%1 s of %2 s").arg(facts.seconds).arg(after.seconds())));
        QVERIFY(std::fabs(result.seconds - after.seconds()) < 0.001);
        QVERIFY(!RecordedFiles::lastFrame(path).isNull());
    }

    // What is not for this finisher is left exactly as it was.
    void leavesOthersAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("finished");
        QTest::newRow("already finished") << "finished" << true;
        QTest::newRow("a second part (past 1 GiB)") << "avix" << false;
        QTest::newRow("header only") << "header" << false;
        QTest::newRow("not an AVI file") << "garbage" << false;
    }
    void leavesOthersAlone()
    {
        QFETCH(QString, kind);
        QFETCH(bool, finished);
        const QString path = freshCopy();
        QByteArray bytes = readFile(path);
        const AviChunkIndex partial = scan(path);
        if (kind == "finished") {
            QVERIFY(finishFile(path, qint64(1) << 40).finished);
            bytes = readFile(path);
        } else if (kind == "avix") {
            QByteArray part = "RIFF" + QByteArray(4, '\0') + "AVIXLIST" + QByteArray(4, '\0') + "movi";
            const AviChunkIndex::Chunk &c = partial.chunks().front();
            part += bytes.mid(int(c.offset - 8), int(8 + c.size + (c.size & 1)));
            bytes.append(part);
        } else if (kind == "header") {
            bytes.truncate(int(partial.chunks().front().offset - 8));
        } else if (kind == "garbage") {
            bytes.fill('x', 4096);
        }
        QVERIFY(writeFile(path, bytes));

        const AviInPlaceFinisher::Result result = finishFile(path, qint64(1) << 40);
        QCOMPARE(result.finished, finished);
        QCOMPARE(result.alreadyComplete, finished);
        QVERIFY(finished || !result.error.isEmpty());
        QCOMPARE(readFile(path), bytes);
    }

    // On a real full disk the finisher asks the file system for its room.
    void fullFileSystem()
    {
        if (!SmallFileSystem::available())
            QSKIP("no small file system can be mounted here");
        const QByteArray original = readFile(m_unfinished);
        SmallFileSystem::Mount small(original.size() + 512 * 1024);
        QVERIFY(small.isMounted());
        const QString path = QDir(small.path()).filePath("full.avi");
        QVERIFY(writeFile(path, original));
        QVERIFY(small.fillLeaving(0));
        QVERIFY(small.freeBytes() < 8192);

        const AviInPlaceFinisher::Result result = finishFile(path, -1);
        QVERIFY2(result.finished, qPrintable(result.error));
        QVERIFY(result.droppedChunks > 0);
        const AviPlaybackCheck::Result playback = AviPlaybackCheck::check(path);
        QVERIFY2(playback.playable, qPrintable(playback.error));
    }
};

QTEST_GUILESS_MAIN(TestAviInPlaceFinisher)
#include "tst_aviinplacefinisher.moc"

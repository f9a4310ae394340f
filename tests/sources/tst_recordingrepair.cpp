#include "RecordedFiles.h"
#include "UnfinishedRecordings.h"
#include "sources/media/AviChunkIndex.h"
#include "sources/media/AviPlaybackCheck.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/RecordingJournal.h"
#include "sources/media/RecordingRecovery.h"
#include "sources/media/RecordingRepairer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <cmath>
#include <signal.h>
#include <unistd.h>

// The repair of unfinished recordings: partial files cut where crashes cut them become
// finished files holding every whole frame; files that cannot be repaired stay as they were
// and are reported once; the start-up worker and the text the user is shown.
using namespace UnfinishedRecordings;
using Failure = RecordingRepairer::Failure;
Q_DECLARE_METATYPE(Failure)

class TestRecordingRepair : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_unfinished; // made once, copied into each case's folder
    int m_case = 0;

    QString freshFolder()
    {
        const QString folder = m_root.filePath(QString("case%1").arg(++m_case));
        QDir().mkpath(folder);
        return folder;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(MediaFramework::initialize());
        qRegisterMetaType<QVector<RecordingRepairer::Outcome>>();
        QVERIFY(m_root.isValid());
        m_unfinished = m_root.filePath("unfinished.avi");
        QVERIFY(make(m_unfinished));
        const AviChunkIndex index = scan(m_unfinished);
        QCOMPARE(index.headerFrames(), 0u);
        QVERIFY(!index.hasIndex());
        QVERIFY(index.streams().size() == 2 && index.streams()[0].chunks > 30);
    }

    // The partial file as the crash left it, cut at the places a kill or a power failure cuts:
    // the whole chunks before the cut are kept, the chunk the cut goes through is not.
    void repairsUnfinishedRecording_data()
    {
        QTest::addColumn<QString>("cut");
        QTest::newRow("as written") << "none";
        QTest::newRow("cut inside a picture") << "video";
        QTest::newRow("cut inside sound") << "audio";
        QTest::newRow("cut inside a chunk head") << "head";
        QTest::newRow("zeros after the data (power failure)") << "zeros";
        QTest::newRow("a second part (RIFF AVIX) of a large file") << "avix";
        QTest::newRow("no sound stream") << "silent";
    }
    void repairsUnfinishedRecording()
    {
        QFETCH(QString, cut);
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath("2024-05-06_07-08-09.avi");
        if (cut == "silent")
            QVERIFY(make(path, false));
        else
            QVERIFY(QFile::copy(m_unfinished, path));
        const AviChunkIndex partial = scan(path);
        QByteArray bytes = readFile(path);
        const auto lastOf = [&](const QByteArray &type) {
            for (auto it = partial.chunks().rbegin(); it != partial.chunks().rend(); ++it) {
                if (partial.streams()[int(it->stream)].type == type)
                    return *it;
            }
            return AviChunkIndex::Chunk();
        };
        if (cut == "video" || cut == "audio") {
            const AviChunkIndex::Chunk last = lastOf(cut == "video" ? "vids" : "auds");
            bytes.truncate(int(last.offset + last.size / 2));
        } else if (cut == "head") {
            bytes.truncate(int(partial.chunks().back().offset - 4));
        } else if (cut == "zeros") {
            bytes.append(QByteArray(65536, '\0'));
        } else if (cut == "avix") {
            // A second part holding the first ten chunks again, as avimux starts one past 1 GiB.
            QByteArray movi;
            for (std::size_t i = 0; i < 10; ++i) {
                const AviChunkIndex::Chunk &c = partial.chunks()[i];
                movi += bytes.mid(int(c.offset - 8), int(8 + c.size + (c.size & 1)));
            }
            QByteArray part = "RIFF" + QByteArray(4, '\0') + "AVIX" + "LIST" + QByteArray(4, '\0') + "movi"
                + movi;
            qToLittleEndian<quint32>(quint32(part.size() - 8), reinterpret_cast<uchar *>(part.data() + 4));
            bytes.append(part);
        }
        QVERIFY(writeFile(path, bytes));
        QVERIFY(writeJournal(path));
        const AviChunkIndex before = scan(path);
        const int video = before.videoStream();
        QVERIFY(video >= 0);
        if (cut == "video")
            QCOMPARE(before.streams()[video].chunks, partial.streams()[video].chunks - 1);
        if (cut == "avix")
            QVERIFY(before.chunks().size() == partial.chunks().size() + 10);

        const QVector<RecordingRepairer::Outcome> outcomes = RecordingRepairer::repairFolder(folder);
        QCOMPARE(outcomes.size(), 1);
        QVERIFY2(outcomes[0].repaired, qPrintable(outcomes[0].detail));
        QCOMPARE(outcomes[0].path, path);
        QCOMPARE(outcomes[0].recordedSeconds, 3.0);
        QVERIFY(!QFileInfo::exists(RecordingJournal::journalPath(path)));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QFileInfo(path).fileName()});

        // Every whole frame and every byte of sound, with a true header and an index.
        const AviChunkIndex after = scan(path);
        QCOMPARE(after.headerFrames(), quint32(before.streams()[video].chunks));
        QVERIFY(after.hasIndex());
        for (int i = 0; i < before.streams().size(); ++i) {
            QCOMPARE(after.streams()[i].chunks, before.streams()[i].chunks);
            QCOMPARE(after.streams()[i].bytes, before.streams()[i].bytes);
        }
        const RecordedFiles::Facts facts = RecordedFiles::discover(path);
        QVERIFY2(facts.opened, qPrintable(facts.error));
        QCOMPARE(facts.videoStreams, 1);
        QCOMPARE(facts.audioStreams, cut == "silent" ? 0 : 1);
        QVERIFY2(std::fabs(facts.seconds - before.seconds()) < 0.05,
                 qPrintable(QString("%1 s of %2 s").arg(facts.seconds).arg(before.seconds())));
        QVERIFY(!RecordedFiles::lastFrame(path).isNull());
        // Told once: nothing is left to report at the next start.
        QVERIFY(RecordingRepairer::repairFolder(folder).isEmpty());
    }

    // A file that cannot be repaired stays exactly as it was, is reported once and is not
    // tried again; nothing else is left in the folder.
    void unrepairableFileIsKeptAndReportedOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Failure>("failure");
        QTest::newRow("garbage") << "garbage" << Failure::NotARecording;
        QTest::newRow("empty file") << "empty" << Failure::NotARecording;
        QTest::newRow("header cut off") << "header" << Failure::NotARecording;
        QTest::newRow("header and no picture") << "nopicture" << Failure::NoPicture;
        QTest::newRow("journal unreadable") << "badjournal" << Failure::Unreadable;
        QTest::newRow("copy cannot be written (file size limit)") << "full" << Failure::CannotWrite;
        QTest::newRow("a pipe under the name") << "fifo" << Failure::NotARecording;
    }
    void unrepairableFileIsKeptAndReportedOnce()
    {
        QFETCH(QString, kind);
        QFETCH(Failure, failure);
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath("2024-05-06_07-08-09.avi");
        QByteArray bytes;
        if (kind == "garbage") {
            bytes.resize(300000);
            for (int i = 0; i < bytes.size(); ++i)
                bytes[i] = char((quint32(i) * 7919u + (quint32(i) >> 5)) & 0xffu);
        } else if (kind == "header") {
            bytes = readFile(m_unfinished).left(200);
        } else if (kind == "nopicture") {
            bytes = readFile(m_unfinished).left(int(scan(m_unfinished).chunks().front().offset - 8));
        } else if (kind == "badjournal" || kind == "full") {
            bytes = readFile(m_unfinished);
        }
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else
            QVERIFY(writeFile(path, bytes));
        QVERIFY(writeJournal(path));
        if (kind == "badjournal")
            QVERIFY(writeFile(RecordingJournal::journalPath(path), "{ not json"));
        const QByteArray original = digest(path);

        QVector<RecordingRepairer::Outcome> outcomes;
        if (kind == "full") {
            // Room for a third of the copy: the writer fails as on a full disk.
            struct rlimit saved;
            ::getrlimit(RLIMIT_FSIZE, &saved);
            struct rlimit small = saved;
            small.rlim_cur = rlim_t(bytes.size() / 3);
            auto previous = ::signal(SIGXFSZ, SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &small);
            outcomes = RecordingRepairer::repairFolder(folder);
            ::setrlimit(RLIMIT_FSIZE, &saved);
            ::signal(SIGXFSZ, previous);
        } else {
            outcomes = RecordingRepairer::repairFolder(folder);
        }
        QCOMPARE(outcomes.size(), 1);
        QVERIFY(!outcomes[0].repaired);
        QCOMPARE(outcomes[0].failure, failure);
        QCOMPARE(outcomes[0].path, path);
        QVERIFY(!outcomes[0].detail.isEmpty());
        QCOMPARE(digest(path), original);
        const QString journal = RecordingJournal::journalPath(path);
        QVERIFY(isRegular(journal));
        QCOMPARE(journalOf(path).failure, outcomes[0].detail);
        QCOMPARE(QDir(folder)
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                     .size(),
                 2);
        QVERIFY(RecordingRepairer::repairFolder(folder).isEmpty());
        QCOMPARE(digest(path), original);
    }

    // Start-up hands the folders to a worker and hears back once, on its own thread, with one
    // text for the user.
    void recoveryRunsOnAWorkerAndTellsOnce()
    {
        const QString folder = freshFolder();
        const QString good = QDir(folder).filePath("2024-05-06_07-08-09.avi");
        const QString bad = QDir(folder).filePath("2024-05-06_07-09-00.avi");
        QVERIFY(QFile::copy(m_unfinished, good));
        QVERIFY(writeFile(bad, "not a film"));
        QVERIFY(writeJournal(good) && writeJournal(bad));

        RecordingRecovery recovery;
        QSignalSpy finished(&recovery, &RecordingRecovery::finished);
        recovery.start({folder, folder + "/", m_root.filePath("missing")});
        QVERIFY(recovery.isRunning());
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!recovery.isRunning());
        const auto outcomes = finished.at(0).at(0).value<QVector<RecordingRepairer::Outcome>>();
        QCOMPARE(outcomes.size(), 2);
        QVERIFY(outcomes[0].repaired);
        QCOMPARE(outcomes[1].failure, Failure::NotARecording);

        const QString text = RecordingRecovery::message(outcomes);
        QVERIFY(text.contains("2024-05-06_07-08-09.avi has been repaired and plays for"));
        QVERIFY(text.contains("2024-05-06_07-09-00.avi could not be repaired: it is not a video file this "
                              "program can read. The file has been kept as it was."));
        QVERIFY(RecordingRecovery::message({}).isEmpty());
        QCOMPARE(RecordingRecovery::title(), QString("Unfinished recordings"));
        // The texts follow the interface language.
        QTranslator german;
        QVERIFY(german.load(":/translations/VOREN_de.qm"));
        QCoreApplication::installTranslator(&german);
        const QString translated = RecordingRecovery::message(outcomes);
        const QString translatedTitle = RecordingRecovery::title();
        QCoreApplication::removeTranslator(&german);
        QCOMPARE(translatedTitle, QString("Unvollständige Aufnahmen"));
        QVERIFY2(translated.contains("2024-05-06_07-08-09.avi wurde repariert und dauert")
                     && translated.contains("sie ist keine Videodatei"),
                 qPrintable(translated));

        // The second start finds nothing left to tell.
        recovery.start({folder});
        QVERIFY(finished.wait(30000));
        QVERIFY(finished.at(1).at(0).value<QVector<RecordingRepairer::Outcome>>().isEmpty());
    }

    // A recovery still running when the window closes is cancelled; the file waits for the
    // next start, neither marked nor reported.
    void cancelledRepairLeavesTheFileForNextStart()
    {
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath("c.avi");
        QVERIFY(QFile::copy(m_unfinished, path));
        QVERIFY(writeJournal(path));
        const QByteArray original = digest(path);
        std::atomic<bool> cancel{true};
        QVERIFY(RecordingRepairer::repairFolder(folder, &cancel).isEmpty());
        QCOMPARE(digest(path), original);
        QVERIFY(journalOf(path).failure.isEmpty());
        {
            RecordingRecovery recovery;
            recovery.start({folder});
        } // destroyed at once: cancels and waits
        // Either the repair was done before the cancellation was seen, or the file is as it was
        // with its journal unmarked.
        const bool journalLeft = QFileInfo::exists(RecordingJournal::journalPath(path));
        if (journalLeft) {
            QCOMPARE(digest(path), original);
            QVERIFY(journalOf(path).failure.isEmpty());
        } else {
            QVERIFY(scan(path).hasIndex());
        }
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
                 journalLeft ? 2 : 1);
    }
};

QTEST_MAIN(TestRecordingRepair)
#include "tst_recordingrepair.moc"

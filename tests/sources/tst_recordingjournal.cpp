#include "UnfinishedRecordings.h"
#include "canvas/ImageCanvas.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/GstRef.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/RecordingJournal.h"
#include "sources/media/RecordingRepairer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace UnfinishedRecordings;

// The journal beside a recording: written while the program records, gone after a normal
// stop, never written through a link, and the journals the repair passes over in silence.
class TestRecordingJournal : public QObject
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

    // Journals that need no repair go without a word: the recording is gone, was finished
    // after all, or is still being written by a running program (left alone, journal kept).
    // A journal that is a link, or that an earlier repair marked as failed, is passed over;
    // a marked one goes once its file has been deleted.
    void journalsWithoutRepairAreSilent_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("journalKept");
        QTest::newRow("recording gone") << "gone" << false;
        QTest::newRow("recording finished") << "finished" << false;
        QTest::newRow("recording still written") << "writing" << true;
        QTest::newRow("journal is a link") << "linkedjournal" << true;
        QTest::newRow("failed earlier, the file since deleted") << "faileddeleted" << false;
        QTest::newRow("failed earlier") << "failed" << true;
    }
    void journalsWithoutRepairAreSilent()
    {
        QFETCH(QString, state);
        QFETCH(bool, journalKept);
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath("a.avi");
        std::shared_ptr<RecordingJournal> writer;
        if (state == "finished") {
            GError *error = nullptr;
            GstRef<GstElement> p(gst_parse_launch(
                QString("videotestsrc num-buffers=10 ! jpegenc ! avimux ! filesink location=\"%1\"")
                    .arg(path)
                    .toUtf8(),
                &error));
            g_clear_error(&error);
            QVERIFY(p);
            gst_element_set_state(p.get(), GST_STATE_PLAYING);
            GstRef<GstBus> bus(gst_element_get_bus(p.get()));
            GstRef<GstMessage> eos(gst_bus_timed_pop_filtered(bus.get(), 10 * GST_SECOND, GST_MESSAGE_EOS));
            gst_element_set_state(p.get(), GST_STATE_NULL);
            QVERIFY(eos);
        } else if (state != "gone" && state != "faileddeleted") {
            QVERIFY(QFile::copy(m_unfinished, path));
        }
        if (state == "writing") {
            writer = RecordingJournal::begin(path, "image/jpeg,width=320,height=240,framerate=30/1");
            QVERIFY(writer);
        } else if (state == "linkedjournal") {
            const QString elsewhere = m_root.filePath("elsewhere.json");
            RecordingJournal::Contents named;
            named.file = "a.avi";
            QVERIFY(writeFile(elsewhere, RecordingJournal::encode(named)));
            QVERIFY(QFile::link(elsewhere, RecordingJournal::journalPath(path)));
        } else if (state == "failed" || state == "faileddeleted") {
            RecordingJournal::Contents marked;
            marked.file = "a.avi";
            marked.failure = "an earlier repair failed";
            QVERIFY(writeFile(RecordingJournal::journalPath(path), RecordingJournal::encode(marked)));
        } else {
            QVERIFY(writeJournal(path));
            // A journal write a crash cut off leaves its temporary file; it goes with the journal.
            QVERIFY(writeFile(RecordingJournal::journalPath(path) + ".tmp", "{"));
        }
        const QByteArray original = digest(path);
        QVERIFY(RecordingRepairer::repairFolder(folder).isEmpty());
        if (state == "gone" || state == "finished")
            QVERIFY(!QFileInfo::exists(RecordingJournal::journalPath(path) + ".tmp"));
        QCOMPARE(QFileInfo::exists(RecordingJournal::journalPath(path))
                     || isLink(RecordingJournal::journalPath(path)),
                 journalKept);
        QCOMPARE(digest(path), original);
        if (writer) {
            QVERIFY(journalOf(path).failure.isEmpty());
            writer->finish();
            QVERIFY(!QFileInfo::exists(RecordingJournal::journalPath(path)));
        }
    }

    // Neither the journal nor the repair writes through a link planted under one of their
    // names; the file the link points at is never touched.
    void linksAreNeverFollowed_data()
    {
        QTest::addColumn<QString>("name"); // the planted link, relative to the recording
        QTest::addColumn<bool>("dangling");
        QTest::newRow("journal name, to a file") << "journal" << false;
        QTest::newRow("journal name, dangling") << "journal" << true;
        QTest::newRow("journal's temporary name, to a file") << "journaltmp" << false;
        QTest::newRow("journal's temporary name, dangling") << "journaltmp" << true;
        QTest::newRow("repair copy's name, to a file") << "repair" << false;
        QTest::newRow("repair copy's name, dangling") << "repair" << true;
        QTest::newRow("recording's name, to a file") << "recording" << false;
    }
    void linksAreNeverFollowed()
    {
        QFETCH(QString, name);
        QFETCH(bool, dangling);
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath("b.avi");
        const QString outside = m_root.filePath(QString("outside%1").arg(m_case));
        const QByteArray precious = "a file outside the record folder\n";
        if (!dangling && name != "recording")
            QVERIFY(writeFile(outside, precious));
        const QString journal = RecordingJournal::journalPath(path);
        const QString link = name == "journal" ? journal
            : name == "journaltmp"             ? journal + ".tmp"
            : name == "repair"                 ? QDir(folder).filePath(".b.avi.repairing")
                                               : path;
        if (name == "recording")
            QVERIFY(QFile::copy(m_unfinished, outside));
        else
            QVERIFY(QFile::copy(m_unfinished, path));
        QVERIFY(QFile::link(outside, link));
        const QByteArray outsideBefore = digest(outside);

        if (name == "journal" || name == "journaltmp") {
            std::shared_ptr<RecordingJournal> writer = RecordingJournal::begin(path, "image/jpeg");
            QVERIFY(writer);
            QVERIFY(isRegular(journal));
            QCOMPARE(journalOf(path).file, QString("b.avi"));
            writer->finish();
            QVERIFY(!QFileInfo::exists(journal) && !isLink(journal));
        } else {
            QVERIFY(writeJournal(path));
            const QVector<RecordingRepairer::Outcome> outcomes = RecordingRepairer::repairFolder(folder);
            QCOMPARE(outcomes.size(), 1);
            if (name == "recording") {
                QCOMPARE(outcomes[0].failure, RecordingRepairer::Failure::IsLink);
                QVERIFY(isLink(path));
            } else {
                QVERIFY2(outcomes[0].repaired, qPrintable(outcomes[0].detail));
                QVERIFY(isRegular(path));
                QVERIFY(!isLink(link) && !QFileInfo::exists(link));
            }
        }
        QCOMPARE(QFileInfo::exists(outside), !dangling || name == "recording");
        QCOMPARE(digest(outside), outsideBefore);
    }

    // The program's own recording: the journal is there while it runs, names the file and
    // its formats and counts the time; a normal stop removes it and leaves a finished file.
    void normalStopLeavesNoJournal()
    {
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath("2024-05-06_07-08-09.avi");
        auto camera = std::make_shared<SimulatedCamera>();
        ImageCanvas canvas;
        canvas.resize(640, 480);
        LiveSource source(std::make_unique<SimulatedBackend>(camera), canvas.pipeline(), 320, 240, 320, 240);
        QSignalSpy plugIn(&source, &LiveSource::devicePlugIn);
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 8000);
        source.startRecording(path);
        const QString journal = RecordingJournal::journalPath(path);
        QVERIFY(isRegular(journal));
        QCOMPARE(journalOf(path).file, QFileInfo(path).fileName());
        QTRY_VERIFY_WITH_TIMEOUT(journalOf(path).recordedMs >= RecordingJournal::UPDATE_INTERVAL_MS, 5000);
        const RecordingJournal::Contents running = journalOf(path);
        QCOMPARE(running.width, 320);
        QCOMPARE(running.height, 240);
        QCOMPARE(running.framerate, QString("30/1"));
        QVERIFY(running.videoCaps.startsWith("image/jpeg"));
        QVERIFY(running.audioCaps.startsWith("audio/x-raw"));
        QTRY_VERIFY_WITH_TIMEOUT(journalOf(path).recordedMs > running.recordedMs, 5000);
        // The file is being written: a repair started meanwhile leaves it alone.
        QVERIFY(RecordingRepairer::repairFolder(folder).isEmpty());
        QVERIFY(isRegular(journal));

        source.stopRecording();
        QVERIFY(!QFileInfo::exists(journal));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QFileInfo(path).fileName()});
        const AviChunkIndex finished = scan(path);
        QVERIFY(finished.headerFrames() > 0 && finished.hasIndex());
        QVERIFY(RecordingRepairer::repairFolder(folder).isEmpty());
    }
};

QTEST_MAIN(TestRecordingJournal)
#include "tst_recordingjournal.moc"

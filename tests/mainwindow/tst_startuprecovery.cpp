#include "MainWindowRig.h"
#include "ScriptedPrompts.h"
#include "UnfinishedRecordings.h"
#include "common/Config.h"
#include "sources/media/AviChunkIndex.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/RecordingJournal.h"
#include "sources/media/RecordingRecovery.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

// The window's start repairs what a crash left unfinished in the record folder and tells the
// user once, in one box.
class TestStartupRecovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }
    void init() { Config::resetForTesting(); }

    // Told as an error when something could not be repaired, as good news when all was.
    void startTellsOnceWhatWasRepaired_data()
    {
        QTest::addColumn<bool>("withDamaged");
        QTest::newRow("one repaired, one not") << true;
        QTest::newRow("all repaired") << false;
    }
    void startTellsOnceWhatWasRepaired()
    {
        QFETCH(bool, withDamaged);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        Config::setRecordPath(folder.path());
        const QString good = folder.filePath("2024-05-06_07-08-09.avi");
        const QString bad = folder.filePath("2024-05-06_07-10-00.avi");
        QVERIFY(UnfinishedRecordings::make(good));
        QFile garbage(bad);
        QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write("not a film") > 0);
        garbage.close();
        QVERIFY(UnfinishedRecordings::writeJournal(good));
        if (withDamaged)
            QVERIFY(UnfinishedRecordings::writeJournal(bad));
        else
            QVERIFY(garbage.remove());

        ScriptedPrompts prompts;
        const QVector<ScriptedPrompts::Asked> &told = withDamaged ? prompts.errors : prompts.notices;
        const QVector<ScriptedPrompts::Asked> &notTold = withDamaged ? prompts.notices : prompts.errors;
        {
            auto window = MainWindowRig::makeWindow();
            QTRY_COMPARE_WITH_TIMEOUT(told.size(), 1, 30000);
            QCOMPARE(notTold.size(), 0);
            QCOMPARE(told[0].parent, window.get());
            QCOMPARE(told[0].title, RecordingRecovery::title());
            const QString text = told[0].text;
            QVERIFY2(text.contains("2024-05-06_07-08-09.avi has been repaired"), qPrintable(text));
            QCOMPARE(text.contains("2024-05-06_07-10-00.avi could not be repaired"), withDamaged);

            // The box as the user sees it over the window.
            QMessageBox box(withDamaged ? QMessageBox::Critical : QMessageBox::Information, told[0].title,
                            text, QMessageBox::Ok, window.get());
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            const QString shots = QString(DOCCAM_BINARY_DIR) + "/screenshots";
            QVERIFY(QDir().mkpath(shots));
            QVERIFY(box.grab().save(shots
                                    + (withDamaged ? "/startup-recovery.png" : "/startup-recovery-all.png")));
        }
        AviChunkIndex repaired;
        QString error;
        const int fd = ::open(QFile::encodeName(good).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0 && repaired.scan(fd, &error));
        ::close(fd);
        QVERIFY(repaired.headerFrames() > 0 && repaired.hasIndex());

        // The next start has nothing to tell.
        auto again = MainWindowRig::makeWindow();
        QTest::qWait(1500);
        QCOMPARE(told.size(), 1);
    }
};

QTEST_MAIN(TestStartupRecovery)
#include "tst_startuprecovery.moc"

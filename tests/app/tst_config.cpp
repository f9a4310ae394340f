#include "SmallFileSystem.h"
#include "common/Config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <thread>
#include <vector>

namespace {

// A read-only store is made as a tmpfs in a mount namespace of the test's own, where allowed.
const bool PRIVATE_MOUNTS = SmallFileSystem::enterPrivateMounts();

} // namespace

// Settings live in the test's own HOME (set by CTest); each case starts from an empty store.
class TestConfig : public QObject
{
    Q_OBJECT
private:
    QString documents() const { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }
    void wipeStore()
    {
        Config::resetForTesting();
        QSettings s;
        s.clear();
        s.sync();
        QDir(documents() + "/Document Camera").removeRecursively();
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("Quillmore");
        QCoreApplication::setApplicationName("Document Camera");
        QVERIFY2(qEnvironmentVariableIsSet("DOCCAM_TEST_HOME"), "run through CTest: it sets a private HOME");
    }
    void init() { wipeStore(); }
    void cleanupTestCase() { wipeStore(); }

    void storeLivesInUserConfig()
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Quillmore", "Document Camera");
        QCOMPARE(s.fileName(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillmore/Document Camera.conf");
    }

    // A store that cannot be written is found when the settings are saved, with the cause.
    void unwritableStoreSaysWhy_data()
    {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("cause");
        QTest::newRow("a file where its folder should be") << "file"
                                                           << "Not a directory";
        QTest::newRow("read-only file system") << "readonly"
                                               << "Read-only file system";
    }
    void unwritableStoreSaysWhy()
    {
        QFETCH(QString, store);
        QFETCH(QString, cause);
        std::unique_ptr<SmallFileSystem::Mount> small;
        if (store == "readonly") {
            if (!SmallFileSystem::available())
                QSKIP("no read-only file system can be mounted here");
            small = std::make_unique<SmallFileSystem::Mount>(64 * 1024);
            QVERIFY(small->isMounted());
        }
        QString error;
        Config::setFlicker(50);
        QVERIFY(Config::save(&error));
        const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillmore";
        QCOMPARE(Config::storeFile(), folder + "/Document Camera.conf");
        QVERIFY(QDir(folder).removeRecursively());
        if (small) {
            QVERIFY(QFile::link(small->path(), folder));
            QVERIFY(small->makeReadOnly());
        } else {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }

        Config::setFlicker(60);
        QVERIFY(!Config::save(&error));
        QCOMPARE(error, cause);
        QVERIFY(QFile::remove(folder));
        Config::resetForTesting();
        QVERIFY(QDir().mkpath(folder));
    }

    // A file the store cannot read back is kept aside once, and the settings are written anew;
    // files it reads, damaged or not, are kept and their settings saved.
    void damagedStoreKeptAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("keptAside");
        QByteArray noise(4000, '\0');
        quint32 x = 12345;
        for (char &c : noise) {
            x = x * 1103515245u + 12345u;
            c = char(x >> 16);
        }
        QTest::newRow("random bytes") << noise << true;
        QTest::newRow("NUL bytes") << QByteArray("[General]\nflicker=\0\0\0x\n", 23) << false;
        QTest::newRow("a line cut in the middle") << QByteArray("[General]\nresolution2=@Size(12") << false;
    }
    void damagedStoreKeptAside()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, keptAside);
        const QString store = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillmore/Document Camera.conf";
        Config::resetForTesting();
        QFile::remove(store + ".damaged");
        {
            QFile file(store);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(file.write(content), qint64(content.size()));
        }
        QString error;
        Config::snapshotMode(); // the start reads the store
        // A fresh file in its place at once.
        QCOMPARE(QSettings().value("resolution2").toSize(), keptAside ? QSize(1280, 720) : QSize());
        Config::setFlicker(60);
        QVERIFY2(Config::save(&error), qPrintable(error));
        QCOMPARE(Config::takeDamagedStore(), keptAside ? store + ".damaged" : QString());
        QCOMPARE(Config::takeDamagedStore(), QString()); // said once
        if (keptAside) {
            QFile aside(store + ".damaged");
            QVERIFY(aside.open(QIODevice::ReadOnly));
            QCOMPARE(aside.readAll(), content);
        }
        // The next run reads what this one saved.
        Config::resetForTesting();
        QCOMPARE(Config::flicker(), quint64(60));
        QCOMPARE(Config::takeDamagedStore(), QString());
    }

    void firstRunDefaults()
    {
        QCOMPARE(Config::snapshotMode(), 0);
        QCOMPARE(Config::snapshotInterval(), quint64(0));
        QCOMPARE(Config::snapshotPath(), documents() + "/Document Camera/images");
        QCOMPARE(Config::recordPath(), documents() + "/Document Camera/videos");
        QCOMPARE(Config::resolution(), QSize(1280, 720));
        QCOMPARE(Config::recordingResolution(), QSize(1280, 720));
        QCOMPARE(Config::language(), QString("en"));
        QCOMPARE(Config::flicker(), quint64(0));
        QVERIFY(QFileInfo(Config::snapshotPath()).isDir());
        QVERIFY(QFileInfo(Config::recordPath()).isDir());
    }

    void defaultFoldersMadeEvenWhenStoredElsewhere()
    {
        {
            QSettings s;
            s.setValue("snapshotPath", "/tmp/elsewhere-shots");
            s.setValue("recordPath", "/tmp/elsewhere-films");
        }
        QCOMPARE(Config::snapshotPath(), QString("/tmp/elsewhere-shots"));
        QCOMPARE(Config::recordPath(), QString("/tmp/elsewhere-films"));
        QVERIFY(QFileInfo(documents() + "/Document Camera/images").isDir());
        QVERIFY(QFileInfo(documents() + "/Document Camera/videos").isDir());
    }

    void settersWriteThroughAndSurviveARestart()
    {
        Config::setSnapshotMode(1);
        Config::setSnapshotInterval(30);
        Config::setSnapshotPath("/no/such/folder");
        Config::setRecordPath("/media/usb/films");
        Config::setResolution(QSize(1920, 1080));
        Config::setFlicker(2);

        // Same run: answered from memory.
        QCOMPARE(Config::snapshotMode(), 1);
        QCOMPARE(Config::snapshotInterval(), quint64(30));
        QCOMPARE(Config::snapshotPath(), QString("/no/such/folder"));
        QCOMPARE(Config::resolution(), QSize(1920, 1080));

        // Written through to the store at once, before any flush of ours.
        {
            QSettings s;
            QCOMPARE(s.value("snapshotMode").toInt(), 1);
            QCOMPARE(s.value("resolution2").toSize(), QSize(1920, 1080));
        }

        // Next run reads the stored values.
        Config::resetForTesting();
        QCOMPARE(Config::snapshotMode(), 1);
        QCOMPARE(Config::snapshotInterval(), quint64(30));
        QCOMPARE(Config::snapshotPath(), QString("/no/such/folder"));
        QCOMPARE(Config::recordPath(), QString("/media/usb/films"));
        QCOMPARE(Config::resolution(), QSize(1920, 1080));
        QCOMPARE(Config::recordingResolution(), QSize(1280, 720));
        QCOMPARE(Config::flicker(), quint64(2));
    }

    void setterDoesNotRereadTheStore()
    {
        Config::setSnapshotInterval(5);
        {
            QSettings s;
            s.setValue("snapshotInterval", 99);
            s.sync();
        }
        QCOMPARE(Config::snapshotInterval(), quint64(5));
    }

    void storedValueConversions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("resolution2 not a size")
            << "resolution2" << QVariant("wide") << QVariant(QSize(-1, -1));
        QTest::newRow("recording resolution not a size")
            << "recordingResolution2" << QVariant(42) << QVariant(QSize(-1, -1));
        QTest::newRow("mode not a number") << "snapshotMode" << QVariant("often") << QVariant(0);
        QTest::newRow("mode 7 kept") << "snapshotMode" << QVariant(7) << QVariant(7);
        QTest::newRow("interval as text") << "snapshotInterval" << QVariant("15") << QVariant(quint64(15));
        QTest::newRow("flicker not a number") << "flicker" << QVariant("fast") << QVariant(quint64(0));
        QTest::newRow("language stored") << "language" << QVariant("ja") << QVariant("ja");
        QTest::newRow("projector screen stored")
            << "projectorScreen" << QVariant("HDMI-1") << QVariant("HDMI-1");
        QTest::newRow("projector screen never chosen")
            << "projectorScreen" << QVariant() << QVariant(QString());
    }
    void storedValueConversions()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, expected);
        {
            QSettings s;
            s.setValue(key, stored);
        }
        QVariant actual;
        if (key == "resolution2")
            actual = Config::resolution();
        else if (key == "recordingResolution2")
            actual = Config::recordingResolution();
        else if (key == "snapshotMode")
            actual = Config::snapshotMode();
        else if (key == "snapshotInterval")
            actual = Config::snapshotInterval();
        else if (key == "flicker")
            actual = Config::flicker();
        else if (key == "language")
            actual = Config::language();
        else if (key == "projectorScreen")
            actual = Config::projectorScreen();
        QCOMPARE(actual, expected);
    }

    // The first start speaks the desktop's language where the program has it.
    void desktopLanguage_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("language");
        QTest::newRow("LANG") << QStringList{"LANG=de_DE.UTF-8"} << "de";
        QTest::newRow("LANGUAGE first") << QStringList{"LANGUAGE=fr:de", "LANG=de_DE.UTF-8"} << "fr";
        QTest::newRow("LANGUAGE skips what is missing")
            << QStringList{"LANGUAGE=pt_BR:es", "LANG=pt_BR.UTF-8"} << "es";
        QTest::newRow("LC_MESSAGES over LANG")
            << QStringList{"LC_MESSAGES=ru_RU.UTF-8", "LANG=en_US.UTF-8"} << "ru";
        QTest::newRow("LC_ALL over all")
            << QStringList{"LC_ALL=ja_JP.UTF-8", "LC_MESSAGES=ru_RU.UTF-8"} << "ja";
        QTest::newRow("traditional Chinese") << QStringList{"LANG=zh_TW.UTF-8"} << "zh-tw";
        QTest::newRow("Hong Kong") << QStringList{"LANG=zh_HK.UTF-8"} << "zh-tw";
        QTest::newRow("simplified Chinese, not had") << QStringList{"LANG=zh_CN.UTF-8"} << "en";
        QTest::newRow("a language not had") << QStringList{"LANG=pt_BR.UTF-8"} << "en";
        QTest::newRow("C locale ignores LANGUAGE") << QStringList{"LANGUAGE=de", "LC_ALL=C.UTF-8"} << "en";
        QTest::newRow("nothing set") << QStringList{} << "en";
    }
    void desktopLanguage()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, language);
        QProcessEnvironment env;
        for (const QString &pair : environment)
            env.insert(pair.section('=', 0, 0), pair.section('=', 1));
        QCOMPARE(Config::desktopLanguage(env), language);
    }

    void dataFolderPathShape()
    {
        const QString path = dataFolder("videos");
        QCOMPARE(path, documents() + "/Document Camera/videos");
        QVERIFY(!path.endsWith('/'));
        QVERIFY(QFileInfo(path).isDir());
    }

    void dataFolderUnderMissingDocumentsFolder()
    {
        // A new account has no ~/Documents yet: the folders are made all the way down.
        QDir(documents()).removeRecursively();
        QVERIFY(QFileInfo(dataFolder("images")).isDir());
    }

    void concurrentFirstUseGivesOneInstance()
    {
        std::vector<std::thread> threads;
        std::vector<int> modes(8, -1);
        Config::setSnapshotMode(3);
        Config::resetForTesting();
        for (int i = 0; i < 8; ++i)
            threads.emplace_back([&modes, i] { modes[size_t(i)] = Config::snapshotMode(); });
        for (auto &t : threads)
            t.join();
        for (int m : modes)
            QCOMPARE(m, 3);
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"

// The command line: what each line asks for, in-process, and the program's answers as a process
// of its own (help and version without any display, usage and status 2 for a wrong line, the
// language of one run).
#include "app/CommandLine.h"
#include "app/InterfaceTranslation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

Q_DECLARE_METATYPE(CommandLine::Request)

namespace {

const QStringList kLanguages = {"en", "de", "fr", "zh-tw"};

QString program()
{
    return QString(DOCCAM_BIN_DIR) + "/document-camera";
}

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

// The program with `arguments` in an environment of its own: `environment` on top of a PATH and
// a fresh home, nothing else (no display unless given).
Run runProgram(const QStringList &arguments, const QStringList &environment, const QString &home)
{
    QProcessEnvironment env;
    env.insert("PATH", qEnvironmentVariable("PATH"));
    env.insert("HOME", home);
    env.insert("XDG_RUNTIME_DIR", home + "/runtime");
    env.insert("LANG", "C.UTF-8");
    for (const QString &pair : environment)
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    // A sanitizer build's options, so that its reports fail the run.
    for (const char *name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS", "G_SLICE"}) {
        if (qEnvironmentVariableIsSet(name))
            env.insert(name, qEnvironmentVariable(name));
    }
    QDir().mkpath(home + "/runtime");
    QFile::setPermissions(home + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program(), arguments);
    Run run;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void lines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Request>("request");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("error");
        using R = CommandLine::Request;
        QTest::newRow("nothing") << QStringList{} << R::Run << ""
                                 << ""
                                 << "";
        QTest::newRow("a film") << QStringList{"lesson.avi"} << R::Run << "lesson.avi"
                                << ""
                                << "";
        QTest::newRow("a folder") << QStringList{"/home/me/Pictures/"} << R::Run << "/home/me/Pictures/"
                                  << ""
                                  << "";
        QTest::newRow("a name that starts with a dash")
            << QStringList{"--", "-notes.avi"} << R::Run << "-notes.avi"
            << ""
            << "";
        QTest::newRow("language") << QStringList{"--language", "fr", "a.avi"} << R::Run << "a.avi"
                                  << "fr"
                                  << "";
        QTest::newRow("language, short") << QStringList{"-l", "zh-tw"} << R::Run << ""
                                         << "zh-tw"
                                         << "";
        QTest::newRow("language with =") << QStringList{"--language=de"} << R::Run << ""
                                         << "de"
                                         << "";
        QTest::newRow("language, one dash") << QStringList{"-language", "en"} << R::Run << ""
                                            << "en"
                                            << "";
        QTest::newRow("help") << QStringList{"--help"} << R::Help << ""
                              << ""
                              << "";
        QTest::newRow("help, short") << QStringList{"-h"} << R::Help << ""
                                     << ""
                                     << "";
        QTest::newRow("help beside a wrong option") << QStringList{"--bogus", "-h"} << R::Help << ""
                                                    << ""
                                                    << "";
        QTest::newRow("version") << QStringList{"--version"} << R::Version << ""
                                 << ""
                                 << "";
        QTest::newRow("version, short") << QStringList{"-v", "a.avi"} << R::Version << ""
                                        << ""
                                        << "";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << R::Invalid << ""
                                        << ""
                                        << "Unknown option 'bogus'";
        QTest::newRow("unknown letter") << QStringList{"-x", "a.avi"} << R::Invalid << ""
                                        << ""
                                        << "Unknown option 'x'";
        QTest::newRow("language without its code") << QStringList{"--language"} << R::Invalid << ""
                                                   << ""
                                                   << "Missing value after '--language'";
        QTest::newRow("language the program lacks")
            << QStringList{"-l", "xx"} << R::Invalid << ""
            << ""
            << "No interface language 'xx'; the program has en, de, fr, zh-tw.";
        QTest::newRow("two files") << QStringList{"a.avi", "b.avi"} << R::Invalid << ""
                                   << ""
                                   << "Only one file or folder can be opened, not 2.";
        QTest::newRow("a scan of several pictures")
            << QStringList{"--scan-pdf", "out.pdf", "--filter", "bw", "-l", "de", "a.jpg", "b.jpg"}
            << R::ScanPdf << ""
            << "de"
            << "";
        QTest::newRow("a filter without a scan") << QStringList{"--filter", "bw", "a.jpg"} << R::Invalid << ""
                                                 << ""
                                                 << "--filter goes with --scan-pdf.";
    }
    void lines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Request, request);
        QFETCH(QString, file);
        QFETCH(QString, language);
        QFETCH(QString, error);
        const CommandLine line(QStringList{"document-camera"} + arguments, kLanguages);
        QCOMPARE(line.request(), request);
        QCOMPARE(line.file(), file);
        QCOMPARE(line.language(), language);
        if (request == CommandLine::Request::ScanPdf) {
            QCOMPARE(line.scanOutput(), QStringLiteral("out.pdf"));
            QCOMPARE(line.scanPictures(), QStringList({"a.jpg", "b.jpg"}));
            QCOMPARE(line.filter(), QStringLiteral("bw"));
        }
        QVERIFY2(line.error().contains(error), qPrintable(line.error()));
        QCOMPARE(line.error().isEmpty(), error.isEmpty());
    }

    void informationBeforeTheToolkit_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("asks");
        QTest::newRow("help among the toolkit's options")
            << QStringList{"-platform", "offscreen", "--help"} << true;
        QTest::newRow("version after a file") << QStringList{"a.avi", "-v"} << true;
        // The toolkit's -reverse is not -r -e -v -e ...
        QTest::newRow("the toolkit's -reverse") << QStringList{"-reverse"} << false;
        QTest::newRow("the toolkit's -platform") << QStringList{"-platform", "wayland", "a.avi"} << false;
        QTest::newRow("a wrong option") << QStringList{"--bogus"} << false;
        QTest::newRow("a wrong option, said before the toolkit") << QStringList{"--bogus"} << true;
        QTest::newRow("the toolkit's options and a file, not answered before the toolkit")
            << QStringList{"-platform", "wayland", "-style=fusion", "-reverse", "-l", "de", "a.avi"} << false;
    }
    void informationBeforeTheToolkit()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, asks);
        const QStringList line = QStringList{"document-camera"} + arguments;
        if (QByteArray(QTest::currentDataTag()).contains("before the toolkit"))
            QCOMPARE(CommandLine::answeredBeforeTheToolkit(line, {"en", "de"}), asks);
        else
            QCOMPARE(CommandLine::asksForInformation(line), asks);
    }

    void languagesBesideTheProgram()
    {
        QTemporaryDir dir;
        for (const char *name :
             {"VOREN_fr.qm", "VOREN_de.qm", "VOREN_zh-tw.qm", "VOREN_en.qm", "other.qm", "VOREN_.qm"})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        QCOMPARE(availableLanguages(dir.path()), QStringList({"en", "de", "fr", "zh-tw"}));
        QCOMPARE(availableLanguages(dir.filePath("missing")), QStringList({"en"}));
    }

    // Without a display: help and version are answered before the toolkit would look for one.
    void helpAndVersionWithoutADisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("--help") << "--help";
        QTest::newRow("-h") << "-h";
        QTest::newRow("--version") << "--version";
    }
    void helpAndVersionWithoutADisplay()
    {
        QFETCH(QString, option);
        const Run run = runProgram({option}, {}, m_dir.filePath("home-info"));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        if (option == "--version") {
            QVERIFY2(QRegularExpression("^Document Camera \\d+\\.\\d+\\.\\d+\\n$").match(run.out).hasMatch(),
                     qPrintable(run.out));
            return;
        }
        QVERIFY2(run.out.startsWith("Usage: "), qPrintable(run.out));
        for (const char *text : {"[options] [FILE|FOLDER]", "-h, --help", "-v, --version",
                                 "-l, --language <code>", "en, de, es, fr, ja, ru, zh-tw", "FILE|FOLDER"})
            QVERIFY2(run.out.simplified().contains(text), text);
    }

    void wrongLineGivesTheUsageAndStatus2_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("environment"); // none: no display
        const QStringList offscreen{"QT_QPA_PLATFORM=offscreen"};
        QTest::newRow("unknown option")
            << QStringList{"--bogus"} << "document-camera: Unknown option 'bogus'." << offscreen;
        QTest::newRow("beside the toolkit's own options")
            << QStringList{"-platform", "offscreen", "-reverse", "--bogus"} << "Unknown option 'bogus'."
            << offscreen;
        QTest::newRow("language the program lacks")
            << QStringList{"--language", "xx"} << "No interface language 'xx'" << offscreen;
        QTest::newRow("two files") << QStringList{"a.avi", "b.avi"} << "Only one file or folder" << offscreen;
        QTest::newRow("unknown option, without a display")
            << QStringList{"--bogus"} << "document-camera: Unknown option 'bogus'." << QStringList();
        QTest::newRow("the toolkit's options and two files, without a display")
            << QStringList{"-style=fusion", "-platform", "xcb", "a.avi", "b.avi"} << "Only one file or folder"
            << QStringList();
    }
    void wrongLineGivesTheUsageAndStatus2()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QFETCH(QStringList, environment);
        const Run run = runProgram(arguments, environment, m_dir.filePath("home-wrong"));
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.contains(error), qPrintable(run.err));
        QVERIFY2(run.err.contains("Usage: "), qPrintable(run.err));
        // Nothing started: no window, no settings.
        QVERIFY(!QFile::exists(m_dir.filePath("home-wrong/.config/Quillmore/Document Camera.conf")));
    }

    // The program as a desktop starts it, on the offscreen platform, until `awaited` is in its
    // log; then it is ended as a desktop session ends it, by SIGTERM, and must close cleanly,
    // an open box included. Returns the whole log.
    // The program's own lines are those the test run asks for, unless `rules` are given.
    QString runUntil(const QStringList &arguments, const QString &home, const QString &awaited,
                     const QString &rules = qEnvironmentVariable("QT_LOGGING_RULES"))
    {
        QProcessEnvironment env;
        env.insert("PATH", qEnvironmentVariable("PATH"));
        env.insert("HOME", home);
        env.insert("XDG_RUNTIME_DIR", home + "/runtime");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("LANG", "C.UTF-8");
        env.insert("QT_LOGGING_RULES", rules);
        for (const char *name :
             {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "G_SLICE", "GST_REGISTRY"}) {
            if (qEnvironmentVariableIsSet(name))
                env.insert(name, qEnvironmentVariable(name));
        }
        QDir().mkpath(home + "/runtime");
        QFile::setPermissions(home + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program(), arguments);
        if (!p.waitForStarted())
            return "not started";
        QString log;
        QElapsedTimer waited;
        waited.start();
        while (true) {
            if (!p.waitForReadyRead(500) && p.state() != QProcess::Running)
                break;
            log += QString::fromLocal8Bit(p.readAll());
            if (log.contains(awaited) || waited.elapsed() > 20000)
                break;
        }
        // An ended process has no id: a kill of 0 would end the whole test run.
        if (p.processId() > 0)
            ::kill(pid_t(p.processId()), SIGTERM);
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            return log + "\n(did not end after SIGTERM)";
        }
        log += QString::fromLocal8Bit(p.readAll());
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            log += QString("\n(ended with status %1)")
                       .arg(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1);
        return log;
    }

    // The language of one run: the interface is in it, and the stored one stays.
    // A normal start prints nothing: here only the one line waited on is asked for, and no
    // other line may come, from start to the end by SIGTERM.
    void normalStartPrintsNothing()
    {
        const QString log = runUntil({}, m_dir.filePath("home-quiet"), "interface language: en",
                                     "doccam.app.info=true");
        QVERIFY2(log.contains("interface language: en"), qPrintable(log));
        for (const QString &line : log.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith("doccam.app: "), qPrintable(log));
    }

    void languageForOneRun()
    {
        const QString home = m_dir.filePath("home-language");
        {
            QSettings stored(home + "/.config/Quillmore/Document Camera.conf", QSettings::IniFormat);
            stored.setValue("language", "fr");
        }
        const QString log = runUntil({"--language", "de"}, home, "interface language: de");
        QVERIFY2(log.contains("interface language: de"), qPrintable(log));
        QVERIFY2(!log.contains("no translation file"), qPrintable(log));
        QVERIFY2(log.contains("signal 15 received: closing the windows"), qPrintable(log));
        QVERIFY2(!log.contains("(ended") && !log.contains("(did not end"), qPrintable(log));
        QSettings stored(home + "/.config/Quillmore/Document Camera.conf", QSettings::IniFormat);
        QCOMPARE(stored.value("language").toString(), QString("fr"));
    }

    // The file argument reaches the window; what cannot be opened leaves a box, which the
    // signal closes with the window.
    void startsWithTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("logged");
        QTest::newRow("picture") << "pictures/b.png"
                                 << "started with the pictures of";
        QTest::newRow("folder") << "pictures"
                                << "started with the pictures of";
        QTest::newRow("missing") << "gone.avi"
                                 << "nothing opened at start: \"The file or folder";
    }
    void startsWithTheFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, logged);
        QVERIFY(QDir().mkpath(m_dir.filePath("pictures")));
        for (const char *picture : {"a.png", "b.png"}) {
            QImage image(16, 16, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            QVERIFY(image.save(m_dir.filePath("pictures/") + picture));
        }
        const QString log = runUntil({m_dir.filePath(name)}, m_dir.filePath("home-file"), logged);
        QVERIFY2(log.contains(logged), qPrintable(log));
        QVERIFY2(log.contains("signal 15 received: closing the windows"), qPrintable(log));
        QVERIFY2(!log.contains("(ended") && !log.contains("(did not end"), qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"

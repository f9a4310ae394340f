#include "FakeUvcTest.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace fakeuvctest;

// GStreamer's own v4l2src on the fake camera, in a gst-launch-1.0 process of its own with the
// library preloaded: the pipeline negotiates with the fractions the camera really reports,
// streams, and every frame jpegdec decodes carries the camera's frame number.
class TestFakeUvcGstreamer : public QObject
{
    Q_OBJECT

    struct Run
    {
        int exitCode = -1;
        QString output;
        QStringList frames; // decoded frames, 8-bit grey, one file each
    };

    QTemporaryDir m_dir;

    Run launch(const QString &name, const QString &camera, const QString &commands, const QString &caps,
               bool compressed, int frames)
    {
        Run run;
        const QString folder = m_dir.filePath(name);
        QDir().mkpath(folder);
        QStringList arguments{
            "-q", "v4l2src", "device=/dev/video0", QStringLiteral("num-buffers=%1").arg(frames), "!", caps};
        if (compressed)
            arguments << "!"
                      << "jpegdec";
        arguments << "!"
                  << "videoconvert"
                  << "!"
                  << "video/x-raw,format=GRAY8"
                  << "!"
                  << "multifilesink" << QStringLiteral("location=%1/frame-%03d.grey").arg(folder);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_PRELOAD", QString::fromLocal8Bit(preload()));
        environment.insert("FAKEUVC_CAMERAS", camera);
        environment.insert("FAKEUVC_COMMANDS", commands);
        environment.insert("GST_DEBUG", "v4l2*:1,jpegdec:2");
        // The sanitizer runtime rides along in sanitizer builds; GStreamer's own leaks at exit
        // are not this test's business.
        if (environment.contains("ASAN_OPTIONS"))
            environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(GST_LAUNCH), arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.output = QString::fromLocal8Bit(process.readAll());
        for (const QString &file : QDir(folder).entryList({"frame-*.grey"}, QDir::Files, QDir::Name))
            run.frames << QDir(folder).filePath(file);
        return run;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void negotiatesAndDecodes_data()
    {
        QTest::addColumn<QString>("camera");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("caps");
        QTest::addColumn<bool>("compressed");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("frames");
        const QString camera = "name=USB Document Camera";
        QTest::newRow("30/1 from 333333")
            << camera << ""
            << "image/jpeg,width=640,height=480,framerate=30/1" << true << QSize(640, 480) << 12;
        QTest::newRow("30060/1003 from 333666")
            << camera << ""
            << "image/jpeg,width=1280,height=720,framerate=30060/1003" << true << QSize(1280, 720) << 8;
        QTest::newRow("2997/100 from 333667")
            << camera + ",intervals=333667/666666"
            << ""
            << "image/jpeg,width=640,height=480,framerate=2997/100" << true << QSize(640, 480) << 8;
        QTest::newRow("1001/10000 at 1080p")
            << camera << ""
            << "image/jpeg,width=1920,height=1080,framerate=10000/1001" << true << QSize(1920, 1080) << 4;
        QTest::newRow("15/1 at 8 megapixels")
            << camera << ""
            << "image/jpeg,width=3264,height=2448,framerate=15/1" << true << QSize(3264, 2448) << 3;
        QTest::newRow("frames without Huffman tables")
            << camera + ",huffman=0"
            << ""
            << "image/jpeg,width=640,height=480,framerate=30/1" << true << QSize(640, 480) << 5;
        QTest::newRow("camera at 12 of 30 frames/s")
            << camera << "fps 12"
            << "image/jpeg,width=640,height=480,framerate=30/1" << true << QSize(640, 480) << 5;
        QTest::newRow("uncompressed YUY2")
            << camera << ""
            << "video/x-raw,format=YUY2,width=640,height=480,framerate=30/1" << false << QSize(640, 480) << 4;
    }

    void negotiatesAndDecodes()
    {
        QFETCH(QString, camera);
        QFETCH(QString, commands);
        QFETCH(QString, caps);
        QFETCH(bool, compressed);
        QFETCH(QSize, size);
        QFETCH(int, frames);
        const Run run = launch(QTest::currentDataTag(), camera, commands, caps, compressed, frames);
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QVERIFY2(!run.output.contains("WARN") && !run.output.contains("ERROR"), qPrintable(run.output));
        QCOMPARE(run.frames.size(), frames);
        qint64 previous = -1;
        for (const QString &file : run.frames) {
            const QByteArray grey = readFile(file);
            QCOMPARE(grey.size(), size.width() * size.height());
            Image image;
            image.width = size.width();
            image.height = size.height();
            image.components = 1;
            image.pixels.assign(grey.begin(), grey.end());
            const qint64 code = frameCode(image, size.width(), size.height());
            QVERIFY2(code > previous,
                     qPrintable(QString("%1 after %2 in %3").arg(code).arg(previous).arg(file)));
            previous = code;
        }
    }

    // The camera pulled out of a running pipeline through the control file: v4l2src's poll
    // sees the error and the pipeline stops with it.
    void unplugThroughTheControlFile()
    {
        const QString control = m_dir.filePath("unplug.ctl");
        const QString stateFile = m_dir.filePath("unplug.state");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_PRELOAD", QString::fromLocal8Bit(preload()));
        environment.insert("FAKEUVC_CONTROL", control);
        environment.insert("FAKEUVC_STATE", stateFile);
        if (environment.contains("ASAN_OPTIONS"))
            environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(GST_LAUNCH),
                      {"v4l2src", "device=/dev/video0", "!", "image/jpeg,width=640,height=480", "!",
                       "jpegdec", "!", "fakesink"});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(readFile(stateFile).contains("streaming=1"), 20000);

        QFile file(control);
        QVERIFY(file.open(QIODevice::Append));
        file.write("# pulled out\nunplug\n");
        file.close();
        QTRY_COMPARE_WITH_TIMEOUT(readFile(control + ".ack"), QByteArray("2\n"), 10000);
        QVERIFY(readFile(stateFile).contains("plugged=0"));
        if (process.state() != QProcess::NotRunning && !process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            QFAIL("gst-launch kept running without its camera");
        }
        const QString output = QString::fromLocal8Bit(process.readAll());
        QVERIFY(process.exitCode() != 0);
        QVERIFY2(output.contains("Could not read from resource"), qPrintable(output));
    }

    // No UVC camera can state 30000/1001: uvcvideo reports 333666 as 1003/30060 and 333667
    // as 100/2997. Caps that insist on it do not negotiate.
    void ntscFractionIsNeverOffered()
    {
        const Run run = launch("ntsc", "name=USB Document Camera", "",
                               "image/jpeg,width=640,height=480,framerate=30000/1001", true, 5);
        QVERIFY(run.exitCode != 0);
        QVERIFY2(run.output.contains("not-negotiated"), qPrintable(run.output));
        QVERIFY(run.frames.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFakeUvcGstreamer)

#include "tst_fakeuvcgstreamer.moc"

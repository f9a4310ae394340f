#include "TestCaptureSink.h"
#include "sources/film/FilmSource.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <gst/gst.h>

#include <cmath>

class TestFilmSource : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString fixture(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    // Opens a film and waits, bounded, for the outcome: true when it plays. `reason` gets the
    // words of a failure.
    static bool openFilm(FilmSource &film, const QString &path, QString *reason = nullptr)
    {
        QSignalSpy opened(&film, &FilmSource::opened);
        QSignalSpy failed(&film, &FilmSource::openFailed);
        film.open(path);
        QElapsedTimer clock;
        clock.start();
        while (opened.isEmpty() && failed.isEmpty() && clock.elapsed() < FilmSource::OPEN_TIMEOUT_MS + 5000)
            QTest::qWait(10);
        if (reason && !failed.isEmpty())
            *reason = failed.first().at(2).toString();
        return !opened.isEmpty();
    }

    static bool ffmpeg(const QStringList &args)
    {
        QProcess p;
        p.start("ffmpeg", QStringList{"-loglevel", "error", "-y"} + args);
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            qWarning() << "ffmpeg failed:" << p.readAllStandardError();
            return false;
        }
        return true;
    }

    static QStringList lavfiFilm(int seconds)
    {
        return {"-f", "lavfi", "-i", QString("testsrc=size=320x240:rate=25:duration=%1").arg(seconds),
                "-f", "lavfi", "-i", QString("sine=frequency=440:duration=%1").arg(seconds)};
    }

    // The state the film's pipeline settles in, waiting at most 5 s for a change under way.
    static GstState pipelineState(FilmSource &film)
    {
        GstElement *source = film.graphElement("Source Filter");
        if (!source)
            return GST_STATE_VOID_PENDING;
        GstElement *pipeline = GST_ELEMENT(GST_OBJECT_PARENT(source));
        GstState state = GST_STATE_VOID_PENDING;
        GstState pending = GST_STATE_VOID_PENDING;
        const GstStateChangeReturn r = gst_element_get_state(pipeline, &state, &pending, 5 * GST_SECOND);
        if (r != GST_STATE_CHANGE_SUCCESS && r != GST_STATE_CHANGE_NO_PREROLL)
            qWarning() << "pipeline state" << r << state << pending;
        return state;
    }

    static double volumeOf(FilmSource &film)
    {
        GstElement *volume = film.graphElement("Volume");
        if (!volume)
            return -1;
        gdouble v = -1;
        g_object_get(volume, "volume", &v, nullptr);
        return v;
    }

private slots:
    void volumeFactor_data()
    {
        QTest::addColumn<int>("hundredths");
        QTest::addColumn<double>("factor");
        QTest::newRow("full") << 0 << 1.0;
        QTest::newRow("above full") << 500 << 1.0;
        QTest::newRow("-20 dB") << -2000 << 0.1;
        QTest::newRow("-60 dB") << -6000 << 0.001;
        QTest::newRow("slider at 1") << -9900 << std::pow(10.0, -4.95);
        QTest::newRow("silent") << -10000 << 0.0;
        QTest::newRow("below silent") << -20000 << 0.0;
    }
    void volumeFactor()
    {
        QFETCH(int, hundredths);
        QFETCH(double, factor);
        QVERIFY(qAbs(FilmSource::volumeFactor(hundredths) - factor) < 1e-12);
        GstRef<GstElement> volume(gst_element_factory_make("volume", nullptr));
        QVERIFY(MediaGraph::setVolume(volume.get(), FilmSource::volumeFactor(hundredths)));
        double set = -1;
        g_object_get(volume.get(), "volume", &set, nullptr);
        QVERIFY(qAbs(set - factor) <= 1e-6 * factor); // the element keeps single precision
        GstRef<GstElement> other(gst_element_factory_make("identity", nullptr));
        QVERIFY(!MediaGraph::setVolume(other.get(), FilmSource::volumeFactor(hundredths)));
    }

    void initTestCase()
    {
        QVERIFY(MediaFramework::initialize());
        QVERIFY(m_dir.isValid());
        // A 10 s AVI with MJPEG video and PCM sound, a 4 s WMV with WMV2 and WMA, a
        // sound-only AVI, the first 40 % of the AVI and a text file named .avi.
        QVERIFY(
            ffmpeg(lavfiFilm(10)
                   + QStringList{"-c:v", "mjpeg", "-q:v", "5", "-c:a", "pcm_s16le", fixture("film.avi")}));
        QVERIFY(ffmpeg(lavfiFilm(4) + QStringList{"-c:v", "wmv2", "-c:a", "wmav2", fixture("film.wmv")}));
        QVERIFY(ffmpeg({"-f", "lavfi", "-i", "sine=duration=3", "-c:a", "pcm_s16le", fixture("sound.avi")}));
        // PAL frames of wide pixels (16:9 on screen), tall pixels, through both decoding paths.
        for (const auto &film : {std::make_pair(QStringLiteral("wide.mkv"), QStringLiteral("64/45")),
                                 std::make_pair(QStringLiteral("tall.mkv"), QStringLiteral("8/9"))})
            QVERIFY(ffmpeg(QStringList{"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25:duration=2", "-f",
                                       "lavfi", "-i", "sine=duration=2", "-vf", "setsar=" + film.second,
                                       "-c:v", "mpeg4", "-c:a", "pcm_s16le", fixture(film.first)}));
        QVERIFY(ffmpeg({"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25:duration=2", "-f", "lavfi", "-i",
                        "sine=duration=2", "-vf", "setsar=64/45", "-c:v", "mjpeg", "-c:a", "pcm_s16le",
                        fixture("wide-mjpeg.mkv")}));
        QFile whole(fixture("film.avi"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QFile truncated(fixture("truncated.avi"));
        QVERIFY(truncated.open(QIODevice::WriteOnly));
        truncated.write(whole.read(whole.size() * 2 / 5));
        truncated.close();
        QFile text(fixture("text.avi"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("This is a shopping list, not a film.\n");
    }

    void open_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("opens");   // 1 opens, 0 refused, -1 either
        QTest::addColumn<QSize>("shown"); // the frames' size at the grabber
        const QSize small(320, 240);
        QTest::newRow("avi with mjpeg and pcm") << "film.avi" << 1 << small;
        QTest::newRow("wmv with wmv2 and wma") << "film.wmv" << 1 << small;
        QTest::newRow("sound only") << "sound.avi" << 0 << small;
        QTest::newRow("text named .avi") << "text.avi" << 0 << small;
        QTest::newRow("missing file") << "gone.avi" << 0 << small;
        QTest::newRow("truncated avi") << "truncated.avi" << -1 << small;
        // Shown at their shape on screen, not at their stored size.
        QTest::newRow("wide pixels, 720x576 at 64:45") << "wide.mkv" << 1 << QSize(1024, 576);
        QTest::newRow("wide pixels, motion JPEG") << "wide-mjpeg.mkv" << 1 << QSize(1024, 576);
        QTest::newRow("tall pixels, 720x576 at 8:9") << "tall.mkv" << 1 << QSize(720, 648);
    }
    void open()
    {
        QFETCH(QString, name);
        QFETCH(int, opens);
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        const bool opened = openFilm(film, fixture(name));
        if (opens >= 0)
            QCOMPARE(opened, opens == 1);
        QCOMPARE(film.isLoaded(), opened);
        QCOMPARE(film.isPlaying(), opened);
        if (!opened) {
            QVERIFY(!film.graphElement("Source Filter"));
            film.play();
            film.setPosition(50);
            QTRY_COMPARE_WITH_TIMEOUT(film.position(), 0, 5000); // the seek completes asynchronously
            return;
        }
        QVERIFY(film.duration() > 0);
        QVERIFY(film.graphElement("Video Grabber"));
        QTRY_VERIFY_WITH_TIMEOUT(sink.streamFrames.load() >= 5, 10000);
        QFETCH(QSize, shown);
        QCOMPARE(sink.lastFrameSize(), shown);
        QCOMPARE(sink.lastFlip.load(), false);
        QCOMPARE(sink.lastAlpha.load(), true);
        QVERIFY(film.hasAudio());
    }

    void truncatedFilmPlaysWhatItCanToItsEnd()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        if (!openFilm(film, fixture("truncated.avi")))
            QSKIP("the truncated film is refused, which is fine");
        film.setPosition(90);
        QTRY_VERIFY_WITH_TIMEOUT(!film.isPlaying(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(film.position(), 0, 5000); // the seek completes asynchronously
    }

    void framesComeInRealTime()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        gboolean sync = FALSE;
        g_object_get(film.graphElement("Video Renderer"), "sync", &sync, nullptr);
        QVERIFY(sync);
        QTRY_VERIFY_WITH_TIMEOUT(sink.streamFrames.load() >= 1, 10000);
        // 25 frames are one second of this film; a renderer off the clock would pour them out
        // in a few milliseconds. Only a lower bound: a slow machine cannot make this fail.
        QElapsedTimer clock;
        clock.start();
        const int start = sink.streamFrames.load();
        QTRY_VERIFY_WITH_TIMEOUT(sink.streamFrames.load() >= start + 25, 10000);
        QVERIFY2(clock.elapsed() >= 700, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(film.position() < 60);
    }

    void seekInPercent()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        QVERIFY(std::abs(film.duration() - 100000000) < 500000); // 10 s in 100-ns units
        film.pause();
        film.setPosition(50);
        QTRY_COMPARE_WITH_TIMEOUT(film.position(), 50, 5000);
        QVERIFY(std::abs(film.currentPosition() - film.duration() / 2) < 400000);
        film.play();
        film.setPosition(20);
        QTRY_VERIFY_WITH_TIMEOUT(film.position() >= 20 && film.position() < 30, 5000);
    }

    void forwardSpeeds_data()
    {
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("rate");
        QTest::newRow("once") << 1 << 2;
        QTest::newRow("twice") << 2 << 4;
        QTest::newRow("three times") << 3 << 8;
        QTest::newRow("ten times") << 10 << 100;
    }
    void forwardSpeeds()
    {
        QFETCH(int, presses);
        QFETCH(int, rate);
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        for (int i = 0; i < presses; ++i)
            film.forward();
        QCOMPARE(film.rate(), rate);
        const GstState state = pipelineState(film);
        QCOMPARE(state, GST_STATE_PAUSED);
        // The tick moves the paused film on faster than real time; at rate 100 it runs out at
        // once and returns to the start.
        if (rate < 100) {
            QTRY_VERIFY_WITH_TIMEOUT(film.position() >= 10, 10000);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!film.isPlaying(), 10000);
            QTRY_COMPARE_WITH_TIMEOUT(film.position(), 0, 5000); // the seek completes asynchronously
        }
        // A press on play returns to rate 1.
        film.play();
        QCOMPARE(film.rate(), 1);
    }

    void backwardRunsToTheStartAndPauses()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        film.setPosition(30);
        QTRY_VERIFY_WITH_TIMEOUT(film.position() >= 30, 5000);
        QList<int> positions;
        connect(&film, &FilmSource::tick, this, [&] { positions << film.position(); });
        film.backward();
        QCOMPARE(film.rate(), -2);
        QTRY_VERIFY_WITH_TIMEOUT(!film.isPlaying(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(film.position(), 0, 5000); // the seek completes asynchronously
        QVERIFY(sink.autoRefreshRunning);
        QVERIFY(positions.size() >= 2);
        QCOMPARE(positions.last(), 0);
        // It went back: some tick saw a position between the start and the point left.
        bool between = false;
        for (int p : positions)
            between = between || (p > 0 && p < 30);
        QVERIFY(between);
        // Back on normal speed with backward from -2 would need playing; it is paused now.
        film.forward();
        QCOMPARE(film.rate(), -2);
    }

    void backwardFromFastForwardReturnsToNormalPlay()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        film.forward();
        film.backward();
        QCOMPARE(film.rate(), 1);
        const GstState state = pipelineState(film);
        QCOMPARE(state, GST_STATE_PLAYING);
    }

    void stopKeepsPlayingSet()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        film.setPosition(40);
        QSignalSpy ticks(&film, &FilmSource::tick);
        film.stop();
        QCOMPARE(ticks.count(), 1);
        QVERIFY(film.isPlaying());
        QVERIFY(sink.autoRefreshRunning);
        QTRY_COMPARE_WITH_TIMEOUT(film.position(), 0, 5000);
        film.forward();
        QCOMPARE(film.speedIndex(), 2);
        film.play();
        QVERIFY(!sink.autoRefreshRunning);
        QCOMPARE(film.speedIndex(), 1);
    }

    void volume()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        QVERIFY(film.hasAudio());
        QCOMPARE(volumeOf(film), 1.0);
        film.setVolume(1);
        QVERIFY(std::abs(volumeOf(film) - std::pow(10.0, -99.0 / 20.0)) < 1e-9);
        film.setVolume(50);
        QVERIFY(std::abs(volumeOf(film) - std::pow(10.0, -50.0 / 20.0)) < 1e-9);
        film.setVolume(100);
        QCOMPARE(volumeOf(film), 1.0);
    }

    void noAudioOutputPlaysWithoutSound()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("no-such-audio-sink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        QVERIFY(!film.hasAudio());
        QVERIFY(!film.graphElement("Volume"));
        QVERIFY(film.graphElement("Audio Renderer")); // the sound drains into a fake sink
        film.setVolume(1);                            // does nothing
        QTRY_VERIFY_WITH_TIMEOUT(sink.streamFrames.load() >= 10, 10000);
    }

    void openStartsAtNormalSpeed()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        film.forward();
        film.forward();
        QCOMPARE(film.speedIndex(), 3);
        QVERIFY(openFilm(film, fixture("film.wmv")));
        QCOMPARE(film.speedIndex(), 1);
        QVERIFY(film.isPlaying());
        // A refused open keeps the film loaded before, paused where it was, and says why.
        QString reason;
        QVERIFY(!openFilm(film, fixture("text.avi"), &reason));
        QVERIFY(film.isLoaded());
        QVERIFY(film.graphElement("Video Grabber"));
        QVERIFY(!reason.isEmpty());
        film.play();
        QVERIFY(film.isPlaying());
    }

    void wmvPlaysToItsEnd()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.wmv")));
        QSignalSpy ticks(&film, &FilmSource::tick);
        QTRY_VERIFY_WITH_TIMEOUT(!film.isPlaying(), 20000);
        QVERIFY(sink.streamFrames.load() >= 50);
        QTRY_COMPARE_WITH_TIMEOUT(film.position(), 0, 5000); // the seek completes asynchronously
        QVERIFY(sink.autoRefreshRunning);
        QVERIFY(ticks.count() >= 10);
        // The tick keeps running at the start of the film.
        const int before = ticks.count();
        QVERIFY(ticks.wait(2000));
        QVERIFY(ticks.count() > before);
        film.play();
        QVERIFY(film.isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(film.position() >= 10, 10000);
    }

    void modeChangesAndUnload()
    {
        TestCaptureSink sink;
        FilmSource film(&sink, nullptr);
        film.resumeCapture();
        QVERIFY(sink.autoRefreshRunning);
        film.pauseCapture();
        QVERIFY(!sink.autoRefreshRunning);
        film.setAudioOutput("fakesink");
        QVERIFY(openFilm(film, fixture("film.avi")));
        film.play();
        QSignalSpy ticks(&film, &FilmSource::tick);
        QVERIFY(ticks.wait(2000));
        film.pauseCapture();
        QCOMPARE(sink.autoRefreshStarts, 2);
        QVERIFY(!sink.autoRefreshRunning);
        ticks.clear();
        QVERIFY(!ticks.wait(300)); // the tick timer stopped
        film.unload();
        QVERIFY(!film.isLoaded());
        QVERIFY(!film.graphElement("Video Grabber"));
        const int starts = sink.autoRefreshStarts;
        film.pause();
        film.stop();
        QCOMPARE(sink.autoRefreshStarts, starts);
    }
};

QTEST_GUILESS_MAIN(TestFilmSource)
#include "tst_filmsource.moc"

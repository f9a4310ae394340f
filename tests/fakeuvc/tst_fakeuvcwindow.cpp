#include "FakeUvcLive.h"
#include "MessageCapture.h"
#include "canvas/CanvasMessages.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "mainwindow/CameraStatusDisplay.h"
#include "mainwindow/DeviceSupervisor.h"
#include "mainwindow/MainWindow.h"
#include "sources/media/MediaFramework.h"
#include "widgets/ImageButton.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

using namespace fakeuvctest;

namespace {

// Counts the paints a widget gets, whoever asks for them.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QString shotFolder()
{
    return QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/camera");
}

} // namespace

// The whole window on the fake camera, as a user meets it: the live canvas says in words that
// no camera is connected, that the user may not use it or that another program does, and why
// the record and snapshot buttons do nothing without a picture; the words go by themselves
// once the camera gives pictures, and the frame supervision leaves a camera with fractional
// frame intervals alone.
class TestFakeUvcWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;

    CanvasMessages *liveMessages() const { return m_window->osd(m_window->canvas(MODE_LIVE))->messages(); }
    ImageCanvas *liveCanvas() const { return m_window->canvas(MODE_LIVE); }
    qint64 frameOnCanvas() const
    {
        const QImage picture = liveCanvas()->pipeline()->outputImage();
        return frameCodeOf(picture, picture.width(), picture.height());
    }
    void shoot(const QString &name) const
    {
        QDir().mkpath(shotFolder());
        QVERIFY(m_window->grab().save(shotFolder() + QLatin1Char('/') + name + QStringLiteral(".png")));
    }
    void openWindow()
    {
        m_window = std::make_unique<MainWindow>(
            Clock::system(), std::make_unique<CameraDevices>(CameraDevices::Microphone::None));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(MediaFramework::initialize());
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath("shots");
        QDir(m_dir.path()).mkpath("films");
        Config::setSnapshotPath(m_dir.filePath("shots"));
        Config::setRecordPath(m_dir.filePath("films"));
    }
    void init()
    {
        for (const char *line : {"eacces off", "busy off", "replug 0"})
            QCOMPARE(command(line), 0);
    }
    void cleanup() { m_window.reset(); }

    void noCameraConnected()
    {
        QCOMPARE(command("unplug"), 0);
        openWindow();
        QCOMPARE(liveMessages()->standingTitle(), CameraStatusDisplay::noCameraTitle());
        QCOMPARE(liveMessages()->standingDetail(), CameraStatusDisplay::noCameraDetail());
        shoot("no-camera-en");

        // The buttons say why nothing happens, on the canvas; nothing is armed or written.
        ImageButton *record = m_window->liveRecordingButton();
        QTest::mouseClick(record, Qt::LeftButton);
        QVERIFY(!record->isChecked());
        QCOMPARE(liveMessages()->notice(), CameraStatusDisplay::noRecordingNotice());
        shoot("no-camera-record-en");

        QTest::mouseClick(m_window->toolButtons().snapshot, Qt::LeftButton);
        QCOMPARE(liveMessages()->notice(), CameraStatusDisplay::noSnapshotNotice());

        // The notice goes by itself: a canvas without frames is repainted when it runs out.
        PaintCounter counter(liveCanvas());
        QTRY_VERIFY_WITH_TIMEOUT(liveMessages()->notice().isEmpty(), CanvasMessages::NOTICE_MS + 1000);
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 1000);
        QVERIFY(QDir(m_dir.filePath("shots")).isEmpty());
        QVERIFY(QDir(m_dir.filePath("films")).isEmpty());

        // Plugged in: starting, then the picture, and the words go.
        QCOMPARE(command("replug"), 0);
        QTRY_COMPARE_WITH_TIMEOUT(liveMessages()->standingTitle(), CameraStatusDisplay::startingTitle(),
                                  2000);
        QTRY_VERIFY_WITH_TIMEOUT(liveMessages()->standingTitle().isEmpty(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(frameOnCanvas() >= 0, 5000);
    }

    void noCameraConnectedTranslated()
    {
        QCOMPARE(command("unplug"), 0);
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/translations/VOREN_de.qm")));
        QCoreApplication::installTranslator(&translator);
        openWindow();
        const QString title = liveMessages()->standingTitle();
        QCoreApplication::removeTranslator(&translator);
        QVERIFY(!title.isEmpty());
        QVERIFY2(title != CameraStatusDisplay::noCameraTitle(), qPrintable(title));
        shoot("no-camera-de");
    }

    void cameraThatCannotBeUsed_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("no permission") << "eacces";
        QTest::newRow("in use") << "busy";
    }
    void cameraThatCannotBeUsed()
    {
        QFETCH(QString, fault);
        QCOMPARE(command(qPrintable(fault + " on")), 0);
        MessageCapture messages;
        openWindow();
        const QString expected = fault == "eacces" ? CameraStatusDisplay::noPermissionTitle("/dev/video0")
                                                   : CameraStatusDisplay::inUseTitle();
        QTRY_COMPARE_WITH_TIMEOUT(liveMessages()->standingTitle(), expected, 2000);
        QTest::qWait(2500); // the settle time and more checks: still said once in the log
        QCOMPARE(messages.messages().filter(fault == "eacces" ? "no permission" : "in use by another").size(),
                 1);
        shoot(fault == "eacces" ? "no-permission-en" : "in-use-en");

        QCOMPARE(command(qPrintable(fault + " off")), 0);
        QTRY_VERIFY_WITH_TIMEOUT(liveMessages()->standingTitle().isEmpty(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(frameOnCanvas() >= 0, 5000);
    }

    // A camera that states 333666 (29.97 frames/s as 1003/30060 s) gives pictures without a
    // break: the frame supervision never finds it stalled, so it is opened once.
    void fractionalCameraIsOpenedOnce()
    {
        QCOMPARE(command("unplug"), 0);
        QCOMPARE(command("@1 replug 0"), 0);
        MessageCapture messages;
        openWindow();
        QTRY_VERIFY_WITH_TIMEOUT(frameOnCanvas() >= 0, 8000);
        QCOMPARE(m_window->liveSource()->captureCaps(),
                 QStringLiteral("image/jpeg,width=%1,height=%2,framerate=30060/1003")
                     .arg(m_window->liveSource()->captureWidth())
                     .arg(m_window->liveSource()->captureHeight()));
        QTest::qWait(DeviceSupervisor::STALL_LIMIT_MS + 1500);
        QCOMPARE(messages.messages().filter("device plug in").size(), 1);
        QVERIFY(messages.messages().filter("disconnect device").isEmpty());
        QCOMPARE(command("@1 unplug"), 0);
    }

    // Any maker's USB camera gives the live picture when it is the only one there, as the
    // vendor's own camera does; a laptop's own camera only when no external one is there.
    void liveFromCamera_data()
    {
        QTest::addColumn<QList<int>>("plugged");
        QTest::addColumn<int>("live");
        QTest::addColumn<QString>("shot");
        QTest::newRow("vendor") << QList<int>{0} << 0 << QString();
        QTest::newRow("other maker") << QList<int>{2} << 2 << QStringLiteral("other-maker-live-en");
        QTest::newRow("laptop camera beside another maker's") << QList<int>{3, 2} << 2 << QString();
        QTest::newRow("laptop camera alone") << QList<int>{3} << 3 << QString();
    }
    void liveFromCamera()
    {
        QFETCH(QList<int>, plugged);
        QFETCH(int, live);
        QCOMPARE(command("unplug"), 0);
        for (int camera : plugged)
            QCOMPARE(command(QByteArray("@" + QByteArray::number(camera) + " replug 0").constData()), 0);
        openWindow();
        QTRY_VERIFY_WITH_TIMEOUT(frameOnCanvas() >= 0, 8000);
        QVERIFY(liveMessages()->standingTitle().isEmpty());
        QVERIFY2(
            state().contains(QRegularExpression(QStringLiteral("camera %1 [^\\n]* streaming=1").arg(live))),
            qPrintable(state()));
        QFETCH(QString, shot);
        if (!shot.isEmpty())
            shoot(shot);
        m_window.reset();
        for (int camera : plugged)
            QCOMPARE(command(QByteArray("@" + QByteArray::number(camera) + " unplug").constData()), 0);
    }

    // Record with the window's button, as a user does: a file that plays about as long as the
    // recording ran.
    void recordThroughTheWindow()
    {
        openWindow();
        QTRY_VERIFY_WITH_TIMEOUT(frameOnCanvas() >= 0, 8000);
        ImageButton *record = m_window->liveRecordingButton();
        QTest::mouseClick(record, Qt::LeftButton);
        QVERIFY(record->isChecked());
        QTest::qWait(2000);
        QTest::mouseClick(record, Qt::LeftButton);
        QVERIFY(!record->isChecked());
        const QStringList films = QDir(m_dir.filePath("films")).entryList({"*.avi"}, QDir::Files);
        QCOMPARE(films.size(), 1);
        const Probed file = probe(m_dir.filePath("films/" + films.first()));
        QVERIFY2(file.ok, qPrintable(file.error));
        QVERIFY2(file.videoSeconds > 1.6 && file.videoSeconds < 2.6,
                 qPrintable(QString::number(file.videoSeconds)));
    }
};

int main(int argc, char **argv)
{
    ensurePreloaded(argv,
                    {{"FAKEUVC_CAMERAS",
                      "name=USB Document Camera;"
                      "name=Slow Document Camera,intervals=333666/666666,plugged=0;"
                      "vid=1778,pid=d021,name=Other Brand Document Camera,plugged=0;"
                      "vid=0bda,pid=58f4,name=Integrated Camera,builtin=1,plugged=0"}});
    QApplication app(argc, argv);
    TestFakeUvcWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fakeuvcwindow.moc"

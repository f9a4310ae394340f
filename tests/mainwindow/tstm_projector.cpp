// The projector screen on a display of two real X monitors (run-two-monitors.sh: DUMMY0 on the
// left, DUMMY1 on the right): its key opens a full-screen window on the second monitor that
// shows, pixel for pixel, what the current canvas's pipeline processed from the simulated
// camera (with zoom, rotation, effect, mask and drawing), follows every frame and every mode
// switch, remembers its monitor, and closes when that monitor is switched off. Screenshots of
// both monitors go to <build>/screenshots/presenter.
#include "MainWindowRig.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/ProjectorWindow.h"
#include "common/Config.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ProjectorControl.h"
#include "mainwindow/WindowCommands.h"
#include "sources/live/LiveSource.h"
#include "widgets/ImageButton.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTranslator>
#include <QtTest>

namespace {

constexpr int OpenTimeoutMs = 15000;
constexpr int ShowTimeoutMs = 5000;
const char SecondOutput[] = "DUMMY1";

QString shotFolder()
{
    const QString folder = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/presenter");
    QDir().mkpath(folder);
    return folder;
}

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

// What the X server shows in `area` (desktop coordinates).
QImage onScreen(const QRect &area)
{
    QScreen *primary = QGuiApplication::primaryScreen();
    return primary->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

bool xrandr(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xrandr"), arguments) == 0;
}

// How far the screen's picture of the projector differs from the pipeline's processed picture:
// at the centre of picture pixels whose neighbours share their colour (so that where a scaled
// pixel lands does not matter), the number of pixels that differ, out of `compared`.
int differences(const QImage &shown, const QImage &processed, int *compared)
{
    const QRect target = ProjectorWindow::pictureRect(shown.size(), processed.size());
    const QImage picture = processed.convertToFormat(QImage::Format_RGB32);
    const double scale = double(target.width()) / picture.width();
    int differ = 0;
    *compared = 0;
    for (int v = 1; v < picture.height() - 1; v += 7) {
        for (int u = 1; u < picture.width() - 1; u += 7) {
            const QRgb c = picture.pixel(u, v) | 0xff000000;
            bool flat = true;
            for (int dy = -1; dy <= 1 && flat; ++dy)
                for (int dx = -1; dx <= 1 && flat; ++dx)
                    flat = (picture.pixel(u + dx, v + dy) | 0xff000000) == c;
            if (!flat)
                continue;
            const QPoint at(target.x() + int((u + 0.5) * scale), target.y() + int((v + 0.5) * scale));
            ++*compared;
            if ((shown.pixel(at) | 0xff000000) != c)
                ++differ;
        }
    }
    // Outside the picture the window is black.
    if (target.left() > 0 && shown.pixel(0, shown.height() / 2) != 0xff000000)
        ++differ;
    if (target.top() > 0 && shown.pixel(shown.width() / 2, 0) != 0xff000000)
        ++differ;
    return differ;
}

bool showsTheProcessedPicture(ProjectorWindow *projector, FramePipeline *pipeline)
{
    int compared = 0;
    const QImage processed = pipeline->outputImage();
    const QImage shown = onScreen(projector->geometry());
    const int differ = differences(shown, processed, &compared);
    if (differ != 0 || compared < 200)
        qInfo("%d of %d compared pixels differ", differ, compared);
    return differ == 0 && compared >= 200;
}

void pressKey(MainWindow &w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(&w, Qt::Key(key), modifiers);
}

} // namespace

class TestProjector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::screens().size(), 2);
        QVERIFY(screenNamed(SecondOutput));
        Config::setProjectorScreen(QString());
    }

    void showsTheCanvasOnTheSecondMonitor()
    {
        auto camera = std::make_shared<SimulatedCamera>(); // plugged in, moving colour bars
        auto window = MainWindowRig::makeWindow(nullptr, camera);
        MainWindow &w = *window;
        QCOMPARE(w.windowHandle()->screen(), QGuiApplication::primaryScreen());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(QTest::qWaitFor([&] { return w.liveSource()->isOpen(); }, OpenTimeoutMs));
        FramePipeline *live = w.canvas(MODE_LIVE)->pipeline();
        QTRY_VERIFY_WITH_TIMEOUT(!live->outputImage().isNull(), ShowTimeoutMs);
        QVERIFY(w.projectorButton()->isEnabled());

        // F5 opens the window full screen on the other monitor; the main window keeps its own.
        pressKey(w, Qt::Key_F5);
        ProjectorControl *control = w.projector();
        QVERIFY(control->isOpen());
        ProjectorWindow *projector = control->window();
        QScreen *second = screenNamed(SecondOutput);
        QCOMPARE(control->screen(), second);
        QTRY_COMPARE(projector->geometry(), second->geometry());
        QVERIFY(projector->isVisible());
        QVERIFY(w.isVisible() && w.isActiveWindow());
        QCOMPARE(w.windowHandle()->screen(), QGuiApplication::primaryScreen());
        QVERIFY(w.projectorButton()->isChecked());
        QCOMPARE(Config::projectorScreen(), QString(SecondOutput));

        // Every frame: the moving bars move on the projector too.
        const QImage first = onScreen(projector->geometry());
        QTRY_VERIFY_WITH_TIMEOUT(onScreen(projector->geometry()) != first, ShowTimeoutMs);

        // Frozen, the picture holds still and the projector shows exactly the processed frame,
        // with whatever the canvas does to it.
        pressKey(w, Qt::Key_F);
        QVERIFY(live->freeze());
        QTRY_VERIFY_WITH_TIMEOUT(showsTheProcessedPicture(projector, live), ShowTimeoutMs);
        pressKey(w, Qt::Key_Plus, Qt::ControlModifier);
        pressKey(w, Qt::Key_O);
        live->setEffect(EFFECT_NEGATIVE);
        live->setMask(MASK_RECTANGLE);
        live->drawOnLayer([](QPainter &p) { p.fillRect(QRect(100, 100, 300, 200), QColor(250, 200, 0)); });
        QTRY_VERIFY_WITH_TIMEOUT(showsTheProcessedPicture(projector, live), ShowTimeoutMs);
        QVERIFY(onScreen(w.geometry()).save(shotFolder() + "/main-window-with-projector.png"));
        QVERIFY(onScreen(projector->geometry()).save(shotFolder() + "/projector-live.png"));

        // A mode switch takes the projector to the new mode's canvas.
        pressKey(w, Qt::Key_4, Qt::ControlModifier);
        QCOMPARE(w.currentMode(), MODE_DRAWING_BOARD);
        FramePipeline *board = w.canvas(MODE_DRAWING_BOARD)->pipeline();
        QCOMPARE(projector->pipeline(), board);
        board->drawOnLayer([](QPainter &p) { p.fillRect(QRect(300, 200, 400, 250), QColor(30, 90, 200)); });
        QTRY_VERIFY_WITH_TIMEOUT(showsTheProcessedPicture(projector, board), ShowTimeoutMs);
        QVERIFY(onScreen(projector->geometry()).save(shotFolder() + "/projector-board.png"));

        // F5 again closes it.
        pressKey(w, Qt::Key_F5);
        QVERIFY(!control->isOpen());
        QVERIFY(!w.projectorButton()->isChecked());
    }

    void closesWhenItsMonitorGoesAndComesBackToIt()
    {
        auto window = MainWindowRig::makeWindow();
        MainWindow &w = *window;
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        pressKey(w, Qt::Key_F5);
        ProjectorControl *control = w.projector();
        QVERIFY(control->isOpen());
        QPointer<ProjectorWindow> projector = control->window();

        // The projector's cable comes out.
        QVERIFY(xrandr({"--output", SecondOutput, "--off"}));
        QTRY_VERIFY_WITH_TIMEOUT(!control->isOpen(), ShowTimeoutMs);
        QTRY_VERIFY(!projector);
        QTRY_COMPARE(QGuiApplication::screens().size(), 1);
        QTRY_VERIFY(!w.projectorButton()->isEnabled());
        QVERIFY(!w.projectorButton()->isChecked());
        pressKey(w, Qt::Key_F5); // nothing to show it on
        QVERIFY(!control->isOpen());
        // The window goes on as before.
        QVERIFY(w.isVisible());
        pressKey(w, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(w.currentMode(), MODE_FILM);

        // Plugged in again, the key finds the remembered monitor.
        QVERIFY(xrandr({"--output", SecondOutput, "--mode", "1024x768", "--pos", "1280x0"}));
        QTRY_COMPARE(QGuiApplication::screens().size(), 2);
        QTRY_VERIFY(w.projectorButton()->isEnabled());
        pressKey(w, Qt::Key_F5);
        QVERIFY(control->isOpen());
        QCOMPARE(control->screen()->name(), QString(SecondOutput));
        QCOMPARE(control->window()->pipeline(), w.canvas(MODE_FILM)->pipeline());
    }

    void screenshots_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QString("en");
        QTest::newRow("German") << QString("de");
    }
    void screenshots()
    {
        QFETCH(QString, language);
        QTranslator translator;
        if (language != "en") {
            QVERIFY(translator.load(QStringLiteral(":/translations/VOREN_%1.qm").arg(language)));
            QCoreApplication::installTranslator(&translator);
        }
        {
            auto window = MainWindowRig::makeWindow();
            MainWindow &w = *window;
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            pressKey(w, Qt::Key_4, Qt::ControlModifier);
            ImageCanvas *board = w.currentCanvas();
            board->pipeline()->drawOnLayer([](QPainter &p) {
                p.setPen(QPen(QColor(200, 30, 30), 12));
                p.drawEllipse(QRect(340, 160, 600, 400));
                p.setFont(QFont("Arial", 60));
                p.drawText(QRect(0, 560, 1280, 120), Qt::AlignCenter, "2 + 3 = 5");
            });
            pressKey(w, Qt::Key_F5);
            QVERIFY(w.projector()->isOpen());
            QTRY_VERIFY_WITH_TIMEOUT(showsTheProcessedPicture(w.projector()->window(), board->pipeline()),
                                     ShowTimeoutMs);
            // Both monitors: the window with its controls on the left, the projector right.
            const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
            QTest::qWait(200);
            QVERIFY(onScreen(desktop).save(shotFolder() + QStringLiteral("/projector-%1.png").arg(language)));
        }
        if (language != "en")
            QCoreApplication::removeTranslator(&translator);
    }
};

QTEST_MAIN(TestProjector)
#include "tstm_projector.moc"

// The main window as a native Wayland client on a headless Weston (tests/support/on-weston.sh):
// it comes up with the camera's picture on the compositor's screen, maximises and restores,
// and a drag on its frame loses nothing. A headless compositor has no seat, so nothing reaches
// the window from a pointer of its own: the presses here are the toolkit's, the window system
// refuses to move a window for them and the window's own code runs instead.
// tstwx_systemmove drags and resizes with a real pointer on a nested Weston.
#define QTEST_QPA_MOUSE_HANDLING

#include "MainWindowRig.h"
#include "MessageCapture.h"
#include "WestonScreen.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "widgets/ImageButton.h"

#include <QLoggingCategory>
#include <QtTest>

#include <functional>

namespace {

QSize outputSize()
{
    const QStringList size = qEnvironmentVariable("DOCCAM_WESTON_SIZE").split('x');
    return size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize();
}

} // namespace

class TestWaylandWindow : public QObject
{
    Q_OBJECT

    // One window with a live picture for every case, in the order below: the camera takes
    // seconds to be found.
    std::shared_ptr<SimulatedCamera> m_camera;
    std::unique_ptr<MainWindow> m_window;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QString("wayland"));
        QCOMPARE(WestonScreen::backend(), QString("headless"));
        QLoggingCategory::setFilterRules("doccam.widgets.debug=true");
        m_camera = std::make_shared<SimulatedCamera>();
        m_window = MainWindowRig::makeWindow(nullptr, m_camera);
        QTRY_VERIFY_WITH_TIMEOUT(m_camera->framesDelivered() > 10, 15000);
        // Painted since the picture arrived.
        QTest::qWait(300);
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_camera.reset();
    }

    void windowComesUpWithThePicture()
    {
        QString error;
        const QImage shot = WestonScreen::grab(&error);
        QVERIFY2(!shot.isNull(), qPrintable(error));
        WestonScreen::save(shot, "headless-live");
        const QRect shown = WestonScreen::windowsOn(shot);
        // The compositor places the window; it shows whole, at the window's own size.
        QCOMPARE(shown.size(), m_window->size());
        const double bars = WestonScreen::saturatedShare(shot, shown);
        QVERIFY2(bars > 0.15, qPrintable(QString("the camera's colours cover %1 of the window").arg(bars)));
    }

    void dragWithoutAPointerLosesNothing()
    {
        const QRect before = WestonScreen::shownAt("headless-before-drag");
        QVERIFY(before.isValid());
        MessageCapture log;
        const QPoint band(100, 12);
        QTest::mouseMove(m_window.get(), band);
        QTest::mousePress(m_window.get(), Qt::LeftButton, {}, band);
        QTest::mouseMove(m_window.get(), band + QPoint(-60, 40));
        QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, band + QPoint(-60, 40));
        // No seat, no system move: the window's own move ran, which the compositor ignores,
        // since a Wayland client does not place itself.
        QVERIFY(!log.contains("window move handed to the window system"));
        QTest::qWait(200);
        QCOMPARE(WestonScreen::shownAt("headless-after-drag"), before);
        // The window answers as before: the drag is over, and the mode buttons work.
        QVERIFY(MainWindowRig::selectMode(*m_window, MODE_DRAWING_BOARD));
        QVERIFY(MainWindowRig::selectMode(*m_window, MODE_LIVE));
        QVERIFY(m_window->isVisible());
    }

    void edgeWithoutAPointerResizes()
    {
        const QRect before = WestonScreen::shownAt("headless-before-resize");
        QVERIFY(before.isValid());
        // The right edge, inwards: the window's own resize, which only asks for a new size.
        const QPoint edge(m_window->width() - 2, m_window->height() / 2);
        const int width = edge.x() - 90;
        QTest::mouseMove(m_window.get(), edge + QPoint(-1, 0));
        QTest::mouseMove(m_window.get(), edge);
        QTest::mousePress(m_window.get(), Qt::LeftButton, {}, edge);
        QTest::mouseMove(m_window.get(), edge - QPoint(90, 0));
        QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, edge - QPoint(90, 0));
        QTRY_COMPARE(m_window->width(), width);
        const QRect after = WestonScreen::shownAt("headless-after-resize",
                                                  [&](const QRect &shown) { return shown.width() == width; });
        QCOMPARE(after, QRect(before.topLeft(), QSize(width, before.height())));
    }

    void maximiseAndRestore()
    {
        const QSize normal = m_window->size();
        QTest::mouseClick(m_window->maximizeButton(), Qt::LeftButton);
        QTRY_VERIFY(m_window->isMaximized());
        // The compositor gives the maximised window its whole output (there is no panel).
        QTRY_COMPARE(m_window->size(), outputSize());
        const QRect whole(QPoint(0, 0), outputSize());
        QCOMPARE(
            WestonScreen::shownAt("headless-maximised", [&](const QRect &shown) { return shown == whole; }),
            whole);
        QTest::mouseClick(m_window->maximizeButton(), Qt::LeftButton);
        QTRY_VERIFY(!m_window->isMaximized());
        QTRY_COMPARE(m_window->size(), normal);
        QCOMPARE(WestonScreen::shownAt("headless-restored",
                                       [&](const QRect &shown) { return shown.size() == normal; })
                     .size(),
                 normal);
    }
};

QTEST_MAIN(TestWaylandWindow)
#include "tstw_waylandwindow.moc"

// The main window as a native Wayland client of a Weston nested in Xvfb
// (tests/support/on-weston.sh nested), driven by that display's pointer through xdotool: a drag
// on the frame's top band and a drag on an edge or corner reach the compositor, which moves and
// resizes the window (a Wayland client cannot place itself, so only the compositor's own move
// shows on its screen), and the close button closes it. Weston's X11 window sits at the top-left
// corner of the X display, so X pointer positions are the compositor's screen positions.
#include "MainWindowRig.h"
#include "PointerDrag.h"
#include "WestonScreen.h"

#include <QLoggingCategory>
#include <QtTest>

#include <functional>

namespace {

const char kMoveHandedOver[] = "window move handed to the window system";
const char kResizeHandedOver[] = "window resize handed to the window system";

} // namespace

Q_DECLARE_METATYPE(QMargins)

class TestSystemMove : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> m_window;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QString("wayland"));
        QCOMPARE(WestonScreen::backend(), QString("nested"));
        QLoggingCategory::setFilterRules("doccam.widgets.debug=true");
        m_window = MainWindowRig::makeWindow();
        QTest::qWait(300);
    }

    void cleanupTestCase() { m_window.reset(); }

    void dragOnTheBandMovesTheWindow()
    {
        const QRect before = WestonScreen::shownAt("nested-before-move");
        QCOMPARE(before.size(), m_window->size());
        // Towards the middle of the screen, so that the whole window stays on it.
        const QPoint centre = before.center();
        const QPoint offset(centre.x() < 640 ? 150 : -150, centre.y() < 450 ? 60 : -60);
        const QPoint band = before.topLeft() + QPoint(100, 12);
        QString error;
        QVERIFY2(PointerDrag::drag(band, band + offset, kMoveHandedOver, {}, &error), qPrintable(error));
        const QRect expected = before.translated(offset);
        QCOMPARE(
            WestonScreen::shownAt("nested-after-move", [&](const QRect &shown) { return shown == expected; }),
            expected);
        QCOMPARE(m_window->size(), before.size());
    }

    void edgeResizesTheWindow_data()
    {
        QTest::addColumn<QPoint>("grip"); // from the window's top-left corner
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QMargins>("change"); // of the window's edges: left, top, right, bottom
        // The left edge is the one only the compositor can drag: the window moves as it narrows.
        QTest::newRow("left edge inwards") << QPoint(2, 300) << QPoint(60, 0) << QMargins(-60, 0, 0, 0);
        QTest::newRow("bottom-right corner")
            << QPoint(-3, -3) << QPoint(-50, -30) << QMargins(0, 0, -50, -30);
        QTest::newRow("top edge outwards") << QPoint(300, 1) << QPoint(0, -40) << QMargins(0, 40, 0, 0);
    }
    void edgeResizesTheWindow()
    {
        QFETCH(QPoint, grip);
        QFETCH(QPoint, offset);
        QFETCH(QMargins, change);
        const QRect before = WestonScreen::shownAt("nested-before-resize");
        QVERIFY(before.isValid());
        // A negative grip counts from the bottom-right corner.
        const QPoint from(grip.x() >= 0 ? before.left() + grip.x() : before.right() + 1 + grip.x(),
                          grip.y() >= 0 ? before.top() + grip.y() : before.bottom() + 1 + grip.y());
        const QRect expected = before.marginsAdded(change);
        // Held until the window has its new size: the compositor places a window resized by its
        // left or top edge by the sizes the window commits during the drag, and a size committed
        // after the release would move the opposite edge.
        QString error;
        QVERIFY2(PointerDrag::drag(
                     from, from + offset, kResizeHandedOver,
                     [&] { return m_window->size() == expected.size(); }, &error),
                 qPrintable(error));
        QTRY_COMPARE(m_window->size(), expected.size());
        QCOMPARE(WestonScreen::shownAt(
                     QString("nested-after-resize-%1").arg(QTest::currentDataTag()).replace(' ', '-'),
                     [&](const QRect &shown) { return shown == expected; }),
                 expected);
    }

    void closeButtonCloses()
    {
        const QRect shown = WestonScreen::shownAt("nested-before-close");
        QVERIFY(shown.isValid());
        // The close button: 38 pixels from the right edge, 4 from the top, 18 x 16.
        const QPoint button(shown.right() + 1 - 38 + 9, shown.top() + 4 + 8);
        QString error;
        QVERIFY2(PointerDrag::pointTo(button, &error), qPrintable(error));
        QVERIFY2(PointerDrag::xdotool({"click", "1"}, &error), qPrintable(error));
        QTRY_VERIFY(!m_window->isVisible());
        QCOMPARE(WestonScreen::shownAt("nested-closed", [](const QRect &r) { return r.isNull(); }), QRect());
    }
};

QTEST_MAIN(TestSystemMove)
#include "tstwx_systemmove.moc"

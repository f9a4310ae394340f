#define QTEST_QPA_MOUSE_HANDLING

#include "TestResourceTree.h"
#include "widgets/FramelessWindow.h"

#include <QScreen>
#include <QtTest>

namespace {

// A window whose window system answers the move request as the test says, and counts the
// requests.
class SystemMoveWindow : public FramelessWindow
{
public:
    SystemMoveWindow(const QImage &background, bool accepts)
        : FramelessWindow(background, false, nullptr)
        , m_accepts(accepts)
    { }
    int requests = 0;

protected:
    bool requestSystemMove() override
    {
        ++requests;
        return m_accepts;
    }

private:
    bool m_accepts;
};

} // namespace

class TestFramelessWindow : public QObject
{
    Q_OBJECT
private slots:
    void flagsSizeAndPainting_data()
    {
        QTest::addColumn<bool>("tool");
        QTest::addColumn<Qt::WindowFlags>("flags");
        QTest::newRow("tool window") << true << (Qt::Tool | Qt::FramelessWindowHint);
        QTest::newRow("ordinary window")
            << false << (Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    }
    void flagsSizeAndPainting()
    {
        QFETCH(bool, tool);
        QFETCH(Qt::WindowFlags, flags);
        QImage background = solidPicture(240, 120, qRgb(30, 60, 90));
        // A see-through notch in one corner.
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                background.setPixel(x, y, qRgba(0, 0, 0, 0));
        FramelessWindow window(background, tool, nullptr);
        QCOMPARE(window.windowFlags(), flags);
        QCOMPARE(window.size(), QSize(240, 120));
        QCOMPARE(window.minimumSize(), QSize(240, 120));
        QVERIFY(window.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(window.testAttribute(Qt::WA_WState_WindowOpacitySet));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shown = window.grab().toImage();
        QCOMPARE(shown.pixel(100, 60), qRgb(30, 60, 90));
        QCOMPARE(qAlpha(shown.pixel(3, 3)), 0);
    }

    void setBackgroundResizes()
    {
        FramelessWindow window(solidPicture(300, 200, qRgb(1, 2, 3)), true, nullptr);
        window.setBackground(solidPicture(120, 90, qRgb(200, 100, 50)));
        QCOMPARE(window.size(), QSize(120, 90));
        QCOMPARE(window.minimumSize(), QSize(120, 90));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.grab().toImage().pixel(60, 45), qRgb(200, 100, 50));
    }

    void drag_data()
    {
        QTest::addColumn<int>("pressY");
        QTest::addColumn<int>("buttonValue");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::addColumn<bool>("drags");
        QTest::newRow("top row") << 0 << int(Qt::LeftButton) << Qt::WindowNoState << true;
        QTest::newRow("last row of the band") << 25 << int(Qt::LeftButton) << Qt::WindowNoState << true;
        QTest::newRow("first row below the band") << 26 << int(Qt::LeftButton) << Qt::WindowNoState << false;
        QTest::newRow("right button") << 10 << int(Qt::RightButton) << Qt::WindowNoState << false;
        QTest::newRow("maximised") << 10 << int(Qt::LeftButton) << Qt::WindowMaximized << false;
        QTest::newRow("minimised") << 10 << int(Qt::LeftButton) << Qt::WindowMinimized << false;
    }
    void drag()
    {
        QFETCH(int, pressY);
        QFETCH(int, buttonValue);
        const auto button = Qt::MouseButton(buttonValue);
        QFETCH(Qt::WindowState, state);
        QFETCH(bool, drags);
        FramelessWindow window(solidPicture(200, 100, qRgb(9, 9, 9)), false, nullptr);
        window.move(100, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setWindowState(state);
        QTRY_COMPARE(window.windowState(), state);
        if (state == Qt::WindowMaximized)
            QTRY_COMPARE(window.geometry(), window.screen()->availableGeometry());
        const QPoint start = window.pos();

        QTest::mousePress(&window, button, {}, QPoint(40, pressY));
        QTest::mouseMove(&window, QPoint(90, pressY + 30));
        const QPoint expected = drags ? start + QPoint(50, 30) : start;
        QTRY_COMPARE(window.pos(), expected);
        // The pointer keeps its place on the window while it follows.
        QTest::mouseMove(&window, QPoint(30, pressY + 10));
        QTRY_COMPARE(window.pos(), drags ? expected + QPoint(-10, 10) : start);
        QTest::mouseRelease(&window, button, {}, QPoint(30, pressY + 10));

        // Released: moves no longer drag.
        const QPoint after = window.pos();
        QTest::mouseMove(&window, QPoint(60, 60));
        QTest::qWait(0);
        QCOMPARE(window.pos(), after);
    }

    // Where the window system moves the window, the pointer's moves leave it alone; where it
    // refuses, the window follows the pointer itself. Only presses that would drag ask.
    void systemMoveOrFallback_data()
    {
        QTest::addColumn<int>("pressY");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::addColumn<bool>("accepts");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("accepted") << 10 << Qt::WindowNoState << true << 1 << QPoint(0, 0);
        QTest::newRow("accepted, last row of the band")
            << 25 << Qt::WindowNoState << true << 1 << QPoint(0, 0);
        QTest::newRow("refused: the window follows")
            << 10 << Qt::WindowNoState << false << 1 << QPoint(50, 30);
        QTest::newRow("below the band, not asked") << 26 << Qt::WindowNoState << true << 0 << QPoint(0, 0);
        QTest::newRow("maximised, not asked") << 10 << Qt::WindowMaximized << true << 0 << QPoint(0, 0);
    }
    void systemMoveOrFallback()
    {
        QFETCH(int, pressY);
        QFETCH(Qt::WindowState, state);
        QFETCH(bool, accepts);
        QFETCH(int, requests);
        QFETCH(QPoint, moved);
        SystemMoveWindow window(solidPicture(200, 100, qRgb(9, 9, 9)), accepts);
        window.move(100, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setWindowState(state);
        QTRY_COMPARE(window.windowState(), state);
        if (state == Qt::WindowMaximized)
            QTRY_COMPARE(window.geometry(), window.screen()->availableGeometry());
        const QPoint start = window.pos();

        QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(40, pressY));
        QCOMPARE(window.requests, requests);
        QTest::mouseMove(&window, QPoint(90, pressY + 30));
        QTest::qWait(0);
        QTRY_COMPARE(window.pos(), start + moved);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(90, pressY + 30));
        QCOMPARE(window.requests, requests);
    }

    void offscreenPlatformRefusesTheSystemMove()
    {
        // The platform of these tests has no window system to hand the move to: every drag
        // above runs on the window's own code, as on an X11 display without a window manager.
        FramelessWindow window(solidPicture(200, 100, qRgb(9, 9, 9)), false, nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.windowHandle()->startSystemMove());
    }
};

QTEST_MAIN(TestFramelessWindow)
#include "tst_framelesswindow.moc"

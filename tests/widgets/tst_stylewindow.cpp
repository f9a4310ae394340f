#define QTEST_QPA_MOUSE_HANDLING

#include "widgets/ImageButton.h"
#include "widgets/StyleWindow.h"

#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

class ContentWindow : public StyleWindow
{
public:
    int layouts = 0;
    QSize laidOutFor;

protected:
    void layoutContents() override
    {
        ++layouts;
        laidOutFor = size();
    }
};

// A window whose window system accepts moves and resizes, and remembers what it was asked.
class SystemFrameWindow : public ContentWindow
{
public:
    int moves = 0;
    QVector<Qt::Edges> resizes;

protected:
    bool requestSystemMove() override
    {
        ++moves;
        return true;
    }
    bool requestSystemResize(Qt::Edges edges) override
    {
        resizes.append(edges);
        return true;
    }
};

QImage frameImage(const char *name)
{
    return QImage(QStringLiteral(":/icons/Background_Sub/%1.png").arg(QLatin1String(name)));
}

} // namespace

class TestStyleWindow : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<ContentWindow> m_window;

    // A shown 400 x 300 window at (200, 150) that may shrink to 300 x 200.
    void showWindow()
    {
        m_window = std::make_unique<ContentWindow>();
        m_window->setMinimumSize(300, 200);
        m_window->setGeometry(200, 150, 400, 300);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTRY_COMPARE(m_window->geometry(), QRect(200, 150, 400, 300));
    }

    // Every mouse move the window gets has a real pointer's move before it; a press lands
    // where the pointer already is.
    void pointTo(const QPoint &at)
    {
        QTest::mouseMove(m_window.get(), at + QPoint(1, 1));
        QTest::mouseMove(m_window.get(), at);
    }

private slots:
    void cleanup() { m_window.reset(); }

    void windowButtonsFollowTheRightEdge_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("400") << 400;
        QTest::newRow("938") << 938;
        QTest::newRow("801") << 801;
    }
    void windowButtonsFollowTheRightEdge()
    {
        QFETCH(int, width);
        showWindow();
        const int before = m_window->layouts;
        m_window->resize(width, 280);
        QTRY_COMPARE(m_window->size(), QSize(width, 280));
        QVERIFY(m_window->layouts > before);
        QCOMPARE(m_window->laidOutFor, QSize(width, 280));
        QCOMPARE(m_window->minimizeButton()->pos(), QPoint(width - 79, 4));
        QCOMPARE(m_window->maximizeButton()->pos(), QPoint(width - 59, 4));
        QCOMPARE(m_window->closeButton()->pos(), QPoint(width - 38, 4));
    }

    void frameFlagsAndTracking()
    {
        showWindow();
        QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(m_window->windowFlags() & Qt::WindowType_Mask, Qt::Window);
        QVERIFY(m_window->hasMouseTracking());
        QVERIFY(m_window->parentWidget() == nullptr);
    }

    void paintsTheNinePieceFrame()
    {
        const QImage top = frameImage("VIDEO_FRAME_TOP_MID");
        const QImage topRight = frameImage("VIDEO_FRAME_TOP_RIGHT");
        const QImage left = frameImage("VIDEO_FRAME_MID_LEFT");
        const QImage right = frameImage("VIDEO_FRAME_MID_RIGHT");
        const QImage bottom = frameImage("VIDEO_FRAME_BOT_MID");
        const QImage bottomRight = frameImage("VIDEO_FRAME_BOT_RIGHT");
        const QImage bottomLeft = frameImage("VIDEO_FRAME_BOT_LEFT");
        const QImage centre = frameImage("VIDEO_FRAME_MID_MID");
        for (const QImage *piece :
             {&top, &topRight, &left, &right, &bottom, &bottomLeft, &bottomRight, &centre})
            QVERIFY(!piece->isNull());
        showWindow();
        const QImage shown = m_window->grab().toImage();
        const int w = 400;
        const int h = 300;
        // Centre fill, the strips stretched from their sources, and the unscaled corners.
        QCOMPARE(shown.pixel(w / 2, h / 2), centre.pixel(0, 0));
        QCOMPARE(shown.pixel(w - topRight.width() / 2 - 1, topRight.height() - 1),
                 topRight.pixel(topRight.width() - topRight.width() / 2 - 1, topRight.height() - 1));
        QCOMPARE(shown.pixel(w - 1, h - 1),
                 bottomRight.pixel(bottomRight.width() - 1, bottomRight.height() - 1));
        // The side strips run from the top (no top-left piece) and below the top-right piece.
        const QImage leftStrip = left.scaled(left.width(), h - bottomLeft.height(), Qt::IgnoreAspectRatio,
                                             Qt::FastTransformation);
        const QImage rightStrip = right.scaled(right.width(), h - topRight.height() - bottomRight.height(),
                                               Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QCOMPARE(shown.pixel(0, h / 2), leftStrip.pixel(0, h / 2));
        QCOMPARE(shown.pixel(w - 1, h / 2), rightStrip.pixel(right.width() - 1, h / 2 - topRight.height()));
        QCOMPARE(shown.pixel(bottomLeft.width(), h - bottomLeft.height() + bottom.height() - 1),
                 bottom.pixel(0, bottom.height() - 1));
        QCOMPARE(shown.pixel(0, h - 1), bottomLeft.pixel(0, bottomLeft.height() - 1));
        QCOMPARE(shown.pixel(0, 0), top.pixel(0, 0));
    }

    void cursorByZone_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("shape");
        QTest::newRow("top-left corner") << QPoint(3, 3) << int(Qt::SizeFDiagCursor);
        QTest::newRow("bottom-right corner") << QPoint(396, 296) << int(Qt::SizeFDiagCursor);
        QTest::newRow("bottom-left corner") << QPoint(5, 295) << int(Qt::SizeBDiagCursor);
        QTest::newRow("top-right corner") << QPoint(395, 5) << int(Qt::SizeBDiagCursor);
        QTest::newRow("left edge, last column") << QPoint(5, 150) << int(Qt::SizeHorCursor);
        QTest::newRow("left edge over") << QPoint(6, 150) << int(Qt::ArrowCursor);
        QTest::newRow("right edge, first column") << QPoint(395, 150) << int(Qt::SizeHorCursor);
        QTest::newRow("right edge not yet") << QPoint(394, 150) << int(Qt::ArrowCursor);
        QTest::newRow("top edge") << QPoint(200, 5) << int(Qt::SizeVerCursor);
        QTest::newRow("bottom edge") << QPoint(200, 295) << int(Qt::SizeVerCursor);
        QTest::newRow("below the top edge") << QPoint(200, 6) << int(Qt::ArrowCursor);
        QTest::newRow("inside") << QPoint(200, 150) << int(Qt::ArrowCursor);
    }
    void cursorByZone()
    {
        QFETCH(QPoint, at);
        QFETCH(int, shape);
        showWindow();
        pointTo(at);
        QCOMPARE(int(m_window->cursor().shape()), shape);
        // Leaving the window always gives the arrow back.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(m_window.get(), &leave);
        QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    }

    void pressDragsOrResizes_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("moveTo");
        QTest::addColumn<QRect>("geometry");
        // Drags keep the size; edges move only their own side.
        QTest::newRow("drag at y 25") << QPoint(200, 25) << QPoint(240, 45) << QRect(240, 170, 400, 300);
        QTest::newRow("drag at y 6") << QPoint(200, 6) << QPoint(180, 16) << QRect(180, 160, 400, 300);
        QTest::newRow("no drag at y 26") << QPoint(200, 26) << QPoint(240, 46) << QRect(200, 150, 400, 300);
        QTest::newRow("top edge at y 5 resizes")
            << QPoint(200, 5) << QPoint(200, 25) << QRect(200, 175, 400, 275);
        QTest::newRow("left edge, dragged in")
            << QPoint(3, 100) << QPoint(40, 100) << QRect(240, 150, 360, 300);
        QTest::newRow("left edge, outwards")
            << QPoint(3, 100) << QPoint(-50, 100) << QRect(150, 150, 450, 300);
        QTest::newRow("left edge stops at the minimum width")
            << QPoint(3, 100) << QPoint(250, 100) << QRect(300, 150, 300, 300);
        QTest::newRow("top edge stops at the minimum height")
            << QPoint(100, 2) << QPoint(100, 250) << QRect(200, 250, 400, 200);
        QTest::newRow("right edge") << QPoint(397, 100) << QPoint(450, 100) << QRect(200, 150, 450, 300);
        QTest::newRow("right edge capped at the maximum")
            << QPoint(397, 100) << QPoint(700, 100) << QRect(200, 150, 500, 300);
        QTest::newRow("right edge held by the minimum")
            << QPoint(397, 100) << QPoint(100, 100) << QRect(200, 150, 300, 300);
        QTest::newRow("bottom edge capped at the maximum")
            << QPoint(100, 298) << QPoint(100, 600) << QRect(200, 150, 400, 400);
        QTest::newRow("bottom-right corner")
            << QPoint(398, 298) << QPoint(420, 330) << QRect(200, 150, 420, 330);
        QTest::newRow("top-left corner, top held by the minimum")
            << QPoint(1, 1) << QPoint(-20, 150) << QRect(180, 250, 420, 200);
        QTest::newRow("window button area is no drag band")
            << QPoint(395, 20) << QPoint(450, 20) << QRect(200, 150, 450, 300);
    }
    void pressDragsOrResizes()
    {
        QFETCH(QPoint, press);
        QFETCH(QPoint, moveTo);
        QFETCH(QRect, geometry);
        showWindow();
        m_window->setMaximumSize(500, 400);
        pointTo(press);
        QTest::mousePress(m_window.get(), Qt::LeftButton, {}, press);
        // One move, in window coordinates as they stand at the press.
        QTest::mouseMove(m_window.get(), moveTo);
        QTRY_COMPARE(m_window->geometry(), geometry);
        QCOMPARE(m_window->laidOutFor, geometry.size());
        // Released where the pointer is, now that the window may have moved under it.
        QTest::mouseRelease(m_window.get(), Qt::LeftButton, {},
                            moveTo - (geometry.topLeft() - QPoint(200, 150)));
        QVERIFY(m_window->width() >= m_window->minimumWidth());

        // Released: moving on changes nothing.
        QTest::mouseMove(m_window.get(), QPoint(150, 150));
        QTest::qWait(0);
        QCOMPARE(m_window->geometry(), geometry);
        QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    }

    // Edges and corners hand the resize to the window system with the edges of their zone;
    // the top band hands it the move. Either way the pointer's moves change nothing here.
    void systemResizeByZone_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<int>("edges");
        QTest::addColumn<int>("moves");
        QTest::newRow("top-left corner") << QPoint(2, 3) << int(Qt::TopEdge | Qt::LeftEdge) << 0;
        QTest::newRow("top edge") << QPoint(200, 5) << int(Qt::TopEdge) << 0;
        QTest::newRow("top-right corner") << QPoint(395, 0) << int(Qt::TopEdge | Qt::RightEdge) << 0;
        QTest::newRow("right edge") << QPoint(397, 150) << int(Qt::RightEdge) << 0;
        QTest::newRow("bottom-right corner") << QPoint(399, 299) << int(Qt::BottomEdge | Qt::RightEdge) << 0;
        QTest::newRow("bottom edge") << QPoint(200, 295) << int(Qt::BottomEdge) << 0;
        QTest::newRow("bottom-left corner") << QPoint(5, 295) << int(Qt::BottomEdge | Qt::LeftEdge) << 0;
        QTest::newRow("left edge") << QPoint(0, 150) << int(Qt::LeftEdge) << 0;
        QTest::newRow("drag band") << QPoint(200, 6) << 0 << 1;
        QTest::newRow("inside, below the band") << QPoint(200, 26) << 0 << 0;
    }
    void systemResizeByZone()
    {
        QFETCH(QPoint, press);
        QFETCH(int, edges);
        QFETCH(int, moves);
        auto window = std::make_unique<SystemFrameWindow>();
        window->setMinimumSize(300, 200);
        window->setGeometry(200, 150, 400, 300);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::mouseMove(window.get(), press + QPoint(1, 1));
        QTest::mouseMove(window.get(), press);
        QTest::mousePress(window.get(), Qt::LeftButton, {}, press);
        QTest::mouseMove(window.get(), press + QPoint(-30, 40));
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, press + QPoint(-30, 40));
        QCOMPARE(window->resizes, edges ? QVector<Qt::Edges>{Qt::Edges(edges)} : QVector<Qt::Edges>());
        QCOMPARE(window->moves, moves);
        QTest::qWait(0);
        QCOMPARE(window->geometry(), QRect(200, 150, 400, 300));
    }

    void maximisedWindowResizesByThePointer()
    {
        // The window system would resize a maximised window in place, or not at all; the edge
        // takes it out of that state with the pointer's geometry, as without a window system.
        auto window = std::make_unique<SystemFrameWindow>();
        window->setGeometry(200, 150, 400, 300);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->maximize();
        QTRY_VERIFY(window->isMaximized());
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_COMPARE(window->geometry(), available);
        const QPoint edge(available.width() - 2, available.height() / 2);
        QTest::mouseMove(window.get(), edge + QPoint(1, 1));
        QTest::mouseMove(window.get(), edge);
        QTest::mousePress(window.get(), Qt::LeftButton, {}, edge);
        QTest::mouseMove(window.get(), edge - QPoint(100, 0));
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, edge - QPoint(100, 0));
        QVERIFY(window->resizes.isEmpty());
        QVERIFY(!window->isMaximized());
        QTRY_COMPARE(window->width(), available.width() - 100 - 2);
    }

    void releaseAfterResizeRecomputesTheCursor()
    {
        showWindow();
        pointTo(QPoint(397, 150));
        QCOMPARE(m_window->cursor().shape(), Qt::SizeHorCursor);
        QTest::mousePress(m_window.get(), Qt::LeftButton, {}, QPoint(397, 150));
        // Held by the minimum width, the edge stays behind the pointer...
        QTest::mouseMove(m_window.get(), QPoint(100, 150));
        QTRY_COMPARE(m_window->width(), 300);
        QCOMPARE(m_window->cursor().shape(), Qt::SizeHorCursor);
        // ... so on release the pointer is inside and gets the arrow.
        QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, QPoint(100, 150));
        QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    }

    void resizingLeavesTheMaximisedState()
    {
        showWindow();
        m_window->maximize();
        QTRY_VERIFY(m_window->isMaximized());
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_COMPARE(m_window->geometry(), available);
        const QPoint edge(available.width() - 2, available.height() / 2);
        pointTo(edge);
        QTest::mousePress(m_window.get(), Qt::LeftButton, {}, edge);
        QTest::mouseMove(m_window.get(), edge - QPoint(100, 0));
        QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, edge - QPoint(100, 0));
        QVERIFY(!m_window->isMaximized());
        // The window keeps the size the pointer gave it.
        QTRY_COMPARE(m_window->geometry(),
                     QRect(available.topLeft(), QSize(available.width() - 100 - 2, available.height())));
    }

    void maximizeAndRestore()
    {
        showWindow();
        QSignalSpy clicked(m_window->maximizeButton(), &ImageButton::clicked);
        QTest::mouseClick(m_window->maximizeButton(), Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QTRY_VERIFY(m_window->isMaximized());
        QTRY_COMPARE(m_window->geometry(), QGuiApplication::primaryScreen()->availableGeometry());
        m_window->maximize();
        QVERIFY(!m_window->isMaximized());
        QTRY_COMPARE(m_window->geometry(), QRect(200, 150, 400, 300));
    }

    void minimizeToggles()
    {
        showWindow();
        QTest::mouseClick(m_window->minimizeButton(), Qt::LeftButton);
        QVERIFY(m_window->isMinimized());
        m_window->minimize();
        QVERIFY(!m_window->isMinimized());
        QCOMPARE(m_window->geometry(), QRect(200, 150, 400, 300));
    }

    void closeButtonCloses()
    {
        showWindow();
        QTest::mouseClick(m_window->closeButton(), Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
    }
};

QTEST_MAIN(TestStyleWindow)
#include "tst_stylewindow.moc"

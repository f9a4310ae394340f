// The main window on an X11 desktop with a window manager (Openbox on Xvfb), driven by the X
// pointer through xdotool: a drag on the frame's top band and on an edge or corner hand the move
// and the resize to the window manager (_NET_WM_MOVERESIZE), which moves and resizes the window
// (and snaps and tiles it on a desktop that does). Without a window manager the window does it
// itself, as the widget tests show. The toolkit reads what the window manager offers when it
// connects to the display, so the window runs in a child process started once Openbox is up.
#include "MainWindowRig.h"
#include "PointerDrag.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QScreen>
#include <QWindow>
#include <QtTest>

namespace {

const char kChildVariable[] = "DOCCAM_WINDOW_MANAGER_CHILD";
const char kMoveHandedOver[] = "window move handed to the window system";
const char kResizeHandedOver[] = "window resize handed to the window system";

bool isChild()
{
    return qEnvironmentVariableIsSet(kChildVariable);
}

// Whether a window manager has announced itself on the root window.
bool windowManagerRuns()
{
    QProcess xprop;
    xprop.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
    return xprop.waitForFinished(5000) && xprop.readAll().contains("window id");
}

} // namespace

Q_DECLARE_METATYPE(QMargins)

class TestWindowManager : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> m_window;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        if (!isChild())
            return;
        QLoggingCategory::setFilterRules("doccam.widgets.debug=true");
        m_window = MainWindowRig::makeWindow();
        m_window->move(300, 150);
        QTRY_COMPARE(m_window->pos(), QPoint(300, 150));
        QTest::qWait(200);
    }

    void cleanupTestCase() { m_window.reset(); }

    // Runs the cases below in a child process on a display that has a window manager.
    void withAWindowManager()
    {
        if (isChild())
            QSKIP("the child process itself");
        QProcess openbox;
        openbox.setProcessChannelMode(QProcess::ForwardedChannels);
        openbox.start("openbox", {"--sm-disable"});
        QVERIFY2(openbox.waitForStarted(), "openbox missing (scripts/install-deps.sh installs it)");
        QTRY_VERIFY_WITH_TIMEOUT(windowManagerRuns(), 10000);

        // A monitor of 100 dpi on a desktop that sets no Xft.dpi: the scale stays the desktop's
        // 100 %, not 1.04 from the monitor's millimetres.
        QProcess xrandr;
        xrandr.start("xrandr", {"--dpi", "100"});
        QVERIFY2(xrandr.waitForFinished(10000) && xrandr.exitCode() == 0, "xrandr --dpi 100 failed");

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kChildVariable, "1");
        env.remove("QT_FONT_DPI");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        const bool finished = child.waitForFinished(120000);
        const QString output = QString::fromLocal8Bit(child.readAll());
        openbox.terminate();
        if (!openbox.waitForFinished(5000))
            openbox.kill();
        QVERIFY2(finished, qPrintable(output));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(output));
        for (const char *passed : {"PASS   : TestWindowManager::followsTheDesktopsScale()",
                                   "PASS   : TestWindowManager::dragOnTheBandMovesTheWindow()",
                                   "PASS   : TestWindowManager::edgeResizesTheWindow(left edge inwards)",
                                   "PASS   : TestWindowManager::edgeResizesTheWindow(bottom-right corner)",
                                   "PASS   : TestWindowManager::doubleClickOnTheBandMaximises()"})
            QVERIFY2(output.contains(passed), qPrintable(output));
    }

    void followsTheDesktopsScale()
    {
        if (!isChild())
            QSKIP("runs in the child process of withAWindowManager()");
        QCOMPARE(m_window->windowHandle()->screen()->devicePixelRatio(), 1.0);
        QCOMPARE(m_window->size(), QSize(938, 680));
    }

    // A right click on the title band asks the window manager for its window menu when it
    // announces one, and only then. Made here without a window manager: the root window's
    // _NET_SUPPORTED is set by hand and xev stands in for the window manager.
    void rightClickOnTheBandAsksForTheWindowMenu_data()
    {
        QTest::addColumn<QString>("supported");
        QTest::addColumn<bool>("asked");
        QTest::newRow("announced") << "_GTK_SHOW_WINDOW_MENU" << true;
        QTest::newRow("not announced") << "_NET_WM_STATE" << false;
    }
    void rightClickOnTheBandAsksForTheWindowMenu()
    {
        if (isChild())
            QSKIP("the parent process, without a window manager");
        QFETCH(QString, supported);
        QFETCH(bool, asked);
        QProcess xprop;
        xprop.start("xprop", {"-root", "-f", "_NET_SUPPORTED", "32a", "-set", "_NET_SUPPORTED", supported});
        QVERIFY(xprop.waitForFinished(5000) && xprop.exitCode() == 0);
        QProcess xev;
        xev.start("xev", {"-root", "-event", "substructure", "-event", "property"});
        QVERIFY(xev.waitForStarted());
        QByteArray seen;
        // xev listens once it sees a property of the root window change.
        QTRY_VERIFY([&] {
            QProcess::execute("xprop", {"-root", "-f", "_DOCCAM_PING", "8s", "-set", "_DOCCAM_PING", "1"});
            seen += xev.readAllStandardOutput();
            return seen.contains("_DOCCAM_PING");
        }());
        auto w = MainWindowRig::makeWindow();
        w->move(200, 100);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QString error;
        QVERIFY2(PointerDrag::pointTo(w->geometry().topLeft() + QPoint(w->width() - 250, 12), &error),
                 qPrintable(error));
        QVERIFY2(PointerDrag::xdotool({"click", "3"}, &error), qPrintable(error));
        const auto menuAsked = [&] {
            seen += xev.readAllStandardOutput();
            return seen.contains("_GTK_SHOW_WINDOW_MENU");
        };
        if (asked)
            QTRY_VERIFY2(menuAsked(), seen.right(2000).constData());
        else
            QVERIFY(!QTest::qWaitFor(menuAsked, 1000));
        xev.kill();
        xev.waitForFinished();
    }

    void dragOnTheBandMovesTheWindow()
    {
        if (!isChild())
            QSKIP("runs in the child process of withAWindowManager()");
        const QRect before = m_window->geometry();
        const QPoint band = before.topLeft() + QPoint(100, 12);
        QString error;
        QVERIFY2(PointerDrag::drag(band, band + QPoint(-120, 90), kMoveHandedOver, {}, &error),
                 qPrintable(error));
        QTRY_COMPARE(m_window->geometry(), before.translated(-120, 90));
    }

    void edgeResizesTheWindow_data()
    {
        QTest::addColumn<QPoint>("grip"); // from the window's top-left corner; negative: bottom-right
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QMargins>("change");
        QTest::newRow("left edge inwards") << QPoint(2, 300) << QPoint(60, 0) << QMargins(-60, 0, 0, 0);
        QTest::newRow("bottom-right corner") << QPoint(-3, -3) << QPoint(40, 30) << QMargins(0, 0, 40, 30);
    }
    void edgeResizesTheWindow()
    {
        if (!isChild())
            QSKIP("runs in the child process of withAWindowManager()");
        QFETCH(QPoint, grip);
        QFETCH(QPoint, offset);
        QFETCH(QMargins, change);
        const QRect before = m_window->geometry();
        const QPoint from(grip.x() >= 0 ? before.left() + grip.x() : before.right() + 1 + grip.x(),
                          grip.y() >= 0 ? before.top() + grip.y() : before.bottom() + 1 + grip.y());
        QString error;
        QVERIFY2(PointerDrag::drag(from, from + offset, kResizeHandedOver, {}, &error), qPrintable(error));
        QTRY_COMPARE(m_window->geometry(), before.marginsAdded(change));
    }

    // Although the first press hands the move to the window manager, the second makes the
    // double click: maximised on the screen. (Restoring by a double click is the widget tests'.)
    void doubleClickOnTheBandMaximises()
    {
        if (!isChild())
            QSKIP("runs in the child process of withAWindowManager()");
        const QRect before = m_window->geometry();
        const QPoint band = before.topLeft() + QPoint(before.width() - 250, 12);
        QString error;
        QVERIFY2(PointerDrag::pointTo(band, &error), qPrintable(error));
        QVERIFY2(PointerDrag::xdotool({"click", "--repeat", "2", "--delay", "60", "1"}, &error),
                 qPrintable(error));
        QTRY_VERIFY(m_window->isMaximized());
        QTRY_COMPARE(m_window->geometry(), m_window->screen()->availableGeometry());
        m_window->maximize();
        QTRY_COMPARE(m_window->geometry(), before);
    }
};

QTEST_MAIN(TestWindowManager)
#include "tstx_windowmanager.moc"

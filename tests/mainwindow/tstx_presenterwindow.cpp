// Full screen on a real X display, driven by real key presses from the X server (xdotool): the
// canvas covers the screen, the keys keep working, Esc gives the window back as it was. And the
// pictures a user sees: full screen, the key list and a tooltip, in English and German, written
// as screenshots into <build>/screenshots/presenter.
#include "MainWindowRig.h"
#include "canvas/ImageCanvas.h"
#include "mainwindow/KeyHelpWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PhotographBar.h"
#include "widgets/ImageButton.h"
#include "widgets/ImageWidget.h"
#include "widgets/Panel.h"

#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QToolTip>
#include <QTranslator>
#include <QtTest>

namespace {

QString shotFolder()
{
    const QString folder = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/presenter");
    QDir().mkpath(folder);
    return folder;
}

// A key pressed on the X server's keyboard, delivered to the window that has the focus.
bool xKey(const QString &keys)
{
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}) == 0;
}

QImage screenPicture(const QRect &area)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QList<QWidget *> chrome(MainWindow &w)
{
    QList<QWidget *> widgets = {w.toolPanel(),      w.sideButton(),      w.aboutButton(),
                                w.minimizeButton(), w.maximizeButton(),  w.closeButton(),
                                w.keyHelpButton(),  w.projectorButton(), w.fullScreenButton()};
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m)
        widgets << w.modeButton(WindowMode(m));
    return widgets;
}

std::unique_ptr<MainWindow> focusedWindow()
{
    auto w = MainWindowRig::makeWindow();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("window not active");
    return w;
}

} // namespace

class TestPresenterWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable("xdotool").isEmpty(),
                 "xdotool is missing (scripts/install-deps.sh)");
    }

    // A maximised window's round trip is in tst_windowkeys: without a window manager, X keeps
    // no maximised state.
    void fullScreenCoversTheScreenAndComesBack()
    {
        auto window = focusedWindow();
        MainWindow &w = *window;
        QTRY_VERIFY(w.isActiveWindow());
        const QRect before = w.geometry();
        const QRect screen = w.windowHandle()->screen()->geometry();

        QVERIFY(xKey("F11"));
        QTRY_VERIFY(w.isFullScreenView());
        QTRY_COMPARE(w.geometry(), screen);
        QTRY_COMPARE(w.pageStack()->geometry(), w.rect());
        ImageCanvas *canvas = w.currentCanvas();
        QCOMPARE(QRect(canvas->mapToGlobal(QPoint(0, 0)), canvas->size()), screen);
        for (QWidget *widget : chrome(w))
            QVERIFY2(!widget->isVisible(), qPrintable(widget->accessibleName()));
        QVERIFY(!w.liveBar()->isVisible());
        // What the screen shows is the canvas, edge to edge.
        QTRY_COMPARE(screenPicture(screen), canvas->grab().toImage().convertToFormat(QImage::Format_RGB32));
        QVERIFY(screenPicture(screen).save(shotFolder() + QStringLiteral("/fullscreen.png")));

        QVERIFY(xKey("Escape"));
        QTRY_VERIFY(!w.isFullScreenView());
        QTRY_COMPARE(w.geometry(), before);
        for (QWidget *widget : chrome(w))
            QVERIFY2(widget->isVisible(), qPrintable(widget->accessibleName()));
        QVERIFY(w.liveBar()->isVisible());
        QVERIFY(w.pageStack()->geometry() != w.rect());
    }

    void keysKeepWorkingInFullScreen()
    {
        auto window = focusedWindow();
        MainWindow &w = *window;
        QVERIFY(xKey("F11"));
        QTRY_VERIFY(w.isFullScreenView());
        QTRY_VERIFY(w.isActiveWindow());

        QVERIFY(xKey("o"));
        QTRY_COMPARE(w.currentCanvas()->pipeline()->rotation(), 1);
        QVERIFY(xKey("ctrl+3"));
        QTRY_COMPARE(w.currentMode(), MODE_PHOTOGRAPH);
        // The new mode's bar stays out of the picture; the page stack still covers the window.
        QVERIFY(!w.photographBar()->bar()->isVisible());
        QVERIFY(!w.photographBar()->counterLabel()->isVisible());
        QCOMPARE(w.pageStack()->geometry(), w.rect());
        QVERIFY(xKey("F9")); // the panel waits for the end of the full screen
        QVERIFY(!w.toolPanel()->isVisible());
        QVERIFY(xKey("Escape"));
        QTRY_VERIFY(!w.isFullScreenView());
        // Back in the window, the photograph mode shows its own bar, the live bar stays away.
        QVERIFY(w.photographBar()->bar()->isVisible());
        QVERIFY(w.photographBar()->counterLabel()->isVisible());
        QVERIFY(!w.liveBar()->isVisible());
        QVERIFY(w.toolPanel()->isVisible());
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
        auto window = focusedWindow();
        MainWindow &w = *window;

        // The key list, opened by its key.
        QVERIFY(xKey("F1"));
        QTRY_VERIFY(w.keyHelp() && w.keyHelp()->isVisible());
        KeyHelpWindow *help = w.keyHelp();
        if (language == "de")
            QVERIFY(help->leftColumn()->text().contains(QString::fromUtf8("Rückgängig")));
        const QRect shown = w.geometry().united(help->geometry());
        QTest::qWait(200);
        QVERIFY(screenPicture(shown).save(shotFolder() + QStringLiteral("/keys-%1.png").arg(language)));
        QVERIFY(help->grab().save(shotFolder() + QStringLiteral("/keylist-%1.png").arg(language)));
        help->close();
        // The keys go to the window again.
        QTRY_VERIFY(w.isActiveWindow());

        // A tooltip, as the pointer resting on the Freeze button brings it up: the X pointer
        // goes there (so that nothing hides the tip again) and the toolkit's tooltip event
        // follows, without waiting for the hover delay.
        ImageButton *freeze = w.toolButtons().freeze;
        const QPoint inside(freeze->width() / 2, freeze->height() / 2);
        const QPoint at = freeze->mapToGlobal(inside);
        QVERIFY(
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())})
            == 0);
        // Any widget the pointer leaves takes a tip down: the pointer settles first.
        QTRY_VERIFY(freeze->underMouse());
        QTest::qWait(100);
        QHelpEvent hover(QEvent::ToolTip, inside, at);
        QCoreApplication::sendEvent(freeze, &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), freeze->toolTip());
        QVERIFY(freeze->toolTip().endsWith("(F)"));
        QTest::qWait(300);
        const QPoint corner = freeze->mapToGlobal(QPoint(-80, -40));
        const QImage tip = screenPicture(QRect(corner, QSize(420, 140)));
        QVERIFY(QToolTip::isVisible());
        QVERIFY(tip.save(shotFolder() + QStringLiteral("/tooltip-%1.png").arg(language)));
        QToolTip::hideText();
        if (language != "en")
            QCoreApplication::removeTranslator(&translator);
    }
};

QTEST_MAIN(TestPresenterWindow)
#include "tstx_presenterwindow.moc"

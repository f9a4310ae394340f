#include "MainWindowRig.h"
#include "Screenshots.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "mainwindow/DeviceSupervisor.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/KeptWork.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/ToolActions.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ImageWidget.h"
#include "widgets/Panel.h"
#include "widgets/Slider.h"

#include <QButtonGroup>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {
using Rects = QMap<QString, QRect>;

QMap<QString, QWidget *> placedChildren(MainWindow &w)
{
    FilmBar *f = w.filmBar();
    PhotographBar *p = w.photographBar();
    return {{"live", w.modeButton(MODE_LIVE)},
            {"film", w.modeButton(MODE_FILM)},
            {"photograph", w.modeButton(MODE_PHOTOGRAPH)},
            {"board", w.modeButton(MODE_DRAWING_BOARD)},
            {"about", w.aboutButton()},
            {"side", w.sideButton()},
            {"panel", w.toolPanel()},
            {"pages", w.pageStack()},
            {"liveBar", w.liveBar()},
            {"filmBar", f->bar()},
            {"volume", f->volumeSlider()},
            {"position", f->positionSlider()},
            {"photoBar", p->bar()},
            {"selector", p->intervalSelector()},
            {"scale", p->intervalLabel()},
            {"counter", p->counterLabel()},
            {"stripBar", p->stripScrollBar()}};
}

QList<ImageButton *> allToolButtons(const ToolButtons &t)
{
    return {t.line,      t.rectangle, t.freehand,  t.circle,    t.arrow,          t.triangle,     t.eraser,
            t.text,      t.eraseAll,  t.clip,      t.hand,      t.fillBackground, t.mask,         t.effect,
            t.zoomOut,   t.zoomIn,    t.zoomReset, t.autoFocus, t.brightnessDown, t.brightnessUp, t.rotate,
            t.rotateRev, t.freeze,    t.record,    t.snapshot,  t.settings,       t.print};
}

// The picture a button of that icon shows, checked or not.
QImage pictureOf(const QString &iconName, bool checked = false)
{
    ImageButton reference(iconName, nullptr, QPoint(0, 0));
    reference.setCheckable(true);
    reference.setChecked(checked);
    return reference.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage pictureOf(ImageButton *button)
{
    return button->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startState()
    {
        auto window = MainWindowRig::makeWindow();
        MainWindow &w = *window;
        QCOMPARE(w.size(), QSize(938, 680));
        QCOMPARE(w.minimumSize(), QSize(800, 640));
        QVERIFY(w.isPanelExpanded());
        QVERIFY(!w.toolPanel()->isHidden());
        QCOMPARE(w.currentMode(), MODE_LIVE);
        QCOMPARE(w.currentCanvas(), w.canvas(MODE_LIVE));
        QCOMPARE(w.pageStack()->currentWidget(), w.canvas(MODE_LIVE));
        QVERIFY(w.modeButton(MODE_LIVE)->isChecked());
        QVERIFY(!w.liveBar()->isHidden());
        // Film's enter and leave ran once: its widgets are hidden again.
        QVERIFY(w.filmBar()->bar()->isHidden());
        QVERIFY(w.filmBar()->positionSlider()->isHidden());
        QVERIFY(w.photographBar()->bar()->isHidden());
        QVERIFY(w.photographBar()->counterLabel()->isHidden());
        QVERIFY(w.toolButtons().freehand->isChecked());
        QVERIFY(w.toolButtons().fillBackground->isHidden());
        QVERIFY(!w.toolButtons().fillBackground->isEnabled());
        QVERIFY(!w.toolButtons().fillBackground->isCheckable());
        QCOMPARE(w.toolActions()->rememberedMask(), int(MASK_CIRCLE));
        QVERIFY(w.canvas(MODE_DRAWING_BOARD)->isBoard());
        QCOMPARE(w.canvas(MODE_DRAWING_BOARD)->pipeline()->outputImage().pixelColor(10, 10),
                 QColor(Qt::white));
        QCOMPARE(w.supportedResolutions().size(), 7);
        QCOMPARE(w.supportedResolutions().last(), QSize(3264, 2448));
        QCOMPARE(w.deviceCheckTimer().interval(), 1000);
        QVERIFY(w.deviceCheckTimer().isActive());
        QCOMPARE(w.widthLabel(), QString("Width"));
        QCOMPARE(w.fillColorLabel(), QString("Fill Color"));
        for (WindowMode m : {MODE_LIVE, MODE_FILM, MODE_PHOTOGRAPH, MODE_DRAWING_BOARD}) {
            QVERIFY(w.modeButton(m)->isCheckable());
            QCOMPARE(w.modeButton(m)->font().family(), QString("Arial"));
            QCOMPARE(w.modeButton(m)->font().pointSize(), 11);
            QCOMPARE(w.modeButton(m)->textColor(), QColor(Qt::white));
        }
        QCOMPARE(w.modeButton(MODE_DRAWING_BOARD)->text(), QString("Drawing Board"));
    }

    void cannotShrinkBelowMinimum()
    {
        auto w = MainWindowRig::makeWindow();
        w->resize(300, 200);
        QCOMPARE(w->size(), QSize(800, 640));
    }

    // The window fits the available area of its screen: where the designed size does not fit,
    // the canvas gives way and the bars, the title band and its buttons stay on the screen.
    void fitsTheAvailableArea_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QSize>("size");
        // 1366 x 768 at 125 %, below a desktop panel: the common school laptop.
        const QRect laptop(0, 27, 1093, 587);
        QTest::newRow("school laptop at 125 %") << laptop << QPoint(0, 0) << "en" << QSize(938, 587);
        QTest::newRow("school laptop at 125 %, German") << laptop << QPoint(0, 0) << "de" << QSize(938, 587);
        QTest::newRow("narrower than the designed minimum")
            << QRect(0, 0, 760, 560) << QPoint(40, 40) << "en" << QSize(760, 560);
        QTest::newRow("room enough: unchanged")
            << QRect(0, 0, 1920, 1050) << QPoint(100, 100) << "en" << QSize(938, 680);
        QTest::newRow("moved onto a screen on the right")
            << QRect(1920, 0, 1366, 741) << QPoint(100, 100) << "en" << QSize(938, 680);
    }
    void fitsTheAvailableArea()
    {
        QFETCH(QRect, area);
        QFETCH(QPoint, from);
        QFETCH(QString, language);
        QFETCH(QSize, size);
        QTranslator translator;
        if (language != "en") {
            QVERIFY(translator.load(QStringLiteral(":/translations/VOREN_%1.qm").arg(language)));
            QCoreApplication::installTranslator(&translator);
        }
        auto w = MainWindowRig::makeWindow();
        QCoreApplication::removeTranslator(&translator);
        w->move(from);
        w->fitInto(area);
        QCOMPARE(w->size(), size);
        QVERIFY(area.contains(w->geometry()));
        QCOMPARE(w->minimumSize(), QSize(800, 640).boundedTo(area.size()));
        // Nothing of the frame is cut: the bottom bars, the about button and the window's
        // buttons lie inside it, and the pages take what is left.
        const QRect inside = w->rect();
        for (QWidget *child :
             QList<QWidget *>{w->liveBar(), w->filmBar()->bar(), w->photographBar()->bar(), w->aboutButton(),
                              w->closeButton(), w->maximizeButton(), w->modeButton(MODE_DRAWING_BOARD)})
            QVERIFY2(inside.contains(child->geometry()), qPrintable(child->objectName()));
        QCOMPARE(w->pageStack()->height(), size.height() - 100);
        if (area.height() < 680)
            QVERIFY(!Screenshots::save(w->grab(), "window-fit", QTest::currentDataTag()).isEmpty());
    }

    // A double click on the title band maximises and restores, as on any title bar; the
    // maximise button shows the restore glyph while maximised.
    void titleBandDoubleClick_data()
    {
        QTest::addColumn<QPoint>("at"); // from the top-right corner
        QTest::addColumn<bool>("toggles");
        QTest::newRow("band left of the window buttons") << QPoint(-250, 12) << true;
        QTest::newRow("band between the mode buttons") << QPoint(-300, 2 + StyleWindow::EdgeZone) << true;
        QTest::newRow("the top edge resizes") << QPoint(-250, 2) << false;
        QTest::newRow("below the band") << QPoint(-250, 300) << false;
    }
    void titleBandDoubleClick()
    {
        QFETCH(QPoint, at);
        QFETCH(bool, toggles);
        auto w = MainWindowRig::makeWindow();
        ImageButton restore(QStringLiteral("WINDOWS_RESTORE"), nullptr, QPoint());
        ImageButton maximise(QStringLiteral("WINDOWS_MAX"), nullptr, QPoint());
        // The button's own picture, without what lies behind it.
        const auto glyph = [](QWidget *button) {
            QImage picture(button->size(), QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::transparent);
            button->render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
            return picture;
        };
        const QImage restoreGlyph = glyph(&restore);
        const QImage maximiseGlyph = glyph(&maximise);
        QVERIFY(restoreGlyph != maximiseGlyph);
        QCOMPARE(glyph(w->maximizeButton()), maximiseGlyph);
        const auto point = [&] { return QPoint(w->width() + at.x(), at.y()); };
        QTest::mouseDClick(w.get(), Qt::LeftButton, {}, point());
        QTRY_COMPARE(w->isMaximized(), toggles);
        QCOMPARE(glyph(w->maximizeButton()), toggles ? restoreGlyph : maximiseGlyph);
        if (!toggles)
            return;
        QTest::mouseDClick(w.get(), Qt::LeftButton, {}, point());
        QTRY_VERIFY(!w->isMaximized());
        QCOMPARE(glyph(w->maximizeButton()), maximiseGlyph);
    }

    void panelTogglesKeepRightEdge()
    {
        auto w = MainWindowRig::makeWindow();
        w->move(300, 100);
        const int right = w->geometry().right();
        w->expand();
        QVERIFY(!w->isPanelExpanded());
        QVERIFY(w->toolPanel()->isHidden());
        QCOMPARE(w->width(), 800);
        QCOMPARE(w->geometry().right(), right);
        w->expand();
        QCOMPARE(w->width(), 938);
        QCOMPARE(w->geometry().right(), right);
        QVERIFY(!w->toolPanel()->isHidden());
        QCOMPARE(w->toolPanel()->pos(), QPoint(40, 30));
    }

    void panelToggleWhenMaximisedKeepsGeometry()
    {
        auto w = MainWindowRig::makeWindow();
        w->showMaximized();
        QTRY_VERIFY(w->isMaximized());
        const QRect before = w->geometry();
        w->expand();
        QCOMPARE(w->geometry(), before);
        w->expand();
        QCOMPARE(w->geometry(), before);
    }

    void collapsingClosesThePopup()
    {
        auto w = MainWindowRig::makeWindow();
        w->popupSlot().open(new QWidget, w->toolButtons().line);
        w->expand();
        QVERIFY(!w->popupSlot().popup());
    }

    void childPositions_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("expanded");
        QTest::addColumn<Rects>("expected");
        QTest::newRow("start size, panel open")
            << QSize(938, 680) << true
            << Rects{{"live", {178, 5, 104, 20}},       {"film", {285, 5, 104, 20}},
                     {"photograph", {392, 5, 104, 20}}, {"board", {499, 5, 130, 20}},
                     {"about", {34, 625, 96, 28}},      {"side", {4, 50, 28, 96}},
                     {"panel", {40, 30, 128, 580}},     {"pages", {174, 25, 745, 580}},
                     {"liveBar", {508, 620, 60, 37}},   {"filmBar", {382, 620, 312, 38}},
                     {"volume", {694, 548, 28, 110}},   {"position", {174, 605, 747, 10}},
                     {"photoBar", {380, 620, 272, 38}}, {"selector", {662, 630, 160, -1}},
                     {"scale", {664, 650, 200, 10}},    {"counter", {868, 620, 70, 30}},
                     {"stripBar", {174, 605, 747, 10}}};
        // The photograph bar moves left so that its interval scale ends before the counter.
        QTest::newRow("minimum size, panel open") << QSize(800, 640) << true
                                                  << Rects{{"photoBar", {242, 580, 272, 38}},
                                                           {"selector", {524, 590, 160, -1}},
                                                           {"scale", {526, 610, 200, 10}},
                                                           {"counter", {730, 580, 70, 30}}};
        QTest::newRow("large, panel open")
            << QSize(1200, 900) << true
            << Rects{{"live", {178, 5, 104, 20}},        {"board", {499, 5, 130, 20}},
                     {"about", {34, 845, 96, 28}},       {"panel", {40, 30, 128, 800}},
                     {"pages", {174, 25, 1007, 800}},    {"liveBar", {639, 840, 60, 37}},
                     {"filmBar", {513, 840, 312, 38}},   {"volume", {825, 768, 28, 110}},
                     {"position", {174, 825, 1009, 10}}, {"photoBar", {533, 840, 272, 38}},
                     {"selector", {815, 850, 160, -1}},  {"scale", {817, 870, 200, 10}},
                     {"counter", {1130, 840, 70, 30}},   {"stripBar", {174, 825, 1009, 10}}};
        QTest::newRow("panel closed")
            << QSize(1000, 700) << false
            << Rects{{"live", {40, 5, 104, 20}},        {"film", {147, 5, 104, 20}},
                     {"photograph", {254, 5, 104, 20}}, {"board", {361, 5, 130, 20}},
                     {"side", {4, 50, 28, 96}},         {"pages", {36, 25, 945, 600}},
                     {"liveBar", {470, 640, 60, 37}},   {"filmBar", {344, 640, 312, 38}},
                     {"volume", {656, 568, 28, 110}},   {"position", {36, 625, 947, 10}},
                     {"photoBar", {364, 640, 272, 38}}, {"selector", {646, 650, 160, -1}},
                     {"scale", {648, 670, 200, 10}},    {"counter", {930, 640, 70, 30}}};
    }
    void childPositions()
    {
        QFETCH(QSize, size);
        QFETCH(bool, expanded);
        QFETCH(Rects, expected);
        auto w = MainWindowRig::makeWindow();
        if (!expanded)
            w->expand();
        w->resize(size);
        QCOMPARE(w->size(), size);
        const auto children = placedChildren(*w);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            QWidget *child = children.value(it.key());
            QVERIFY2(child, qPrintable(it.key()));
            QRect actual = child->geometry();
            if (it.value().height() < 0)
                actual.setHeight(-1);
            if (actual != it.value())
                QFAIL(qPrintable(QString("%1 at %2,%3 %4x%5")
                                     .arg(it.key())
                                     .arg(actual.x())
                                     .arg(actual.y())
                                     .arg(actual.width())
                                     .arg(actual.height())));
        }
    }

    void reselectingTheModeDoesNothing()
    {
        auto w = MainWindowRig::makeWindow();
        QSignalSpy spy(w.get(), &MainWindow::modeChanged);
        w->popupSlot().open(new QWidget, w->toolButtons().line);
        QTest::mouseClick(w->modeButton(MODE_LIVE), Qt::LeftButton);
        QCOMPARE(spy.count(), 0);
        QVERIFY(w->popupSlot().popup());
        QVERIFY(w->modeButton(MODE_LIVE)->isChecked());
    }

    void modeSwitchShowsPagesAndBars_data()
    {
        QTest::addColumn<WindowMode>("mode");
        QTest::newRow("film") << MODE_FILM;
        QTest::newRow("photograph") << MODE_PHOTOGRAPH;
        QTest::newRow("drawing board") << MODE_DRAWING_BOARD;
    }
    void modeSwitchShowsPagesAndBars()
    {
        QFETCH(WindowMode, mode);
        auto w = MainWindowRig::makeWindow();
        QSignalSpy spy(w.get(), &MainWindow::modeChanged);
        w->popupSlot().open(new QWidget, w->toolButtons().line);
        QVERIFY(MainWindowRig::selectMode(*w, mode));
        QCOMPARE(spy.count(), 1);
        QVERIFY(!w->popupSlot().popup());
        QCOMPARE(w->currentCanvas(), w->canvas(mode));
        QCOMPARE(w->pageStack()->currentWidget(), w->canvas(mode));
        QVERIFY(w->liveBar()->isHidden());
        QCOMPARE(w->filmBar()->bar()->isHidden(), mode != MODE_FILM);
        QCOMPARE(w->filmBar()->positionSlider()->isHidden(), mode != MODE_FILM);
        QCOMPARE(w->photographBar()->bar()->isHidden(), mode != MODE_PHOTOGRAPH);
        QCOMPARE(w->photographBar()->counterLabel()->isHidden(), mode != MODE_PHOTOGRAPH);

        QVERIFY(MainWindowRig::selectMode(*w, MODE_LIVE));
        QCOMPARE(spy.count(), 2);
        QVERIFY(!w->liveBar()->isHidden());
        QVERIFY(w->filmBar()->bar()->isHidden());
        QVERIFY(w->photographBar()->bar()->isHidden());
    }

    void panelButtonsPerMode_data()
    {
        QTest::addColumn<WindowMode>("mode");
        QTest::addColumn<QStringList>("hidden");
        const QStringList camera = {"autoFocus", "brightnessDown", "brightnessUp",
                                    "freeze",    "record",         "settings"};
        QTest::newRow("live") << MODE_LIVE << QStringList{"fillBackground"};
        QTest::newRow("film") << MODE_FILM << camera + QStringList{"fillBackground"};
        QTest::newRow("photograph") << MODE_PHOTOGRAPH << camera + QStringList{"fillBackground"};
        QTest::newRow("drawing board") << MODE_DRAWING_BOARD << camera;
    }
    void panelButtonsPerMode()
    {
        QFETCH(WindowMode, mode);
        QFETCH(QStringList, hidden);
        auto w = MainWindowRig::makeWindow();
        if (mode != MODE_LIVE)
            QVERIFY(MainWindowRig::selectMode(*w, mode));
        const ToolButtons &t = w->toolButtons();
        const QMap<QString, ImageButton *> named = {{"hand", t.hand},
                                                    {"fillBackground", t.fillBackground},
                                                    {"autoFocus", t.autoFocus},
                                                    {"brightnessDown", t.brightnessDown},
                                                    {"brightnessUp", t.brightnessUp},
                                                    {"freeze", t.freeze},
                                                    {"record", t.record},
                                                    {"settings", t.settings}};
        for (ImageButton *button : allToolButtons(t)) {
            const QString name = named.key(button);
            const bool shouldHide = hidden.contains(name);
            QVERIFY2(button->isHidden() == shouldHide, qPrintable(button->toolTip()));
            QCOMPARE(button->isEnabled(), !shouldHide);
        }
    }

    void toolPanelTable()
    {
        auto window = MainWindowRig::makeWindow();
        MainWindow &w = *window;
        const ToolButtons &t = w.toolButtons();
        const QStringList names = {"Line",
                                   "Rectangle",
                                   "Freehand",
                                   "Circle",
                                   "Arrow",
                                   "Triangle",
                                   "Eraser",
                                   "Text",
                                   "Erase all",
                                   "Clip image",
                                   "Hand",
                                   "Fill background",
                                   "Mask",
                                   "Effect",
                                   "Zoom out",
                                   "Zoom in",
                                   "Reset zoom",
                                   "Auto focus",
                                   "Brightness down",
                                   "Brightness up",
                                   "Rotate",
                                   "Rotate back",
                                   "Freeze",
                                   "Record video",
                                   "Take snapshot",
                                   "Settings",
                                   "Print"};
        const QList<ImageButton *> buttons = allToolButtons(t);
        QCOMPARE(buttons.size(), names.size());
        for (int i = 0; i < buttons.size(); ++i) {
            // The name, and in the tooltip the name with the keys.
            QCOMPARE(buttons[i]->accessibleName(), names[i]);
            QVERIFY2(buttons[i]->toolTip().startsWith(names[i] + " ("), qPrintable(buttons[i]->toolTip()));
            QCOMPARE(buttons[i]->parentWidget(), static_cast<QWidget *>(w.toolPanel()));
        }
        const QList<ImageButton *> grouped = {t.line,  t.rectangle, t.freehand,      t.circle,
                                              t.arrow, t.triangle,  t.eraser,        t.text,
                                              t.clip,  t.hand,      t.fillBackground};
        QCOMPARE(t.toolGroup->buttons().size(), grouped.size());
        QVERIFY(t.toolGroup->exclusive());
        for (ImageButton *b : buttons) {
            const bool checkable = (grouped.contains(b) && b != t.fillBackground) || b == t.mask
                || b == t.freeze || b == t.record;
            QVERIFY2(b->isCheckable() == checkable, qPrintable(b->toolTip()));
        }
        QVERIFY(w.liveRecordingButton()->isCheckable());
        QCOMPARE(w.liveRecordingButton()->pos(), QPoint(20, 5));
    }

    void drawingsPensAndPlaceOutliveARestart_data()
    {
        QTest::addColumn<bool>("drawn");
        QTest::addColumn<bool>("damaged"); // the sheet's file spoilt between the runs
        QTest::newRow("board drawn on, blue page") << true << false;
        QTest::newRow("nothing drawn: no sheet") << false << false;
        QTest::newRow("damaged sheet: set aside, a white board") << true << true;
    }
    void drawingsPensAndPlaceOutliveARestart()
    {
        QFETCH(bool, drawn);
        QFETCH(bool, damaged);
        QFile::remove(KeptWork::sheetFile());
        QFile::remove(KeptWork::sheetFile() + ".damaged");
        const QRect placed(40, 30, 1000, 720);
        {
            auto w = MainWindowRig::makeWindow();
            ImageCanvas *board = w->canvas(MODE_DRAWING_BOARD);
            if (drawn) {
                board->pipeline()->drawOnLayer(
                    [](QPainter &p) { p.fillRect(QRect(10, 10, 40, 30), Qt::red); });
                board->fillBackground(Qt::blue);
            }
            AnnotationTools::Style style = w->canvas(MODE_LIVE)->drawingStyle();
            style.lineWidth = 8;
            style.lineColor = Qt::green;
            w->canvas(MODE_LIVE)->setDrawingStyle(style);
            w->setGeometry(placed);
            w->close();
        }
        QCOMPARE(QFile::exists(KeptWork::sheetFile()), drawn);
        if (damaged) {
            QFile spoilt(KeptWork::sheetFile());
            QVERIFY(spoilt.open(QIODevice::WriteOnly | QIODevice::Truncate));
            spoilt.write("\x89PNG\r\n not a picture");
        }
        auto w = MainWindowRig::makeWindow();
        ImageCanvas *board = w->canvas(MODE_DRAWING_BOARD);
        QCOMPARE(board->pipeline()->layerDirty(), drawn && !damaged);
        QCOMPARE(QFile::exists(KeptWork::sheetFile() + ".damaged"), damaged);
        if (drawn && !damaged) {
            QCOMPARE(board->pipeline()->annotationLayer().pixelColor(20, 20), QColor(Qt::red));
            QCOMPARE(board->drawingStyle().backgroundColor, QColor(Qt::blue));
        }
        QCOMPARE(w->canvas(MODE_LIVE)->drawingStyle().lineWidth, 8);
        QCOMPARE(w->canvas(MODE_LIVE)->drawingStyle().lineColor, QColor(Qt::green));
        QVERIFY(KeptWork::restorePlacement(*w));
        QCOMPARE(w->size(), placed.size());
        // The next windows of this program start as a first run would.
        QFile::remove(KeptWork::sheetFile());
        QFile::remove(KeptWork::sheetFile() + ".damaged");
        QSettings settings;
        settings.remove(QStringLiteral("pen%1").arg(int(MODE_LIVE)));
        settings.remove(QStringLiteral("window"));
    }

    void eachCanvasKeepsItsState()
    {
        auto w = MainWindowRig::makeWindow();
        const ToolButtons &t = w->toolButtons();
        ImageCanvas *live = w->canvas(MODE_LIVE);
        live->pipeline()->fillStill(Qt::darkGreen);
        QTest::mouseClick(t.freeze, Qt::LeftButton);
        QVERIFY(live->pipeline()->freeze());
        QTest::mouseClick(t.mask, Qt::LeftButton);
        QCOMPARE(live->pipeline()->mask(), int(MASK_CIRCLE));
        QTest::mouseClick(t.zoomIn, Qt::LeftButton);
        QCOMPARE(live->pipeline()->zoom(), 2.0);
        w->canvas(MODE_FILM)->pipeline()->setEffect(EFFECT_BW);
        w->canvas(MODE_FILM)->pipeline()->setMask(MASK_TOP);

        QVERIFY(MainWindowRig::selectMode(*w, MODE_FILM));
        QVERIFY(!t.freeze->isChecked());
        QVERIFY(t.mask->isChecked());
        QCOMPARE(pictureOf(t.mask), pictureOf("ICON_MASK_TOP", true));
        QCOMPARE(pictureOf(t.effect), pictureOf("ICON_EFFECT_BW"));
        QCOMPARE(w->canvas(MODE_FILM)->pipeline()->zoom(), 1.0);

        QVERIFY(MainWindowRig::selectMode(*w, MODE_DRAWING_BOARD));
        QVERIFY(!t.mask->isChecked());
        QCOMPARE(pictureOf(t.mask), pictureOf("ICON_MASK_CIRCLE"));
        QCOMPARE(pictureOf(t.effect), pictureOf("ICON_EFFECT_COLOR"));

        QVERIFY(MainWindowRig::selectMode(*w, MODE_LIVE));
        QVERIFY(t.freeze->isChecked());
        QVERIFY(t.mask->isChecked());
        QCOMPARE(live->pipeline()->zoom(), 2.0);
        QVERIFY(live->pipeline()->freeze());
    }

    void drawingTools_data()
    {
        QTest::addColumn<WindowMode>("mode");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("tool");
        const QList<QPair<QString, int>> tools = {{"Line", TOOL_LINE},         {"Rectangle", TOOL_RECTANGLE},
                                                  {"Freehand", TOOL_FREEHAND}, {"Circle", TOOL_CIRCLE},
                                                  {"Arrow", TOOL_ARROW},       {"Triangle", TOOL_TRIANGLE},
                                                  {"Eraser", TOOL_ERASER},     {"Text", TOOL_TEXT},
                                                  {"Clip image", TOOL_CLIP},   {"Hand", TOOL_HAND}};
        for (const auto &t : tools) {
            if (t.second != TOOL_HAND)
                QTest::addRow("live %s", qPrintable(t.first)) << MODE_LIVE << t.first << t.second;
            QTest::addRow("board %s", qPrintable(t.first)) << MODE_DRAWING_BOARD << t.first << t.second;
        }
    }
    void drawingTools()
    {
        QFETCH(WindowMode, mode);
        QFETCH(QString, button);
        QFETCH(int, tool);
        auto w = MainWindowRig::makeWindow();
        if (mode != MODE_LIVE)
            QVERIFY(MainWindowRig::selectMode(*w, mode));
        ImageButton *b = nullptr;
        for (ImageButton *candidate : allToolButtons(w->toolButtons()))
            if (candidate->accessibleName() == button)
                b = candidate;
        QVERIFY(b);
        QMap<WindowMode, int> before;
        for (WindowMode m : {MODE_LIVE, MODE_FILM, MODE_PHOTOGRAPH, MODE_DRAWING_BOARD})
            before[m] = w->canvas(m)->tool();
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(w->currentCanvas()->tool(), tool);
        QVERIFY(b->isChecked());
        // The other canvases keep their own tools.
        for (WindowMode m : {MODE_LIVE, MODE_FILM, MODE_PHOTOGRAPH, MODE_DRAWING_BOARD}) {
            if (m != mode)
                QCOMPARE(w->canvas(m)->tool(), before[m]);
        }
    }

    void toolButtonsFollowTheCanvas()
    {
        auto w = MainWindowRig::makeWindow();
        const ToolButtons &t = w->toolButtons();
        QCOMPARE(w->canvas(MODE_LIVE)->tool(), int(TOOL_FREEHAND));
        QTest::mouseClick(t.line, Qt::LeftButton);
        QVERIFY(MainWindowRig::selectMode(*w, MODE_FILM));
        QCOMPARE(w->currentCanvas()->tool(), int(TOOL_HAND));
        QVERIFY(t.hand->isChecked());
        QTest::mouseClick(t.arrow, Qt::LeftButton);
        QVERIFY(MainWindowRig::selectMode(*w, MODE_LIVE));
        QVERIFY(t.line->isChecked());
        QCOMPARE(w->canvas(MODE_LIVE)->tool(), int(TOOL_LINE));
        QVERIFY(MainWindowRig::selectMode(*w, MODE_FILM));
        QVERIFY(t.arrow->isChecked());
    }

    void eraseAllClearsTheCurrentCanvas()
    {
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_DRAWING_BOARD));
        ImageCanvas *board = w->currentCanvas();
        ImageCanvas *live = w->canvas(MODE_LIVE);
        live->pipeline()->fillStill(Qt::darkGreen);
        const auto scribble = [](QPainter &p) { p.fillRect(10, 10, 50, 50, Qt::red); };
        board->pipeline()->drawOnLayer(scribble);
        live->pipeline()->drawOnLayer(scribble);
        QVERIFY(board->pipeline()->layerDirty());
        QTest::mouseClick(w->toolButtons().eraseAll, Qt::LeftButton);
        QVERIFY(!board->pipeline()->layerDirty());
        QCOMPARE(board->pipeline()->annotationLayer().pixelColor(20, 20).alpha(), 0);
        QVERIFY(live->pipeline()->layerDirty());
    }

    void indicationsOnTheCurrentDisplay()
    {
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_FILM));
        ImageCanvas *film = w->currentCanvas();
        film->pipeline()->fillStill(Qt::darkBlue);
        OSDProcessor *osd = w->osd(film);
        QVERIFY(osd);
        QVERIFY(osd != w->osd(w->canvas(MODE_LIVE)));
        const ToolButtons &t = w->toolButtons();
        QTest::mouseClick(t.zoomIn, Qt::LeftButton);
        QCOMPARE(osd->zoomLabelText(), QString("2x"));
        QTest::mouseClick(t.zoomReset, Qt::LeftButton);
        QCOMPARE(osd->zoomLabelText(), OSDProcessor::zoomLabel(film->pipeline()->zoom()));
        QTest::mouseClick(t.rotate, Qt::LeftButton);
        QCOMPARE(osd->rotateLabel(), QString("90"));
        QTest::mouseClick(t.rotateRev, Qt::LeftButton);
        QCOMPARE(osd->rotateLabel(), QString("0"));
        QCOMPARE(w->osd(w->canvas(MODE_LIVE))->rotateLabel(), QString());
    }

    void maskButtonKeepsTheShape()
    {
        auto w = MainWindowRig::makeWindow();
        const ToolButtons &t = w->toolButtons();
        ImageCanvas *live = w->canvas(MODE_LIVE);
        // As the mask popup leaves things after choosing the top half.
        live->pipeline()->setMask(MASK_TOP);
        t.mask->setChecked(true);

        QTest::mouseClick(t.mask, Qt::LeftButton);
        QVERIFY(!t.mask->isChecked());
        QCOMPARE(live->pipeline()->mask(), int(MASK_NONE));
        QCOMPARE(w->toolActions()->rememberedMask(), int(MASK_TOP));
        QTest::mouseClick(t.mask, Qt::LeftButton);
        QCOMPARE(live->pipeline()->mask(), int(MASK_TOP));
    }

    void viewActions_data()
    {
        QTest::addColumn<WindowMode>("mode");
        QTest::newRow("live") << MODE_LIVE;
        QTest::newRow("film") << MODE_FILM;
        QTest::newRow("drawing board") << MODE_DRAWING_BOARD;
    }
    void viewActions()
    {
        QFETCH(WindowMode, mode);
        auto w = MainWindowRig::makeWindow();
        if (mode != MODE_LIVE)
            QVERIFY(MainWindowRig::selectMode(*w, mode));
        const ToolButtons &t = w->toolButtons();
        ImageCanvas *canvas = w->currentCanvas();
        canvas->pipeline()->fillStill(Qt::darkBlue);

        QTest::mouseClick(t.rotate, Qt::LeftButton);
        QCOMPARE(canvas->pipeline()->rotation(), 1);
        QTest::mouseClick(t.rotateRev, Qt::LeftButton);
        QTest::mouseClick(t.rotateRev, Qt::LeftButton);
        QCOMPARE(canvas->pipeline()->rotation(), 3);
        QTest::mouseClick(t.rotate, Qt::LeftButton);
        QCOMPARE(canvas->pipeline()->rotation(), 0);

        QTest::mouseClick(t.zoomIn, Qt::LeftButton);
        QTest::mouseClick(t.zoomIn, Qt::LeftButton);
        QCOMPARE(canvas->pipeline()->zoom(), 3.0);
        QTest::mouseClick(t.zoomOut, Qt::LeftButton);
        QCOMPARE(canvas->pipeline()->zoom(), 2.0);
        QTest::mouseClick(t.zoomReset, Qt::LeftButton);
        QCOMPARE(canvas->pipeline()->zoom(), 1.0);
        for (WindowMode other : {MODE_LIVE, MODE_FILM, MODE_PHOTOGRAPH, MODE_DRAWING_BOARD}) {
            if (other != mode)
                QCOMPARE(w->canvas(other)->pipeline()->rotation(), 0);
        }
    }

    void zoomHeldTwoSecondsIsOneStep()
    {
        auto w = MainWindowRig::makeWindow();
        ImageCanvas *live = w->canvas(MODE_LIVE);
        live->pipeline()->fillStill(Qt::darkBlue);
        ImageButton *zoomIn = w->toolButtons().zoomIn;
        QTest::mousePress(zoomIn, Qt::LeftButton);
        QTest::qWait(2000);
        QTest::mouseRelease(zoomIn, Qt::LeftButton);
        QCOMPARE(live->pipeline()->zoom(), 2.0);
    }

    void popupRules()
    {
        auto w = MainWindowRig::makeWindow();
        const ToolButtons &t = w->toolButtons();
        PopupSlot &popup = w->popupSlot();

        popup.open(new QWidget, t.line);
        QTest::mouseClick(t.line, Qt::LeftButton);
        QVERIFY2(popup.popup(), "a click on the popup's own tool keeps it");
        QTest::mouseClick(t.rectangle, Qt::LeftButton);
        QVERIFY(!popup.popup());

        popup.open(new QWidget, t.line);
        w->toolActions()->fillBackground();
        QVERIFY(!popup.popup());

        popup.open(new QWidget, t.mask);
        QTest::mouseClick(t.mask, Qt::LeftButton);
        QVERIFY(popup.popup());
        QTest::mouseClick(t.zoomIn, Qt::LeftButton);
        QVERIFY(!popup.popup());

        for (ImageButton *b : {t.zoomOut, t.zoomReset, t.rotate, t.rotateRev, t.freeze, t.autoFocus,
                               t.brightnessUp, t.brightnessDown}) {
            popup.open(new QWidget, t.line);
            QTest::mouseClick(b, Qt::LeftButton);
            QVERIFY2(!popup.popup(), qPrintable(b->toolTip()));
        }
    }

    void captureResolution_data()
    {
        QTest::addColumn<QSize>("setting");
        QTest::addColumn<QSize>("result");
        QTest::newRow("supported size") << QSize(1920, 1080) << QSize(1920, 1080);
        QTest::newRow("largest size") << QSize(3264, 2448) << QSize(3264, 2448);
        QTest::newRow("too wide") << QSize(4000, 1000) << QSize(3264, 2448);
        QTest::newRow("too tall") << QSize(1000, 3000) << QSize(3264, 2448);
    }
    void captureResolution()
    {
        QFETCH(QSize, setting);
        QFETCH(QSize, result);
        auto window = MainWindowRig::makeWindow();
        MainWindow &w = *window;
        QCOMPARE(MainWindow::captureResolution(setting, w.supportedResolutions()), result);
    }

    void filmFramesHideNoCameraSilence()
    {
        ManualClock *clock = nullptr;
        auto w = MainWindowRig::makeWindow(&clock);
        clock->advance(4000);
        // A film frame is dated by the camera's own last delivery: it hides no silence of
        // the camera.
        emit w->canvas(MODE_FILM)->pipeline()->streamFrameUpdate();
        QCOMPARE(w->deviceSupervisor()->sinceLastFrameMs(), qint64(4000));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

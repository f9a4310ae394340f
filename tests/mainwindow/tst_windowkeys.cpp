// The main window's keys, through real key events and the toolkit's shortcut handling: the
// action table itself (every command has keys, none collide, the standard keys are the
// platform's), and every key of every command doing its command in the modes it acts in.
#include "MainWindowRig.h"
#include "ScriptedPrompts.h"
#include "WindowKeysRig.h"
#include "canvas/AnnotationHistory.h"
#include "canvas/CanvasMessages.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "mainwindow/ActionTable.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/KeyHelpWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/PrintControl.h"
#include "mainwindow/ProjectorControl.h"
#include "mainwindow/WindowCommands.h"
#include "widgets/ImageButton.h"
#include "widgets/Panel.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(Command)

using namespace WindowKeysRig;

namespace {

// What a command's first key is seen to do: `prepare` sets the scene in the window (in the
// command's mode), `check` looks at the result.
struct Effect
{
    std::function<void(MainWindow &)> prepare;
    std::function<bool(MainWindow &)> check;
};

Effect toolEffect(int tool)
{
    // Another tool first, so that the key is seen to choose its own.
    return {[tool](MainWindow &w) {
                w.currentCanvas()->setTool(tool == TOOL_FREEHAND ? TOOL_LINE : TOOL_FREEHAND);
            },
            [tool](MainWindow &w) { return w.currentCanvas()->tool() == tool; }};
}

Effect popupEffect(std::function<QAbstractButton *(MainWindow &)> anchor)
{
    return {{},
            [anchor](MainWindow &w) { return w.popupSlot().popup() && w.popupSlot().anchor() == anchor(w); }};
}

Effect modeEffect(WindowMode mode)
{
    return {
        [mode](MainWindow &w) { MainWindowRig::selectMode(w, mode == MODE_LIVE ? MODE_FILM : MODE_LIVE); },
        [mode](MainWindow &w) { return w.currentMode() == mode; }};
}

// Every command of the table has an entry: a command added without one fails the test, as
// one added without keys does.
QHash<int, Effect> effects()
{
    QHash<int, Effect> e;
    e[int(Command::Line)] = toolEffect(TOOL_LINE);
    e[int(Command::Rectangle)] = toolEffect(TOOL_RECTANGLE);
    e[int(Command::Freehand)] = toolEffect(TOOL_FREEHAND);
    e[int(Command::Circle)] = toolEffect(TOOL_CIRCLE);
    e[int(Command::Arrow)] = toolEffect(TOOL_ARROW);
    e[int(Command::Triangle)] = toolEffect(TOOL_TRIANGLE);
    e[int(Command::Eraser)] = toolEffect(TOOL_ERASER);
    e[int(Command::Text)] = toolEffect(TOOL_TEXT);
    e[int(Command::Clip)] = toolEffect(TOOL_CLIP);
    e[int(Command::Hand)] = {[](MainWindow &w) { w.currentCanvas()->setTool(TOOL_LINE); },
                             [](MainWindow &w) { return w.currentCanvas()->tool() == TOOL_HAND; }};
    e[int(Command::EraseAll)] = {drawLine, [](MainWindow &w) {
                                     return AnnotationHistory::changedRect(layerOf(w), QImage()).isNull();
                                 }};
    e[int(Command::FillBackground)] = popupEffect(
        [](MainWindow &w) { return w.toolButtons().fillBackground; });
    e[int(Command::Mask)] = {
        {}, [](MainWindow &w) { return w.currentCanvas()->pipeline()->mask() == MASK_CIRCLE; }};
    e[int(Command::Effect)] = popupEffect([](MainWindow &w) { return w.toolButtons().effect; });
    e[int(Command::ZoomIn)] = {{},
                               [](MainWindow &w) { return w.currentCanvas()->pipeline()->zoom() == 2.0; }};
    e[int(Command::ZoomOut)] = {[](MainWindow &w) { w.currentCanvas()->zoomIn(); },
                                [](MainWindow &w) { return w.currentCanvas()->pipeline()->zoom() == 1.0; }};
    e[int(Command::ZoomReset)] = {[](MainWindow &w) {
                                      w.currentCanvas()->zoomIn();
                                      w.currentCanvas()->zoomIn();
                                  },
                                  [](MainWindow &w) { return w.currentCanvas()->pipeline()->zoom() == 1.0; }};
    // No camera is attached: the camera's actions run and change nothing on a device.
    const auto ranOnly = Effect{{}, [](MainWindow &) { return true; }};
    e[int(Command::AutoFocus)] = ranOnly;
    e[int(Command::BrightnessDown)] = ranOnly;
    e[int(Command::BrightnessUp)] = ranOnly;
    e[int(Command::Record)] = {
        {}, [](MainWindow &w) { return !w.isRecording() && !w.toolButtons().record->isChecked(); }};
    e[int(Command::Rotate)] = {{},
                               [](MainWindow &w) { return w.currentCanvas()->pipeline()->rotation() == 1; }};
    e[int(Command::RotateBack)] = {
        {}, [](MainWindow &w) { return w.currentCanvas()->pipeline()->rotation() == 3; }};
    e[int(Command::Freeze)] = {{}, [](MainWindow &w) { return w.currentCanvas()->pipeline()->freeze(); }};
    // A canvas with a picture arms the snapshot; the live canvas without its camera says why not.
    e[int(Command::Snapshot)] = {{}, [](MainWindow &w) {
                                     return w.currentCanvas()->pipeline()->isSnapshotArmed()
                                         || !w.osd(w.currentCanvas())->messages()->notice().isEmpty();
                                 }};
    e[int(Command::Settings)] = popupEffect([](MainWindow &w) { return w.toolButtons().settings; });
    e[int(Command::Print)] = ranOnly; // the printer list is counted below
    e[int(Command::Undo)] = {drawLine, [](MainWindow &w) {
                                 return AnnotationHistory::changedRect(layerOf(w), QImage()).isNull();
                             }};
    e[int(Command::Redo)] = {
        [](MainWindow &w) {
            drawLine(w);
            w.currentCanvas()->undo();
        },
        [](MainWindow &w) { return !AnnotationHistory::changedRect(layerOf(w), QImage()).isNull(); }};
    e[int(Command::ModeLive)] = modeEffect(MODE_LIVE);
    e[int(Command::ModeFilm)] = modeEffect(MODE_FILM);
    e[int(Command::ModePhotograph)] = modeEffect(MODE_PHOTOGRAPH);
    e[int(Command::ModeDrawingBoard)] = modeEffect(MODE_DRAWING_BOARD);
    e[int(Command::FullScreen)] = {{},
                                   [](MainWindow &w) { return w.isFullScreenView() && w.isFullScreen(); }};
    e[int(Command::LeaveFullScreen)] = {
        [](MainWindow &w) { w.setFullScreenView(true); },
        [](MainWindow &w) { return !w.isFullScreenView() && !w.isFullScreen(); }};
    // One screen: nothing to show the picture on (the two-screen test opens it).
    e[int(Command::Projector)] = {{}, [](MainWindow &w) { return !w.projector()->isOpen(); }};
    e[int(Command::ProjectorNextScreen)] = e[int(Command::Projector)];
    e[int(Command::Help)] = {{}, [](MainWindow &w) { return w.keyHelp() && w.keyHelp()->isVisible(); }};
    e[int(Command::About)] = popupEffect([](MainWindow &w) { return w.aboutButton(); });
    e[int(Command::ToolPanel)] = {
        {}, [](MainWindow &w) { return !w.isPanelExpanded() && w.toolPanel()->isHidden(); }};
    e[int(Command::Minimize)] = {{}, [](MainWindow &w) { return w.isMinimized(); }};
    e[int(Command::Maximize)] = {{}, [](MainWindow &w) { return w.isMaximized(); }};
    e[int(Command::Close)] = {{}, [](MainWindow &w) { return !w.isVisible(); }};
    const auto opened = [](MainWindow &) { return true; }; // the file dialog is counted below
    e[int(Command::FilmOpen)] = {{}, opened};
    e[int(Command::PhotographOpen)] = {{}, opened};
    const auto button = [](QAbstractButton *(*of)(MainWindow &)) {
        return Effect{{}, [of](MainWindow &w) { return of(w)->isChecked(); }};
    };
    e[int(Command::FilmPlay)] = ranOnly; // no film is loaded: the player steps do nothing
    e[int(Command::FilmPause)] = ranOnly;
    e[int(Command::FilmStop)] = ranOnly;
    e[int(Command::FilmBackward)] = ranOnly;
    e[int(Command::FilmForward)] = ranOnly;
    e[int(Command::FilmVolume)] = button(
        [](MainWindow &w) -> QAbstractButton * { return w.filmBar()->volumeButton(); });
    e[int(Command::PhotographPrevious)] = ranOnly;
    e[int(Command::PhotographNext)] = ranOnly;
    // No photographs are open: the show ends as it starts.
    e[int(Command::PhotographSlideShow)] = ranOnly;
    e[int(Command::PhotographThumbnails)] = button(
        [](MainWindow &w) -> QAbstractButton * { return w.photographBar()->thumbnailButton(); });
    e[int(Command::PhotographInterval)] = button(
        [](MainWindow &w) -> QAbstractButton * { return w.photographBar()->timeButton(); });
    return e;
}

// Commands whose keys the standard bindings of the platform give, and the standard key.
const QList<QPair<Command, QKeySequence::StandardKey>> StandardCommands = {
    {Command::Undo, QKeySequence::Undo},         {Command::Redo, QKeySequence::Redo},
    {Command::Print, QKeySequence::Print},       {Command::ZoomIn, QKeySequence::ZoomIn},
    {Command::ZoomOut, QKeySequence::ZoomOut},   {Command::FullScreen, QKeySequence::FullScreen},
    {Command::Help, QKeySequence::HelpContents},
};

// What a presenter does while talking: one key without a modifier each.
const QList<Command> SpokenCommands = {
    Command::Freeze,    Command::Rotate, Command::Snapshot,  Command::Record,
    Command::ZoomReset, Command::Line,   Command::Rectangle, Command::Freehand,
    Command::Circle,    Command::Arrow,  Command::Triangle,  Command::Eraser,
    Command::Text,      Command::Clip,   Command::Hand,      Command::EraseAll};

} // namespace

class TestWindowKeys : public QObject
{
    Q_OBJECT
private slots:
    void everyCommandHasKeys()
    {
        for (const CommandSpec &row : ActionTable::commands())
            QVERIFY2(!ActionTable::keys(row).isEmpty(), row.name);
        for (const auto &standard : StandardCommands) {
            const QList<QKeySequence> keys = ActionTable::keys(ActionTable::row(standard.first));
            for (const QKeySequence &binding : QKeySequence::keyBindings(standard.second))
                QVERIFY2(keys.contains(binding), qPrintable(binding.toString()));
        }
        // The keys the issue of every desktop names, whatever the platform's bindings are.
        const auto has = [](Command c, const QKeySequence &key) {
            return ActionTable::keys(ActionTable::row(c)).contains(key);
        };
        QVERIFY(has(Command::Undo, QKeySequence("Ctrl+Z")));
        QVERIFY(has(Command::Redo, QKeySequence("Ctrl+Shift+Z")));
        QVERIFY(has(Command::Redo, QKeySequence("Ctrl+Y")));
        QVERIFY(has(Command::FullScreen, QKeySequence(Qt::Key_F11)));
        QVERIFY(has(Command::LeaveFullScreen, QKeySequence(Qt::Key_Escape)));
        QVERIFY(has(Command::Help, QKeySequence(Qt::Key_F1)));
        QVERIFY(has(Command::ModeLive, QKeySequence("Ctrl+1")));
        QVERIFY(has(Command::ModeFilm, QKeySequence("Ctrl+2")));
        QVERIFY(has(Command::ModePhotograph, QKeySequence("Ctrl+3")));
        QVERIFY(has(Command::ModeDrawingBoard, QKeySequence("Ctrl+4")));
        for (Command c : SpokenCommands) {
            bool single = false;
            for (const QKeySequence &key : ActionTable::keys(ActionTable::row(c)))
                single |= key.count() == 1 && (key[0] & int(Qt::KeyboardModifierMask)) == 0;
            QVERIFY2(single, ActionTable::row(c).name);
        }
    }

    void noTwoCommandsShareAKeyInOneMode()
    {
        for (WindowMode mode : {MODE_LIVE, MODE_FILM, MODE_PHOTOGRAPH, MODE_DRAWING_BOARD}) {
            QHash<QKeySequence, const char *> owner;
            for (const CommandSpec &row : ActionTable::commands()) {
                if (!ActionTable::actsIn(row, mode))
                    continue;
                for (const QKeySequence &key : ActionTable::keys(row)) {
                    QVERIFY2(!owner.contains(key),
                             qPrintable(QString("%1: %2 and %3 in mode %4")
                                            .arg(key.toString(), owner.value(key), row.name)
                                            .arg(mode)));
                    owner.insert(key, row.name);
                }
            }
        }
    }

    void eachKeyDoesItsCommand_data()
    {
        QTest::addColumn<Command>("command");
        for (const CommandSpec &row : ActionTable::commands())
            QTest::newRow(row.name) << row.command;
    }
    void eachKeyDoesItsCommand()
    {
        QFETCH(Command, command);
        const CommandSpec &row = ActionTable::row(command);
        const QHash<int, Effect> all = effects();
        QVERIFY2(all.contains(int(command)), "the test has no effect to look for: add one");
        const Effect effect = all.value(int(command));

        ScriptedPrompts prompts;
        auto window = activeWindow();
        MainWindow &w = *window;
        QVERIFY(w.commands()->isBound(command));
        int printerLists = 0;
        w.printControl()->setPrinterList([&printerLists] {
            ++printerLists;
            return QStringList{"office"};
        });
        w.printControl()->setPrintDialog([](QPrinter *, QWidget *) { return false; });
        int dialogs = 0;
        w.setOpenFileDialog([&dialogs](QWidget *, const QString &, const QString &, const QString &) {
            ++dialogs;
            return QString();
        });
        const WindowMode mode = modeFor(row);
        if (mode != MODE_LIVE)
            QVERIFY(MainWindowRig::selectMode(w, mode));
        if (effect.prepare)
            effect.prepare(w);
        QVERIFY(w.isActiveWindow());

        QList<std::shared_ptr<QSignalSpy>> spies;
        for (QAction *action : w.commands()->actions(command))
            spies << std::make_shared<QSignalSpy>(action, &QAction::triggered);
        QAbstractButton *button = w.commands()->button(command);
        std::unique_ptr<QSignalSpy> pressed;
        if (button) {
            pressed = row.keyPress == CommandSpec::KeyPress::Hold
                ? std::make_unique<QSignalSpy>(static_cast<ImageButton *>(button), &ImageButton::hold)
                : std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
        }

        const QList<QKeySequence> keys = ActionTable::keys(row);
        QVERIFY2(!keys.isEmpty(), "a command without a key");
        const bool projector = command == Command::Projector || command == Command::ProjectorNextScreen;
        for (int i = 0; i < keys.size(); ++i) {
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
            pressKey(target, keys[i]);
            if (projector) {
                // Without a second screen the projector's keys have nothing to do.
                QCOMPARE(triggers(spies), 0);
                continue;
            }
            QVERIFY2(triggers(spies) == i + 1, qPrintable(keys[i].toString()));
            if (pressed)
                QVERIFY2(pressed->count() == i + 1, qPrintable(keys[i].toString()));
            if (i == 0)
                QTRY_VERIFY2(effect.check(w), qPrintable(keys[i].toString()));
            if (command == Command::Close || command == Command::Minimize)
                break; // the window is gone from the screen; its keys with it
            if (command == Command::FullScreen || command == Command::LeaveFullScreen)
                w.setFullScreenView(command == Command::LeaveFullScreen);
            if (command == Command::Maximize)
                w.showNormal();
        }
        if (command == Command::Print)
            QCOMPARE(printerLists, keys.size());
        if (command == Command::FilmOpen || command == Command::PhotographOpen)
            QCOMPARE(dialogs, keys.size());
    }

    void keysActOnlyInTheirModes()
    {
        auto window = activeWindow();
        MainWindow &w = *window;
        // Live: Space plays no film and starts no slide show; Left goes to no photograph.
        QSignalSpy slide(w.photographBar()->slideButton(), &QAbstractButton::clicked);
        QSignalSpy play(w.filmBar()->playButton(), &QAbstractButton::clicked);
        pressKey(&w, QKeySequence(Qt::Key_Space));
        QCOMPARE(slide.count() + play.count(), 0);
        // A camera action outside Live mode: its button is disabled and so is its key.
        QVERIFY(MainWindowRig::selectMode(w, MODE_DRAWING_BOARD));
        pressKey(&w, QKeySequence(Qt::Key_F));
        QVERIFY(!w.currentCanvas()->pipeline()->freeze());
        QVERIFY(!w.toolButtons().freeze->isChecked());
        // The board's fill key opens its popup; in Live mode the same key does nothing.
        pressKey(&w, QKeySequence(Qt::Key_B));
        QCOMPARE(w.popupSlot().anchor(), static_cast<QAbstractButton *>(w.toolButtons().fillBackground));
        QVERIFY(MainWindowRig::selectMode(w, MODE_LIVE));
        pressKey(&w, QKeySequence(Qt::Key_B));
        QVERIFY(!w.popupSlot().popup());
    }

    // Without a window manager X keeps no maximised state, so the round trip of a maximised
    // window is looked at here, where the window's states are the toolkit's alone.
    void fullScreenGivesBackAMaximisedWindow()
    {
        auto window = activeWindow();
        MainWindow &w = *window;
        w.maximize();
        QTRY_VERIFY(w.isMaximized());
        const QRect before = w.geometry();

        pressKey(&w, QKeySequence(Qt::Key_F11));
        QVERIFY(w.isFullScreenView());
        QTRY_VERIFY(w.isFullScreen());
        QVERIFY(!w.toolPanel()->isVisible());
        pressKey(&w, QKeySequence(Qt::Key_Escape));
        QVERIFY(!w.isFullScreenView());
        QTRY_VERIFY(w.isMaximized());
        QTRY_COMPARE(w.geometry(), before);
        QVERIFY(w.toolPanel()->isVisible());
    }
};

QTEST_MAIN(TestWindowKeys)
#include "tst_windowkeys.moc"

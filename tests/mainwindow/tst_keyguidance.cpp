// What the action table gives besides the keys, and where keys stay out: the keys a text field
// takes stay in the drawing's text editor, every button and slider has a tooltip and an
// accessible name, the key list (F1) lists every command, and Ctrl+Z / Ctrl+Y work on the
// current canvas's own history across mode switches.
#include "MainWindowRig.h"
#include "WindowKeysRig.h"
#include "canvas/AnnotationHistory.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "mainwindow/ActionTable.h"
#include "mainwindow/KeyHelpWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowCommands.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/Slider.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include <memory>
#include <mutex>

Q_DECLARE_METATYPE(Command)

using namespace WindowKeysRig;

class TestKeyGuidance : public QObject
{
    Q_OBJECT
private slots:
    void typingKeysStayInTheTextEditor_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QKeySequence>("key");
        for (const CommandSpec &row : ActionTable::commands()) {
            if (!ActionTable::actsIn(row, MODE_DRAWING_BOARD))
                continue;
            for (const QKeySequence &key : ActionTable::keys(row)) {
                if (ActionTable::isTypingKey(key))
                    QTest::addRow("%s %s", row.name, qPrintable(key.toString())) << row.command << key;
            }
        }
        // Undo and redo in the editor are the editor's own.
        QTest::newRow("undo") << Command::Undo << QKeySequence(QKeySequence::Undo);
        QTest::newRow("redo") << Command::Redo << QKeySequence("Ctrl+Shift+Z");
    }
    void typingKeysStayInTheTextEditor()
    {
        QFETCH(Command, command);
        QFETCH(QKeySequence, key);
        auto window = activeWindow();
        MainWindow &w = *window;
        QVERIFY(MainWindowRig::selectMode(w, MODE_DRAWING_BOARD));
        ImageCanvas *board = w.currentCanvas();
        drawLine(w);
        QTest::mouseClick(w.toolButtons().text, Qt::LeftButton);
        mouseOnCanvas(w, QEvent::MouseButtonPress, QPoint(200, 150));
        mouseOnCanvas(w, QEvent::MouseButtonRelease, QPoint(200, 150));
        QTextEdit *editor = board->textEditor();
        QVERIFY(editor->isVisible());
        QTRY_VERIFY(editor->hasFocus());
        QTest::keyClicks(editor, "ab");

        QList<std::shared_ptr<QSignalSpy>> spies;
        for (const CommandSpec &row : ActionTable::commands())
            for (QAction *action : w.commands()->actions(row.command))
                spies << std::make_shared<QSignalSpy>(action, &QAction::triggered);
        const QImage layer = layerOf(w);
        const QString before = editor->toPlainText();
        pressKey(editor, key);
        QVERIFY2(triggers(spies) == 0, ActionTable::row(command).name);
        QCOMPARE(board->tool(), int(TOOL_TEXT));
        QVERIFY(editor->isVisible());
        QCOMPARE(layerOf(w), layer);
        const int code = key[0] & ~int(Qt::KeyboardModifierMask);
        if (code < Qt::Key_Escape && !(key[0] & int(Qt::ControlModifier)))
            QVERIFY2(editor->toPlainText() != before, "the editor took the key");
    }

    void tooltipsAndNamesOnEveryButtonAndSlider()
    {
        auto window = activeWindow();
        MainWindow &w = *window;
        const QList<ImageButton *> buttons = w.findChildren<ImageButton *>();
        QVERIFY(buttons.size() > 50);
        for (ImageButton *b : buttons) {
            QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName() + b->text()));
            QVERIFY2(!b->accessibleName().isEmpty(), qPrintable(b->toolTip()));
        }
        QList<QWidget *> sliders;
        for (Slider *s : w.findChildren<Slider *>())
            sliders << s;
        for (HorizontalSlider *s : w.findChildren<HorizontalSlider *>())
            sliders << s;
        QCOMPARE(sliders.size(), 4);
        for (QWidget *s : sliders) {
            QVERIFY(!s->toolTip().isEmpty());
            QVERIFY(!s->accessibleName().isEmpty());
        }
        // A command's button names the command and its keys.
        for (const CommandSpec &row : ActionTable::commands()) {
            QAbstractButton *b = w.commands()->button(row.command);
            if (!b)
                continue;
            QCOMPARE(b->accessibleName(), ActionTable::name(row));
            QVERIFY(b->toolTip().contains(ActionTable::keyText(row)));
            QVERIFY(b->accessibleDescription().contains(ActionTable::keyText(row)));
        }
        QCOMPARE(w.toolButtons().freeze->toolTip(), QString("Freeze (F)"));
        // Colours and widths are found: a drawing button says what holding it opens.
        QCOMPARE(w.toolButtons().line->toolTip(),
                 QString("Line (L)\nHold the button for colours and widths."));
        QCOMPARE(w.toolButtons().eraser->toolTip().section('\n', 1),
                 QString("Hold the button for the width."));
        QVERIFY(w.toolButtons().mask->toolTip().endsWith("\nHold the button for the shapes."));
        QCOMPARE(w.toolButtons().zoomIn->toolTip(), QString("Zoom in (Ctrl++, Ctrl+=)"));
        QCOMPARE(w.liveRecordingButton()->toolTip(), w.toolButtons().record->toolTip());
        // One screen: the projector's button says what it waits for.
        QVERIFY(!w.projectorButton()->isEnabled());
        QVERIFY(w.projectorButton()->toolTip().contains("second screen"));
    }

    void keyListListsEveryCommand()
    {
        auto window = activeWindow();
        MainWindow &w = *window;
        pressKey(&w, QKeySequence(Qt::Key_F1));
        KeyHelpWindow *help = w.keyHelp();
        QVERIFY(help && help->isVisible());
        const QString text = help->leftColumn()->text() + help->rightColumn()->text();
        for (const CommandSpec &row : ActionTable::commands()) {
            QVERIFY2(text.contains(ActionTable::name(row).toHtmlEscaped()), row.name);
            QVERIFY2(text.contains(ActionTable::keyText(row).toHtmlEscaped()), row.name);
        }
        QVERIFY(text.contains("Hold a drawing button to choose its colour and width."));
        for (CommandSpec::Section s : {CommandSpec::Section::Drawing, CommandSpec::Section::Window})
            QVERIFY(text.contains(ActionTable::sectionTitle(s).toHtmlEscaped()));
        // Esc in the list closes the list, not the window's full screen.
        help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keyClick(help, Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        pressKey(&w, QKeySequence(Qt::Key_F1));
        QVERIFY(help->isVisible());
        QTest::mouseClick(w.keyHelpButton(), Qt::LeftButton);
        QVERIFY(!help->isVisible());
    }

    void undoBelongsToEachCanvasAcrossModeSwitches()
    {
        auto window = activeWindow();
        MainWindow &w = *window;
        QVERIFY(MainWindowRig::selectMode(w, MODE_DRAWING_BOARD));
        const QImage boardEmpty = layerOf(w);
        drawLine(w);
        const QImage boardDrawn = layerOf(w);
        QVERIFY(MainWindowRig::selectMode(w, MODE_PHOTOGRAPH));
        drawLine(w);
        pressKey(&w, QKeySequence("Ctrl+4"));
        QCOMPARE(w.currentMode(), MODE_DRAWING_BOARD);
        QCOMPARE(layerOf(w), boardDrawn);
        pressKey(&w, QKeySequence("Ctrl+Z"));
        QCOMPARE(layerOf(w), boardEmpty);
        // The photograph canvas kept its own step.
        ImageCanvas *photographs = w.canvas(MODE_PHOTOGRAPH);
        {
            std::lock_guard<CanvasLock> lock(photographs->pipeline()->lock());
            QCOMPARE(photographs->pipeline()->historyLocked().undoCount(), 1);
        }
        pressKey(&w, QKeySequence("Ctrl+Y"));
        QCOMPARE(layerOf(w), boardDrawn);
    }
};

QTEST_MAIN(TestKeyGuidance)
#include "tst_keyguidance.moc"

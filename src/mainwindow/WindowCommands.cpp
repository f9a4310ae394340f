#include "mainwindow/WindowCommands.h"

#include "common/Logging.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/PhotographBar.h"
#include "widgets/ImageButton.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

WindowCommands::WindowCommands(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    for (const CommandSpec &row : ActionTable::commands()) {
        QList<QKeySequence> typingKeys;
        QList<QKeySequence> otherKeys;
        for (const QKeySequence &key : ActionTable::keys(row))
            (ActionTable::isTypingKey(key) ? typingKeys : otherKeys).append(key);
        for (const bool typingAction : {false, true}) {
            const QList<QKeySequence> &keys = typingAction ? typingKeys : otherKeys;
            if (keys.isEmpty())
                continue;
            auto *action = new QAction(this);
            action->setShortcuts(keys);
            action->setShortcutContext(Qt::WindowShortcut);
            // Held keys do not repeat a command: one press, one step.
            action->setAutoRepeat(false);
            const Command command = row.command;
            connect(action, &QAction::triggered, this, [this, command, typingAction] {
                if (typingAction && typing())
                    return;
                run(ActionTable::row(command));
            });
            m_window->addAction(action);
            m_actions.insert(int(command), action);
        }
        updateEnabled(row);
    }
}

void WindowCommands::bindButton(Command command, QAbstractButton *button)
{
    m_buttons.insert(int(command), button);
    describe(command, button);
}

void WindowCommands::bindFunction(Command command, std::function<void()> run)
{
    m_functions.insert(int(command), std::move(run));
}

void WindowCommands::describe(Command command, QWidget *widget) const
{
    const CommandSpec &row = ActionTable::row(command);
    widget->setToolTip(ActionTable::toolTip(row));
    widget->setAccessibleName(ActionTable::name(row));
    widget->setAccessibleDescription(ActionTable::keyDescription(row));
}

bool WindowCommands::isBound(Command command) const
{
    return m_buttons.contains(int(command)) || m_functions.contains(int(command));
}

void WindowCommands::setMode(WindowMode mode)
{
    m_mode = mode;
    for (const CommandSpec &row : ActionTable::commands())
        updateEnabled(row);
}

void WindowCommands::setAvailable(Command command, bool available)
{
    m_unavailable.insert(int(command), !available);
    updateEnabled(ActionTable::row(command));
}

void WindowCommands::alsoOn(QWidget *window)
{
    window->addActions(m_actions.values());
}

void WindowCommands::updateEnabled(const CommandSpec &row)
{
    const bool enabled = ActionTable::actsIn(row, m_mode) && !m_unavailable.value(int(row.command));
    for (QAction *action : m_actions.values(int(row.command)))
        action->setEnabled(enabled);
}

bool WindowCommands::typing() const
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || focus->window() != m_window->window())
        return false;
    if (auto *edit = qobject_cast<QTextEdit *>(focus))
        return !edit->isReadOnly();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        return !plain->isReadOnly();
    if (auto *line = qobject_cast<QLineEdit *>(focus))
        return !line->isReadOnly();
    if (auto *box = qobject_cast<QComboBox *>(focus))
        return box->isEditable();
    return qobject_cast<QAbstractSpinBox *>(focus) != nullptr;
}

void WindowCommands::run(const CommandSpec &row)
{
    if (const auto function = m_functions.value(int(row.command))) {
        function();
        return;
    }
    QAbstractButton *button = m_buttons.value(int(row.command));
    if (!button) {
        qCWarning(lcMainWindow) << "no action bound to the key of" << row.name;
        return;
    }
    // A key acts like the mouse on the button: not while the button is disabled (a camera
    // action outside Live mode, Fill background outside the Drawing Board).
    if (!button->isEnabled())
        return;
    auto *imageButton = qobject_cast<ImageButton *>(button);
    if (row.keyPress == CommandSpec::KeyPress::Hold && imageButton)
        emit imageButton->hold();
    else
        button->click();
}

void WindowCommands::bindBars(const FilmBar *film, const PhotographBar *photographs)
{
    const std::pair<Command, QAbstractButton *> buttons[] = {
        {Command::FilmOpen, film->openButton()},
        {Command::FilmPlay, film->playButton()},
        {Command::FilmPause, film->pauseButton()},
        {Command::FilmStop, film->stopButton()},
        {Command::FilmBackward, film->backwardButton()},
        {Command::FilmForward, film->forwardButton()},
        {Command::FilmVolume, film->volumeButton()},
        {Command::PhotographOpen, photographs->openButton()},
        {Command::PhotographPrevious, photographs->previousButton()},
        {Command::PhotographSlideShow, photographs->slideButton()},
        {Command::PhotographNext, photographs->nextButton()},
        {Command::PhotographThumbnails, photographs->thumbnailButton()},
        {Command::PhotographInterval, photographs->timeButton()},
    };
    for (const auto &[command, button] : buttons)
        bindButton(command, button);
}

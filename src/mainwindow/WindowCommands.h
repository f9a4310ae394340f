#pragma once

#include "mainwindow/ActionTable.h"
#include "mainwindow/WindowMode.h"

#include <QHash>
#include <QList>
#include <QMultiHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QAbstractButton;
class QAction;
class QWidget;

// The keys of the main window: one QAction per row of the action table, with the row's keys,
// on the window (and on the other windows given to alsoOn(), so the keys keep working there).
// A command runs through its button when it has one, exactly as a click does (or a hold, for
// the commands whose key opens their popup), so keys and mouse share every rule; commands
// without a button run a function. The buttons get the command's tooltip ("name (keys)"), its
// accessible name and the accessible description of its key.
//
// A command's keys act only in the modes its row names, and not while it is unavailable
// (setAvailable). Keys a text field takes while the user types (ActionTable::isTypingKey) do not
// reach the commands while the drawing's text editor has the focus: the editor claims them
// first (its shortcut override), and a command refuses them while any text field of the window
// has the focus.
//
// Threads: GUI thread only.
class FilmBar;
class PhotographBar;

class WindowCommands : public QObject
{
    Q_OBJECT
public:
    // Makes the actions and adds them to `window`, which owns this object.
    explicit WindowCommands(QWidget *window);

    // The command's key clicks (or holds) `button`; `button` gets the command's texts.
    void bindButton(Command command, QAbstractButton *button);
    // The film and photograph bars' buttons, each with its command's key.
    void bindBars(const FilmBar *film, const PhotographBar *photographs);
    // The command's key runs `run`.
    void bindFunction(Command command, std::function<void()> run);
    // `widget` shows the command's texts (a second button of the same command).
    void describe(Command command, QWidget *widget) const;

    // Enables the keys of the commands that act in `mode`.
    void setMode(WindowMode mode);
    // A command that is unavailable (no second screen, not in full screen) has no keys.
    void setAvailable(Command command, bool available);
    // The keys also act while `window` is the active window.
    void alsoOn(QWidget *window);

    // The command's actions: one for the keys a text field takes, one for the others.
    QList<QAction *> actions(Command command) const { return m_actions.values(int(command)); }
    QAbstractButton *button(Command command) const { return m_buttons.value(int(command)); }
    bool isBound(Command command) const;

private:
    void run(const CommandSpec &row);
    void updateEnabled(const CommandSpec &row);
    // Whether a text field of the window has the keyboard focus.
    bool typing() const;

    QWidget *m_window;
    WindowMode m_mode = MODE_LIVE;
    QMultiHash<int, QAction *> m_actions;
    QHash<int, QPointer<QAbstractButton>> m_buttons;
    QHash<int, std::function<void()>> m_functions;
    QHash<int, bool> m_unavailable;
};

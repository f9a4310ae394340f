#pragma once

#include "mainwindow/ToolButtons.h"
#include "mainwindow/WindowMode.h"

#include <QKeySequence>
#include <QList>
#include <QString>

#include <vector>

class ImageButton;
class ToolActions;

// Every command of the main window: the side panel's tools and actions, the modes, undo and
// redo, full screen, the projector screen, the key list, the window's own buttons and the film
// and photograph bars.
enum class Command {
    // Noting
    Line,
    Rectangle,
    Freehand,
    Circle,
    Arrow,
    Triangle,
    Eraser,
    Text,
    EraseAll,
    Clip,
    Hand,
    FillBackground,
    // Assisting
    Mask,
    Effect,
    // Adjustment
    ZoomOut,
    ZoomIn,
    ZoomReset,
    AutoFocus,
    BrightnessDown,
    BrightnessUp,
    Rotate,
    RotateBack,
    Freeze,
    // Recording
    Record,
    Snapshot,
    Settings,
    Print,
    // Without a panel button
    Undo,
    Redo,
    ModeLive,
    ModeFilm,
    ModePhotograph,
    ModeDrawingBoard,
    FullScreen,
    LeaveFullScreen,
    Projector,
    ProjectorNextScreen,
    Help,
    About,
    ToolPanel,
    Minimize,
    Maximize,
    Close,
    FilmOpen,
    FilmPlay,
    FilmPause,
    FilmStop,
    FilmBackward,
    FilmForward,
    FilmVolume,
    PhotographOpen,
    PhotographPrevious,
    PhotographSlideShow,
    PhotographNext,
    PhotographThumbnails,
    PhotographInterval,
};

// One row of the action table: the command's name, its keys, where the key list shows it, the
// modes its keys act in and, for the side panel's buttons, the button's group, picture, kind
// and the tool actions it runs. The panel, the keys, the tooltips, the accessible names and the
// key list are all made from this one table.
struct CommandSpec
{
    // Headings of the key list.
    enum class Section { Drawing, Picture, Camera, Output, Modes, Window, Film, Photograph };
    // Groups of the side panel; None: the command has no panel button.
    enum class Group { None, Noting, Assisting, Adjustment, Recording };
    // A plain action, a toggle, or one of the exclusive drawing tools.
    enum class Kind { Plain, Toggle, Tool };
    // What the key does with the command's button: click it, or hold it (the commands whose
    // click alone does nothing but whose hold opens their popup).
    enum class KeyPress { Click, Hold };
    using Slot = void (ToolActions::*)();

    Command command;
    Section section;
    const char *name; // translated in the MainWindow context
    QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;
    QList<QKeySequence> keys; // besides the standard key's bindings
    int modes = 0xF;          // bit (1 << mode) for each mode the keys act in
    KeyPress keyPress = KeyPress::Click;

    // Side panel button.
    Group group = Group::None;
    const char *icon = nullptr;
    Kind kind = Kind::Plain;
    ImageButton *ToolButtons::*button = nullptr;
    Slot click = nullptr;
    Slot hold = nullptr;
    Slot press = nullptr; // zoom acts on the press and ends on the release
    Slot release = nullptr;
};

// The table and what is made from it.
//
// Threads: GUI thread only (the texts are translated when asked for).
namespace ActionTable {

const std::vector<CommandSpec> &commands();
const CommandSpec &row(Command command);

// The command's keys: the bindings of its standard key on this platform, then its own, each
// once.
QList<QKeySequence> keys(const CommandSpec &row);
// Whether a key is one a text field takes while the user types (an unmodified or shifted
// character, space, Delete, the arrows and page keys): such keys do not reach the commands
// while the drawing's text editor has the focus.
bool isTypingKey(const QKeySequence &key);
// Whether the command's keys act in `mode`.
bool actsIn(const CommandSpec &row, WindowMode mode);

// Translated texts: the command's name, its keys as the platform writes them, the tooltip
// "name (keys)" (with the hold hint on a second line), and the accessible description of its
// key.
QString name(const CommandSpec &row);
QString keyText(const CommandSpec &row);
// What holding the command's button opens, where that is more than its click gives; empty
// otherwise.
QString holdHint(const CommandSpec &row);
QString toolTip(const CommandSpec &row);
QString keyDescription(const CommandSpec &row);
QString sectionTitle(CommandSpec::Section section);
QString groupTitle(CommandSpec::Group group);

} // namespace ActionTable

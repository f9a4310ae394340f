#include "mainwindow/ActionTable.h"

#include "mainwindow/ToolActions.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

using Section = CommandSpec::Section;
using Group = CommandSpec::Group;
using Kind = CommandSpec::Kind;
using Slot = CommandSpec::Slot;

constexpr int Only(WindowMode mode)
{
    return 1 << mode;
}

// Builds one row of the table.
class Row
{
public:
    Row(Command command, Section section, const char *name)
    {
        m_spec.command = command;
        m_spec.section = section;
        m_spec.name = name;
    }
    Row &standard(QKeySequence::StandardKey key)
    {
        m_spec.standardKey = key;
        return *this;
    }
    Row &key(const QKeySequence &key)
    {
        m_spec.keys.append(key);
        return *this;
    }
    Row &in(int modes)
    {
        m_spec.modes = modes;
        return *this;
    }
    Row &keyHolds()
    {
        m_spec.keyPress = CommandSpec::KeyPress::Hold;
        return *this;
    }
    Row &panel(Group group, const char *icon, Kind kind, ImageButton *ToolButtons::*button, Slot click,
               Slot hold = nullptr)
    {
        m_spec.group = group;
        m_spec.icon = icon;
        m_spec.kind = kind;
        m_spec.button = button;
        m_spec.click = click;
        m_spec.hold = hold;
        return *this;
    }
    Row &pressAndRelease(Slot press, Slot release)
    {
        m_spec.press = press;
        m_spec.release = release;
        return *this;
    }
    operator CommandSpec() const { return m_spec; }

private:
    CommandSpec m_spec;
};

QKeySequence keyOf(int combination)
{
    return QKeySequence(combination);
}

std::vector<CommandSpec> buildTable()
{
    using TA = ToolActions;
    using TB = ToolButtons;
    // The panel's rows come first, in the panel's order; single keys are the ones a presenter
    // reaches for while talking, standard keys where the platform has one.
    return {
        Row(Command::Line, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Line"))
            .key(keyOf(Qt::Key_L))
            .panel(Group::Noting, "ICON_LINE", Kind::Tool, &TB::line, &TA::line, &TA::lineHold),
        Row(Command::Rectangle, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Rectangle"))
            .key(keyOf(Qt::Key_R))
            .panel(Group::Noting, "ICON_RETANGLE", Kind::Tool, &TB::rectangle, &TA::rectangle,
                   &TA::rectangleHold),
        Row(Command::Freehand, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Freehand"))
            .key(keyOf(Qt::Key_P))
            .panel(Group::Noting, "ICON_FREEHAND", Kind::Tool, &TB::freehand, &TA::freehand,
                   &TA::freehandHold),
        Row(Command::Circle, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Circle"))
            .key(keyOf(Qt::Key_C))
            .panel(Group::Noting, "ICON_CIRCLE", Kind::Tool, &TB::circle, &TA::circle, &TA::circleHold),
        Row(Command::Arrow, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Arrow"))
            .key(keyOf(Qt::Key_A))
            .panel(Group::Noting, "ICON_ARROW", Kind::Tool, &TB::arrow, &TA::arrow, &TA::arrowHold),
        Row(Command::Triangle, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Triangle"))
            .key(keyOf(Qt::Key_Y))
            .panel(Group::Noting, "ICON_TRIANGLE", Kind::Tool, &TB::triangle, &TA::triangle,
                   &TA::triangleHold),
        Row(Command::Eraser, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Eraser"))
            .key(keyOf(Qt::Key_E))
            .panel(Group::Noting, "ICON_ERASE", Kind::Tool, &TB::eraser, &TA::erase, &TA::eraseHold),
        Row(Command::Text, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Text"))
            .key(keyOf(Qt::Key_T))
            .panel(Group::Noting, "ICON_TEXT", Kind::Tool, &TB::text, &TA::text, &TA::textHold),
        Row(Command::EraseAll, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Erase all"))
            .key(keyOf(Qt::Key_Delete))
            .panel(Group::Noting, "ICON_ERASE_ALL", Kind::Plain, &TB::eraseAll, &TA::eraseAll),
        Row(Command::Clip, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Clip image"))
            .key(keyOf(Qt::Key_X))
            .panel(Group::Noting, "ICON_COPY", Kind::Tool, &TB::clip, &TA::clip),
        Row(Command::Hand, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Hand"))
            .key(keyOf(Qt::Key_H))
            .panel(Group::Noting, "ICON_HAND", Kind::Tool, &TB::hand, &TA::hand),
        // Its click selects nothing; the key opens the colour choice as holding the button does.
        Row(Command::FillBackground, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Fill background"))
            .key(keyOf(Qt::Key_B))
            .in(Only(MODE_DRAWING_BOARD))
            .keyHolds()
            .panel(Group::Noting, "ICON_FILL", Kind::Tool, &TB::fillBackground, &TA::fillBackground,
                   &TA::fillBackgroundHold),

        Row(Command::Mask, Section::Picture, QT_TRANSLATE_NOOP("MainWindow", "Mask"))
            .key(keyOf(Qt::Key_M))
            .panel(Group::Assisting, "ICON_MASK_CIRCLE", Kind::Toggle, &TB::mask, &TA::mask, &TA::maskHold),
        // The effect is chosen in the popup the button opens when held.
        Row(Command::Effect, Section::Picture, QT_TRANSLATE_NOOP("MainWindow", "Effect"))
            .key(keyOf(Qt::Key_I))
            .keyHolds()
            .panel(Group::Assisting, "ICON_EFFECT_COLOR", Kind::Plain, &TB::effect, nullptr, &TA::effectHold),

        Row(Command::ZoomOut, Section::Picture, QT_TRANSLATE_NOOP("MainWindow", "Zoom out"))
            .standard(QKeySequence::ZoomOut)
            .key(keyOf(Qt::CTRL | Qt::Key_Minus))
            .panel(Group::Adjustment, "ICON_ZOOM_OUT", Kind::Plain, &TB::zoomOut, nullptr)
            .pressAndRelease(&TA::zoomOutStart, &TA::zoomOutStop),
        Row(Command::ZoomIn, Section::Picture, QT_TRANSLATE_NOOP("MainWindow", "Zoom in"))
            .standard(QKeySequence::ZoomIn)
            .key(keyOf(Qt::CTRL | Qt::Key_Plus))
            .key(keyOf(Qt::CTRL | Qt::Key_Equal))
            .panel(Group::Adjustment, "ICON_ZOOM_IN", Kind::Plain, &TB::zoomIn, nullptr)
            .pressAndRelease(&TA::zoomInStart, &TA::zoomInStop),
        Row(Command::ZoomReset, Section::Picture, QT_TRANSLATE_NOOP("MainWindow", "Reset zoom"))
            .key(keyOf(Qt::Key_0))
            .key(keyOf(Qt::CTRL | Qt::Key_0))
            .panel(Group::Adjustment, "ICON_ZOOM_RESET", Kind::Plain, &TB::zoomReset, &TA::zoomReset),
        Row(Command::AutoFocus, Section::Camera, QT_TRANSLATE_NOOP("MainWindow", "Auto focus"))
            .key(keyOf(Qt::Key_U))
            .in(Only(MODE_LIVE))
            .panel(Group::Adjustment, "ICON_AUTOFOCUS", Kind::Plain, &TB::autoFocus, &TA::autoFocus),
        Row(Command::BrightnessDown, Section::Camera, QT_TRANSLATE_NOOP("MainWindow", "Brightness down"))
            .key(keyOf(Qt::Key_Comma))
            .in(Only(MODE_LIVE))
            .panel(Group::Adjustment, "ICON_BRIGHTNESS_REDUCE", Kind::Plain, &TB::brightnessDown,
                   &TA::brightnessDown),
        Row(Command::BrightnessUp, Section::Camera, QT_TRANSLATE_NOOP("MainWindow", "Brightness up"))
            .key(keyOf(Qt::Key_Period))
            .in(Only(MODE_LIVE))
            .panel(Group::Adjustment, "ICON_BRIGHTNESS_INCREASE", Kind::Plain, &TB::brightnessUp,
                   &TA::brightnessUp),
        Row(Command::Rotate, Section::Picture, QT_TRANSLATE_NOOP("MainWindow", "Rotate"))
            .key(keyOf(Qt::Key_O))
            .panel(Group::Adjustment, "ICON_ROTATE", Kind::Plain, &TB::rotate, &TA::rotate),
        // Users expect to turn the picture back without three more clicks.
        Row(Command::RotateBack, Section::Picture, QT_TRANSLATE_NOOP("MainWindow", "Rotate back"))
            .key(keyOf(Qt::SHIFT | Qt::Key_O))
            .panel(Group::Adjustment, "ICON_ROTATE_REV", Kind::Plain, &TB::rotateRev, &TA::rotateRev),
        Row(Command::Freeze, Section::Camera, QT_TRANSLATE_NOOP("MainWindow", "Freeze"))
            .key(keyOf(Qt::Key_F))
            .in(Only(MODE_LIVE))
            .panel(Group::Adjustment, "ICON_FREEZE", Kind::Toggle, &TB::freeze, &TA::freeze),

        Row(Command::Record, Section::Output, QT_TRANSLATE_NOOP("MainWindow", "Record video"))
            .key(keyOf(Qt::Key_V))
            .in(Only(MODE_LIVE))
            .panel(Group::Recording, "ICON_RECORDING", Kind::Toggle, &TB::record, &TA::record),
        Row(Command::Snapshot, Section::Output, QT_TRANSLATE_NOOP("MainWindow", "Take snapshot"))
            .key(keyOf(Qt::Key_S))
            .panel(Group::Recording, "ICON_CAPTURE", Kind::Plain, &TB::snapshot, &TA::snapshot),
        Row(Command::Settings, Section::Output, QT_TRANSLATE_NOOP("MainWindow", "Settings"))
            .standard(QKeySequence::Preferences)
            .key(keyOf(Qt::CTRL | Qt::Key_Comma))
            .in(Only(MODE_LIVE))
            .panel(Group::Recording, "ICON_SETTING", Kind::Plain, &TB::settings, &TA::settings),
        Row(Command::Print, Section::Output, QT_TRANSLATE_NOOP("MainWindow", "Print"))
            .standard(QKeySequence::Print)
            .key(keyOf(Qt::CTRL | Qt::Key_P))
            .panel(Group::Recording, "ICON_PRINT", Kind::Plain, &TB::print, &TA::print),

        Row(Command::Undo, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Undo"))
            .standard(QKeySequence::Undo)
            .key(keyOf(Qt::CTRL | Qt::Key_Z)),
        Row(Command::Redo, Section::Drawing, QT_TRANSLATE_NOOP("MainWindow", "Redo"))
            .standard(QKeySequence::Redo)
            .key(keyOf(Qt::CTRL | Qt::SHIFT | Qt::Key_Z))
            .key(keyOf(Qt::CTRL | Qt::Key_Y)),

        Row(Command::ModeLive, Section::Modes, QT_TRANSLATE_NOOP("MainWindow", "Live"))
            .key(keyOf(Qt::CTRL | Qt::Key_1)),
        Row(Command::ModeFilm, Section::Modes, QT_TRANSLATE_NOOP("MainWindow", "Film"))
            .key(keyOf(Qt::CTRL | Qt::Key_2)),
        Row(Command::ModePhotograph, Section::Modes, QT_TRANSLATE_NOOP("MainWindow", "Photograph"))
            .key(keyOf(Qt::CTRL | Qt::Key_3)),
        Row(Command::ModeDrawingBoard, Section::Modes, QT_TRANSLATE_NOOP("MainWindow", "Drawing Board"))
            .key(keyOf(Qt::CTRL | Qt::Key_4)),

        // F11 on every desktop, besides the platform's own full screen key where it has one.
        Row(Command::FullScreen, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "Full screen"))
            .key(keyOf(Qt::Key_F11))
            .standard(QKeySequence::FullScreen),
        Row(Command::LeaveFullScreen, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "Leave full screen"))
            .key(keyOf(Qt::Key_Escape)),
        // The key presentation programs start a show with.
        Row(Command::Projector, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "Projector screen"))
            .key(keyOf(Qt::Key_F5)),
        Row(Command::ProjectorNextScreen, Section::Window,
            QT_TRANSLATE_NOOP("MainWindow", "Projector on the next screen"))
            .key(keyOf(Qt::SHIFT | Qt::Key_F5)),
        Row(Command::Help, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "Keys"))
            .standard(QKeySequence::HelpContents)
            .key(keyOf(Qt::Key_F1)),
        Row(Command::About, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "About"))
            .key(keyOf(Qt::CTRL | Qt::Key_F1)),
        // The key file managers show and hide their side panel with.
        Row(Command::ToolPanel, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "Tool panel"))
            .key(keyOf(Qt::Key_F9)),
        Row(Command::Minimize, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "Minimize"))
            .key(keyOf(Qt::CTRL | Qt::Key_M)),
        Row(Command::Maximize, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "Maximize"))
            .key(keyOf(Qt::Key_F10)),
        Row(Command::Close, Section::Window, QT_TRANSLATE_NOOP("MainWindow", "Close"))
            .standard(QKeySequence::Quit)
            .key(keyOf(Qt::CTRL | Qt::Key_Q)),

        Row(Command::FilmOpen, Section::Film, QT_TRANSLATE_NOOP("MainWindow", "Open film"))
            .standard(QKeySequence::Open)
            .key(keyOf(Qt::CTRL | Qt::Key_O))
            .in(Only(MODE_FILM)),
        Row(Command::FilmPlay, Section::Film, QT_TRANSLATE_NOOP("MainWindow", "Play"))
            .key(keyOf(Qt::Key_Space))
            .key(keyOf(Qt::Key_MediaPlay))
            .in(Only(MODE_FILM)),
        Row(Command::FilmPause, Section::Film, QT_TRANSLATE_NOOP("MainWindow", "Pause"))
            .key(keyOf(Qt::SHIFT | Qt::Key_Space))
            .key(keyOf(Qt::Key_MediaPause))
            .key(keyOf(Qt::Key_Pause))
            .in(Only(MODE_FILM)),
        Row(Command::FilmStop, Section::Film, QT_TRANSLATE_NOOP("MainWindow", "Stop"))
            .key(keyOf(Qt::Key_Home))
            .key(keyOf(Qt::Key_MediaStop))
            .in(Only(MODE_FILM)),
        Row(Command::FilmBackward, Section::Film, QT_TRANSLATE_NOOP("MainWindow", "Fast backward"))
            .key(keyOf(Qt::Key_Left))
            .in(Only(MODE_FILM)),
        Row(Command::FilmForward, Section::Film, QT_TRANSLATE_NOOP("MainWindow", "Fast forward"))
            .key(keyOf(Qt::Key_Right))
            .in(Only(MODE_FILM)),
        Row(Command::FilmVolume, Section::Film, QT_TRANSLATE_NOOP("MainWindow", "Volume"))
            .key(keyOf(Qt::CTRL | Qt::Key_U))
            .in(Only(MODE_FILM)),

        Row(Command::PhotographOpen, Section::Photograph, QT_TRANSLATE_NOOP("MainWindow", "Open photographs"))
            .standard(QKeySequence::Open)
            .key(keyOf(Qt::CTRL | Qt::Key_O))
            .in(Only(MODE_PHOTOGRAPH)),
        Row(Command::PhotographPrevious, Section::Photograph,
            QT_TRANSLATE_NOOP("MainWindow", "Previous photograph"))
            .key(keyOf(Qt::Key_Left))
            .key(keyOf(Qt::Key_PageUp))
            .in(Only(MODE_PHOTOGRAPH)),
        Row(Command::PhotographSlideShow, Section::Photograph, QT_TRANSLATE_NOOP("MainWindow", "Slide show"))
            .key(keyOf(Qt::Key_Space))
            .in(Only(MODE_PHOTOGRAPH)),
        Row(Command::PhotographNext, Section::Photograph, QT_TRANSLATE_NOOP("MainWindow", "Next photograph"))
            .key(keyOf(Qt::Key_Right))
            .key(keyOf(Qt::Key_PageDown))
            .in(Only(MODE_PHOTOGRAPH)),
        Row(Command::PhotographThumbnails, Section::Photograph, QT_TRANSLATE_NOOP("MainWindow", "Thumbnails"))
            .key(keyOf(Qt::CTRL | Qt::Key_T))
            .in(Only(MODE_PHOTOGRAPH)),
        Row(Command::PhotographInterval, Section::Photograph,
            QT_TRANSLATE_NOOP("MainWindow", "Slide interval"))
            .key(keyOf(Qt::CTRL | Qt::Key_I))
            .in(Only(MODE_PHOTOGRAPH)),
    };
}

// Qt writes the keys' names through its own translation context; these are the names the
// table's keys use, so that the program's translations carry them.
[[maybe_unused]] const char *const KeyNames[] = {
    QT_TRANSLATE_NOOP("QShortcut", "Ctrl"),        QT_TRANSLATE_NOOP("QShortcut", "Shift"),
    QT_TRANSLATE_NOOP("QShortcut", "Space"),       QT_TRANSLATE_NOOP("QShortcut", "Del"),
    QT_TRANSLATE_NOOP("QShortcut", "Esc"),         QT_TRANSLATE_NOOP("QShortcut", "Home"),
    QT_TRANSLATE_NOOP("QShortcut", "Left"),        QT_TRANSLATE_NOOP("QShortcut", "Right"),
    QT_TRANSLATE_NOOP("QShortcut", "PgUp"),        QT_TRANSLATE_NOOP("QShortcut", "PgDown"),
    QT_TRANSLATE_NOOP("QShortcut", "Pause"),       QT_TRANSLATE_NOOP("QShortcut", "Media Play"),
    QT_TRANSLATE_NOOP("QShortcut", "Media Pause"), QT_TRANSLATE_NOOP("QShortcut", "Media Stop"),
};

QString translated(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

} // namespace

namespace ActionTable {

const std::vector<CommandSpec> &commands()
{
    static const std::vector<CommandSpec> table = buildTable();
    return table;
}

const CommandSpec &row(Command command)
{
    for (const CommandSpec &s : commands()) {
        if (s.command == command)
            return s;
    }
    qFatal("command %d is missing from the action table", int(command));
}

QList<QKeySequence> keys(const CommandSpec &row)
{
    QList<QKeySequence> all;
    if (row.standardKey != QKeySequence::UnknownKey)
        all = QKeySequence::keyBindings(row.standardKey);
    for (const QKeySequence &key : row.keys) {
        if (!all.contains(key))
            all.append(key);
    }
    return all;
}

bool isTypingKey(const QKeySequence &key)
{
    if (key.count() != 1)
        return false;
    const int combination = key[0];
    const int modifiers = combination & int(Qt::KeyboardModifierMask);
    const int code = combination & ~int(Qt::KeyboardModifierMask);
    if ((modifiers & ~int(Qt::ShiftModifier | Qt::KeypadModifier)) != 0)
        return false;
    if (code < Qt::Key_Escape)
        return true;
    switch (code) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        return true;
    default:
        return false;
    }
}

bool actsIn(const CommandSpec &row, WindowMode mode)
{
    return (row.modes & (1 << mode)) != 0;
}

QString name(const CommandSpec &row)
{
    return translated(row.name);
}

QString keyText(const CommandSpec &row)
{
    QStringList texts;
    for (const QKeySequence &key : keys(row))
        texts << key.toString(QKeySequence::NativeText);
    return texts.join(QCoreApplication::translate("MainWindow", ", ", "between the keys of one command"));
}

QString holdHint(const CommandSpec &row)
{
    switch (row.command) {
    case Command::Freehand:
    case Command::Line:
    case Command::Arrow:
    case Command::Rectangle:
    case Command::Circle:
    case Command::Triangle:
        return QCoreApplication::translate("MainWindow", "Hold the button for colours and widths.");
    case Command::Eraser:
        return QCoreApplication::translate("MainWindow", "Hold the button for the width.");
    case Command::Text:
        return QCoreApplication::translate("MainWindow", "Hold the button for colour, font and size.");
    case Command::Mask:
        return QCoreApplication::translate("MainWindow", "Hold the button for the shapes.");
    default:
        return QString();
    }
}

QString toolTip(const CommandSpec &row)
{
    const QString tip = QCoreApplication::translate("MainWindow", "%1 (%2)", "a command's name and its keys")
                            .arg(name(row), keyText(row));
    const QString hint = holdHint(row);
    return hint.isEmpty() ? tip : tip + QLatin1Char('\n') + hint;
}

QString keyDescription(const CommandSpec &row)
{
    return QCoreApplication::translate("MainWindow", "Key: %1").arg(keyText(row));
}

QString sectionTitle(CommandSpec::Section section)
{
    switch (section) {
    case Section::Drawing:
        return QCoreApplication::translate("MainWindow", "Drawing");
    case Section::Picture:
        return QCoreApplication::translate("MainWindow", "Picture");
    case Section::Camera:
        return QCoreApplication::translate("MainWindow", "Camera");
    case Section::Output:
        return QCoreApplication::translate("MainWindow", "Snapshots, recording and printing");
    case Section::Modes:
        return QCoreApplication::translate("MainWindow", "Modes");
    case Section::Window:
        return QCoreApplication::translate("MainWindow", "Window");
    case Section::Film:
        return QCoreApplication::translate("MainWindow", "Film");
    case Section::Photograph:
        return QCoreApplication::translate("MainWindow", "Photograph");
    }
    return QString();
}

QString groupTitle(CommandSpec::Group group)
{
    switch (group) {
    case Group::Noting:
        return QCoreApplication::translate("MainWindow", "Noting");
    case Group::Assisting:
        return QCoreApplication::translate("MainWindow", "Assisting");
    case Group::Adjustment:
        return QCoreApplication::translate("MainWindow", "Adjustment");
    case Group::Recording:
        return QCoreApplication::translate("MainWindow", "Recording");
    case Group::None:
        break;
    }
    return QString();
}

} // namespace ActionTable

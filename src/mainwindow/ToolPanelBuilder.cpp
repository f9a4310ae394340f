#include "mainwindow/ToolPanelBuilder.h"

#include "widgets/ImageButton.h"
#include "widgets/Panel.h"

#include <QButtonGroup>
#include <QCoreApplication>

namespace {

// How a button behaves: a plain action, a toggle, or one of the exclusive drawing tools.
enum class Kind { Plain, Toggle, Tool };

struct ToolSpec
{
    ImageButton *ToolButtons::*button;
    const char *icon;
    const char *name; // translated in the main window's context
    Kind kind;
};

struct GroupSpec
{
    const char *title;
    std::initializer_list<ToolSpec> tools;
};

const GroupSpec Groups[] = {
    {QT_TRANSLATE_NOOP("MainWindow", "Noting"),
     {{&ToolButtons::line, "ICON_LINE", QT_TRANSLATE_NOOP("MainWindow", "Line"), Kind::Tool},
      {&ToolButtons::rectangle, "ICON_RETANGLE", QT_TRANSLATE_NOOP("MainWindow", "Rectangle"), Kind::Tool},
      {&ToolButtons::freehand, "ICON_FREEHAND", QT_TRANSLATE_NOOP("MainWindow", "Freehand"), Kind::Tool},
      {&ToolButtons::circle, "ICON_CIRCLE", QT_TRANSLATE_NOOP("MainWindow", "Circle"), Kind::Tool},
      {&ToolButtons::arrow, "ICON_ARROW", QT_TRANSLATE_NOOP("MainWindow", "Arrow"), Kind::Tool},
      {&ToolButtons::triangle, "ICON_TRIANGLE", QT_TRANSLATE_NOOP("MainWindow", "Triangle"), Kind::Tool},
      {&ToolButtons::eraser, "ICON_ERASE", QT_TRANSLATE_NOOP("MainWindow", "Eraser"), Kind::Tool},
      {&ToolButtons::text, "ICON_TEXT", QT_TRANSLATE_NOOP("MainWindow", "Text"), Kind::Tool},
      {&ToolButtons::eraseAll, "ICON_ERASE_ALL", QT_TRANSLATE_NOOP("MainWindow", "Erase all"), Kind::Plain},
      {&ToolButtons::clip, "ICON_COPY", QT_TRANSLATE_NOOP("MainWindow", "Clip image"), Kind::Tool},
      {&ToolButtons::hand, "ICON_HAND", QT_TRANSLATE_NOOP("MainWindow", "Hand"), Kind::Tool},
      {&ToolButtons::fillBackground, "ICON_FILL", QT_TRANSLATE_NOOP("MainWindow", "Fill background"),
       Kind::Tool}}},
    {QT_TRANSLATE_NOOP("MainWindow", "Assisting"),
     {{&ToolButtons::mask, "ICON_MASK_CIRCLE", QT_TRANSLATE_NOOP("MainWindow", "Mask"), Kind::Toggle},
      {&ToolButtons::effect, "ICON_EFFECT_COLOR", QT_TRANSLATE_NOOP("MainWindow", "Effect"), Kind::Plain}}},
    {QT_TRANSLATE_NOOP("MainWindow", "Adjustment"),
     {{&ToolButtons::zoomOut, "ICON_ZOOM_OUT", QT_TRANSLATE_NOOP("MainWindow", "Zoom out"), Kind::Plain},
      {&ToolButtons::zoomIn, "ICON_ZOOM_IN", QT_TRANSLATE_NOOP("MainWindow", "Zoom in"), Kind::Plain},
      {&ToolButtons::zoomReset, "ICON_ZOOM_RESET", QT_TRANSLATE_NOOP("MainWindow", "Reset zoom"),
       Kind::Plain},
      {&ToolButtons::autoFocus, "ICON_AUTOFOCUS", QT_TRANSLATE_NOOP("MainWindow", "Auto focus"), Kind::Plain},
      {&ToolButtons::brightnessDown, "ICON_BRIGHTNESS_REDUCE",
       QT_TRANSLATE_NOOP("MainWindow", "Brightness down"), Kind::Plain},
      {&ToolButtons::brightnessUp, "ICON_BRIGHTNESS_INCREASE",
       QT_TRANSLATE_NOOP("MainWindow", "Brightness up"), Kind::Plain},
      {&ToolButtons::rotate, "ICON_ROTATE", QT_TRANSLATE_NOOP("MainWindow", "Rotate"), Kind::Plain},
      // Users expect to turn the picture back without three more clicks.
      {&ToolButtons::rotateRev, "ICON_ROTATE_REV", QT_TRANSLATE_NOOP("MainWindow", "Rotate back"),
       Kind::Plain},
      {&ToolButtons::freeze, "ICON_FREEZE", QT_TRANSLATE_NOOP("MainWindow", "Freeze"), Kind::Toggle}}},
    {QT_TRANSLATE_NOOP("MainWindow", "Recording"),
     {{&ToolButtons::record, "ICON_RECORDING", QT_TRANSLATE_NOOP("MainWindow", "Record video"), Kind::Toggle},
      {&ToolButtons::snapshot, "ICON_CAPTURE", QT_TRANSLATE_NOOP("MainWindow", "Take snapshot"), Kind::Plain},
      {&ToolButtons::settings, "ICON_SETTING", QT_TRANSLATE_NOOP("MainWindow", "Settings"), Kind::Plain},
      {&ToolButtons::print, "ICON_PRINT", QT_TRANSLATE_NOOP("MainWindow", "Print"), Kind::Plain}}},
};

QString translated(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

} // namespace

ToolPanelBuilder::ToolPanelBuilder(Panel *panel, QObject *groupOwner)
    : m_panel(panel)
    , m_groupOwner(groupOwner)
{ }

ToolButtons ToolPanelBuilder::build()
{
    ToolButtons buttons;
    buttons.toolGroup = new QButtonGroup(m_groupOwner);
    buttons.toolGroup->setExclusive(true);
    for (const GroupSpec &group : Groups) {
        m_panel->addTitle(translated(group.title));
        for (const ToolSpec &tool : group.tools) {
            auto *button = new ImageButton(tool.icon, translated(tool.name), m_panel, QPoint(0, 0));
            button->setCheckable(tool.kind != Kind::Plain);
            if (tool.kind == Kind::Tool)
                buttons.toolGroup->addButton(button);
            m_panel->addWidget(button);
            buttons.*tool.button = button;
        }
    }
    m_panel->addStretch();

    // Fill background only opens its colour popup; it never stays selected, and it shows only
    // in Drawing Board mode.
    buttons.fillBackground->setCheckable(false);
    buttons.fillBackground->hide();
    buttons.fillBackground->setEnabled(false);
    buttons.freehand->setChecked(true);
    return buttons;
}

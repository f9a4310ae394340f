#include "mainwindow/ToolPanelBuilder.h"

#include "mainwindow/ActionTable.h"
#include "mainwindow/ToolActions.h"
#include "widgets/ImageButton.h"
#include "widgets/Panel.h"

#include <QButtonGroup>

ToolPanelBuilder::ToolPanelBuilder(Panel *panel, QObject *groupOwner)
    : m_panel(panel)
    , m_groupOwner(groupOwner)
{ }

ToolButtons ToolPanelBuilder::build()
{
    ToolButtons buttons;
    buttons.toolGroup = new QButtonGroup(m_groupOwner);
    buttons.toolGroup->setExclusive(true);
    CommandSpec::Group group = CommandSpec::Group::None;
    for (const CommandSpec &command : ActionTable::commands()) {
        if (command.group == CommandSpec::Group::None)
            continue;
        if (command.group != group) {
            group = command.group;
            ImageButton *title = m_panel->addTitle(ActionTable::groupTitle(group));
            title->setToolTip(title->text());
            title->setAccessibleName(title->text());
        }
        // The tooltip and accessible name come with the command's keys (WindowCommands).
        auto *button = new ImageButton(command.icon, m_panel, QPoint(0, 0));
        button->setCheckable(command.kind != CommandSpec::Kind::Plain);
        if (command.kind == CommandSpec::Kind::Tool)
            buttons.toolGroup->addButton(button);
        m_panel->addWidget(button);
        buttons.*command.button = button;
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

void ToolPanelBuilder::connect(const ToolButtons &buttons, ToolActions *actions)
{
    for (const CommandSpec &command : ActionTable::commands()) {
        if (!command.button)
            continue;
        ImageButton *button = buttons.*command.button;
        if (command.click)
            QObject::connect(button, &ImageButton::clicked, actions, command.click);
        if (command.hold)
            QObject::connect(button, &ImageButton::hold, actions, command.hold);
        // Zoom acts once per press, however long the press lasts.
        if (command.press)
            QObject::connect(button, &ImageButton::pressed, actions, command.press);
        if (command.release)
            QObject::connect(button, &ImageButton::released, actions, command.release);
    }
}

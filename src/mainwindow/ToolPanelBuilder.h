#pragma once

#include "mainwindow/ToolButtons.h"

class Panel;
class QObject;
class ToolActions;

// Fills the main window's side panel with its four groups of tool buttons ("Noting",
// "Assisting", "Adjustment", "Recording") from the action table, with their pictures and
// checkable states; the window connects them to their actions and keys.
//
// Threads: GUI thread only.
class ToolPanelBuilder
{
public:
    // The drawing tools' exclusive group becomes a child of `groupOwner`.
    ToolPanelBuilder(Panel *panel, QObject *groupOwner);

    // Builds every group, closes the panel with its stretch and returns the buttons.
    ToolButtons build();
    // Connects each button of `buttons` to the actions its row of the action table names.
    static void connect(const ToolButtons &buttons, ToolActions *actions);

private:
    Panel *m_panel;
    QObject *m_groupOwner;
};

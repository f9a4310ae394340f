#pragma once

#include "mainwindow/ToolButtons.h"

class Panel;
class QObject;

// Fills the main window's side panel with its four groups of tool buttons ("Noting",
// "Assisting", "Adjustment", "Recording"), with their pictures, tooltips and checkable states;
// the window connects them to its actions.
//
// Threads: GUI thread only.
class ToolPanelBuilder
{
public:
    // The drawing tools' exclusive group becomes a child of `groupOwner`.
    ToolPanelBuilder(Panel *panel, QObject *groupOwner);

    // Builds every group, closes the panel with its stretch and returns the buttons.
    ToolButtons build();

private:
    Panel *m_panel;
    QObject *m_groupOwner;
};

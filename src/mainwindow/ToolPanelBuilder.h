#pragma once

#include "ToolButtons.h"

#include <QString>

class MainWindow;
class Panel;

// Fills the main window's side panel with its four groups of tool buttons ("Noting",
// "Assisting", "Adjustment", "Recording") and connects each button to its window slot.
//
// Threads: GUI thread only.
class ToolPanelBuilder
{
public:
    using Slot = void (MainWindow::*)();

    ToolPanelBuilder(MainWindow *window, Panel *panel);

    // Builds every group, closes the panel with its stretch and returns the buttons.
    ToolButtons build();

private:
    ImageButton *addToolButton(const QString &iconName, const QString &toolTip, Slot click,
                               Slot hold, QButtonGroup *group);
    void buildNoting();
    void buildAssisting();
    void buildAdjustment();
    void buildRecording();

    MainWindow *m_window;
    Panel *m_panel;
    ToolButtons m_buttons;
};

#pragma once

#include "toolwindows/ToolWindow.h"

class ImageButton;
class ToolWindowHost;

// The mask popup of the mask button: circle, rectangle, left half, top half. A click lays the
// mask over the canvas in use, checks the anchor button and shows the mask on it, and lets the
// on-screen display announce it; the popup stays open.
//
// Threads: GUI thread only.
class MaskToolWindow : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr int ButtonCount = 4;

    MaskToolWindow(QWidget *anchor, ToolWindowHost *host);

    // The button of mask value `mask` (1 to 4).
    ImageButton *maskButton(int mask) const { return m_buttons[mask - 1]; }

public slots:
    void modeChanged();
    void maskChanged();

private:
    ImageButton *m_buttons[ButtonCount] = {}; // button i stands for mask value i + 1
    ToolWindowHost *m_host = nullptr;
};

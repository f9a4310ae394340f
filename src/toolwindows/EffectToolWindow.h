#pragma once

#include "toolwindows/ToolWindow.h"

class ImageButton;
class ToolWindowHost;

// The colour effect popup of the effect button: colour, black and white, negative, mosaic. A
// click applies the effect to the canvas in use, shows it on the anchor button and lets the
// on-screen display announce it; the popup stays open.
//
// Threads: GUI thread only.
class EffectToolWindow : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr int ButtonCount = 4;

    EffectToolWindow(QWidget *anchor, ToolWindowHost *host);

    ImageButton *effectButton(int effect) const { return m_buttons[effect]; }

public slots:
    void modeChanged();
    void effectChanged();

private:
    ToolWindowHost *m_host = nullptr;
    ImageButton *m_buttons[ButtonCount] = {};
};

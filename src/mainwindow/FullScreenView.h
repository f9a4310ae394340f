#pragma once

#include <QList>
#include <QPointer>
#include <QRect>

class StyleWindow;
class QWidget;

// Full screen for the main window: the window takes its whole screen, the page stack (the
// current canvas with its indications) covers the window, and every other child of the window
// (tool panel, side and about buttons, mode buttons, window buttons, bars, sliders) is hidden;
// leaving shows exactly those again and gives the window back its geometry, maximised if it was.
// The window lays the page stack out over its whole area while isOn().
//
// Threads: GUI thread only.
class FullScreenView
{
public:
    FullScreenView(StyleWindow *window, QWidget *pageStack);

    bool isOn() const { return m_on; }
    void enter();
    void leave();

    // A mode switch shows and hides the bars of the modes; around it the hidden widgets come
    // back (so the switch finds them as it left them) and go again afterwards.
    void showHidden();
    void hideShown();

private:
    StyleWindow *m_window;
    QWidget *m_pageStack;
    bool m_on = false;
    bool m_wasMaximized = false;
    QRect m_normalGeometry;
    QList<QPointer<QWidget>> m_hidden;
};

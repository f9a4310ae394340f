#pragma once

#include "toolwindows/ToolWindow.h"

#include <QColor>
#include <QPointer>

class ImageButton;
class ImageCanvas;
class ToolWindowHost;

// The background colour popup of the drawing board: a click feeds the canvas in use a still
// picture of the chosen colour and remembers the colour as the canvas's background. The popup
// stays open and checks the background of the canvas in use after every mode switch.
//
// Threads: GUI thread only.
class FillBackgroundToolWindow : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr int ColorCount = 4;
    static QColor colorAt(int index);

    FillBackgroundToolWindow(QWidget *anchor, ToolWindowHost *host, const QString &title,
                             const QString &colorLabel);

    bool hasRow() const { return m_hasRow; }
    ImageButton *colorButton(int index) const { return m_buttons[index]; }

public slots:
    void modeChanged();
    void colorChanged();

private:
    bool m_hasRow = false;
    ImageButton *m_buttons[ColorCount] = {};
    QPointer<ImageCanvas> m_canvas;
    ToolWindowHost *m_host = nullptr;
};

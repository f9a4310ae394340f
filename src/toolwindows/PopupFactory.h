#pragma once

class AboutToolWindow;
class ColorToolWindow;
class EffectToolWindow;
class FillBackgroundToolWindow;
class MaskToolWindow;
class QWidget;
class SettingsToolWindow;
class TextToolWindow;
class ToolWindowHost;

// Builds the popup each main window button opens, with the title and the rows that button's
// popup has. The caller makes it the one open popup and shows it.
//
// Threads: GUI thread only.
class PopupFactory
{
public:
    // The drawing tools whose long press opens the line style popup.
    enum LineStyle { Line, Rectangle, Freehand, Circle, Arrow, Triangle, Eraser };

    // The canvas tool (CanvasTool) a long press on that tool's button selects.
    static int toolOf(LineStyle style);
    // Titles are translated as the popup opens.
    static ColorToolWindow *lineStyle(LineStyle style, QWidget *anchor, ToolWindowHost *host);
    static FillBackgroundToolWindow *fillBackground(QWidget *anchor, ToolWindowHost *host);
    static TextToolWindow *text(QWidget *anchor, ToolWindowHost *host);
    static MaskToolWindow *mask(QWidget *anchor, ToolWindowHost *host);
    static EffectToolWindow *effect(QWidget *anchor, ToolWindowHost *host);
    static SettingsToolWindow *settings(QWidget *anchor, ToolWindowHost *host);
    static AboutToolWindow *about(QWidget *anchor, ToolWindowHost *host);
};

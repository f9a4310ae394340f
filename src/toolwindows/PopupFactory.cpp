#include "toolwindows/PopupFactory.h"

#include "canvas/CanvasTypes.h"
#include "toolwindows/AboutToolWindow.h"
#include "toolwindows/ColorToolWindow.h"
#include "toolwindows/EffectToolWindow.h"
#include "toolwindows/FillBackgroundToolWindow.h"
#include "toolwindows/MaskToolWindow.h"
#include "toolwindows/SettingsToolWindow.h"
#include "toolwindows/TextToolWindow.h"
#include "toolwindows/ToolWindowHost.h"

#include <QCoreApplication>

int PopupFactory::toolOf(LineStyle style)
{
    switch (style) {
    case Line:
        return TOOL_LINE;
    case Rectangle:
        return TOOL_RECTANGLE;
    case Freehand:
        return TOOL_FREEHAND;
    case Circle:
        return TOOL_CIRCLE;
    case Arrow:
        return TOOL_ARROW;
    case Triangle:
        return TOOL_TRIANGLE;
    case Eraser:
        return TOOL_ERASER;
    }
    return TOOL_HAND;
}

ColorToolWindow *PopupFactory::lineStyle(LineStyle style, QWidget *anchor, ToolWindowHost *host)
{
    // The line tools have no fill; the eraser has neither colour.
    const QString none;
    switch (style) {
    case Line:
        return new ColorToolWindow(anchor, host, QObject::tr("Line"), host->lineWidthLabel(),
                                   host->lineColorLabel(), none);
    case Rectangle:
        return new ColorToolWindow(anchor, host, QObject::tr("Rectangle"), host->lineWidthLabel(),
                                   host->lineColorLabel(), host->fillColorLabel());
    case Freehand: {
        auto *pen = new ColorToolWindow(anchor, host, QObject::tr("Freehand"), host->lineWidthLabel(),
                                        host->lineColorLabel(), none);
        pen->offerHighlighter();
        return pen;
    }
    case Circle:
        return new ColorToolWindow(anchor, host, QObject::tr("Circle"), host->lineWidthLabel(),
                                   host->lineColorLabel(), host->fillColorLabel());
    case Arrow:
        return new ColorToolWindow(anchor, host, QObject::tr("Arrow"), host->lineWidthLabel(),
                                   host->lineColorLabel(), host->fillColorLabel());
    case Triangle:
        return new ColorToolWindow(anchor, host, QObject::tr("Triangle"), host->lineWidthLabel(),
                                   host->lineColorLabel(), host->fillColorLabel());
    case Eraser:
        return new ColorToolWindow(anchor, host, QObject::tr("Eraser"), host->widthLabel(), none, none);
    }
    return nullptr;
}

FillBackgroundToolWindow *PopupFactory::fillBackground(QWidget *anchor, ToolWindowHost *host)
{
    // The main window's own text, translated with its other texts.
    return new FillBackgroundToolWindow(
        anchor, host, QCoreApplication::translate("MainWindow", "Background Color"), host->fillColorLabel());
}

TextToolWindow *PopupFactory::text(QWidget *anchor, ToolWindowHost *host)
{
    return new TextToolWindow(anchor, host);
}

MaskToolWindow *PopupFactory::mask(QWidget *anchor, ToolWindowHost *host)
{
    return new MaskToolWindow(anchor, host);
}

EffectToolWindow *PopupFactory::effect(QWidget *anchor, ToolWindowHost *host)
{
    return new EffectToolWindow(anchor, host);
}

SettingsToolWindow *PopupFactory::settings(QWidget *anchor, ToolWindowHost *host)
{
    return new SettingsToolWindow(anchor, host);
}

AboutToolWindow *PopupFactory::about(QWidget *anchor, ToolWindowHost *host)
{
    return new AboutToolWindow(anchor, host, host->aboutPicture());
}

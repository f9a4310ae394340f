#include "mainwindow/ToolActions.h"

#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "mainwindow/PopupSlot.h"
#include "mainwindow/PrintControl.h"
#include "mainwindow/RecordingControl.h"
#include "mainwindow/SnapshotControl.h"
#include "sources/live/LiveSource.h"
#include "toolwindows/ColorToolWindow.h"
#include "toolwindows/EffectToolWindow.h"
#include "toolwindows/FillBackgroundToolWindow.h"
#include "toolwindows/MaskToolWindow.h"
#include "toolwindows/PopupFactory.h"
#include "toolwindows/SettingsToolWindow.h"
#include "toolwindows/TextToolWindow.h"
#include "widgets/ImageButton.h"

ToolActions::ToolActions(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_tools(parts.tools)
    , m_popup(parts.popup)
    , m_host(parts.host)
    , m_live(parts.liveSource)
    , m_snapshots(parts.snapshots)
    , m_recording(parts.recording)
    , m_printing(parts.printing)
    , m_currentCanvas(parts.currentCanvas)
    , m_currentOsd(parts.currentOsd)
{ }

// --- drawing tools ----------------------------------------------------------------------

void ToolActions::line()
{
    canvas()->setTool(TOOL_LINE);
    m_popup->keepOwn(m_tools->line);
}

void ToolActions::rectangle()
{
    canvas()->setTool(TOOL_RECTANGLE);
    m_popup->keepOwn(m_tools->rectangle);
}

void ToolActions::freehand()
{
    canvas()->setTool(TOOL_FREEHAND);
    m_popup->keepOwn(m_tools->freehand);
}

void ToolActions::circle()
{
    canvas()->setTool(TOOL_CIRCLE);
    m_popup->keepOwn(m_tools->circle);
}

void ToolActions::arrow()
{
    canvas()->setTool(TOOL_ARROW);
    m_popup->keepOwn(m_tools->arrow);
}

void ToolActions::triangle()
{
    canvas()->setTool(TOOL_TRIANGLE);
    m_popup->keepOwn(m_tools->triangle);
}

void ToolActions::erase()
{
    canvas()->setTool(TOOL_ERASER);
    m_popup->keepOwn(m_tools->eraser);
}

void ToolActions::text()
{
    canvas()->setTool(TOOL_TEXT);
    m_popup->keepOwn(m_tools->text);
}

void ToolActions::clip()
{
    m_popup->close();
    canvas()->setTool(TOOL_CLIP);
}

void ToolActions::hand()
{
    m_popup->close();
    canvas()->setTool(TOOL_HAND);
}

void ToolActions::eraseAll()
{
    m_popup->close();
    canvas()->clearAnnotations();
}

void ToolActions::fillBackground()
{
    // The background colour is chosen in the button's popup; the click itself selects nothing.
    m_popup->keepOwn(m_tools->fillBackground);
}

// --- masks and effects ------------------------------------------------------------------

void ToolActions::mask()
{
    m_popup->keepOwn(m_tools->mask);
    // Letting go of the button whose hold opened the shapes changes nothing: the mask keeps
    // hiding what it hides while a shape is being chosen.
    if (m_tools->mask->isEndingHold()) {
        m_tools->mask->setChecked(!m_tools->mask->isChecked());
        return;
    }
    if (m_tools->mask->isChecked()) {
        canvas()->pipeline()->setMask(m_rememberedMask);
    } else {
        m_rememberedMask = canvas()->pipeline()->mask();
        canvas()->pipeline()->setMask(MASK_NONE);
    }
}

// --- picture adjustments ----------------------------------------------------------------

void ToolActions::zoomInStart()
{
    m_popup->close();
    canvas()->zoomIn();
    osd()->showZoomIn();
}

void ToolActions::zoomInStop()
{
    m_popup->close();
}

void ToolActions::zoomOutStart()
{
    m_popup->close();
    canvas()->zoomOut();
    osd()->showZoomOut();
}

void ToolActions::zoomOutStop()
{
    m_popup->close();
}

void ToolActions::zoomReset()
{
    m_popup->close();
    canvas()->zoomBestFit();
    osd()->showZoomIn();
}

void ToolActions::autoFocus()
{
    m_popup->close();
    if (!m_live->isOpen())
        return;
    m_live->triggerAutoFocus();
    osd()->showAutoFocus();
}

void ToolActions::brightnessDown()
{
    m_popup->close();
    m_live->brightnessDown();
    osd()->showBrightness();
}

void ToolActions::brightnessUp()
{
    m_popup->close();
    m_live->brightnessUp();
    osd()->showBrightness();
}

void ToolActions::rotate()
{
    m_popup->close();
    canvas()->rotateClockwise();
    osd()->showRotate();
}

void ToolActions::rotateRev()
{
    m_popup->close();
    canvas()->rotateCounterClockwise();
    osd()->showRotate();
}

void ToolActions::macro()
{
    // No button triggers it: the panel offers no Macro button.
    m_popup->close();
}

void ToolActions::freeze()
{
    m_popup->close();
    canvas()->pipeline()->setFreeze(m_tools->freeze->isChecked());
    osd()->showFreeze();
}

// --- popups, snapshots, recording, printing -------------------------------------------
// The buttons are wired to these slots from the start; the popup windows, the snapshot and
// recording control and the printing fill them in.

void ToolActions::openLineStylePopup(int style, ImageButton *anchor)
{
    const auto lineStyle = static_cast<PopupFactory::LineStyle>(style);
    canvas()->setTool(PopupFactory::toolOf(lineStyle));
    m_popup->open(PopupFactory::lineStyle(lineStyle, anchor, m_host), anchor);
}

void ToolActions::lineHold()
{
    openLineStylePopup(PopupFactory::Line, m_tools->line);
}

void ToolActions::rectangleHold()
{
    openLineStylePopup(PopupFactory::Rectangle, m_tools->rectangle);
}

void ToolActions::freehandHold()
{
    openLineStylePopup(PopupFactory::Freehand, m_tools->freehand);
}

void ToolActions::circleHold()
{
    openLineStylePopup(PopupFactory::Circle, m_tools->circle);
}

void ToolActions::arrowHold()
{
    openLineStylePopup(PopupFactory::Arrow, m_tools->arrow);
}

void ToolActions::triangleHold()
{
    openLineStylePopup(PopupFactory::Triangle, m_tools->triangle);
}

void ToolActions::eraseHold()
{
    openLineStylePopup(PopupFactory::Eraser, m_tools->eraser);
}

void ToolActions::textHold()
{
    canvas()->setTool(TOOL_TEXT);
    m_popup->open(PopupFactory::text(m_tools->text, m_host), m_tools->text);
}

void ToolActions::fillBackgroundHold()
{
    m_popup->open(PopupFactory::fillBackground(m_tools->fillBackground, m_host), m_tools->fillBackground);
}

void ToolActions::maskHold()
{
    m_popup->open(PopupFactory::mask(m_tools->mask, m_host), m_tools->mask);
}

void ToolActions::effectHold()
{
    m_popup->open(PopupFactory::effect(m_tools->effect, m_host), m_tools->effect);
}

void ToolActions::settings()
{
    m_popup->open(PopupFactory::settings(m_tools->settings, m_host), m_tools->settings);
}

void ToolActions::record()
{
    m_popup->close();
    m_recording->record();
}

void ToolActions::snapshot()
{
    m_popup->close();
    m_snapshots->snapshot(canvas());
}

void ToolActions::print()
{
    m_popup->close();
    m_printing->print(canvas()->pipeline()->outputImage());
}

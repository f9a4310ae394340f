#include "ToolPanelBuilder.h"

#include "ImageButton.h"
#include "MainWindow.h"
#include "Panel.h"

#include <QButtonGroup>

ToolPanelBuilder::ToolPanelBuilder(MainWindow *window, Panel *panel)
    : m_window(window), m_panel(panel)
{
}

ToolButtons ToolPanelBuilder::build()
{
    buildNoting();
    buildAssisting();
    buildAdjustment();
    buildRecording();
    m_panel->addStretch();
    return m_buttons;
}

ImageButton *ToolPanelBuilder::addToolButton(const QString &iconName, const QString &toolTip,
                                             Slot click, Slot hold, QButtonGroup *group)
{
    auto *button = new ImageButton(iconName, toolTip, m_panel, QPoint(0, 0));
    if (click)
        QObject::connect(button, &ImageButton::clicked, m_window, click);
    if (hold)
        QObject::connect(button, &ImageButton::hold, m_window, hold);
    if (group) {
        button->setCheckable(true);
        group->addButton(button);
    }
    m_panel->addWidget(button);
    return button;
}

void ToolPanelBuilder::buildNoting()
{
    auto *group = new QButtonGroup(m_window);
    group->setExclusive(true);
    m_buttons.toolGroup = group;
    ToolButtons &b = m_buttons;

    m_panel->addTitle(MainWindow::tr("Noting"));
    b.line = addToolButton("ICON_LINE", MainWindow::tr("Line"), &MainWindow::line,
                           &MainWindow::lineHold, group);
    b.rectangle = addToolButton("ICON_RETANGLE", MainWindow::tr("Rectangle"),
                                &MainWindow::rectangle, &MainWindow::rectangleHold, group);
    b.freehand = addToolButton("ICON_FREEHAND", MainWindow::tr("Freehand"),
                               &MainWindow::freehand, &MainWindow::freehandHold, group);
    b.circle = addToolButton("ICON_CIRCLE", MainWindow::tr("Circle"), &MainWindow::circle,
                             &MainWindow::circleHold, group);
    b.arrow = addToolButton("ICON_ARROW", MainWindow::tr("Arrow"), &MainWindow::arrow,
                            &MainWindow::arrowHold, group);
    b.triangle = addToolButton("ICON_TRIANGLE", MainWindow::tr("Triangle"),
                               &MainWindow::triangle, &MainWindow::triangleHold, group);
    b.eraser = addToolButton("ICON_ERASE", MainWindow::tr("Eraser"), &MainWindow::erase,
                             &MainWindow::eraseHold, group);
    b.text = addToolButton("ICON_TEXT", MainWindow::tr("Text"), &MainWindow::text,
                           &MainWindow::textHold, group);
    b.eraseAll = addToolButton("ICON_ERASE_ALL", MainWindow::tr("Erase all"),
                               &MainWindow::eraseAll, nullptr, nullptr);
    b.clip = addToolButton("ICON_COPY", MainWindow::tr("Clip image"), &MainWindow::clip,
                           nullptr, group);
    b.hand = addToolButton("ICON_HAND", MainWindow::tr("Hand"), &MainWindow::hand, nullptr,
                           group);
    b.fillBackground = addToolButton("ICON_FILL", MainWindow::tr("Fill background"),
                                     &MainWindow::fillBackground,
                                     &MainWindow::fillBackgroundHold, group);
    // Fill background only opens its colour popup; it never stays selected.
    b.fillBackground->setCheckable(false);

    b.fillBackground->hide();
    b.fillBackground->setEnabled(false);
    b.freehand->setChecked(true);
}

void ToolPanelBuilder::buildAssisting()
{
    ToolButtons &b = m_buttons;
    m_panel->addTitle(MainWindow::tr("Assisting"));
    b.mask = addToolButton("ICON_MASK_CIRCLE", MainWindow::tr("Mask"), &MainWindow::mask,
                           &MainWindow::maskHold, nullptr);
    b.mask->setCheckable(true);
    m_window->setRememberedMask(1);
    b.effect = addToolButton("ICON_EFFECT_COLOR", MainWindow::tr("Effect"), nullptr,
                             &MainWindow::effectHold, nullptr);
}

void ToolPanelBuilder::buildAdjustment()
{
    ToolButtons &b = m_buttons;
    m_panel->addTitle(MainWindow::tr("Adjustment"));
    // Zoom acts once per press, however long the press lasts.
    b.zoomOut = addToolButton("ICON_ZOOM_OUT", MainWindow::tr("Zoom out"), nullptr, nullptr,
                              nullptr);
    QObject::connect(b.zoomOut, &ImageButton::pressed, m_window, &MainWindow::zoomOutStart);
    QObject::connect(b.zoomOut, &ImageButton::released, m_window, &MainWindow::zoomOutStop);
    b.zoomIn = addToolButton("ICON_ZOOM_IN", MainWindow::tr("Zoom in"), nullptr, nullptr,
                             nullptr);
    QObject::connect(b.zoomIn, &ImageButton::pressed, m_window, &MainWindow::zoomInStart);
    QObject::connect(b.zoomIn, &ImageButton::released, m_window, &MainWindow::zoomInStop);
    b.zoomReset = addToolButton("ICON_ZOOM_RESET", MainWindow::tr("Reset zoom"),
                                &MainWindow::zoomReset, nullptr, nullptr);
    b.autoFocus = addToolButton("ICON_AUTOFOCUS", MainWindow::tr("Auto focus"),
                                &MainWindow::autoFocus, nullptr, nullptr);
    b.brightnessDown = addToolButton("ICON_BRIGHTNESS_REDUCE",
                                     MainWindow::tr("Brightness down"),
                                     &MainWindow::brightnessDown, nullptr, nullptr);
    b.brightnessUp = addToolButton("ICON_BRIGHTNESS_INCREASE", MainWindow::tr("Brightness up"),
                                   &MainWindow::brightnessUp, nullptr, nullptr);
    b.rotate = addToolButton("ICON_ROTATE", MainWindow::tr("Rotate"), &MainWindow::rotate,
                             nullptr, nullptr);
    // Users expect to turn the picture back without three more clicks.
    b.rotateRev = addToolButton("ICON_ROTATE_REV", MainWindow::tr("Rotate back"),
                                &MainWindow::rotateRev, nullptr, nullptr);
    b.freeze = addToolButton("ICON_FREEZE", MainWindow::tr("Freeze"), &MainWindow::freeze,
                             nullptr, nullptr);
    b.freeze->setCheckable(true);
}

void ToolPanelBuilder::buildRecording()
{
    ToolButtons &b = m_buttons;
    m_panel->addTitle(MainWindow::tr("Recording"));
    b.record = addToolButton("ICON_RECORDING", MainWindow::tr("Record video"),
                             &MainWindow::record, nullptr, nullptr);
    b.record->setCheckable(true);
    b.snapshot = addToolButton("ICON_CAPTURE", MainWindow::tr("Take snapshot"),
                               &MainWindow::snapshot, nullptr, nullptr);
    b.settings = addToolButton("ICON_SETTING", MainWindow::tr("Settings"),
                               &MainWindow::settings, nullptr, nullptr);
    b.print = addToolButton("ICON_PRINT", MainWindow::tr("Print"), &MainWindow::print, nullptr,
                            nullptr);
}

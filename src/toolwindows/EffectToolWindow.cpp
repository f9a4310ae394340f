#include "toolwindows/EffectToolWindow.h"

#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/SkinPicture.h"
#include "toolwindows/ToolWindowHost.h"
#include "widgets/ImageButton.h"

EffectToolWindow::EffectToolWindow(QWidget *anchor, ToolWindowHost *host)
    : ToolWindow(SkinPicture::load(QStringLiteral(":/icons/Background/POP_BK_TOOL.png")), anchor,
                 host->hostWidget(), tr("Color Effect"))
    , m_host(host)
{
    QStringList icons;
    for (int i = 0; i < ButtonCount; ++i)
        icons << QStringLiteral("ICON_EFFECT_SUB_%1").arg(EFFECT_ICON_NAMES[i]);
    addToolRow(icons, m_buttons);
    for (ImageButton *button : m_buttons)
        connect(button, &ImageButton::clicked, this, &EffectToolWindow::effectChanged);

    modeChanged();
    host->connectModeChanged(this, [this] { modeChanged(); });
}

void EffectToolWindow::modeChanged()
{
    ImageCanvas *canvas = m_host->currentCanvas();
    if (!canvas)
        return;
    const int effect = canvas->pipeline()->effect();
    if (effect >= 0 && effect < ButtonCount)
        m_buttons[effect]->setChecked(true);
}

void EffectToolWindow::effectChanged()
{
    for (int i = 0; i < ButtonCount; ++i) {
        if (m_buttons[i] != sender())
            continue;
        ImageCanvas *canvas = m_host->currentCanvas();
        if (!canvas)
            return;
        canvas->pipeline()->setEffect(i);
        if (auto *button = qobject_cast<ImageButton *>(anchor()))
            button->setImage(QStringLiteral("ICON_EFFECT_") + EFFECT_ICON_NAMES[i]);
        if (OSDProcessor *osd = m_host->osdProcessor(canvas))
            osd->showColor();
        return;
    }
}

#include "toolwindows/MaskToolWindow.h"

#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/SkinPicture.h"
#include "toolwindows/ToolWindowHost.h"
#include "widgets/ImageButton.h"

MaskToolWindow::MaskToolWindow(QWidget *anchor, ToolWindowHost *host)
    : ToolWindow(SkinPicture::load(QStringLiteral(":/icons/Background/POP_BK_TOOL.png")), anchor,
                 host->hostWidget(), tr("Effect"))
    , m_host(host)
{
    QStringList icons;
    for (int i = 0; i < ButtonCount; ++i)
        icons << QStringLiteral("ICON_MASK_SUB_%1").arg(MASK_ICON_NAMES[i + 1]);
    addToolRow(icons, m_buttons);
    for (ImageButton *button : m_buttons)
        connect(button, &ImageButton::clicked, this, &MaskToolWindow::maskChanged);

    host->connectModeChanged(this, [this] { modeChanged(); });
    modeChanged();
}

void MaskToolWindow::modeChanged()
{
    ImageCanvas *canvas = m_host->currentCanvas();
    if (!canvas)
        return;
    const int mask = canvas->pipeline()->mask();
    if (mask >= 1 && mask <= ButtonCount)
        m_buttons[mask - 1]->setChecked(true);
}

void MaskToolWindow::maskChanged()
{
    for (int i = 0; i < ButtonCount; ++i) {
        if (m_buttons[i] != sender())
            continue;
        ImageCanvas *canvas = m_host->currentCanvas();
        if (!canvas)
            return;
        const int mask = i + 1;
        canvas->pipeline()->setMask(mask);
        if (auto *button = qobject_cast<ImageButton *>(anchor())) {
            button->setChecked(true);
            button->setImage(QStringLiteral("ICON_MASK_") + MASK_ICON_NAMES[mask]);
        }
        if (OSDProcessor *osd = m_host->osdProcessor(canvas))
            osd->showMask();
        return;
    }
}

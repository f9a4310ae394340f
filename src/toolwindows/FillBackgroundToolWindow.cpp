#include "toolwindows/FillBackgroundToolWindow.h"

#include "canvas/ImageCanvas.h"
#include "common/SkinPicture.h"
#include "toolwindows/ToolWindowHost.h"
#include "widgets/ImageButton.h"

#include <QButtonGroup>
#include <QLabel>

namespace {

const char *const ColorNames[FillBackgroundToolWindow::ColorCount] = {"WHITE", "BLACK", "YELLOW", "SKY"};
const QRgb Colors[FillBackgroundToolWindow::ColorCount] = {0xFFFFFFFF, 0xFF000000, 0xFFFFFF00, 0xFF0000FF};

} // namespace

QColor FillBackgroundToolWindow::colorAt(int index)
{
    return QColor::fromRgba(Colors[index]);
}

FillBackgroundToolWindow::FillBackgroundToolWindow(QWidget *anchor, ToolWindowHost *host,
                                                   const QString &title, const QString &colorLabel)
    : ToolWindow(QImage(), anchor, host->hostWidget(), title)
    , m_hasRow(!colorLabel.isEmpty())
    , m_canvas(host->currentCanvas())
    , m_host(host)
{
    setBackground(SkinPicture::load(QStringLiteral(":/icons/Background/POP_BK_COLOR_1LINE")));
    placeBesideAnchor();
    setStyleSheet(QStringLiteral("font-family: Arial; font-size: ") + QStringLiteral("15")
                  + QStringLiteral("px; color: white;"));

    if (m_hasRow) {
        (new QLabel(colorLabel, this))->move(8, 22);
        auto *group = new QButtonGroup(this);
        group->setExclusive(true);
        for (int i = 0; i < ColorCount; ++i) {
            auto *button = new ImageButton(
                QStringLiteral("ICON_FILL_COLOR_%1").arg(QLatin1String(ColorNames[i])), this,
                QPoint(130 + i * 33, 20));
            button->setCheckable(true);
            connect(button, &ImageButton::clicked, this, &FillBackgroundToolWindow::colorChanged);
            group->addButton(button);
            m_buttons[i] = button;
        }
    }

    modeChanged();
    host->connectModeChanged(this, [this] { modeChanged(); });
}

void FillBackgroundToolWindow::modeChanged()
{
    m_canvas = m_host->currentCanvas();
    if (!m_hasRow || !m_canvas)
        return;
    const QColor background = m_canvas->drawingStyle().backgroundColor;
    int index = 0;
    for (int i = 0; i < ColorCount; ++i) {
        if (background == colorAt(i))
            index = i;
    }
    m_buttons[index]->setChecked(true);
}

void FillBackgroundToolWindow::colorChanged()
{
    if (!m_canvas)
        return;
    for (int i = 0; i < ColorCount; ++i) {
        if (m_buttons[i] && m_buttons[i] == sender()) {
            m_canvas->fillBackground(colorAt(i));
            return;
        }
    }
}

#include "toolwindows/ColorToolWindow.h"

#include "canvas/ImageCanvas.h"
#include "common/SkinPicture.h"
#include "toolwindows/ToolWindowHost.h"
#include "widgets/ImageButton.h"

#include <QButtonGroup>
#include <QLabel>

namespace {

const int LineWidths[ColorToolWindow::WidthCount] = {3, 6, 9, 12};
const char *const ColorNames[ColorToolWindow::ColorCount + 1] = {"BLACK", "RED", "YELLOW", "SKY", "NONE"};
const QRgb Colors[ColorToolWindow::ColorCount] = {0xFF000000, 0xFFFF0000, 0xFFFFFF00, 0xFF0000FF};
const int ButtonX = 152;
const int ButtonStep = 33;

QButtonGroup *exclusiveGroup(QObject *parent)
{
    auto *group = new QButtonGroup(parent);
    group->setExclusive(true);
    return group;
}

// Index of the last table colour equal to `colour`, 0 when none is.
int colorIndex(const QColor &colour)
{
    int index = 0;
    for (int i = 0; i < ColorToolWindow::ColorCount; ++i) {
        if (colour == ColorToolWindow::colorAt(i))
            index = i;
    }
    return index;
}

template<std::size_t N>
int indexOfSender(ImageButton *const (&buttons)[N], const QObject *sender)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (buttons[i] && buttons[i] == sender)
            return int(i);
    }
    return -1;
}

} // namespace

int ColorToolWindow::lineWidthAt(int index)
{
    return LineWidths[index];
}

QColor ColorToolWindow::colorAt(int index)
{
    return QColor::fromRgba(Colors[index]);
}

ColorToolWindow::ColorToolWindow(QWidget *anchor, ToolWindowHost *host, const QString &title,
                                 const QString &widthLabel, const QString &lineColorLabel,
                                 const QString &fillColorLabel)
    : ToolWindow(QImage(), anchor, host->hostWidget(), title)
    , m_canvas(host->currentCanvas())
    , m_host(host)
{
    m_hasLineColorRow = !lineColorLabel.isEmpty();
    m_hasFillRow = !fillColorLabel.isEmpty();

    // The loader finds the ".png" picture behind a name without extension.
    QString picture = QStringLiteral(":/icons/Background/POP_BK_COLOR_1LINE");
    if (!fillColorLabel.isEmpty())
        picture = QStringLiteral(":/icons/Background/POP_BK_COLOR_3LINE");
    else if (!lineColorLabel.isEmpty())
        picture = QStringLiteral(":/icons/Background/POP_BK_COLOR_2LINE");
    setBackground(SkinPicture::load(picture));
    placeBesideAnchor();

    setStyleSheet(QStringLiteral("font-family: Arial; font-size: ") + QStringLiteral("15")
                  + QStringLiteral("px; color: white;"));

    (new QLabel(widthLabel, this))->move(8, 22);
    QButtonGroup *widthGroup = exclusiveGroup(this);
    for (int i = 0; i < WidthCount; ++i) {
        auto *button = new ImageButton(QStringLiteral("ICON_LINE_WIDTH_%1").arg(i + 1), this,
                                       QPoint(ButtonX + i * ButtonStep, 20));
        button->setCheckable(true);
        connect(button, &ImageButton::clicked, this, &ColorToolWindow::lineWidthChanged);
        widthGroup->addButton(button);
        m_widthButtons[i] = button;
    }

    if (m_hasLineColorRow) {
        (new QLabel(lineColorLabel, this))->move(8, 45);
        QButtonGroup *group = exclusiveGroup(this);
        for (int i = 0; i < ColorCount; ++i) {
            auto *button = new ImageButton(
                QStringLiteral("ICON_LINE_COLOR_%1").arg(QLatin1String(ColorNames[i])), this,
                QPoint(ButtonX + i * ButtonStep, 43));
            button->setCheckable(true);
            connect(button, &ImageButton::clicked, this, &ColorToolWindow::colorChanged);
            group->addButton(button);
            m_lineColorButtons[i] = button;
        }
    }

    if (m_hasLineColorRow && m_hasFillRow) {
        (new QLabel(fillColorLabel, this))->move(8, 68);
        QButtonGroup *group = exclusiveGroup(this);
        for (int i = 0; i <= FillNone; ++i) {
            auto *button = new ImageButton(
                QStringLiteral("ICON_FILL_COLOR_%1").arg(QLatin1String(ColorNames[i])), this,
                QPoint(ButtonX + i * ButtonStep, 67));
            button->setCheckable(true);
            connect(button, &ImageButton::clicked, this, &ColorToolWindow::fillColorChanged);
            group->addButton(button);
            m_fillButtons[i] = button;
        }
        // NONE stands left of BLACK.
        m_fillButtons[FillNone]->move(ButtonX - ButtonStep, 67);
    }

    modeChanged();
    host->connectModeChanged(this, [this] { modeChanged(); });
}

void ColorToolWindow::modeChanged()
{
    m_canvas = m_host->currentCanvas();
    if (!m_canvas)
        return;
    const AnnotationTools::Style style = m_canvas->drawingStyle();

    int widthIndex = 0;
    for (int i = 0; i < WidthCount; ++i) {
        if (style.lineWidth == LineWidths[i])
            widthIndex = i;
    }
    m_widthButtons[widthIndex]->setChecked(true);

    if (m_hasLineColorRow)
        m_lineColorButtons[colorIndex(style.lineColor)]->setChecked(true);

    if (m_hasLineColorRow && m_hasFillRow) {
        const int index = style.fillEnabled ? colorIndex(style.fillColor) : FillNone;
        m_fillButtons[index]->setChecked(true);
    }
}

void ColorToolWindow::lineWidthChanged()
{
    const int index = indexOfSender(m_widthButtons, sender());
    if (index < 0 || !m_canvas)
        return;
    AnnotationTools::Style style = m_canvas->drawingStyle();
    style.lineWidth = LineWidths[index];
    m_canvas->setDrawingStyle(style);
}

void ColorToolWindow::colorChanged()
{
    const int index = indexOfSender(m_lineColorButtons, sender());
    if (index < 0 || !m_canvas)
        return;
    AnnotationTools::Style style = m_canvas->drawingStyle();
    style.lineColor = colorAt(index);
    m_canvas->setDrawingStyle(style);
}

void ColorToolWindow::fillColorChanged()
{
    const int index = indexOfSender(m_fillButtons, sender());
    if (index < 0 || !m_canvas)
        return;
    AnnotationTools::Style style = m_canvas->drawingStyle();
    if (index == FillNone) {
        style.fillEnabled = false;
    } else {
        style.fillEnabled = true;
        style.fillColor = colorAt(index);
    }
    m_canvas->setDrawingStyle(style);
}

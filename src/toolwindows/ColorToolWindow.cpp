#include "toolwindows/ColorToolWindow.h"

#include "canvas/ImageCanvas.h"
#include "common/SkinPicture.h"
#include "toolwindows/ToolWindowHost.h"
#include "widgets/ImageButton.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QLabel>

namespace {

const int LineWidths[ColorToolWindow::WidthCount] = {3, 6, 9, 12};
const char *const ColorNames[ColorToolWindow::FillNone + 1] = {"BLACK", "RED",   "YELLOW", "SKY",
                                                               "WHITE", "GREEN", "CUSTOM", "NONE"};
const QRgb Colors[ColorToolWindow::ColorCount] = {0xFF000000, 0xFFFF0000, 0xFFFFFF00,
                                                  0xFF0000FF, 0xFFFFFFFF, 0xFF00A651};
const int ButtonX = 152;
const int ButtonStep = 33;

QButtonGroup *exclusiveGroup(QObject *parent)
{
    auto *group = new QButtonGroup(parent);
    group->setExclusive(true);
    return group;
}

// Index of the last table colour equal to `colour`; the own-colour button when none is.
int colorIndex(const QColor &colour)
{
    int index = ColorToolWindow::Custom;
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
    // The colour rows hold seven swatches: the wide pictures.
    if (!fillColorLabel.isEmpty() && m_hasLineColorRow)
        picture = QStringLiteral(":/icons/Background/POP_BK_COLOR_WIDE_3LINE");
    else if (!fillColorLabel.isEmpty())
        picture = QStringLiteral(":/icons/Background/POP_BK_COLOR_3LINE");
    else if (m_hasLineColorRow)
        picture = QStringLiteral(":/icons/Background/POP_BK_COLOR_WIDE_2LINE");
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
        for (int i = 0; i <= Custom; ++i) {
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

    if (m_hasLineColorRow)
        m_lineColorButtons[Custom]->setToolTip(tr("Own colour..."));
    if (m_fillButtons[Custom])
        m_fillButtons[Custom]->setToolTip(tr("Own colour..."));

    modeChanged();
    host->connectModeChanged(this, [this] { modeChanged(); });
}

void ColorToolWindow::offerHighlighter()
{
    if (m_highlighter)
        return;
    m_highlighter = new ImageButton(QStringLiteral("ICON_HIGHLIGHTER"), tr("Highlighter"), this,
                                    QPoint(ButtonX + WidthCount * ButtonStep + 6, 20));
    m_highlighter->setAccessibleName(tr("Highlighter"));
    m_highlighter->setCheckable(true);
    m_highlighter->show();
    connect(m_highlighter, &ImageButton::clicked, this, [this](bool on) {
        if (!m_canvas)
            return;
        AnnotationTools::Style style = m_canvas->drawingStyle();
        style.highlighter = on;
        m_canvas->setDrawingStyle(style);
    });
    modeChanged();
}

void ColorToolWindow::modeChanged()
{
    m_canvas = m_host->currentCanvas();
    if (!m_canvas)
        return;
    const AnnotationTools::Style style = m_canvas->drawingStyle();
    if (m_highlighter)
        m_highlighter->setChecked(style.highlighter);

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
    if (index == Custom) {
        chooseOwnColour(style.lineColor, false);
        return;
    }
    style.lineColor = colorAt(index);
    m_canvas->setDrawingStyle(style);
}

void ColorToolWindow::chooseOwnColour(const QColor &current, bool fill)
{
    // Beside the popup, not over the window's work: the popup stays open meanwhile.
    delete m_dialog.data();
    m_dialog = new QColorDialog(current, this);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog->setWindowTitle(tr("Own colour"));
    connect(m_dialog, &QColorDialog::colorSelected, this, [this, fill](const QColor &colour) {
        if (!m_canvas || !colour.isValid())
            return;
        AnnotationTools::Style style = m_canvas->drawingStyle();
        if (fill) {
            style.fillEnabled = true;
            style.fillColor = colour;
        } else {
            style.lineColor = colour;
        }
        m_canvas->setDrawingStyle(style);
        modeChanged();
    });
    // A dialog left without a choice leaves the buttons showing what the canvas holds.
    connect(m_dialog, &QColorDialog::rejected, this, [this] { modeChanged(); });
    m_dialog->open();
}

void ColorToolWindow::fillColorChanged()
{
    const int index = indexOfSender(m_fillButtons, sender());
    if (index < 0 || !m_canvas)
        return;
    AnnotationTools::Style style = m_canvas->drawingStyle();
    if (index == Custom) {
        chooseOwnColour(style.fillEnabled ? style.fillColor : style.lineColor, true);
        return;
    }
    if (index == FillNone) {
        style.fillEnabled = false;
    } else {
        style.fillEnabled = true;
        style.fillColor = colorAt(index);
    }
    m_canvas->setDrawingStyle(style);
}

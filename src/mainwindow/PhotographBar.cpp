#include "mainwindow/PhotographBar.h"

#include "common/SkinPicture.h"
#include "sources/photograph/ThumbnailWidget.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ImageWidget.h"
#include "widgets/Slider.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPalette>

#include <algorithm>

namespace {
constexpr int BarOffsetFromBottom = 60;
constexpr int SliderHeight = 10;
constexpr int SelectorWidth = 160;
constexpr int MinimumCounterWidth = 70;
constexpr int CounterHeight = 30;
constexpr int CounterGap = 4;
constexpr int CounterMargin = 8;
constexpr int IntervalLabelOffset = 12;
constexpr int StripHeight = 60;
constexpr int StripGap = 7;
constexpr int IntervalSeconds[PhotographBar::INTERVAL_STEPS] = {1, 2, 5, 10, 15, 30};

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::All, QPalette::WindowText, colour);
    label->setPalette(palette);
}
} // namespace

PhotographBar::PhotographBar(QWidget *window, PhotographSource *source, QWidget *canvas)
    : m_bar(new ImageWidget(SkinPicture::load(":/icons/Background/PHOTO_CONTROL_BK.png"), window))
    , m_open(new ImageButton("ICON_PHOTO_OPEN", m_bar, QPoint(20, 5)))
    , m_previous(new ImageButton("ICON_PHOTO_BACKWARD", m_bar, QPoint(60, 5)))
    , m_slide(new ImageButton("ICON_PHOTO_SLIDE", m_bar, QPoint(100, 5)))
    , m_next(new ImageButton("ICON_PHOTO_FORWARD", m_bar, QPoint(140, 5)))
    , m_thumbnail(new ImageButton("ICON_PHOTO_THUMBNIL", m_bar, QPoint(180, 5)))
    , m_time(new ImageButton("ICON_PHOTO_TIME", m_bar, QPoint(220, 5)))
    , m_intervalSelector(new Slider(Qt::Horizontal, window))
    , m_intervalLabel(new QLabel(window))
    , m_counter(new QLabel(window))
    , m_stripScrollBar(
          new HorizontalSlider(SkinPicture::load(":/icons/Background/PHOTO_SCROLL_BAR.png"), window))
    , m_strip(new ThumbnailWidget(source, m_stripScrollBar, canvas))
{
    m_slide->setCheckable(true);
    m_thumbnail->setCheckable(true);
    m_time->setCheckable(true);

    m_intervalSelector->setTickPosition(QSlider::TicksBelow);
    m_intervalSelector->setFixedWidth(SelectorWidth);
    m_intervalSelector->setPageStep(1);
    m_intervalSelector->setRange(0, INTERVAL_STEPS - 1);
    m_intervalSelector->setValue(0);

    // The scale under the selector's six positions.
    m_intervalLabel->setText("1        2        5       10      15     30  sec.");
    setTextColour(m_intervalLabel, Qt::gray);
    // Small enough that the scale fits its 10-pixel band under the selector.
    QFont scaleFont("Arial");
    scaleFont.setPixelSize(9);
    m_intervalLabel->setFont(scaleFont);
    m_intervalLabel->setFixedSize(200, 10);

    m_counter->setFont(QFont("Arial", 15));
    setTextColour(m_counter, Qt::white);
    m_counter->setText("0/0");
    m_counter->setFixedSize(counterWidth(m_counter->font(), 0), CounterHeight);

    m_bar->hide();
    m_intervalSelector->hide();
    m_intervalLabel->hide();
    m_counter->hide();
    m_stripScrollBar->hide();
    m_strip->hide();
}

int PhotographBar::intervalMs(int position)
{
    return 1000 * IntervalSeconds[std::clamp(position, 0, INTERVAL_STEPS - 1)];
}

QString PhotographBar::counterText(int id, int count)
{
    return QString("%1/%2").arg(id + 1).arg(count);
}

int PhotographBar::counterWidth(const QFont &font, int count)
{
    const QFontMetrics metrics(font);
    int digit = 0;
    for (char c = '0'; c <= '9'; ++c)
        digit = std::max(digit, metrics.horizontalAdvance(QLatin1Char(c)));
    const int places = QString::number(std::max(count, 0)).size();
    // Room for glyphs that reach past their advance, and a little space before the window's edge.
    const int text = 2 * places * digit + metrics.horizontalAdvance(QLatin1Char('/')) + CounterMargin;
    return std::max(MinimumCounterWidth, text);
}

void PhotographBar::showCounter(int id, int count)
{
    m_counter->setText(counterText(id, count));
    const int width = counterWidth(m_counter->font(), count);
    if (width == m_counter->width())
        return;
    m_counter->setFixedSize(width, CounterHeight);
    if (m_laidOut)
        layout(m_width, m_height, m_panelOffset, m_pageStack);
}

void PhotographBar::layout(int w, int h, int panelOffset, const QRect &pageStack)
{
    m_laidOut = true;
    m_width = w;
    m_height = h;
    m_panelOffset = panelOffset;
    m_pageStack = pageStack;
    // The bar sits in the middle of the page, unless the interval scale beside it would then run
    // into the counter at the window's edge: then it moves left as far as that needs.
    const int centred = (w - panelOffset - m_bar->width()) / 2 + panelOffset;
    const int scaleEnd = IntervalLabelOffset + m_intervalLabel->width();
    const int counterSpan = m_counter->width();
    const int roomy = w - counterSpan - CounterGap - scaleEnd - m_bar->width();
    m_bar->move(std::max(panelOffset, std::min(centred, roomy)), h - BarOffsetFromBottom);
    const int barRight = m_bar->x() + m_bar->width();
    m_intervalSelector->move(barRight + 10, h - 50);
    m_intervalLabel->move(barRight + IntervalLabelOffset, h - 30);
    m_counter->move(w - counterSpan, h - BarOffsetFromBottom);
    m_stripScrollBar->setFixedSize(pageStack.width() + 2, SliderHeight);
    m_stripScrollBar->move(pageStack.x(), pageStack.y() + pageStack.height());
    m_strip->setFixedSize(pageStack.width(), StripHeight);
    m_strip->move(0, pageStack.height() - StripHeight - StripGap);
}

void PhotographBar::enter()
{
    m_bar->show();
    m_bar->raise();
    m_counter->show();
}

void PhotographBar::leave()
{
    m_bar->hide();
    m_thumbnail->setChecked(false);
    m_time->setChecked(false);
    m_intervalSelector->hide();
    m_intervalLabel->hide();
    m_strip->hide();
    m_stripScrollBar->hide();
    m_counter->hide();
}

void PhotographBar::showIntervalFromButton()
{
    const bool show = m_time->isChecked();
    m_intervalSelector->setVisible(show);
    m_intervalLabel->setVisible(show);
}

void PhotographBar::showStripFromButton()
{
    const bool show = m_thumbnail->isChecked();
    m_strip->setVisible(show);
    m_stripScrollBar->setVisible(show);
}

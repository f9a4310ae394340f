#include "canvas/CanvasMessages.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <climits>

namespace {

constexpr int Padding = 18;
constexpr int Gap = 8;

// A box of text, word-wrapped to `width`, with the title above the detail.
struct TextBlock
{
    QFont titleFont;
    QFont detailFont;
    QRect title;
    QRect detail;
    QSize size;
};

TextBlock layOut(const QString &title, const QString &detail, int maxWidth, int titleSize, int detailSize)
{
    TextBlock block;
    block.titleFont = QFont(QStringLiteral("Arial"), titleSize);
    block.titleFont.setBold(true);
    block.detailFont = QFont(QStringLiteral("Arial"), detailSize);
    const int flags = Qt::AlignHCenter | Qt::TextWordWrap;
    block.title = QFontMetrics(block.titleFont).boundingRect(QRect(0, 0, maxWidth, 10000), flags, title);
    if (!detail.isEmpty() && detailSize > 0)
        block.detail =
            QFontMetrics(block.detailFont).boundingRect(QRect(0, 0, maxWidth, 10000), flags, detail);
    const int width = qMax(block.title.width(), block.detail.width());
    const int height = block.title.height() + (detail.isEmpty() ? 0 : Gap + block.detail.height());
    block.size = QSize(width + 2 * Padding, height + 2 * Padding);
    return block;
}

void paintBlock(QPainter *painter, const TextBlock &block, const QPoint &topLeft, const QString &title,
                const QString &detail)
{
    // Dark grey with a light edge: it stands out over a picture and over black alike.
    const QRect box(topLeft, block.size);
    painter->setPen(QPen(QColor(255, 255, 255, 90), 1));
    painter->setBrush(QColor(38, 38, 42, 225));
    painter->drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    const int textWidth = block.size.width() - 2 * Padding;
    const int flags = Qt::AlignHCenter | Qt::TextWordWrap;
    painter->setPen(Qt::white);
    painter->setFont(block.titleFont);
    QRect titleRect(box.left() + Padding, box.top() + Padding, textWidth, block.title.height());
    painter->drawText(titleRect, flags, title);
    if (!detail.isEmpty()) {
        painter->setPen(QColor(220, 220, 220));
        painter->setFont(block.detailFont);
        painter->drawText(
            QRect(titleRect.left(), titleRect.bottom() + 1 + Gap, textWidth, block.detail.height()), flags,
            detail);
    }
}

} // namespace

CanvasMessages::CanvasMessages(QWidget *canvas, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_canvas(canvas)
    , m_noticeWatch(clock)
{
    m_expiry.setSingleShot(true);
    connect(&m_expiry, &QTimer::timeout, this, &CanvasMessages::noticeTimeout);
}

CanvasMessages::~CanvasMessages() = default;

void CanvasMessages::repaintCanvas()
{
    if (m_canvas)
        m_canvas->update();
}

void CanvasMessages::setStanding(const QString &title, const QString &detail)
{
    const QString newDetail = title.isEmpty() ? QString() : detail;
    if (title == m_title && newDetail == m_detail)
        return;
    m_title = title;
    m_detail = newDetail;
    repaintCanvas();
}

void CanvasMessages::showNotice(const QString &text, qint64 ms)
{
    m_notice = text;
    m_noticeMs = ms;
    m_noticeWatch.start();
    m_expiry.start(int(qBound<qint64>(0, ms, INT_MAX)));
    repaintCanvas();
}

QString CanvasMessages::notice() const
{
    return m_noticeWatch.isWithin(m_noticeMs) ? m_notice : QString();
}

void CanvasMessages::noticeTimeout()
{
    // The display's clock decides; should it lag behind the timer, look again when it is due.
    if (m_noticeWatch.isWithin(m_noticeMs)) {
        m_expiry.start(int(qMax<qint64>(1, m_noticeMs - m_noticeWatch.elapsed())));
        return;
    }
    repaintCanvas();
}

void CanvasMessages::paint(QPainter *painter, const QSize &size) const
{
    const QString shownNotice = notice();
    if (m_title.isEmpty() && shownNotice.isEmpty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    const int maxWidth = qMax(120, size.width() * 3 / 4 - 2 * Padding);
    // Smaller words on a small canvas, so they leave some of the picture in sight.
    const bool compact = size.width() < 560 || size.height() < 420;
    // The notice near the top, the standing message below the middle, where the canvas's start
    // picture (the camera and the program's name) leaves room: the picture stays in sight.
    int noticeBottom = 0;
    if (!shownNotice.isEmpty()) {
        const TextBlock block = layOut(shownNotice, QString(), maxWidth, compact ? 10 : 13, 0);
        const QPoint at((size.width() - block.size.width()) / 2, size.height() / 10);
        paintBlock(painter, block, at, shownNotice, QString());
        noticeBottom = at.y() + block.size.height();
    }
    if (!m_title.isEmpty()) {
        const TextBlock block = layOut(m_title, m_detail, maxWidth, compact ? 12 : 17, compact ? 9 : 12);
        const int low = qMin(size.height() * 7 / 10, size.height() - block.size.height() - 12);
        const int top = qMax(noticeBottom + Gap, low);
        paintBlock(painter, block, QPoint((size.width() - block.size.width()) / 2, top), m_title, m_detail);
    }
    painter->restore();
}

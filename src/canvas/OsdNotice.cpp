#include "canvas/OsdNotice.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace {
constexpr int PADDING = 10;
constexpr int RADIUS = 6;
} // namespace

void OsdNotice::paint(QPainter *painter, const QSize &size) const
{
    if (!isShown())
        return;
    painter->save();
    QFont font(QStringLiteral("Arial"), 11);
    font.setWeight(QFont::DemiBold);
    painter->setFont(font);
    const QFontMetrics metrics(font);
    const int maxWidth = qMax(40, int(size.width() * MAX_WIDTH_FRACTION) - 2 * PADDING);
    const QRect text = metrics.boundingRect(QRect(0, 0, maxWidth, 10000), Qt::AlignHCenter | Qt::TextWordWrap,
                                            m_text);
    const QRect box((size.width() - text.width()) / 2 - PADDING, TOP, text.width() + 2 * PADDING,
                    text.height() + 2 * PADDING);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0, 0, 0, 190));
    painter->drawRoundedRect(box, RADIUS, RADIUS);
    painter->setPen(QPen(Qt::white));
    painter->drawText(box.adjusted(PADDING, PADDING, -PADDING, -PADDING), Qt::AlignHCenter | Qt::TextWordWrap,
                      m_text);
    painter->restore();
}

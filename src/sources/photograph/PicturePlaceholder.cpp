#include "sources/photograph/PicturePlaceholder.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Page(0x30, 0x30, 0x30);
const QColor Sign(0x90, 0x90, 0x90);

// A picture frame with a hill and a sun, broken by a zigzag crack.
void paintBrokenPicture(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(Sign, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, 8, 8);
    p.setBrush(Sign);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(r.left() + r.width() * 0.72, r.top() + r.height() * 0.3), r.height() * 0.1,
                  r.height() * 0.1);
    QPainterPath hill;
    hill.moveTo(r.left() + 6, r.bottom() - 6);
    hill.lineTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.45);
    hill.lineTo(r.left() + r.width() * 0.6, r.bottom() - 6);
    hill.closeSubpath();
    p.drawPath(hill);
    QPainterPath crack;
    crack.moveTo(r.left() + r.width() * 0.46, r.top() - 4);
    crack.lineTo(r.left() + r.width() * 0.56, r.top() + r.height() * 0.35);
    crack.lineTo(r.left() + r.width() * 0.44, r.top() + r.height() * 0.6);
    crack.lineTo(r.left() + r.width() * 0.54, r.bottom() + 4);
    p.setPen(QPen(Page, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(crack);
}

} // namespace

QString PicturePlaceholder::reason(DecodeJob::Outcome outcome)
{
    switch (outcome) {
    case DecodeJob::Outcome::NotAPicture:
        return tr("The file is not a picture, or it cannot be read.");
    case DecodeJob::Outcome::Damaged:
        return tr("The file is damaged.");
    case DecodeJob::Outcome::TooLarge:
        return tr("The picture is too large to open.");
    default:
        return tr("The picture could not be read.");
    }
}

QImage PicturePlaceholder::draw(const QString &name, DecodeJob::Outcome outcome)
{
    QImage page(WIDTH, HEIGHT, QImage::Format_RGB32);
    page.fill(Page);
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    paintBrokenPicture(p, QRectF(WIDTH / 2 - 110, 150, 220, 170));

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    const QRect nameBox(40, 370, WIDTH - 80, 60);
    p.drawText(nameBox, Qt::AlignCenter,
               QFontMetrics(title).elidedText(name, Qt::ElideMiddle, nameBox.width()));

    QFont body(QStringLiteral("Arial"));
    body.setPixelSize(30);
    p.setFont(body);
    p.setPen(QColor(0xd0, 0xd0, 0xd0));
    p.drawText(QRect(40, 450, WIDTH - 80, 50), Qt::AlignCenter, tr("This picture cannot be shown."));
    p.drawText(QRect(40, 500, WIDTH - 80, 50), Qt::AlignCenter, reason(outcome));
    return page;
}

#include "ContactSheet.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kSheetWidth = 1500;
constexpr int kMargin = 16;
constexpr int kGap = 14;
constexpr int kPictureGap = 4;
constexpr int kMaxPicture = 640; // larger pictures are shown scaled down to this width
constexpr int kTitleHeight = 30;

QSize shown(const QImage &img)
{
    if (img.width() <= kMaxPicture)
        return img.size();
    return img.size().scaled(kMaxPicture, img.height(), Qt::KeepAspectRatio);
}

void checkerboard(QPainter &p, const QRect &r)
{
    p.save();
    p.setClipRect(r);
    for (int y = r.top(); y <= r.bottom(); y += 6) {
        for (int x = r.left(); x <= r.right(); x += 6) {
            const bool dark = (((x - r.left()) / 6) + ((y - r.top()) / 6)) % 2;
            p.fillRect(x, y, 6, 6, dark ? QColor(0xd4, 0xd4, 0xd4) : QColor(0xff, 0xff, 0xff));
        }
    }
    p.restore();
}

} // namespace

void ContactSheet::section(const QString &title)
{
    m_sections.append(Section{title, {}});
}

void ContactSheet::add(const QString &label, const QVector<QImage> &pictures)
{
    if (m_sections.isEmpty())
        section(QString());
    m_sections.last().cells.append(Cell{label, pictures});
}

QString ContactSheet::label(const Cell &cell)
{
    for (const QImage &img : cell.pictures) {
        if (shown(img) != img.size())
            return cell.label + QStringLiteral(" (shown at %1 %)").arg(100 * kMaxPicture / img.width());
    }
    return cell.label;
}

QSize ContactSheet::cellSize(const Cell &cell) const
{
    const QFontMetrics fm(m_font);
    int w = 0;
    int h = 0;
    for (const QImage &img : cell.pictures) {
        const QSize s = shown(img);
        w += s.width() + (w ? kPictureGap : 0);
        h = std::max(h, s.height());
    }
    w = std::max(w, fm.horizontalAdvance(label(cell)));
    return QSize(w, h + 4 + fm.height());
}

QSize ContactSheet::layout(QVector<QVector<QPoint>> *positions, QVector<int> *titleY) const
{
    int y = kMargin;
    for (const Section &section : m_sections) {
        titleY->append(y);
        y += kTitleHeight;
        int x = kMargin;
        int rowHeight = 0;
        QVector<QPoint> points;
        for (const Cell &cell : section.cells) {
            const QSize s = cellSize(cell);
            if (x > kMargin && x + s.width() > kSheetWidth - kMargin) {
                x = kMargin;
                y += rowHeight + kGap;
                rowHeight = 0;
            }
            points.append(QPoint(x, y));
            x += s.width() + kGap;
            rowHeight = std::max(rowHeight, s.height());
        }
        positions->append(points);
        y += rowHeight + kGap * 2;
    }
    return QSize(kSheetWidth, y + kMargin);
}

QImage ContactSheet::render() const
{
    QVector<QVector<QPoint>> positions;
    QVector<int> titleY;
    const QSize size = layout(&positions, &titleY);
    QImage sheet(size, QImage::Format_RGB32);
    sheet.fill(QColor(0xf4, 0xf4, 0xf4));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QFontMetrics fm(m_font);
    QFont titleFont = m_font;
    titleFont.setPixelSize(m_font.pixelSize() + 6);
    titleFont.setBold(true);
    for (int s = 0; s < m_sections.size(); ++s) {
        p.setFont(titleFont);
        p.setPen(Qt::black);
        p.drawText(QRect(kMargin, titleY[s], kSheetWidth - 2 * kMargin, kTitleHeight - 6),
                   Qt::AlignLeft | Qt::AlignBottom, m_sections[s].title);
        p.setFont(m_font);
        for (int c = 0; c < m_sections[s].cells.size(); ++c) {
            const Cell &cell = m_sections[s].cells[c];
            int x = positions[s][c].x();
            const int y = positions[s][c].y();
            int h = 0;
            for (const QImage &img : cell.pictures) {
                const QSize shownSize = shown(img);
                const QRect target(QPoint(x, y), shownSize);
                checkerboard(p, target);
                p.drawImage(target, img);
                x += shownSize.width() + kPictureGap;
                h = std::max(h, shownSize.height());
            }
            p.setPen(QColor(0x20, 0x20, 0x20));
            p.drawText(positions[s][c].x(), y + h + 4 + fm.ascent(), label(cell));
        }
    }
    return sheet;
}

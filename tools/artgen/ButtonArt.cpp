#include "ButtonArt.h"

#include "Manifest.h"
#include "Skin.h"

#include <QPainter>

#include <cmath>

bool ButtonArt::draw(const PictureSpec &picture, QImage &image, QString *error) const
{
    const Options &o = picture.options;
    // Drawn in the picture's logical pixels: a 2x picture's painter scales every shape, so its
    // glyphs and edges are drawn at twice the detail rather than enlarged.
    const QSizeF logical = QSizeF(image.size()) / image.devicePixelRatio();
    const QRectF all(QPointF(0, 0), logical);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Faces: "dark" buttons carry white captions and glyphs; "light" ones carry the captions
    // that the button draws in black. Both turn to the accent face when pressed or checked.
    const QString faceStyle = o.text(QStringLiteral("face"), QStringLiteral("dark"));
    if (faceStyle != QLatin1String("dark") && faceStyle != QLatin1String("light")) {
        *error = QStringLiteral("face must be dark or light, not \"%1\"").arg(faceStyle);
        return false;
    }
    const QString prefix = faceStyle == QLatin1String("light") ? QStringLiteral("light") : QString();
    QString faceName;
    if (picture.state == QLatin1String("click"))
        faceName = QStringLiteral("accent");
    else if (picture.state == QLatin1String("over"))
        faceName = prefix.isEmpty() ? QStringLiteral("hover") : prefix + QStringLiteral("Hover");
    else
        faceName = prefix.isEmpty() ? QStringLiteral("face") : prefix + QStringLiteral("Face");
    m_skin.face(p, all, m_skin.colour(faceName), o.number(QStringLiteral("radius"), 2));

    const QColor ink = m_skin.colour(o.text(QStringLiteral("colour"), QStringLiteral("glyph")));
    const int defaultPx = int(std::lround(std::min(all.width(), all.height()) * 0.72));
    const int px = o.number(QStringLiteral("size"), defaultPx);

    // Where the symbol sits: centred, or at the left end of a title bar (the caption is centred).
    QRectF box = all;
    if (o.text(QStringLiteral("align"), QStringLiteral("centre")) == QLatin1String("left"))
        box = QRectF(2, 0, all.height(), all.height());

    if (o.has(QStringLiteral("badge"))) {
        // A small second glyph right of the main one tells apart pairs such as brightness
        // down and up, whose own glyphs differ too little at button size.
        const int badgePx = o.number(QStringLiteral("badgesize"), px / 2 + 2);
        const qreal shift = badgePx / 2.0;
        const QRectF badgeBox(box.center().x() + px / 2.0 - shift + 1, box.top(), badgePx, box.height());
        box.translate(-shift, 0);
        if (!m_skin.symbol(p, o.text(QStringLiteral("badge")), badgePx, badgeBox, ink)) {
            *error = m_skin.takeError();
            return false;
        }
    }
    if (o.has(QStringLiteral("glyph"))) {
        if (!m_skin.symbol(p, o.text(QStringLiteral("glyph")), px, box, ink)) {
            *error = m_skin.takeError();
            return false;
        }
    }

    if (o.has(QStringLiteral("swatch"))) {
        // A colour chip with a thin edge so black and white read on every face.
        const QRectF chip = all.adjusted(5.5, 4.5, -5.5, -4.5);
        const QString swatch = o.text(QStringLiteral("swatch"));
        const bool none = swatch == QLatin1String("none");
        p.setPen(QPen(m_skin.colour(QStringLiteral("muted")), 1));
        p.setBrush(none ? QColor(Qt::white) : m_skin.colour(swatch));
        p.drawRect(chip);
        if (none) {
            p.save();
            p.setClipRect(chip);
            p.setPen(QPen(m_skin.colour(QStringLiteral("record")), 2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(chip.bottomLeft(), chip.topRight());
            p.restore();
        }
    }

    if (o.has(QStringLiteral("stroke"))) {
        const int w = o.number(QStringLiteral("stroke"), 1);
        p.setPen(QPen(ink, w, Qt::SolidLine, Qt::FlatCap));
        const qreal y = all.height() / 2.0 + ((w % 2) ? 0.5 : 0.0) - 0.5;
        p.drawLine(QPointF(6, y), QPointF(all.width() - 6, y));
    }

    return m_skin.drawingSucceeded(o, error);
}

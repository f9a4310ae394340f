#include "PlateArt.h"

#include "Manifest.h"
#include "Skin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

bool PlateArt::draw(const PictureSpec &picture, QImage &image, QString *error) const
{
    const Options &o = picture.options;
    // Drawn in the picture's logical pixels; a 2x picture's painter scales every shape.
    const QSize size = image.size() / image.devicePixelRatio();
    const QRectF all(0, 0, size.width(), size.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QString &kind = picture.kind;

    if (kind == QLatin1String("frame")) {
        frame(p, picture, size);
    } else if (kind == QLatin1String("fill")) {
        p.fillRect(all, m_skin.colour(o.text(QStringLiteral("colour"), QStringLiteral("frame"))));
    } else if (kind == QLatin1String("panel")) {
        panel(p, picture, size);
    } else if (kind == QLatin1String("bar")) {
        m_skin.face(p, all, m_skin.colour(QStringLiteral("panel")), o.number(QStringLiteral("radius"), 6));
    } else if (kind == QLatin1String("groove")) {
        // A slider track: a darker channel, vertical or horizontal by the picture's shape,
        // optionally on a plate of its own.
        if (o.text(QStringLiteral("plate")) == QLatin1String("yes"))
            m_skin.face(p, all, m_skin.colour(QStringLiteral("panel")), 4);
        const int t = o.number(QStringLiteral("thickness"), 4);
        const int inset = o.number(QStringLiteral("inset"), 0);
        QRectF channel = size.width() >= size.height()
            ? QRectF(inset, (size.height() - t) / 2.0, size.width() - 2 * inset, t)
            : QRectF((size.width() - t) / 2.0, inset, t, size.height() - 2 * inset);
        p.setPen(Qt::NoPen);
        p.setBrush(m_skin.colour(o.text(QStringLiteral("colour"), QStringLiteral("hover"))));
        p.drawRoundedRect(channel, t / 2.0, t / 2.0);
    } else if (kind == QLatin1String("track")) {
        // Stretched to any width: straight ends so scaling cannot distort them.
        p.fillRect(all, m_skin.colour(QStringLiteral("panel")));
        const int t = o.number(QStringLiteral("thickness"), 4);
        p.fillRect(QRectF(0, (size.height() - t) / 2.0, size.width(), t),
                   m_skin.colour(QStringLiteral("hover")));
    } else if (kind == QLatin1String("handle")) {
        p.setPen(QPen(m_skin.colour(o.text(QStringLiteral("edge"), QStringLiteral("accent"))), 1));
        p.setBrush(m_skin.colour(o.text(QStringLiteral("colour"), QStringLiteral("glyph"))));
        const qreal r = o.number(QStringLiteral("radius"), 3);
        p.drawRoundedRect(all.adjusted(0.5, 0.5, -0.5, -0.5), r, r);
    } else if (kind == QLatin1String("strip")) {
        p.fillRect(all, m_skin.colour(QStringLiteral("plate")));
        p.fillRect(QRectF(0, 0, size.width(), 1), m_skin.colour(QStringLiteral("plateEdge")));
    } else if (kind == QLatin1String("popup")) {
        popup(p, picture, size);
    } else if (kind == QLatin1String("osd")) {
        // On-screen plate; a labelled one keeps its glyph in the first glyphbox pixels and
        // leaves the rest for the label that the display draws.
        m_skin.plate(p, all, o.number(QStringLiteral("radius"), 6));
        const int glyphBox = o.number(QStringLiteral("glyphbox"), size.width());
        glyph(p, picture, QRectF(0, 0, glyphBox, size.height()), int(std::lround(size.height() * 0.6)));
        if (o.text(QStringLiteral("dot")) == QLatin1String("record")) {
            // The recording plate: a red dot at the left, room for the red time text.
            p.setPen(Qt::NoPen);
            p.setBrush(m_skin.colour(QStringLiteral("record")));
            // Small and near the edge: even a 100-hour time text, centred, does not reach it.
            p.drawEllipse(QPointF(10, size.height() / 2.0), 4, 4);
        }
    } else if (kind == QLatin1String("brightness")) {
        brightness(p, picture, size, error);
    } else if (kind == QLatin1String("start")) {
        start(p, picture, size);
    } else if (kind == QLatin1String("mark")) {
        m_skin.mark(p, all);
    } else {
        *error = QStringLiteral("unknown kind \"%1\"").arg(kind);
        return false;
    }

    if (!error->isEmpty())
        return false;
    return m_skin.drawingSucceeded(o, error);
}

bool PlateArt::glyph(QPainter &p, const PictureSpec &picture, const QRectF &box, int defaultPx) const
{
    const Options &o = picture.options;
    if (!o.has(QStringLiteral("glyph")))
        return true;
    const QColor ink = m_skin.colour(o.text(QStringLiteral("colour"), QStringLiteral("glyph")));
    return m_skin.symbol(p, o.text(QStringLiteral("glyph")), o.number(QStringLiteral("size"), defaultPx), box,
                         ink);
}

void PlateArt::frame(QPainter &p, const PictureSpec &picture, const QSize &size) const
{
    // Window frame pieces: graphite with a one-pixel lighter outline on the window's outer edges
    // (edges= lists them: t, l, r, b).
    const QString edges = picture.options.text(QStringLiteral("edges"));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(QPoint(0, 0), size), m_skin.colour(QStringLiteral("frame")));
    const QColor edge = m_skin.colour(QStringLiteral("frameEdge"));
    if (edges.contains(QLatin1Char('t')))
        p.fillRect(0, 0, size.width(), 1, edge);
    if (edges.contains(QLatin1Char('b')))
        p.fillRect(0, size.height() - 1, size.width(), 1, edge);
    if (edges.contains(QLatin1Char('l')))
        p.fillRect(0, 0, 1, size.height(), edge);
    if (edges.contains(QLatin1Char('r')))
        p.fillRect(size.width() - 1, 0, 1, size.height(), edge);
}

void PlateArt::panel(QPainter &p, const PictureSpec &picture, const QSize &size) const
{
    // The tool panel's three pieces: rounded top, a middle that is stretched, rounded bottom.
    const QString part = picture.options.text(QStringLiteral("part"), QStringLiteral("mid"));
    const QColor fill = m_skin.colour(QStringLiteral("panel"));
    const qreal r = 6;
    QRectF body(0, 0, size.width(), size.height());
    if (part == QLatin1String("top"))
        body.setBottom(size.height() + r);
    else if (part == QLatin1String("bot"))
        body.setTop(-r);
    else
        body.adjust(0, -r, 0, r);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(body, r, r);
    if (part == QLatin1String("top")) {
        p.setPen(QPen(fill.lighter(135), 1));
        p.drawLine(QPointF(r, 0.5), QPointF(size.width() - r, 0.5));
    }
}

void PlateArt::popup(QPainter &p, const PictureSpec &picture, const QSize &size) const
{
    // Popup background: panel body, a graphite title band for the white title, a thin outline.
    const Options &o = picture.options;
    const int band = o.number(QStringLiteral("band"), 18);
    const QRectF all(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(m_skin.colour(QStringLiteral("hover")), 1));
    p.setBrush(m_skin.colour(QStringLiteral("panel")));
    p.drawRoundedRect(all, 4, 4);
    p.save();
    p.setClipRect(QRectF(0, 0, size.width(), band));
    p.setBrush(m_skin.colour(QStringLiteral("frame")));
    p.drawRoundedRect(all, 4, 4);
    p.restore();
    p.setPen(QPen(m_skin.colour(QStringLiteral("accent")), 1));
    p.drawLine(QPointF(1, band + 0.5), QPointF(size.width() - 1, band + 0.5));
    if (o.has(QStringLiteral("mark"))) {
        // The about picture carries the application mark at the given spot (x,y,size).
        const QStringList v = o.text(QStringLiteral("mark")).split(QLatin1Char(','));
        if (v.size() == 3)
            m_skin.mark(p, QRectF(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[2].toInt()));
    }
}

void PlateArt::brightness(QPainter &p, const PictureSpec &picture, const QSize &size, QString *error) const
{
    // Pieces of the brightness bar: rounded ends, plain steps with a tick, a longer centre step,
    // and the white level marks laid over a step.
    const QString part = picture.options.text(QStringLiteral("part"));
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal r = 6;
    QRectF body(0, 0, w, h);
    if (part == QLatin1String("bar") || part == QLatin1String("centre")) {
        p.setPen(Qt::NoPen);
        p.setBrush(m_skin.colour(QStringLiteral("glyph")));
        p.drawRoundedRect(body, 1.5, 1.5);
        return;
    }
    if (part == QLatin1String("min"))
        body.setRight(w + r);
    else if (part == QLatin1String("max"))
        body.setLeft(-r);
    else if (part == QLatin1String("short") || part == QLatin1String("long"))
        body.adjust(-r, 0, r, 0);
    else {
        *error = QStringLiteral("brightness part must be min, max, short, long, bar or centre");
        return;
    }
    p.save();
    p.setClipRect(QRectF(0, 0, w, h));
    m_skin.plate(p, body, r);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(m_skin.colour(QStringLiteral("muted")));
    if (part == QLatin1String("short"))
        p.drawRect(QRectF(6, 17, 2, 8));
    else if (part == QLatin1String("long"))
        p.drawRect(QRectF(6, 12, 2, 18));
}

void PlateArt::start(QPainter &p, const PictureSpec &picture, const QSize &size) const
{
    // The canvas start picture: a dark field with a soft light in the middle, the camera glyph
    // and the application name.
    const Options &o = picture.options;
    const QRectF all(0, 0, size.width(), size.height());
    QRadialGradient light(all.center(), size.width() * 0.6);
    light.setColorAt(0, m_skin.colour(QStringLiteral("panel")));
    light.setColorAt(1, m_skin.colour(QStringLiteral("frame")).darker(115));
    p.fillRect(all, light);
    const int px = o.number(QStringLiteral("size"), size.height() / 3);
    const QRectF glyphBox(0, size.height() * 0.42 - px / 2.0, size.width(), px);
    glyph(p, picture, glyphBox, px);
    const QString name = o.text(QStringLiteral("text"));
    p.setFont(m_skin.font(o.number(QStringLiteral("textsize"), size.height() / 16), false));
    p.setPen(m_skin.colour(o.text(QStringLiteral("textcolour"), QStringLiteral("glyph"))));
    p.drawText(QRectF(0, glyphBox.bottom() + size.height() * 0.04, size.width(), size.height() * 0.12),
               Qt::AlignHCenter | Qt::AlignTop, name);
}

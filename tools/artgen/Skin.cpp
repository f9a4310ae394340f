#include "Skin.h"

#include "Manifest.h"
#include "Options.h"

#include <QFontDatabase>
#include <QPainterPath>

#include <cmath>

namespace {

QString addFont(const QString &file, QString *error)
{
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        *error = QStringLiteral("text font %1 cannot be loaded (install fonts-liberation)").arg(file);
        return QString();
    }
    return families.first();
}

} // namespace

bool Skin::load(const Manifest &manifest, QString *error)
{
    const QString glyphFont = manifest.setting(QStringLiteral("font.glyphs"));
    const QString text = manifest.setting(QStringLiteral("font.text"));
    const QString bold = manifest.setting(QStringLiteral("font.bold"));
    const QString list = manifest.setting(QStringLiteral("codepoints"));
    if (glyphFont.isEmpty() || text.isEmpty() || bold.isEmpty() || list.isEmpty()) {
        *error = QStringLiteral("the manifest must name \"font glyphs\", \"font text\", "
                                "\"font bold\" and \"codepoints\"");
        return false;
    }
    if (!m_glyphs.load(glyphFont, list, error))
        return false;
    m_textFamily = addFont(text, error);
    if (m_textFamily.isEmpty())
        return false;
    m_boldFamily = addFont(bold, error);
    if (m_boldFamily.isEmpty())
        return false;
    m_colours = manifest.colours();
    for (const char *needed : {"frame", "frameEdge", "panel", "face", "hover", "accent", "glyph", "plate",
                               "plateEdge", "muted", "record"}) {
        if (!m_colours.contains(QLatin1String(needed))) {
            *error = QStringLiteral("the manifest sets no colour \"%1\"").arg(QLatin1String(needed));
            return false;
        }
    }
    m_markGlyph = manifest.setting(QStringLiteral("markglyph"));
    return true;
}

QColor Skin::colour(const QString &nameOrHex) const
{
    if (nameOrHex.startsWith(QLatin1Char('#'))) {
        const QColor c = Manifest::parseColour(nameOrHex);
        if (!c.isValid())
            m_error = QStringLiteral("colour \"%1\" is not #rrggbb or #rrggbbaa").arg(nameOrHex);
        return c;
    }
    if (!m_colours.contains(nameOrHex)) {
        m_error = QStringLiteral("unknown colour \"%1\"").arg(nameOrHex);
        return QColor(Qt::magenta);
    }
    return m_colours.value(nameOrHex);
}

QString Skin::takeError() const
{
    QString e = m_error;
    m_error.clear();
    return e;
}

QFont Skin::font(int pixelSize, bool bold) const
{
    QFont f(bold ? m_boldFamily : m_textFamily);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void Skin::face(QPainter &p, const QRectF &rect, const QColor &fill, qreal radius) const
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(rect, radius, radius);
    // The lighter top edge gives faces and bars a hint of relief under a projector.
    p.setPen(QPen(fill.lighter(135), 1));
    p.drawLine(QPointF(rect.left() + radius, rect.top() + 0.5),
               QPointF(rect.right() - radius, rect.top() + 0.5));
    p.restore();
}

void Skin::plate(QPainter &p, const QRectF &rect, qreal radius) const
{
    p.save();
    p.setPen(QPen(colour(QStringLiteral("plateEdge")), 1));
    p.setBrush(colour(QStringLiteral("plate")));
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

bool Skin::symbol(QPainter &p, const QString &name, int px, const QRectF &box, const QColor &colour) const
{
    if (name.startsWith(QLatin1Char('@'))) {
        const QRectF square(box.center().x() - px / 2.0, box.center().y() - px / 2.0, px, px);
        drawnSymbol(p, name, square, colour);
        return m_error.isEmpty();
    }
    if (!m_glyphs.contains(name)) {
        m_error = QStringLiteral("glyph \"%1\" is not in the Material Icons font's list").arg(name);
        return false;
    }
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(m_glyphs.path(name, px, box));
    p.restore();
    return true;
}

void Skin::mark(QPainter &p, const QRectF &box) const
{
    const qreal s = std::min(box.width(), box.height());
    const QRectF tile(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour(QStringLiteral("accent")));
    p.drawRoundedRect(tile, s * 0.2, s * 0.2);
    p.restore();
    const int glyphPx = std::max(10, int(std::lround(s * 0.75)));
    symbol(p, m_markGlyph.isEmpty() ? QStringLiteral("photo_camera") : m_markGlyph, glyphPx, tile,
           colour(QStringLiteral("glyph")));
}

void Skin::drawnSymbol(QPainter &p, const QString &name, const QRectF &box, const QColor &colour) const
{
    const qreal s = box.width();
    const qreal line = std::max(1.5, s / 12.0);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (name == QLatin1String("@line")) {
        p.setPen(pen);
        p.drawLine(QPointF(box.left() + s * 0.2, box.bottom() - s * 0.2),
                   QPointF(box.right() - s * 0.2, box.top() + s * 0.2));
    } else if (name == QLatin1String("@eraser")) {
        // A tilted eraser: the rubber end solid, the sleeve outlined, a rubbed-out trace below.
        p.translate(box.center());
        p.rotate(-45);
        const QRectF body(-s * 0.36, -s * 0.17, s * 0.72, s * 0.34);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body, s * 0.05, s * 0.05);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRoundedRect(QRectF(body.left(), body.top(), body.width() * 0.42, body.height()), s * 0.05,
                          s * 0.05);
        p.resetTransform();
        p.setPen(pen);
        p.drawLine(QPointF(box.left() + s * 0.45, box.bottom() - s * 0.08),
                   QPointF(box.right() - s * 0.1, box.bottom() - s * 0.08));
    } else if (name.startsWith(QLatin1String("@mask-"))) {
        // The picture outlined, the part the mask lets through filled.
        const QRectF frame(box.left() + s * 0.08, box.top() + s * 0.18, s * 0.84, s * 0.64);
        p.setPen(QPen(colour, std::max(1.0, line * 0.75)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        const QString shape = name.mid(6);
        if (shape == QLatin1String("disc")) {
            const qreal r = frame.height() * 0.42;
            p.drawEllipse(frame.center(), r, r);
        } else if (shape == QLatin1String("window")) {
            p.drawRect(frame.adjusted(frame.width() * 0.3, frame.height() * 0.22, -frame.width() * 0.3,
                                      -frame.height() * 0.22));
        } else if (shape == QLatin1String("left")) {
            p.drawRect(QRectF(frame.left(), frame.top(), frame.width() / 2, frame.height()));
        } else if (shape == QLatin1String("top")) {
            p.drawRect(QRectF(frame.left(), frame.top(), frame.width(), frame.height() / 2));
        } else {
            m_error = QStringLiteral("unknown drawn symbol \"%1\"").arg(name);
        }
    } else if (name == QLatin1String("@mark")) {
        p.restore();
        mark(p, box);
        return;
    } else {
        m_error = QStringLiteral("unknown drawn symbol \"%1\"").arg(name);
    }
    p.restore();
}

bool Skin::drawingSucceeded(const Options &options, QString *error) const
{
    const QString skinError = takeError();
    if (!skinError.isEmpty()) {
        *error = skinError;
        return false;
    }
    if (!options.problems().isEmpty()) {
        *error = options.problems().join(QStringLiteral(", "));
        return false;
    }
    return true;
}

#include "GlyphFont.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>

bool GlyphFont::load(const QString &fontFile, const QString &codepointFile, QString *error)
{
    QFile list(codepointFile);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("glyph list %1: %2 (install fonts-material-design-icons-iconfont)")
                     .arg(codepointFile, list.errorString());
        return false;
    }
    static const QRegularExpression entry(
        QStringLiteral("^\\s*\"?([a-z0-9_]+)\"?\\s*:\\s*([0-9a-fA-F]{4,5})\\s*,?\\s*$"));
    while (!list.atEnd()) {
        const auto m = entry.match(QString::fromUtf8(list.readLine()));
        if (m.hasMatch())
            m_codepoints.insert(m.captured(1), m.captured(2).toUInt(nullptr, 16));
    }
    if (m_codepoints.isEmpty()) {
        *error = QStringLiteral("glyph list %1 names no glyphs").arg(codepointFile);
        return false;
    }
    QFile font(fontFile);
    if (!font.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("glyph font %1: %2 (install fonts-material-design-icons-iconfont)")
                     .arg(fontFile, font.errorString());
        return false;
    }
    m_fontData = font.readAll();
    m_fontFile = fontFile;
    if (!QRawFont(m_fontData, 24).isValid()) {
        *error = QStringLiteral("glyph font %1 cannot be read").arg(fontFile);
        return false;
    }
    return true;
}

bool GlyphFont::contains(const QString &name) const
{
    if (!m_codepoints.contains(name))
        return false;
    return QRawFont(m_fontData, 24).supportsCharacter(m_codepoints.value(name));
}

QPainterPath GlyphFont::path(const QString &name, qreal px, const QRectF &box) const
{
    const QRawFont raw(m_fontData, px);
    const uint cp = m_codepoints.value(name);
    const QVector<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(&cp, 1));
    if (glyphs.isEmpty())
        return QPainterPath();
    // Material glyphs are drawn on a square em box with the baseline at its bottom edge; centring
    // that box (not the ink) keeps the designers' optical balance, e.g. of play_arrow.
    const QPainterPath outline = raw.pathForGlyph(glyphs.first());
    const qreal em = raw.ascent() + raw.descent();
    // Whole-pixel origins keep the glyph's straight edges sharp.
    const QPointF origin(std::round(box.center().x() - px / 2.0),
                         std::round(box.center().y() - em / 2.0 + raw.ascent()));
    return outline.translated(origin);
}

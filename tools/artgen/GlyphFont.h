#pragma once
// Glyphs of the Material Icons font by name. The names and codepoints come from the font
// package's scss list, read when the tool starts, so the manifest names glyphs the way the
// font's own documentation does.
//
// Thread contract: loaded once, then read-only; used on the tool's only thread.
#include <QHash>
#include <QPainterPath>
#include <QRawFont>
#include <QRectF>
#include <QString>

class GlyphFont
{
public:
    // Reads the codepoint list (lines of the form "name": e8ff,) and the font file.
    bool load(const QString &fontFile, const QString &codepointFile, QString *error);

    bool contains(const QString &name) const;
    // The glyph's outline at size px, its em square centred in box.
    QPainterPath path(const QString &name, qreal px, const QRectF &box) const;

private:
    QHash<QString, uint> m_codepoints;
    QString m_fontFile;
    QByteArray m_fontData;
};

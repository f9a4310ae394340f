#pragma once
// The skin: the manifest's colours and fonts, and the drawing primitives every picture is made
// of (button faces, translucent plates, glyphs, drawn symbols, text).
//
// Thread contract: built once, then read-only; used on the tool's only thread.
#include "GlyphFont.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QRectF>
#include <QString>

class Manifest;
class Options;

class Skin
{
public:
    // Loads the glyph font, the text fonts and the colours the manifest sets.
    bool load(const Manifest &manifest, QString *error);

    // A named colour of the manifest ("face", "accent"...) or a literal "#rrggbb[aa]".
    // Unknown names record an error that the caller reports.
    QColor colour(const QString &nameOrHex) const;
    QString takeError() const;
    // After a picture is drawn: false with the first complaint, the skin's own (an unknown
    // colour...) before the picture's options (unknown or malformed parameters).
    bool drawingSucceeded(const Options &options, QString *error) const;

    const GlyphFont &glyphs() const { return m_glyphs; }
    // The text face at a pixel size; bold selects the manifest's bold face.
    QFont font(int pixelSize, bool bold = false) const;

    // A rounded face with the lighter top edge of the skin's buttons and bars.
    void face(QPainter &p, const QRectF &rect, const QColor &fill, qreal radius = 2) const;
    // A translucent rounded plate of the on-screen pictures.
    void plate(QPainter &p, const QRectF &rect, qreal radius = 6) const;
    // A glyph of the glyph font, or a symbol the skin draws itself ("@line", "@eraser",
    // "@mask-disc", "@mask-window", "@mask-left", "@mask-top", "@mark"), in box at size px.
    bool symbol(QPainter &p, const QString &name, int px, const QRectF &box, const QColor &colour) const;
    // The application mark: an accent tile with the camera glyph, filling box.
    void mark(QPainter &p, const QRectF &box) const;

private:
    void drawnSymbol(QPainter &p, const QString &name, const QRectF &box, const QColor &colour) const;

    GlyphFont m_glyphs;
    QHash<QString, QColor> m_colours;
    QString m_textFamily;
    QString m_boldFamily;
    QString m_markGlyph;
    mutable QString m_error;
};

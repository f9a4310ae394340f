#pragma once
// Draws the three state pictures of a picture button: a face (resting, hover, or the accent
// face for pressed and checked) carrying a glyph, a drawn symbol, a colour swatch or a line
// width sample.
//
// Thread contract: stateless apart from the skin it reads; used on the tool's only thread.
#include <QImage>
#include <QString>

class Skin;
struct PictureSpec;

class ButtonArt
{
public:
    explicit ButtonArt(const Skin &skin)
        : m_skin(skin)
    { }

    // Paints picture into image (already sized and cleared); false with a message on bad input.
    bool draw(const PictureSpec &picture, QImage &image, QString *error) const;

private:
    const Skin &m_skin;
};

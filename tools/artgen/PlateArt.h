#pragma once
// Draws every picture that is not a button: window frame pieces, the tool panel, control bars,
// slider grooves and handles, popup backgrounds, the on-screen plates, the start picture and
// the application mark.
//
// Thread contract: stateless apart from the skin it reads; used on the tool's only thread.
#include <QImage>
#include <QString>

class QPainter;
class Skin;
struct PictureSpec;

class PlateArt
{
public:
    explicit PlateArt(const Skin &skin)
        : m_skin(skin)
    { }

    // Paints picture into image (already sized and cleared); false with a message on bad input.
    bool draw(const PictureSpec &picture, QImage &image, QString *error) const;

private:
    void frame(QPainter &p, const PictureSpec &picture, const QSize &size) const;
    void panel(QPainter &p, const PictureSpec &picture, const QSize &size) const;
    void popup(QPainter &p, const PictureSpec &picture, const QSize &size) const;
    void brightness(QPainter &p, const PictureSpec &picture, const QSize &size, QString *error) const;
    void start(QPainter &p, const PictureSpec &picture, const QSize &size) const;
    bool glyph(QPainter &p, const PictureSpec &picture, const QRectF &box, int defaultPx) const;

    const Skin &m_skin;
};

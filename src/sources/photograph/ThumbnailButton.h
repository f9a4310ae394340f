#pragma once

#include <QColor>
#include <QImage>
#include <QPushButton>

// One thumbnail of the strip: a flat, checkable 56 x 50 button that paints its picture centred
// on black inside a border whose colour shows its state (red pressed or checked, white under
// the pointer, gray otherwise).
//
// Threads: GUI thread only. The thumbnail loader reaches setThumbnail() through a queued call
// addressed to the button, so a call still queued when the button is deleted is dropped.
class ThumbnailButton : public QPushButton
{
    Q_OBJECT
public:
    static constexpr int THUMBNAIL_WIDTH = 56;
    static constexpr int THUMBNAIL_HEIGHT = 50;

    explicit ThumbnailButton(QWidget *parent);

    void setThumbnail(const QImage &image);
    bool hasPicture() const { return m_hasPicture; }
    QImage picture() const { return m_picture; }
    bool isHovered() const { return m_hover; }
    QColor borderColour() const;

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_hover = false;
    bool m_hasPicture = false;
    QImage m_picture;
};

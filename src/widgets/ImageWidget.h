#pragma once

#include <QImage>
#include <QWidget>

class QPaintEvent;

// A plain widget that shows one picture at its top-left corner and is exactly as large as the
// picture. Control bars and the thumbnail strip are built on it.
//
// Threads: GUI thread only.
class ImageWidget : public QWidget
{
    Q_OBJECT
public:
    ImageWidget(const QImage &image, QWidget *parent);

protected:
    const QImage &image() const { return m_image; }
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

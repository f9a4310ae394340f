#pragma once

#include <QImage>
#include <QWidget>

class QMouseEvent;
class QPaintEvent;

// A picture slider: a background stretched over the widget and a handle picture placed by the
// value, kept HandleMargin pixels away from both ends. Pressing, dragging and releasing take the
// value under the pointer and report it with valueChanged() every time, changed or not; the
// setters report nothing.
//
// Threads: GUI thread only.
class HorizontalSlider : public QWidget
{
    Q_OBJECT
public:
    static constexpr int HandleMargin = 6;

    HorizontalSlider(const QImage &handle, QWidget *parent);

    void setRange(int minimum, int maximum);
    void setHandleWidth(int width);
    void setValue(int value); // repaints at once

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int handleWidth() const { return m_handleWidth; }

    // Left edge of the drawn handle for the current value and width.
    int handlePosition() const;

signals:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double step() const;
    void takeValueAt(int x);

    QImage m_background;
    QImage m_handle;
    int m_handleWidth = 96;
    int m_value = 0;
    int m_minimum = 0;
    int m_maximum = 100;
};

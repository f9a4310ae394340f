#pragma once

#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QTimer>

class QEvent;
class QMouseEvent;
class QPaintEvent;

// The picture push button every bar, popup and window of the program is made of. It shows the
// normal, over or click picture of one icon name (":/icons/<Normal|Over|Click>/<name>.png"),
// takes the normal picture's size, draws its caption (the button text) centred over the
// picture, and reports a long left press: hold() fires once, 500 ms into a press.
//
// Threads: GUI thread only (the hold timer runs on the GUI thread's event loop).
class ImageButton : public QPushButton
{
    Q_OBJECT
public:
    static constexpr int HoldInterval = 500; // ms of pressing before hold()

    ImageButton(const QString &iconName, QWidget *parent, const QPoint &position);
    ImageButton(const QString &iconName, const QString &toolTip, QWidget *parent, const QPoint &position);

    // Replaces the three pictures and fixes the button to the normal picture's size. A missing
    // click or over picture falls back to the normal one; a missing normal picture leaves an
    // empty 0 x 0 button.
    void setImage(const QString &iconName);
    void setTextColor(const QColor &color);
    QColor textColor() const { return m_textColor; }
    // True while clicked() comes from the release of a press that reached hold(): a button
    // whose click toggles something can leave it as it was when the hold opened a popup.
    bool isEndingHold() const { return m_held && m_releasing; }

signals:
    void hold();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // A press that has reached hold() stays down when the focus leaves, so that the release
    // over the button still clicks it.
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_hovered = false;
    QColor m_textColor;
    QImage m_normal;
    QImage m_over;
    QImage m_click;
    // A member rather than a child: the button's children are its caller's business.
    QTimer m_holdTimer;
    bool m_held = false; // hold() was emitted for the press in progress
    bool m_releasing = false;
};

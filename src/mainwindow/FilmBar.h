#pragma once

#include <QRect>
#include <QString>

class HorizontalSlider;
class ImageButton;
class ImageWidget;
class QLabel;
class QWidget;
class Slider;

// The Film mode's controls: the player bar under the picture with its seven buttons, the
// vertical volume slider shown on demand right of the bar, the position slider directly
// under the page stack, and right of the bar the film's name over its elapsed and total time. Every widget is
// a child of the main window (the buttons of the bar) and starts hidden; the window wires the buttons and
// sliders to its film slots.
//
// Threads: GUI thread only.
class FilmBar
{
public:
    explicit FilmBar(QWidget *window);

    // Places the widgets for a window of width w and height h whose panel takes `panelOffset`
    // pixels, with the page stack at `pageStack`.
    void layout(int w, int h, int panelOffset, const QRect &pageStack);
    // Entering Film mode shows the bar and the position slider.
    void enter();
    // Leaving Film mode hides every widget and unchecks the volume button.
    void leave();
    // Shows the volume slider while the volume button is checked.
    void showVolumeFromButton();
    // The film's name (elided to fit) over "elapsed / total"; an empty name clears both.
    void setFilmInfo(const QString &name, const QString &time);

    QLabel *filmInfo() const { return m_info; }

    ImageWidget *bar() const { return m_bar; }
    ImageButton *openButton() const { return m_open; }
    ImageButton *playButton() const { return m_play; }
    ImageButton *pauseButton() const { return m_pause; }
    ImageButton *stopButton() const { return m_stop; }
    ImageButton *backwardButton() const { return m_backward; }
    ImageButton *forwardButton() const { return m_forward; }
    ImageButton *volumeButton() const { return m_volume; }
    Slider *volumeSlider() const { return m_volumeSlider; }
    HorizontalSlider *positionSlider() const { return m_positionSlider; }

private:
    ImageWidget *m_bar;
    ImageButton *m_open;
    ImageButton *m_play;
    ImageButton *m_pause;
    ImageButton *m_stop;
    ImageButton *m_backward;
    ImageButton *m_forward;
    ImageButton *m_volume;
    Slider *m_volumeSlider;
    HorizontalSlider *m_positionSlider;
    QLabel *m_info;
    QString m_name;
    QString m_time;
};

#pragma once

#include <QRect>

class HorizontalSlider;
class ImageButton;
class ImageWidget;
class QLabel;
class QFont;
class QString;
class QWidget;
class PhotographSource;
class Slider;
class ThumbnailWidget;

// The Photograph mode's controls: the browsing bar with its six buttons, the counter of the
// current picture at the bottom right, the slide-show interval selector with its scale label,
// and the thumbnail strip with its scroll bar. Every widget is a child of the main window (the
// buttons of the bar, and the strip, which lies over the photograph canvas) and starts hidden;
// the window wires them to its photograph slots.
//
// Threads: GUI thread only.
class PhotographBar
{
public:
    static constexpr int INTERVAL_STEPS = 6;

    // The thumbnail strip shows `source`'s pictures over the lower part of `canvas`.
    PhotographBar(QWidget *window, PhotographSource *source, QWidget *canvas);

    // Slide-show period for a selector position 0..5 (1, 2, 5, 10, 15 and 30 s); positions
    // outside the scale are clamped to it.
    static int intervalMs(int position);
    // "id+1/count", the counter's text for the picture at index `id`.
    static QString counterText(int id, int count);
    // The counter's width in `font` for any picture of a folder of `count`: room for the widest
    // digits at as many places as `count` has on both sides of the slash, never under the
    // counter's first 70 pixels.
    static int counterWidth(const QFont &font, int count);

    void layout(int w, int h, int panelOffset, const QRect &pageStack);
    // Shows the counter for the picture at index `id` of `count`; a folder whose counts need
    // more room widens the counter and lays the bar out again, one that needs less gives it back.
    void showCounter(int id, int count);
    // Entering Photograph mode shows the bar and the counter.
    void enter();
    // Leaving Photograph mode unchecks the thumbnail and time buttons and hides everything;
    // the slide button keeps its state.
    void leave();
    // Shows the interval selector and its label while the time button is checked.
    void showIntervalFromButton();
    // Shows the thumbnail strip and its scroll bar while the thumbnail button is checked.
    void showStripFromButton();

    ImageWidget *bar() const { return m_bar; }
    ImageButton *openButton() const { return m_open; }
    ImageButton *previousButton() const { return m_previous; }
    ImageButton *slideButton() const { return m_slide; }
    ImageButton *nextButton() const { return m_next; }
    ImageButton *thumbnailButton() const { return m_thumbnail; }
    ImageButton *timeButton() const { return m_time; }
    Slider *intervalSelector() const { return m_intervalSelector; }
    QLabel *intervalLabel() const { return m_intervalLabel; }
    QLabel *counterLabel() const { return m_counter; }
    HorizontalSlider *stripScrollBar() const { return m_stripScrollBar; }
    ThumbnailWidget *thumbnailStrip() const { return m_strip; }

private:
    ImageWidget *m_bar;
    ImageButton *m_open;
    ImageButton *m_previous;
    ImageButton *m_slide;
    ImageButton *m_next;
    ImageButton *m_thumbnail;
    ImageButton *m_time;
    Slider *m_intervalSelector;
    QLabel *m_intervalLabel;
    QLabel *m_counter;
    HorizontalSlider *m_stripScrollBar;
    ThumbnailWidget *m_strip;

    // The last layout's arguments, for laying out again when the counter's width changes.
    bool m_laidOut = false;
    int m_width = 0;
    int m_height = 0;
    int m_panelOffset = 0;
    QRect m_pageStack;
};

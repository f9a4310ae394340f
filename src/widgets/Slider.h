#pragma once

#include <QSlider>

// The toolkit's slider in the program's skin: groove and handle pictures come from the
// resource tree through a style sheet, for both orientations.
//
// Threads: GUI thread only.
class Slider : public QSlider
{
    Q_OBJECT
public:
    static const char *const StyleSheet;
    // Added on a screen of more than one device pixel per logical pixel.
    static const char *const DenseScreenStyleSheet;

    Slider(Qt::Orientation orientation, QWidget *parent);

public slots:
    void showOrHide();
};

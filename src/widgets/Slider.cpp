#include "widgets/Slider.h"

const char *const Slider::StyleSheet =
    "QSlider::groove:horizontal {  border-image: url(:/icons/Background/TIME_SLIDE_BK_1.png);}"
    "QSlider::handle:horizontal {  image: url(:/icons/Background/TIME_SLIDE_ADJUSTMENT.png);}"
    "QSlider::groove:vertical {  border-image: url(:/icons/Background/POP_VOL_BK.png);  "
    "border-width: 10px}"
    "QSlider::handle:vertical {  image: url(:/icons/Background/TIME_SLIDE_ADJUSTMENT.png);}";

Slider::Slider(Qt::Orientation orientation, QWidget *parent)
    : QSlider(orientation, parent)
{
    setStyleSheet(QString::fromLatin1(StyleSheet));
}

void Slider::showOrHide()
{
    // The slider's own hidden flag, so the toggle also works while its bar is not on screen.
    setVisible(isHidden());
}

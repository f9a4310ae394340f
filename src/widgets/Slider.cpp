#include "widgets/Slider.h"

#include <QScreen>

const char *const Slider::StyleSheet =
    "QSlider::groove:horizontal {  border-image: url(:/icons/Background/TIME_SLIDE_BK_1.png);}"
    "QSlider::handle:horizontal {  image: url(:/icons/Background/TIME_SLIDE_ADJUSTMENT.png);}"
    "QSlider::groove:vertical {  border-image: url(:/icons/Background/POP_VOL_BK.png);  "
    "border-width: 10px}"
    "QSlider::handle:vertical {  image: url(:/icons/Background/TIME_SLIDE_ADJUSTMENT.png);}";

const char *const Slider::DenseScreenStyleSheet =
    "QSlider::groove:vertical {  border-image: url(:/icons/Background/POP_VOL_BK.png) 20;  "
    "border-width: 10px}";

Slider::Slider(Qt::Orientation orientation, QWidget *parent)
    : QSlider(orientation, parent)
{
    QString sheet = QString::fromLatin1(StyleSheet);
    // A style sheet cuts a border image into its nine pieces in the image's own pixels, and on
    // a dense screen the image it loads is the 2x picture (chosen by the widget's screen): cut
    // at the 10 logical pixels the border keeps, or the groove's channel is drawn squeezed.
    const QScreen *screen = this->screen();
    if (screen && screen->devicePixelRatio() > 1.0)
        sheet += QString::fromLatin1(DenseScreenStyleSheet);
    setStyleSheet(sheet);
}

void Slider::showOrHide()
{
    // The slider's own hidden flag, so the toggle also works while its bar is not on screen.
    setVisible(isHidden());
}

#include "SheetPreview.h"

#include "Skin.h"

#include <QPainter>

namespace {

// A caption the way the picture button draws it: centred, baseline at (fh + h) / 2 - 3.
void caption(QPainter &p, const QImage &button, const QPoint &at, const QString &text, const QFont &font,
             const QColor &colour)
{
    p.drawImage(at, button);
    p.setFont(font);
    p.setPen(colour);
    const QFontMetrics fm = p.fontMetrics();
    const int x = (button.width() - fm.horizontalAdvance(text)) / 2;
    const int y = (fm.height() + button.height()) / 2 - 3;
    p.drawText(at + QPoint(x, y), text);
}

// A labelled on-screen picture the way the display draws it: the label centred right of the
// first 38 pixels, baseline at (fh + h) / 2.
void labelled(QPainter &p, const QImage &plate, const QPoint &at, const QString &text, const QFont &font)
{
    p.drawImage(at, plate);
    p.setFont(font);
    p.setPen(Qt::white);
    const QFontMetrics fm = p.fontMetrics();
    const int x = at.x() + (plate.width() - fm.horizontalAdvance(text) - 38) / 2 + 38;
    const int y = at.y() + (fm.height() + plate.height()) / 2;
    p.drawText(x, y, text);
}

QFont pointFont(const QFont &base, int points, bool bold = false)
{
    QFont f = base;
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

} // namespace

QVector<QPair<QString, QImage>> SheetPreview::compose() const
{
    QVector<QPair<QString, QImage>> out;
    auto add = [&out](const QString &label, const QImage &img) {
        if (!img.isNull())
            out.append({label, img});
    };
    add(QStringLiteral("captions: mode buttons (Arial 11), panel title (Arial 10), popup buttons"),
        captionedButtons());
    add(QStringLiteral("labels over a white page (Arial 11)"), labelledPlates());
    add(QStringLiteral("brightness 0..12, level 9"), brightnessBar(0, 12, 9));
    add(QStringLiteral("brightness, camera absent"), brightnessBar(0, 0, 0));
    add(QStringLiteral("recording time (Arial 15 bold, red)"), recordingTime(QStringLiteral("01:02:05")));
    add(QStringLiteral("100 hours"), recordingTime(QStringLiteral("100:00:00")));
    return out;
}

QImage SheetPreview::page(int width, int height) const
{
    // Half a white page, half a dark picture: the worst cases for the on-screen plates.
    QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(width / 2, 0, width - width / 2, height, QColor(0x50, 0x48, 0x40));
    return img;
}

QImage SheetPreview::captionedButtons() const
{
    const QStringList needed = {"Normal/MAIN_BUTTON.png",      "Click/MAIN_BUTTON.png",
                                "Normal/MAIN_BUTTON_LONG.png", "Normal/TOOL_TITLE_OPEN.png",
                                "Normal/POPUP_BUTTON.png",     "Click/POPUP_BUTTON.png"};
    for (const QString &n : needed) {
        if (!m_pictures.contains(n))
            return QImage();
    }
    QImage img(500, 64, QImage::Format_ARGB32_Premultiplied);
    img.fill(m_skin.colour(QStringLiteral("frame")));
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont base = m_skin.font(12);
    const QColor white(Qt::white);
    caption(p, m_pictures["Normal/MAIN_BUTTON.png"], {4, 5}, QStringLiteral("Live"), pointFont(base, 11),
            white);
    caption(p, m_pictures["Click/MAIN_BUTTON.png"], {111, 5}, QStringLiteral("Photograph"),
            pointFont(base, 11), white);
    caption(p, m_pictures["Normal/MAIN_BUTTON_LONG.png"], {218, 5}, QStringLiteral("Drawing Board"),
            pointFont(base, 11), white);
    caption(p, m_pictures["Normal/TOOL_TITLE_OPEN.png"], {354, 5}, QStringLiteral("Adjustment"),
            pointFont(base, 10), white);
    // The popups' text buttons keep the button's default caption colour, black.
    caption(p, m_pictures["Normal/POPUP_BUTTON.png"], {4, 36}, QStringLiteral("OK"), pointFont(base, 8),
            Qt::black);
    caption(p, m_pictures["Click/POPUP_BUTTON.png"], {84, 36}, QStringLiteral("Cancel"), pointFont(base, 8),
            Qt::black);
    caption(p, m_pictures["Normal/POPUP_BUTTON.png"], {164, 36}, QStringLiteral("Browse"), pointFont(base, 8),
            Qt::black);
    return img;
}

QImage SheetPreview::labelledPlates() const
{
    const QVector<QPair<QString, QString>> plates = {{"OSD/OSD_COLOR_COLOR.png", "Color"},
                                                     {"OSD/OSD_COLOR_BW.png", "B & W"},
                                                     {"OSD/OSD_COLOR_NEGATIVE.png", "Negative"},
                                                     {"OSD/OSD_COLOR_MOSAIC.png", "Mosaic"},
                                                     {"OSD/OSD_ZOOM_IN.png", "Best fit"},
                                                     {"OSD/OSD_ZOOM_OUT.png", "32x"},
                                                     {"OSD/OSD_ROTATE.png", "270"}};
    QImage img = page(620, 110);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = pointFont(m_skin.font(12), 11);
    int x = 6;
    int y = 8;
    for (const auto &plate : plates) {
        const QImage pic = m_pictures.value(plate.first);
        if (pic.isNull())
            continue;
        if (x + pic.width() > img.width()) {
            x = 6;
            y += 52;
        }
        labelled(p, pic, {x, y}, plate.second, font);
        x += pic.width() + 12;
    }
    return img;
}

QImage SheetPreview::brightnessBar(int min, int max, int level) const
{
    const QImage minEnd = m_pictures.value("OSD/OSD_BRIGHTNESS_BK_MIN.png");
    const QImage maxEnd = m_pictures.value("OSD/OSD_BRIGHTNESS_BK_MAX.png");
    const QImage shortStep = m_pictures.value("OSD/OSD_BRIGHTNESS_BK_SHORT.png");
    const QImage longStep = m_pictures.value("OSD/OSD_BRIGHTNESS_BK_LONG.png");
    const QImage mark = m_pictures.value("OSD/OSD_BRIGHTNESS_BAR.png");
    const QImage centreMark = m_pictures.value("OSD/OSD_BRIGHTNESS_BAR_CENTER.png");
    if (minEnd.isNull() || maxEnd.isNull() || shortStep.isNull() || longStep.isNull() || mark.isNull()
        || centreMark.isNull())
        return QImage();
    const int W = 260;
    const int H = 60;
    QImage img = page(W, H);
    QPainter p(&img);
    const int mid = (min + max) / 2;
    int x = (W - (minEnd.width() + (max - min) * shortStep.width() + longStep.width() + maxEnd.width())) / 2;
    const int y = H - 50;
    p.drawImage(x, y, minEnd);
    x += minEnd.width();
    for (int v = min; v <= max; ++v) {
        if (v == mid) {
            p.drawImage(x, y, longStep);
            if (level == v)
                p.drawImage(x + 4, H - 40, centreMark);
            x += longStep.width();
        } else {
            p.drawImage(x, y, shortStep);
            if (level == v)
                p.drawImage(x + 5, H - 37, mark);
            x += shortStep.width();
        }
    }
    p.drawImage(x, y, maxEnd);
    return img;
}

QImage SheetPreview::recordingTime(const QString &text) const
{
    const QImage plate = m_pictures.value("OSD/OSD_TIME.png");
    if (plate.isNull())
        return QImage();
    const int W = 200;
    const int H = 110;
    QImage img = page(W, H);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int x = (W - plate.width()) / 2;
    p.drawImage(x, H - 100, plate);
    p.setPen(Qt::red);
    p.setFont(pointFont(m_skin.font(12), 15, true));
    const QFontMetrics fm = p.fontMetrics();
    p.drawText(x + (plate.width() - fm.horizontalAdvance(text)) / 2,
               (fm.height() + plate.height()) / 2 + H - 103, text);
    return img;
}

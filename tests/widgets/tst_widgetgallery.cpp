// Renders every kind of widget of the kit, with the program's own artwork, into PNG files in
// the build tree (widget-gallery/), so the skin can be looked at by eye. The checks here are
// only that each kind renders something of its size.
#include "widgets/FramelessWindow.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ImageWidget.h"
#include "widgets/Panel.h"
#include "widgets/Slider.h"
#include "widgets/StyleWindow.h"

#include <QDir>
#include <QPainter>
#include <QtTest>

namespace {

class GalleryWindow : public StyleWindow
{
protected:
    void layoutContents() override { }
};

QString galleryDir()
{
    return QStringLiteral(DOCCAM_BINARY_DIR) + QStringLiteral("/widget-gallery");
}

} // namespace

class TestWidgetGallery : public QObject
{
    Q_OBJECT
private:
    QList<QPair<QString, QImage>> m_shots;

    void keep(const QString &kind, QWidget *widget)
    {
        const QImage shot = widget->grab().toImage();
        QVERIFY2(!shot.isNull() && shot.size() == widget->size(), qPrintable(kind));
        // Something was drawn: not every pixel is the same.
        bool varied = false;
        for (int y = 0; y < shot.height() && !varied; ++y)
            for (int x = 0; x < shot.width() && !varied; ++x)
                varied = shot.pixel(x, y) != shot.pixel(0, 0);
        QVERIFY2(varied, qPrintable(kind + " renders one flat colour"));
        QVERIFY(shot.save(galleryDir() + "/" + kind + ".png"));
        m_shots.append({kind, shot});
    }

private slots:
    void initTestCase() { QVERIFY(QDir().mkpath(galleryDir())); }

    void imageButtons()
    {
        QWidget strip;
        strip.setAttribute(Qt::WA_StyledBackground);
        strip.setStyleSheet("background: #1e2127");
        strip.resize(520, 60);
        new ImageButton("ICON_ZOOM_IN", "Zoom in", &strip, QPoint(10, 14));
        auto *checked = new ImageButton("ICON_FREEHAND", &strip, QPoint(80, 14));
        checked->setCheckable(true);
        checked->setChecked(true);
        auto *caption = new ImageButton("MAIN_BUTTON", &strip, QPoint(150, 20));
        caption->setText("Live");
        caption->setTextColor(Qt::white);
        auto *longCaption = new ImageButton("MAIN_BUTTON_LONG", &strip, QPoint(260, 20));
        longCaption->setText("Drawing Board");
        longCaption->setTextColor(Qt::white);
        auto *popup = new ImageButton("POPUP_BUTTON", &strip, QPoint(400, 20));
        popup->setText("OK");
        new ImageButton("WINDOWS_CLOSE", &strip, QPoint(480, 20));
        strip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&strip));
        keep("ImageButton", &strip);
    }

    void framelessWindow()
    {
        FramelessWindow popup(QImage(":/icons/Background/POP_BK_TOOL.png"), true, nullptr);
        new ImageButton("POPUP_CLOSE", &popup, QPoint(popup.width() - 18, 4));
        for (int i = 0; i < 4; ++i)
            new ImageButton(QStringList{"ICON_EFFECT_SUB_COLOR", "ICON_EFFECT_SUB_BW",
                                        "ICON_EFFECT_SUB_NEGATIVE", "ICON_EFFECT_SUB_MOSAIC"}[i],
                            &popup, QPoint(4 + 60 * i, 18));
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        keep("FramelessWindow", &popup);
    }

    void styleWindow()
    {
        GalleryWindow window;
        window.resize(480, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        keep("StyleWindow", &window);
    }

    void sliders()
    {
        QWidget bar;
        bar.setAttribute(Qt::WA_StyledBackground);
        bar.setStyleSheet("background: #2a2e35");
        bar.resize(380, 140);
        auto *film = new HorizontalSlider(QImage(":/icons/Background/FILM_SCROLL_BAR.png"), &bar);
        film->setGeometry(10, 10, 300, 10);
        film->setHandleWidth(22);
        film->setValue(30);
        auto *photo = new HorizontalSlider(QImage(":/icons/Background/PHOTO_SCROLL_BAR.png"), &bar);
        photo->setGeometry(10, 30, 300, 10);
        photo->setValue(70);
        auto *interval = new Slider(Qt::Horizontal, &bar);
        interval->setGeometry(10, 60, 160, 16);
        interval->setRange(1, 30);
        interval->setValue(10);
        auto *volume = new Slider(Qt::Vertical, &bar);
        volume->setGeometry(340, 20, 28, 110);
        volume->setValue(60);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        keep("Sliders", &bar);
    }

    void panel()
    {
        QWidget holder;
        auto *panel = new Panel(&holder);
        holder.resize(panel->width(), 420);
        panel->setGeometry(0, 0, panel->width(), 420);
        panel->addTitle("Drawing");
        for (const char *icon : {"ICON_FREEHAND", "ICON_LINE", "ICON_ARROW", "ICON_RETANGLE", "ICON_CIRCLE"})
            panel->addWidget(new ImageButton(icon, QString(), nullptr, QPoint()));
        ImageButton *collapsed = panel->addTitle("View");
        for (const char *icon : {"ICON_ZOOM_IN", "ICON_ZOOM_OUT"})
            panel->addWidget(new ImageButton(icon, QString(), nullptr, QPoint()));
        panel->addTitle("Output");
        for (const char *icon : {"ICON_CAPTURE", "ICON_RECORDING", "ICON_PRINT"})
            panel->addWidget(new ImageButton(icon, QString(), nullptr, QPoint()));
        panel->addStretch();
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));
        collapsed->click();
        // Let the grid take the collapsed group's room before the picture is taken.
        QCoreApplication::processEvents();
        keep("Panel", &holder);
    }

    void imageWidget()
    {
        QWidget holder;
        ImageWidget bar(QImage(":/icons/Background/FILM_CONTROL_BK.png"), &holder);
        holder.resize(bar.size());
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));
        keep("ImageWidget", &holder);
    }

    void cleanupTestCase()
    {
        // All kinds on one sheet, labelled.
        int width = 0;
        int height = 0;
        for (const auto &shot : qAsConst(m_shots)) {
            width = qMax(width, shot.second.width() + 20);
            height += shot.second.height() + 30;
        }
        if (width == 0)
            return;
        QImage sheet(width, height, QImage::Format_RGB32);
        sheet.fill(qRgb(96, 96, 96));
        QPainter painter(&sheet);
        painter.setPen(Qt::white);
        int y = 0;
        for (const auto &shot : qAsConst(m_shots)) {
            painter.drawText(10, y + 18, shot.first);
            painter.drawImage(10, y + 24, shot.second);
            y += shot.second.height() + 30;
        }
        painter.end();
        QVERIFY(sheet.save(galleryDir() + "/gallery.png"));
    }
};

QTEST_MAIN(TestWidgetGallery)
#include "tst_widgetgallery.moc"

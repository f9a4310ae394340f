#define QTEST_QPA_MOUSE_HANDLING

#include "TestResourceTree.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/Slider.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QRgb HandleColor = qRgb(255, 0, 255);

// Left edge and height of the drawn handle, found by its colour in the given row band.
QRect drawnHandle(QWidget *slider)
{
    const QImage shown = slider->grab().toImage();
    QRect found;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) == HandleColor)
                found |= QRect(x, y, 1, 1);
    return found;
}

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestSliders : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QWidget> m_window;

    HorizontalSlider *makeSlider(int width, int height = 14)
    {
        auto *slider = new HorizontalSlider(solidPicture(22, 10, HandleColor), m_window.get());
        slider->setGeometry(10, 10, width, height);
        slider->show();
        return slider;
    }

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(300, 100);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void defaults()
    {
        HorizontalSlider *slider = makeSlider(112);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 100);
        QCOMPARE(slider->value(), 0);
        QCOMPARE(slider->handleWidth(), 96);
    }

    void valueFromPointer_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("value");
        QTest::newRow("first position") << 112 << 0 << 100 << 6 << 0;
        QTest::newRow("near the end") << 112 << 0 << 100 << 105 << 99;
        QTest::newRow("past the end, clamped") << 112 << 0 << 100 << 111 << 100;
        QTest::newRow("left margin, clamped") << 112 << 0 << 100 << 1 << 0;
        QTest::newRow("middle") << 112 << 0 << 100 << 56 << 50;
        QTest::newRow("offset range") << 212 << 1000 << 1099 << 106 << 1050;
        QTest::newRow("negative range") << 112 << -50 << 49 << 6 << -50;
        QTest::newRow("slider narrower than its margins") << 8 << 3 << 9 << 4 << 3;
        QTest::newRow("empty range") << 112 << 5 << 4 << 50 << 5;
    }
    void valueFromPointer()
    {
        QFETCH(int, width);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, x);
        QFETCH(int, value);
        HorizontalSlider *slider = makeSlider(width);
        slider->setRange(minimum, maximum);
        QSignalSpy changed(slider, &HorizontalSlider::valueChanged);
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, 5));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), value);
        QCOMPARE(slider->value(), value);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, 5));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0).toInt(), value);
    }

    void everyMouseEventReports()
    {
        HorizontalSlider *slider = makeSlider(112);
        slider->setValue(0);
        QSignalSpy changed(slider, &HorizontalSlider::valueChanged);
        // Same value as before: still reported.
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(6, 5));
        QTest::mouseMove(slider, QPoint(56, 5));
        QTest::mouseMove(slider, QPoint(105, 5));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(105, 5));
        QCOMPARE(changed.count(), 4);
        const QList<int> values = {changed.at(0).at(0).toInt(), changed.at(1).at(0).toInt(),
                                   changed.at(2).at(0).toInt(), changed.at(3).at(0).toInt()};
        QCOMPARE(values, QList<int>({0, 50, 99, 99}));
        // Hovering with no button held does nothing, even with tracking on.
        slider->setMouseTracking(true);
        QTest::mouseMove(slider, QPoint(20, 5));
        QCOMPARE(changed.count(), 4);
        QCOMPARE(slider->value(), 99);
    }

    void settersAreSilent()
    {
        HorizontalSlider *slider = makeSlider(112);
        QSignalSpy changed(slider, &HorizontalSlider::valueChanged);
        slider->setRange(10, 20);
        slider->setHandleWidth(30);
        slider->setValue(15);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(slider->value(), 15);
    }

    void handlePlacement_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("handleWidth");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("left");
        QTest::newRow("minimum stays off the left end") << 112 << 22 << 0 << 6;
        QTest::newRow("middle") << 112 << 22 << 50 << 45;
        QTest::newRow("maximum stays off the right end") << 112 << 22 << 100 << 84;
        QTest::newRow("value above the range") << 112 << 22 << 500 << 84;
        QTest::newRow("value below the range") << 112 << 22 << -20 << 6;
        QTest::newRow("wide handle at the maximum") << 112 << 96 << 100 << 10;
        QTest::newRow("wide handle at the minimum") << 112 << 96 << 0 << 6;
        QTest::newRow("handle wider than the slider") << 60 << 96 << 100 << 6;
    }
    void handlePlacement()
    {
        QFETCH(int, width);
        QFETCH(int, handleWidth);
        QFETCH(int, value);
        QFETCH(int, left);
        HorizontalSlider *slider = makeSlider(width, 14);
        slider->setHandleWidth(handleWidth);
        slider->setValue(value);
        QCOMPARE(slider->handlePosition(), left);
        const QRect handle = drawnHandle(slider);
        QCOMPARE(handle.left(), left);
        QCOMPARE(handle.top(), 0);
        QCOMPARE(handle.height(), 14 - 4);
        QCOMPARE(handle.width(), qMin(handleWidth, width - left));
    }

    // A new range or handle width with the same value repaints the slider by itself, so the
    // handle on screen moves (the strip's handle after another folder is opened).
    void newRangeOrHandleWidthRepaints_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("handleWidth");
        QTest::addColumn<int>("left");
        QTest::newRow("range shrinks to the value") << 50 << 22 << 84;
        QTest::newRow("range grows") << 500 << 22 << 6;
        QTest::newRow("handle widens") << 100 << 60 << 26;
    }
    void newRangeOrHandleWidthRepaints()
    {
        QFETCH(int, maximum);
        QFETCH(int, handleWidth);
        QFETCH(int, left);
        HorizontalSlider *slider = makeSlider(112, 14);
        slider->setHandleWidth(22);
        slider->setValue(50);
        PaintCounter paints;
        slider->installEventFilter(&paints);
        QTest::qWait(50); // whatever was pending is painted
        const int before = paints.count;
        if (maximum != slider->maximum())
            slider->setRange(0, maximum);
        if (handleWidth != slider->handleWidth())
            slider->setHandleWidth(handleWidth);
        QTRY_VERIFY_WITH_TIMEOUT(paints.count > before, 2000);
        QCOMPARE(slider->handlePosition(), left);
        QCOMPARE(drawnHandle(slider).left(), left);
    }

    void backgroundStretched()
    {
        const QImage background(":/icons/Background/FILM_SCROLL_BACKGROUND.png");
        QVERIFY(!background.isNull());
        HorizontalSlider *slider = makeSlider(240, 10);
        slider->setHandleWidth(22);
        slider->setValue(0);
        const QImage shown = slider->grab().toImage();
        const QImage expected = background.scaled(240, 10, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                    .convertToFormat(shown.format());
        // Right of the handle the background shows as stretched.
        QCOMPARE(shown.copy(40, 0, 200, 10), expected.copy(40, 0, 200, 10));
    }

    void styleSheetAsWritten()
    {
        Slider slider(Qt::Horizontal, m_window.get());
        QCOMPARE(slider.orientation(), Qt::Horizontal);
        QCOMPARE(slider.styleSheet(),
                 QString("QSlider::groove:horizontal {  border-image: "
                         "url(:/icons/Background/TIME_SLIDE_BK_1.png);}QSlider::handle:horizontal "
                         "{  image: url(:/icons/Background/TIME_SLIDE_ADJUSTMENT.png);}"
                         "QSlider::groove:vertical {  border-image: "
                         "url(:/icons/Background/POP_VOL_BK.png);  border-width: 10px}"
                         "QSlider::handle:vertical {  image: "
                         "url(:/icons/Background/TIME_SLIDE_ADJUSTMENT.png);}"));
        Slider vertical(Qt::Vertical, m_window.get());
        QCOMPARE(vertical.orientation(), Qt::Vertical);
        QCOMPARE(vertical.parentWidget(), m_window.get());
    }

    void showOrHideToggles()
    {
        auto *slider = new Slider(Qt::Vertical, m_window.get());
        slider->show();
        QVERIFY(slider->isVisible());
        slider->showOrHide();
        QVERIFY(!slider->isVisible());
        slider->showOrHide();
        QVERIFY(slider->isVisible());
        // While its bar is off screen the toggle still flips the slider's own state.
        m_window->hide();
        slider->showOrHide();
        m_window->show();
        QVERIFY(!slider->isVisible());
    }
};

QTEST_MAIN(TestSliders)
#include "tst_sliders.moc"

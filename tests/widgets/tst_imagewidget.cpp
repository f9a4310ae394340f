#include "TestResourceTree.h"
#include "widgets/ImageWidget.h"

#include <QtTest>

class TestImageWidget : public QObject
{
    Q_OBJECT
private slots:
    void paintsItsPictureAtItsSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("control bar") << QSize(312, 38);
        QTest::newRow("one pixel") << QSize(1, 1);
        QTest::newRow("no picture") << QSize(0, 0);
    }
    void paintsItsPictureAtItsSize()
    {
        QFETCH(QSize, size);
        QImage picture;
        if (!size.isEmpty()) {
            picture = solidPicture(size.width(), size.height(), qRgb(20, 120, 220));
            picture.setPixel(0, 0, qRgb(255, 255, 0));
        }
        QWidget window;
        window.resize(400, 100);
        auto *widget = new ImageWidget(picture, &window);
        QCOMPARE(widget->parentWidget(), &window);
        QCOMPARE(widget->size(), size);
        QCOMPARE(widget->minimumSize(), size);
        QCOMPARE(widget->maximumSize(), size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (size.isEmpty())
            return;
        const QImage shown = widget->grab().toImage().convertToFormat(picture.format());
        QCOMPARE(shown, picture);
    }
};

QTEST_MAIN(TestImageWidget)
#include "tst_imagewidget.moc"

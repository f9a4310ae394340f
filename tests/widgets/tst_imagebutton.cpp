// Mouse events go through the window system layer, as a real pointer's do: enter and leave
// between widgets, implicit grabs and the held buttons all come from the toolkit itself.
#define QTEST_QPA_MOUSE_HANDLING

#include "TestResourceTree.h"
#include "widgets/ImageButton.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QRgb Normal = qRgb(200, 40, 40);
const QRgb Over = qRgb(40, 200, 40);
const QRgb Click = qRgb(40, 40, 200);
const QSize ButtonSize(60, 32);
const QPoint ButtonPos(20, 30);

QRgb pixelOf(QWidget *widget, const QPoint &at)
{
    return widget->grab().toImage().pixel(at);
}

} // namespace

class TestImageButton : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestResourceTree> m_pictures;
    std::unique_ptr<QWidget> m_window;

    ImageButton *makeButton(const QString &iconName)
    {
        auto *button = new ImageButton(iconName, m_window.get(), ButtonPos);
        button->show();
        return button;
    }

private slots:
    void initTestCase()
    {
        m_pictures = std::make_unique<TestResourceTree>(QMap<QString, QImage>{
            {"icons/Normal/TEST_THREE.png", solidPicture(60, 32, Normal)},
            {"icons/Over/TEST_THREE.png", solidPicture(60, 32, Over)},
            {"icons/Click/TEST_THREE.png", solidPicture(60, 32, Click)},
            {"icons/Normal/TEST_NORMAL_ONLY.png", solidPicture(60, 32, Normal)},
            {"icons/Over/TEST_OVER_ONLY.png", solidPicture(60, 32, Over)},
            {"icons/Normal/TEST_WIDE.png", solidPicture(30, 20, Normal)},
        });
        QVERIFY2(m_pictures->isValid(), qPrintable(m_pictures->errorString()));
    }

    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(200, 120);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // Two moves: a move to where the pointer already is counts for nothing.
        QTest::mouseMove(m_window.get(), QPoint(6, 6));
        QTest::mouseMove(m_window.get(), QPoint(5, 5));
    }

    void cleanup() { m_window.reset(); }

    void sizeFollowsNormalPicture_data()
    {
        QTest::addColumn<QString>("iconName");
        QTest::addColumn<QSize>("size");
        QTest::newRow("three pictures") << "TEST_THREE" << ButtonSize;
        QTest::newRow("normal only") << "TEST_NORMAL_ONLY" << ButtonSize;
        QTest::newRow("no normal picture") << "TEST_OVER_ONLY" << QSize(0, 0);
        QTest::newRow("unknown name") << "NO_SUCH_ICON" << QSize(0, 0);
    }
    void sizeFollowsNormalPicture()
    {
        QFETCH(QString, iconName);
        QFETCH(QSize, size);
        ImageButton *button = makeButton(iconName);
        QCOMPARE(button->size(), size);
        QCOMPARE(button->minimumSize(), size);
        QCOMPARE(button->maximumSize(), size);
        QCOMPARE(button->pos(), ButtonPos);
        QVERIFY(button->isFlat());
    }

    void setImageReplacesPicturesAndSize()
    {
        ImageButton *button = makeButton("TEST_WIDE");
        QCOMPARE(button->size(), QSize(30, 20));
        button->setImage("TEST_THREE");
        QCOMPARE(button->size(), ButtonSize);
        QCOMPARE(pixelOf(button, QPoint(50, 25)), Normal);
    }

    void toolTipConstructor()
    {
        auto *button = new ImageButton("TEST_THREE", "Zoom in", m_window.get(), QPoint(7, 9));
        QCOMPARE(button->toolTip(), QString("Zoom in"));
        QCOMPARE(button->pos(), QPoint(7, 9));
        QCOMPARE(button->size(), ButtonSize);
    }

    void pictureByState_data()
    {
        QTest::addColumn<QString>("iconName");
        QTest::addColumn<bool>("hover");
        QTest::addColumn<bool>("press");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QRgb>("shown");
        QTest::newRow("resting") << "TEST_THREE" << false << false << false << Normal;
        QTest::newRow("hovered") << "TEST_THREE" << true << false << false << Over;
        QTest::newRow("pressed") << "TEST_THREE" << true << true << false << Click;
        QTest::newRow("checked") << "TEST_THREE" << false << false << true << Click;
        QTest::newRow("checked and hovered") << "TEST_THREE" << true << false << true << Click;
        QTest::newRow("no over picture, hovered") << "TEST_NORMAL_ONLY" << true << false << false << Normal;
        QTest::newRow("no click picture, pressed") << "TEST_NORMAL_ONLY" << true << true << false << Normal;
    }
    void pictureByState()
    {
        QFETCH(QString, iconName);
        QFETCH(bool, hover);
        QFETCH(bool, press);
        QFETCH(bool, checked);
        QFETCH(QRgb, shown);
        ImageButton *button = makeButton(iconName);
        if (checked) {
            // Checked by a click, then the pointer leaves unless the row wants it to stay.
            button->setCheckable(true);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
            QVERIFY(button->isChecked());
            QTest::mouseMove(m_window.get(), QPoint(5, 5));
        }
        if (hover)
            QTest::mouseMove(button, QPoint(10, 10));
        if (press)
            QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(pixelOf(button, QPoint(30, 16)), shown);
        if (press)
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    }

    void hoverFollowsEnterAndLeave()
    {
        ImageButton *button = makeButton("TEST_THREE");
        m_window->setCursor(Qt::CrossCursor);
        QVERIFY(!button->testAttribute(Qt::WA_SetCursor));
        QTest::mouseMove(button, QPoint(10, 10));
        QCOMPARE(pixelOf(button, QPoint(30, 16)), Over);
        QVERIFY(button->testAttribute(Qt::WA_SetCursor));
        QCOMPARE(button->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseMove(m_window.get(), QPoint(150, 100));
        QCOMPARE(pixelOf(button, QPoint(30, 16)), Normal);
    }

    void caption_data()
    {
        QTest::addColumn<QString>("iconName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QColor>("drawnColor");
        QTest::newRow("white caption") << "TEST_THREE"
                                       << "OK" << QColor(Qt::white) << QColor(Qt::white);
        QTest::newRow("no colour draws black") << "TEST_THREE"
                                               << "Cancel" << QColor() << QColor(Qt::black);
        QTest::newRow("wider than the button")
            << "TEST_WIDE"
            << "Drawing Board Caption" << QColor(Qt::yellow) << QColor(Qt::yellow);
    }
    void caption()
    {
        QFETCH(QString, iconName);
        QFETCH(QString, caption);
        QFETCH(QColor, color);
        QFETCH(QColor, drawnColor);
        ImageButton *button = makeButton(iconName);
        QFont font = button->font();
        font.setPixelSize(12);
        font.setStyleStrategy(QFont::NoAntialias);
        button->setFont(font);
        button->setText(caption);
        if (color.isValid())
            button->setTextColor(color);

        const QImage shown = button->grab().toImage();
        const QFontMetrics metrics(font);
        const int x = (button->width() - metrics.horizontalAdvance(caption)) / 2;
        const int y = (metrics.height() + button->height()) / 2 - 3;
        if (metrics.horizontalAdvance(caption) > button->width())
            QVERIFY(x < 0);
        QImage expected(shown.size(), shown.format());
        expected.fill(Normal);
        {
            QPainter painter(&expected);
            painter.setFont(font);
            painter.setPen(drawnColor);
            painter.drawText(x, y, caption);
        }
        QCOMPARE(shown, expected);
        // The caption is really there: some pixels took its colour.
        bool captionSeen = false;
        for (int py = 0; py < shown.height() && !captionSeen; ++py)
            for (int px = 0; px < shown.width() && !captionSeen; ++px)
                captionSeen = shown.pixel(px, py) == drawnColor.rgb();
        QVERIFY(captionSeen);
    }

    void emptyCaptionDrawsNothing()
    {
        ImageButton *button = makeButton("TEST_THREE");
        button->setTextColor(Qt::white);
        button->setText(QString());
        const QImage shown = button->grab().toImage();
        QImage expected(shown.size(), shown.format());
        expected.fill(Normal);
        QCOMPARE(shown, expected);
    }

    void longPressHoldsOnceThenClicks()
    {
        ImageButton *button = makeButton("TEST_THREE");
        QSignalSpy hold(button, &ImageButton::hold);
        QSignalSpy clicked(button, &ImageButton::clicked);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(hold.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(hold.count(), 1, 5000);
        // Holding on does not repeat it.
        QTest::qWait(2 * ImageButton::HoldInterval);
        QCOMPARE(hold.count(), 1);
        QCOMPARE(clicked.count(), 0);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(12, 10));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(hold.count(), 1);
    }

    // The main window opens a popup on hold(); the popup takes the activation while the
    // button is still pressed, and the release over the button must still click it.
    void longPressClicksAfterAPopupTookTheFocus()
    {
        ImageButton *button = makeButton("TEST_THREE");
        QWidget popup(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        popup.resize(80, 40);
        connect(button, &ImageButton::hold, &popup, [&popup] {
            popup.show();
            popup.activateWindow();
        });
        QSignalSpy clicked(button, &ImageButton::clicked);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(button->hasFocus());
        QTRY_VERIFY_WITH_TIMEOUT(popup.isActiveWindow(), 5000);
        QVERIFY(!button->hasFocus());
        QVERIFY(button->isDown());
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(!button->isDown());
    }

    void longPressReleasedOutsideDoesNotClick()
    {
        ImageButton *button = makeButton("TEST_THREE");
        QSignalSpy hold(button, &ImageButton::hold);
        QSignalSpy clicked(button, &ImageButton::clicked);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(hold.count(), 1, 5000);
        QTest::mouseMove(m_window.get(), QPoint(150, 100));
        QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, QPoint(150, 100));
        QCOMPARE(clicked.count(), 0);
    }

    void shortPressOnlyClicks()
    {
        ImageButton *button = makeButton("TEST_THREE");
        QSignalSpy hold(button, &ImageButton::hold);
        QSignalSpy clicked(button, &ImageButton::clicked);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);
        // The timer must have had every chance to fire.
        QTest::qWait(2 * ImageButton::HoldInterval);
        QCOMPARE(hold.count(), 0);
    }

    void rightButtonLeavesHoldTimerAlone()
    {
        ImageButton *button = makeButton("TEST_THREE");
        QSignalSpy hold(button, &ImageButton::hold);
        QSignalSpy pressed(button, &ImageButton::pressed);
        QTest::mousePress(button, Qt::RightButton, {}, QPoint(10, 10));
        QTest::qWait(2 * ImageButton::HoldInterval);
        QCOMPARE(hold.count(), 0);
        QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(pressed.count(), 0); // the standard handling ignores the right button

        // A right click during a left press does not stop the hold either.
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mousePress(button, Qt::RightButton, {}, QPoint(10, 10));
        QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(hold.count(), 1, 5000);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(pressed.count(), 1);
    }
};

QTEST_MAIN(TestImageButton)
#include "tst_imagebutton.moc"

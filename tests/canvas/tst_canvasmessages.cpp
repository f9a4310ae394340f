#include "ManualClock.h"
#include "canvas/CanvasMessages.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"

#include <QtTest>

namespace {

// Counts the paints a widget gets, whoever asks for them.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Pixels of a picture that are near white: where words are written on the dark boxes.
int whitePixels(const QImage &picture, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(picture.pixel(x, y)) > 230;
    return count;
}

} // namespace

// Messages in words over a canvas: a standing one and a notice that runs out, painted over the
// picture and repainting the canvas themselves, since a canvas without frames gets no paint
// from anything else.
class TestCanvasMessages : public QObject
{
    Q_OBJECT

    struct Screen
    {
        ManualClock clock;
        ImageCanvas canvas; // showing its start picture, as the live canvas does without a camera
        std::unique_ptr<OSDProcessor> osd;
        Screen(const QSize &size)
        {
            canvas.resize(size);
            osd = std::make_unique<OSDProcessor>(&canvas, nullptr, nullptr, clock);
        }
        CanvasMessages *messages() const { return osd->messages(); }
        QImage render() { return canvas.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    };

private slots:
    // The words are painted inside the canvas, clear of the start picture's middle, on every
    // shape of canvas, the letterbox bands included.
    void standingMessageAndNotice_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("middleClear");
        QTest::newRow("the window's live canvas") << QSize(745, 580) << true;
        QTest::newRow("wide") << QSize(1200, 400) << true;
        QTest::newRow("small: the words may cover the middle") << QSize(320, 240) << false;
    }
    void standingMessageAndNotice()
    {
        QFETCH(QSize, size);
        Screen screen(size);
        const QImage before = screen.render();
        screen.messages()->setStanding("No document camera is connected",
                                       "Connect the document camera to a USB port of this computer.");
        screen.messages()->showNotice("Nothing to record: there is no picture from the document camera.");
        const QImage after = screen.render();
        const QRect lower(0, size.height() / 2, size.width(), size.height() / 2);
        const QRect upper(0, 0, size.width(), size.height() / 3);
        QVERIFY(whitePixels(after, lower) > whitePixels(before, lower) + 100);
        QVERIFY(whitePixels(after, upper) > whitePixels(before, upper) + 100);
        // The middle of the canvas, where its start picture shows the camera, is left alone.
        const QRect middle(size.width() / 2 - 20, size.height() / 2 - 40, 40, 40);
        QFETCH(bool, middleClear);
        if (middleClear)
            QCOMPARE(after.copy(middle), before.copy(middle));
        QCOMPARE(after.size(), size);
    }

    void noticeRunsOutAndRepaints()
    {
        Screen screen(QSize(640, 480));
        screen.canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen.canvas));
        PaintCounter counter(&screen.canvas);
        screen.messages()->showNotice("No snapshot taken", 300);
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints >= 1, 1000);
        QCOMPARE(screen.messages()->notice(), QString("No snapshot taken"));
        // The display's clock decides when it has run out; the canvas is repainted then.
        const int shown = counter.paints;
        screen.clock.advance(299);
        QTest::qWait(400);
        QCOMPARE(screen.messages()->notice(), QString("No snapshot taken")); // the clock says not yet
        screen.clock.advance(1);
        QVERIFY(screen.messages()->notice().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints > shown, 1000);
    }

    void standingMessageRepaintsOnChangeOnly()
    {
        Screen screen(QSize(640, 480));
        screen.canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen.canvas));
        PaintCounter counter(&screen.canvas);
        screen.messages()->setStanding("In use", "detail");
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints >= 1, 1000);
        QTest::qWait(50);
        const int painted = counter.paints;
        screen.messages()->setStanding("In use", "detail");
        QTest::qWait(100);
        QCOMPARE(counter.paints, painted);
        screen.messages()->setStanding(QString(), "left behind");
        QVERIFY(screen.messages()->standingTitle().isEmpty());
        QVERIFY(screen.messages()->standingDetail().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints > painted, 1000);
    }
};

QTEST_MAIN(TestCanvasMessages)
#include "tst_canvasmessages.moc"

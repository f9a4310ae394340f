#include "CanvasMouse.h"
#include "ManualClock.h"
#include "Screenshots.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/LiveSourceBase.h"

#include <QPainter>
#include <QtTest>

#include <functional>

namespace {

// The camera as the display reads it: brightness levels while open.
class FakeLiveSource : public LiveSourceBase
{
public:
    bool open = false;
    int level = 0;
    int min = 0;
    int max = 0;

    bool isOpen() override { return open; }
    qint32 setExtensionControl(quint32, void *, quint32) override { return -1; }
    qint32 getExtensionControl(quint32, void *, quint32) override { return -1; }
    qint32 flicker() override { return 1; }
    qint32 setFlicker(qint32) override { return 0; }
    int brightnessLevel() override { return open ? level : 0; }
    int brightnessLevelMax() override { return open ? max : 0; }
    int brightnessLevelMin() override { return open ? min : 0; }
    double deviceZoomPosition() override { return 0.0; }
    double deviceZoomFactor() override { return 0.0; }
};

constexpr int W = 640;
constexpr int H = 360;

// A 640 x 360 canvas showing a grey frame, with its display on a clock the test moves.
struct Screen
{
    std::unique_ptr<ImageCanvas> canvas;
    FakeLiveSource live;
    std::unique_ptr<OSDProcessor> osd;
    ManualClock clock;

    explicit Screen(bool shown = false)
    {
        if (shown) {
            canvas = CanvasMouse::shownCanvas(QSize(W, H), QSize(W, H));
        } else {
            canvas = std::make_unique<ImageCanvas>();
            canvas->resize(W, H);
            QImage still(W, H, QImage::Format_RGB888);
            still.fill(QColor(128, 128, 128));
            canvas->pipeline()->stillImageCaptured(&still);
        }
        osd = std::make_unique<OSDProcessor>(canvas.get(), &live, nullptr, clock);
    }
    QImage render() const { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QImage osdPicture(const QString &name)
{
    return QImage(QStringLiteral(":/icons/OSD/%1.png").arg(name));
}

QRect changedRect(const QImage &a, const QImage &b)
{
    QRect r;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

// `base` with the pictures drawn at their points.
QImage composed(const QImage &base, const QList<QPair<QPoint, QImage>> &pictures)
{
    QImage out = base.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    for (const auto &pic : pictures)
        p.drawImage(pic.first, pic.second);
    p.end();
    return out.convertToFormat(QImage::Format_RGB32);
}

// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

using Indication = std::function<void(Screen &)>;

} // namespace

Q_DECLARE_METATYPE(Indication)

// The on-screen display painted by its canvas: where each indication appears and when it goes.
class TestOSDProcessor : public QObject
{
    Q_OBJECT
private slots:
    // Without a camera nothing else repaints the canvas: an indication asks for the paint that
    // shows it and for the one that takes it away.
    void indicationsComeAndGoOnAnIdleCanvas_data()
    {
        QTest::addColumn<Indication>("show");
        QTest::newRow("brightness") << Indication([](Screen &s) { s.osd->showBrightness(); });
        QTest::newRow("zoom in") << Indication([](Screen &s) {
            s.canvas->zoomIn();
            s.osd->showZoomIn();
        });
        QTest::newRow("rotate") << Indication([](Screen &s) { s.osd->showRotate(); });
    }
    void indicationsComeAndGoOnAnIdleCanvas()
    {
        QFETCH(Indication, show);
        Screen s(true);
        QVERIFY(s.canvas);
        PaintCounter counter;
        s.canvas->installEventFilter(&counter);
        QTest::qWait(50);
        const QImage before = s.render();
        counter.paints = 0;
        show(s);
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints >= 1, 2000);
        const QImage shown = s.render();
        QVERIFY(changedRect(before, shown).isValid());
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(!Screenshots::save(shown, "edges", "idle-canvas-" + tag + "-shown").isEmpty());
        counter.paints = 0;
        s.clock.advance(OSDProcessor::SHOW_MS + 1);
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints >= 1, 3000);
        const QImage gone = s.render();
        QVERIFY(changedRect(shown, gone).isValid()); // the indication has gone
        QCOMPARE(gone, before);
        QVERIFY(!Screenshots::save(gone, "edges", "idle-canvas-" + tag + "-gone").isEmpty());
    }

    void timedIndications_data()
    {
        QTest::addColumn<Indication>("indication");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("picture"); // the plain picture drawn there, or a labelled one
        QTest::addColumn<bool>("labelled");
        QTest::addColumn<qint64>("shownFor");
        QTest::newRow("mask") << Indication([](Screen &s) {
            s.canvas->pipeline()->setMask(MASK_CIRCLE);
            s.osd->showMask();
        }) << QRect(30, H - 50, 40, 40)
                              << "OSD_MASK_CIRCLE" << false << qint64(1000);
        QTest::newRow("colour") << Indication([](Screen &s) {
            s.canvas->pipeline()->setEffect(EFFECT_BW);
            s.osd->showColor();
        }) << QRect(75, H - 50, 130, 40)
                                << "OSD_COLOR_BW" << true << qint64(1000);
        QTest::newRow("plain colour")
            << Indication([](Screen &s) { s.osd->showColor(); }) << QRect(75, H - 50, 130, 40)
            << "OSD_COLOR_NORMAL" << true << qint64(1000);
        QTest::newRow("zoom in") << Indication([](Screen &s) {
            s.canvas->zoomIn();
            s.osd->showZoomIn();
        }) << QRect(W - 100, H - 50, 98, 40)
                                 << "OSD_ZOOM_IN" << true << qint64(1000);
        QTest::newRow("zoom out") << Indication([](Screen &s) {
            s.canvas->zoomOut();
            s.osd->showZoomOut();
        }) << QRect(W - 100, H - 50, 98, 40)
                                  << "OSD_ZOOM_OUT" << true << qint64(1000);
        QTest::newRow("rotate") << Indication([](Screen &s) {
            s.canvas->rotateClockwise();
            s.osd->showRotate();
        }) << QRect(W - 100, H - 100, 98, 40)
                                << "OSD_ROTATE" << true << qint64(1000);
        QTest::newRow("autofocus") << Indication([](Screen &s) { s.osd->showAutoFocus(); })
                                   << QRect(W - 145, H - 50, 40, 40) << "OSD_AUTOFOCUS" << false
                                   << qint64(1000);
        QTest::newRow("snapshot") << Indication([](Screen &s) { s.osd->showSnapshot(); })
                                  << QRect(10, 10, 48, 48) << "OSD_SNAPSHOT" << false << qint64(500);
    }
    void timedIndications()
    {
        QFETCH(Indication, indication);
        QFETCH(QRect, place);
        QFETCH(QString, picture);
        QFETCH(bool, labelled);
        QFETCH(qint64, shownFor);
        Screen s;
        s.clock.set(5000);
        const QImage before = s.render();
        indication(s);
        const QImage shown = s.render();
        const QImage plain = composed(before, {{place.topLeft(), osdPicture(picture)}});
        QVERIFY(!osdPicture(picture).isNull());
        if (!labelled) {
            QCOMPARE(shown, plain);
        } else {
            QVERIFY(place.contains(changedRect(before, shown)));
            // The label is white, centred in the part right of the first 38 pixels.
            const QRect text = changedRect(plain, shown);
            QVERIFY(text.isValid());
            QVERIFY(text.left() >= place.left() + 38);
            QVERIFY(qAbs(text.center().x() - (place.left() + 38 + (place.width() - 38) / 2)) <= 3);
        }
        s.clock.advance(shownFor - 1);
        QCOMPARE(s.render(), shown);
        s.clock.advance(1);
        QCOMPARE(s.render(), before);
        // Repeating the indication opens a new window.
        indication(s);
        QVERIFY(s.render() != before);
    }

    void maskNoneDrawsNothing()
    {
        Screen s;
        const QImage before = s.render();
        s.canvas->pipeline()->setMask(MASK_NONE);
        s.osd->showMask();
        QCOMPARE(s.render(), before);
    }

    void standingMarks()
    {
        Screen s;
        const QImage before = s.render();
        const QRect freeze(W - 190, H - 50, 40, 40), macro(W - 235, H - 50, 40, 40);
        s.canvas->pipeline()->setFreeze(true);
        s.osd->showFreeze();
        s.osd->showMacro(1);
        const QImage both = composed(
            before,
            {{freeze.topLeft(), osdPicture("OSD_FREEZE")}, {macro.topLeft(), osdPicture("OSD_MACRO")}});
        QCOMPARE(s.render(), both);
        s.clock.set(3600 * 1000);
        QCOMPARE(s.render(), both);
        s.canvas->pipeline()->setFreeze(false);
        QCOMPARE(s.render(), composed(before, {{macro.topLeft(), osdPicture("OSD_MACRO")}}));
        s.osd->showMacro(0);
        QCOMPARE(s.render(), before);
    }

    void recordingTime()
    {
        Screen s;
        const QImage before = s.render();
        s.clock.set(1000);
        s.osd->startRecordingTime();
        const QRect place((W - 140) / 2, H - 100, 140, 36);
        const QImage atStart = s.render();
        QVERIFY(place.contains(changedRect(before, atStart)));
        s.clock.advance(3725 * 1000);
        const QImage later = s.render();
        QVERIFY(later != atStart); // the time moved on
        QVERIFY(place.contains(changedRect(before, later)));
        s.osd->stopRecordingTime();
        QCOMPARE(s.render(), before);
    }

    void timeText_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << qint64(0) << "00:00:00";
        QTest::newRow("59 s") << qint64(59) << "00:00:59";
        QTest::newRow("3725 s") << qint64(3725) << "01:02:05";
        QTest::newRow("10 h") << qint64(36000) << "10:00:00";
        QTest::newRow("100 h") << qint64(360000) << "100:00:00";
    }
    void timeText()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(OSDProcessor::timeText(seconds), text);
    }

    void zoomLabel_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("label");
        QTest::newRow("best fit upright is 1x") << QStringList{"fit"} << "1x";
        QTest::newRow("zoom 2") << QStringList{"in"} << "2x";
        // The indication is the magnification itself at every step.
        QTest::newRow("zoom 3") << QStringList{"in", "in"} << "3x";
        QTest::newRow("zoom 4") << QStringList{"in", "in", "in"} << "4x";
        QTest::newRow("zoom 5") << QStringList{"in", "in", "in", "in"} << "5x";
        QTest::newRow("zoom 6") << QStringList{"in", "in", "in", "in", "in"} << "6x";
        QTest::newRow("zoom 6 is the last") << QStringList{"in", "in", "in", "in", "in", "in"} << "6x";
        QTest::newRow("out from 1 upright") << QStringList{"out"} << "1x";
        QTest::newRow("quarter turn, in from best fit") << QStringList{"turn", "in"} << "1x";
        QTest::newRow("quarter turn, out from 1") << QStringList{"turn", "in", "out"} << "Best fit";
        QTest::newRow("quarter turn, best fit") << QStringList{"turn", "in", "in", "fit"} << "Best fit";
    }
    void zoomLabel()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, label);
        Screen s;
        // Squares of 40 pixels, so that a screenshot shows the magnification beside its label.
        QImage squares(W, H, QImage::Format_RGB888);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                squares.setPixelColor(x, y,
                                      (x / 40 + y / 40) % 2 ? QColor(90, 90, 90) : QColor(170, 170, 170));
        s.canvas->pipeline()->stillImageCaptured(&squares);
        for (const QString &step : steps) {
            if (step == "in") {
                s.canvas->zoomIn();
                s.osd->showZoomIn();
            } else if (step == "out") {
                s.canvas->zoomOut();
                s.osd->showZoomOut();
            } else if (step == "fit") {
                s.canvas->zoomBestFit();
                s.osd->showZoomIn();
            } else {
                s.canvas->rotateClockwise();
            }
        }
        QCOMPARE(s.osd->zoomLabelText(), label);
        s.canvas->pipeline()->autoRefresh(); // the refresh that shows the new view
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(!Screenshots::save(s.render(), "edges", "zoom-plate-" + tag).isEmpty());
    }

    void rotateLabel_data()
    {
        QTest::addColumn<int>("clockwise");
        QTest::addColumn<int>("counterClockwise");
        QTest::addColumn<QString>("label");
        QTest::newRow("one turn") << 1 << 0 << "90";
        QTest::newRow("twice clockwise") << 2 << 0 << "180";
        QTest::newRow("once back") << 0 << 1 << "270";
        QTest::newRow("full circle") << 4 << 0 << "0";
    }
    void rotateLabel()
    {
        QFETCH(int, clockwise);
        QFETCH(int, counterClockwise);
        QFETCH(QString, label);
        Screen s;
        for (int i = 0; i < clockwise; ++i)
            s.canvas->rotateClockwise();
        for (int i = 0; i < counterClockwise; ++i)
            s.canvas->rotateCounterClockwise();
        s.osd->showRotate();
        QCOMPARE(s.osd->rotateLabel(), label);
    }

    void colourLabel_data()
    {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QString>("label");
        QTest::newRow("colour") << int(EFFECT_COLOR) << "Color";
        QTest::newRow("bw") << int(EFFECT_BW) << "B & W";
        QTest::newRow("negative") << int(EFFECT_NEGATIVE) << "Negative";
        QTest::newRow("mosaic") << int(EFFECT_MOSAIC) << "Mosaic";
    }
    void colourLabel()
    {
        QFETCH(int, effect);
        QFETCH(QString, label);
        Screen s;
        s.canvas->pipeline()->setEffect(effect);
        s.osd->showColor();
        QCOMPARE(s.osd->colorLabel(), label);
    }

    void brightnessBar_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("level");
        QTest::newRow("unplugged: ends, centre step and centre mark") << false << -3 << 3 << 1;
        QTest::newRow("level above the middle") << true << -3 << 3 << 1;
        QTest::newRow("level in the middle") << true << 0 << 12 << 6;
        QTest::newRow("level at the bottom") << true << 0 << 12 << 0;
        QTest::newRow("level outside the range") << true << 0 << 5 << 9;
    }
    void brightnessBar()
    {
        QFETCH(bool, open);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, level);
        Screen s;
        s.live.open = open;
        s.live.min = min;
        s.live.max = max;
        s.live.level = level;
        const QImage before = s.render();
        s.osd->showBrightness();

        const QImage lo = osdPicture("OSD_BRIGHTNESS_BK_MIN"), hi = osdPicture("OSD_BRIGHTNESS_BK_MAX");
        const QImage shortStep = osdPicture("OSD_BRIGHTNESS_BK_SHORT"),
                     longStep = osdPicture("OSD_BRIGHTNESS_BK_LONG");
        const QImage bar = osdPicture("OSD_BRIGHTNESS_BAR"), centre = osdPicture("OSD_BRIGHTNESS_BAR_CENTER");
        QCOMPARE(lo.width(), 10);
        QCOMPARE(longStep.width(), 14);
        if (!open)
            min = max = level = 0;
        const int mid = (min + max) / 2;
        int x = (W - (10 + (max - min) * 10 + 14 + 10)) / 2;
        QList<QPair<QPoint, QImage>> parts{{QPoint(x, H - 50), lo}};
        x += 10;
        for (int v = min; v <= max; ++v) {
            if (v == mid) {
                parts.append({QPoint(x, H - 50), longStep});
                if (v == level)
                    parts.append({QPoint(x + 4, H - 40), centre});
                x += 14;
            } else {
                parts.append({QPoint(x, H - 50), shortStep});
                if (v == level)
                    parts.append({QPoint(x + 5, H - 37), bar});
                x += 10;
            }
        }
        parts.append({QPoint(x, H - 50), hi});
        QCOMPARE(s.render(), composed(before, parts));
        s.clock.set(1000);
        QCOMPARE(s.render(), before);
    }

    void clipFrameBlinks_data()
    {
        QTest::addColumn<qint64>("after"); // ms after the last paint of the selection
        QTest::addColumn<bool>("shown");
        QTest::newRow("0") << qint64(0) << true;
        QTest::newRow("99") << qint64(99) << true;
        QTest::newRow("100") << qint64(100) << false;
        QTest::newRow("199") << qint64(199) << false;
        QTest::newRow("200") << qint64(200) << true;
        QTest::newRow("450") << qint64(450) << true;
        QTest::newRow("750") << qint64(750) << false;
        QTest::newRow("899") << qint64(899) << true;
        QTest::newRow("900") << qint64(900) << false;
        QTest::newRow("5000") << qint64(5000) << false;
    }
    void clipFrameBlinks()
    {
        QFETCH(qint64, after);
        QFETCH(bool, shown);
        Screen s(true);
        QVERIFY(s.canvas);
        const QImage before = s.render();
        s.canvas->setTool(TOOL_CLIP);
        s.clock.set(10000);
        CanvasMouse::press(*s.canvas, QPoint(100, 50));
        CanvasMouse::move(*s.canvas, QPoint(300, 200));
        // While the selection is dragged, the frame shows steadily. The selection covers frame
        // pixels 100..300 (inclusive, width 201); the outline of that widget rectangle runs
        // along its left/top pixels and just right of/below its last ones.
        for (qint64 step : {0, 150, 5000}) {
            s.clock.advance(step);
            const QImage dragging = s.render();
            QCOMPARE(changedRect(before, dragging), QRect(QPoint(100, 50), QPoint(301, 201)));
            QCOMPARE(dragging.pixelColor(100, 120), QColor(Qt::black));
            QCOMPARE(dragging.pixelColor(200, 201), QColor(Qt::black));
            QCOMPARE(dragging.pixelColor(200, 120), QColor(128, 128, 128));
        }
        CanvasMouse::release(*s.canvas, QPoint(300, 200));
        s.clock.advance(after);
        QCOMPARE(s.render() != before, shown);
    }
};

QTEST_MAIN(TestOSDProcessor)
#include "tst_osdprocessor.moc"

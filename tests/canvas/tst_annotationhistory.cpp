// Undo and redo of the drawing on a canvas, driven by real mouse and key events: every kind of
// step gives back the layer byte for byte, steps survive turns of the picture, a new frame size
// clears them, and 10,000 strokes stay under the history's bound.
#include "CanvasMouse.h"
#include "canvas/AnnotationHistory.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"

#include <QPainter>
#include <QTextEdit>
#include <QtTest>

#include <malloc.h>
#include <mutex>

using namespace CanvasMouse;

Q_DECLARE_METATYPE(std::function<void(ImageCanvas &)>)

namespace {

using Step = std::function<void(ImageCanvas &)>;

const QSize WidgetSize(640, 360);
const QSize FrameSize(640, 360);

struct Counts
{
    int undo = 0;
    int redo = 0;
    std::size_t bytes = 0;
};

Counts counts(ImageCanvas &canvas)
{
    std::lock_guard<CanvasLock> lock(canvas.pipeline()->lock());
    const AnnotationHistory &h = canvas.pipeline()->historyLocked();
    return {h.undoCount(), h.redoCount(), h.bytes()};
}

QImage layer(const ImageCanvas &canvas)
{
    return canvas.pipeline()->annotationLayer();
}

void drawWith(ImageCanvas &canvas, int tool, const QPoint &from, const QList<QPoint> &moves)
{
    canvas.setTool(tool);
    drag(canvas, from, moves);
}

// A drawing the steps below change, so that no step starts on an empty layer.
void scribble(ImageCanvas &canvas)
{
    AnnotationTools::Style style = canvas.drawingStyle();
    style.lineColor = Qt::darkGreen;
    style.lineWidth = 6;
    canvas.setDrawingStyle(style);
    drawWith(canvas, TOOL_FREEHAND, QPoint(40, 40), {QPoint(120, 90), QPoint(300, 60), QPoint(500, 300)});
    drawWith(canvas, TOOL_RECTANGLE, QPoint(380, 40), {QPoint(600, 200)});
    style.lineColor = Qt::red;
    style.lineWidth = 3;
    style.fillEnabled = true;
    style.fillColor = QColor(0, 0, 255, 160);
    canvas.setDrawingStyle(style);
}

void typeText(ImageCanvas &canvas)
{
    canvas.setTool(TOOL_TEXT);
    press(canvas, QPoint(200, 150));
    release(canvas, QPoint(200, 150));
    QTest::keyClicks(canvas.textEditor(), QStringLiteral("Hello"));
    canvas.setTool(TOOL_LINE); // commits the text
}

} // namespace

class TestAnnotationHistory : public QObject
{
    Q_OBJECT
private slots:
    void eachStepUndoesAndRedoesByteForByte_data()
    {
        QTest::addColumn<Step>("step");
        auto shape = [](int tool, QList<QPoint> moves) {
            return Step([tool, moves](ImageCanvas &c) { drawWith(c, tool, QPoint(100, 100), moves); });
        };
        QTest::newRow("freehand stroke")
            << shape(TOOL_FREEHAND, {QPoint(150, 180), QPoint(260, 120), QPoint(330, 250)});
        QTest::newRow("line") << shape(TOOL_LINE, {QPoint(200, 200), QPoint(420, 310)});
        QTest::newRow("arrow") << shape(TOOL_ARROW, {QPoint(300, 120), QPoint(450, 260)});
        QTest::newRow("rectangle") << shape(TOOL_RECTANGLE, {QPoint(250, 250), QPoint(330, 300)});
        QTest::newRow("circle") << shape(TOOL_CIRCLE, {QPoint(400, 330)});
        QTest::newRow("triangle") << shape(TOOL_TRIANGLE, {QPoint(260, 280)});
        QTest::newRow("eraser stroke")
            << shape(TOOL_ERASER, {QPoint(120, 90), QPoint(200, 80), QPoint(300, 62)});
        QTest::newRow("text") << Step(typeText);
        QTest::newRow("erase all") << Step([](ImageCanvas &c) { c.clearAnnotations(); });
    }
    void eachStepUndoesAndRedoesByteForByte()
    {
        QFETCH(Step, step);
        auto canvas = shownCanvas(WidgetSize, FrameSize);
        QVERIFY(canvas);
        scribble(*canvas);
        const Counts start = counts(*canvas);
        QCOMPARE(start.undo, 2);
        const QImage before = layer(*canvas);
        const bool dirtyBefore = canvas->pipeline()->layerDirty();

        step(*canvas);
        const QImage after = layer(*canvas);
        const bool dirtyAfter = canvas->pipeline()->layerDirty();
        QVERIFY(after != before);
        QCOMPARE(counts(*canvas).undo, start.undo + 1);

        QVERIFY(canvas->undo());
        QCOMPARE(layer(*canvas), before);
        QCOMPARE(canvas->pipeline()->layerDirty(), dirtyBefore);
        QCOMPARE(counts(*canvas).redo, 1);

        QVERIFY(canvas->redo());
        QCOMPARE(layer(*canvas), after);
        QCOMPARE(canvas->pipeline()->layerDirty(), dirtyAfter);
        QCOMPARE(counts(*canvas).undo, start.undo + 1);
        QCOMPARE(counts(*canvas).redo, 0);
    }

    void undoAfterEraseAllShowsTheDrawingAgain()
    {
        // Not only the layer: the processed picture carries the drawing again.
        auto canvas = shownCanvas(WidgetSize, FrameSize, Qt::white);
        QVERIFY(canvas);
        scribble(*canvas);
        canvas->pipeline()->autoRefresh();
        const QImage drawn = canvas->pipeline()->outputImage();
        canvas->clearAnnotations();
        canvas->pipeline()->autoRefresh();
        QVERIFY(canvas->pipeline()->outputImage() != drawn);
        QVERIFY(canvas->undo());
        canvas->pipeline()->autoRefresh();
        QCOMPARE(canvas->pipeline()->outputImage(), drawn);
    }

    void fillBackgroundIsOneStep()
    {
        // The page's stills have the still size; a fill keeps the frame size and the drawing.
        auto canvas = shownCanvas(WidgetSize, QSize(FramePipeline::STILL_WIDTH, FramePipeline::STILL_HEIGHT),
                                  Qt::white);
        QVERIFY(canvas);
        canvas->setBoard(true);
        canvas->fillBackground(Qt::white);
        QCOMPARE(counts(*canvas).undo, 0); // the same colour again changes nothing
        scribble(*canvas);
        const QImage drawing = layer(*canvas);
        canvas->fillBackground(Qt::yellow);
        QCOMPARE(canvas->pipeline()->outputImage().pixelColor(5, 5), QColor(Qt::yellow));

        QVERIFY(canvas->undo());
        QCOMPARE(canvas->drawingStyle().backgroundColor, QColor(Qt::white));
        QCOMPARE(canvas->pipeline()->outputImage().pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(layer(*canvas), drawing); // the drawing is not touched

        QVERIFY(canvas->redo());
        QCOMPARE(canvas->drawingStyle().backgroundColor, QColor(Qt::yellow));
        QCOMPARE(canvas->pipeline()->outputImage().pixelColor(5, 5), QColor(Qt::yellow));
    }

    void stepsFollowTheTurnedPicture_data()
    {
        QTest::addColumn<int>("turnsBeforeStep");
        QTest::addColumn<int>("turnsBeforeUndo");
        QTest::newRow("drawn upright, undone turned once") << 0 << 1;
        QTest::newRow("drawn turned once, undone upright") << 1 << 3;
        QTest::newRow("drawn turned twice, undone turned three times") << 2 << 1;
    }
    void stepsFollowTheTurnedPicture()
    {
        QFETCH(int, turnsBeforeStep);
        QFETCH(int, turnsBeforeUndo);
        auto canvas = shownCanvas(WidgetSize, FrameSize);
        QVERIFY(canvas);
        scribble(*canvas);
        for (int i = 0; i < turnsBeforeStep; ++i)
            canvas->rotateClockwise();
        const QImage before = layer(*canvas);
        drawWith(*canvas, TOOL_ARROW, QPoint(250, 100), {QPoint(400, 250)});
        const QImage after = layer(*canvas);
        QVERIFY(after != before);

        for (int i = 0; i < turnsBeforeUndo; ++i)
            canvas->rotateClockwise();
        const QTransform turn = QTransform().rotate(90 * turnsBeforeUndo);
        QVERIFY(canvas->undo());
        QCOMPARE(layer(*canvas), before.transformed(turn, Qt::FastTransformation));
        QVERIFY(canvas->redo());
        QCOMPARE(layer(*canvas), after.transformed(turn, Qt::FastTransformation));
    }

    void stepsUndoInOrderAndANewStepDropsTheRedoSide()
    {
        auto canvas = shownCanvas(WidgetSize, FrameSize);
        QVERIFY(canvas);
        QList<QImage> states = {layer(*canvas)};
        for (int i = 0; i < 4; ++i) {
            drawWith(*canvas, TOOL_LINE, QPoint(50 + 40 * i, 50), {QPoint(90 + 40 * i, 300)});
            states << layer(*canvas);
        }
        for (int i = 3; i >= 1; --i) {
            QVERIFY(canvas->undo());
            QCOMPARE(layer(*canvas), states[i]);
        }
        QCOMPARE(counts(*canvas).redo, 3);
        drawWith(*canvas, TOOL_CIRCLE, QPoint(300, 100), {QPoint(400, 200)});
        QCOMPARE(counts(*canvas).redo, 0);
        QVERIFY(!canvas->redo());
        QVERIFY(canvas->undo());
        QCOMPARE(layer(*canvas), states[1]);
        QVERIFY(canvas->undo());
        QCOMPARE(layer(*canvas), states[0]);
        QVERIFY(!canvas->undo()); // nothing left: the layer stays as it is
        QCOMPARE(layer(*canvas), states[0]);
    }

    void nothingChangedRecordsNoStep_data()
    {
        QTest::addColumn<Step>("step");
        QTest::newRow("click with the line tool")
            << Step([](ImageCanvas &c) { drawWith(c, TOOL_LINE, QPoint(100, 100), {}); });
        QTest::newRow("hand drag") << Step(
            [](ImageCanvas &c) { drawWith(c, TOOL_HAND, QPoint(100, 100), {QPoint(200, 200)}); });
        QTest::newRow("eraser over nothing")
            << Step([](ImageCanvas &c) { drawWith(c, TOOL_ERASER, QPoint(620, 20), {QPoint(630, 25)}); });
        QTest::newRow("erase all of an empty layer") << Step([](ImageCanvas &c) {
            c.clearAnnotations();
            c.clearAnnotations();
        });
    }
    void nothingChangedRecordsNoStep()
    {
        QFETCH(Step, step);
        auto canvas = shownCanvas(WidgetSize, FrameSize);
        QVERIFY(canvas);
        drawWith(*canvas, TOOL_LINE, QPoint(10, 300), {QPoint(300, 320)});
        canvas->clearAnnotations();
        const int steps = counts(*canvas).undo;
        step(*canvas);
        QCOMPARE(counts(*canvas).undo, steps);
    }

    void aNewFrameSizeClearsTheHistory()
    {
        auto canvas = shownCanvas(WidgetSize, FrameSize);
        QVERIFY(canvas);
        scribble(*canvas);
        QImage same(FrameSize, QImage::Format_RGB888);
        same.fill(Qt::gray);
        canvas->pipeline()->stillImageCaptured(&same);
        QCOMPARE(counts(*canvas).undo, 2); // a frame of the same size keeps the drawing

        QImage larger(QSize(800, 600), QImage::Format_RGB888);
        larger.fill(Qt::gray);
        canvas->pipeline()->stillImageCaptured(&larger);
        const Counts after = counts(*canvas);
        QCOMPARE(after.undo, 0);
        QCOMPARE(after.bytes, std::size_t(0));
        const QImage fresh = layer(*canvas);
        QVERIFY(!canvas->undo());
        QCOMPARE(layer(*canvas), fresh);
    }

    void aStrokeInProgressIsNotUndone()
    {
        auto canvas = shownCanvas(WidgetSize, FrameSize);
        QVERIFY(canvas);
        drawWith(*canvas, TOOL_LINE, QPoint(10, 10), {QPoint(300, 300)});
        canvas->setTool(TOOL_FREEHAND);
        press(*canvas, QPoint(100, 200));
        move(*canvas, QPoint(200, 220));
        QVERIFY(!canvas->undo());
        canvas->clearAnnotations(); // waits for the stroke too
        move(*canvas, QPoint(300, 240));
        release(*canvas, QPoint(300, 240));
        QCOMPARE(counts(*canvas).undo, 2);
        QVERIFY(canvas->undo());
        QVERIFY(canvas->undo());
        QVERIFY(changedRectIsNull(layer(*canvas)));
    }

    void tenThousandStrokesStayUnderTheBound()
    {
        auto canvas = shownCanvas(QSize(320, 180), QSize(320, 180));
        QVERIFY(canvas);
        canvas->setTool(TOOL_FREEHAND);
        AnnotationTools::Style style = canvas->drawingStyle();
        style.lineWidth = 4;
        canvas->setDrawingStyle(style);
        const std::size_t heapBefore = heapInUse();

        constexpr int Strokes = 10000;
        QImage lastBefore;
        for (int i = 0; i < Strokes; ++i) {
            // Strokes over a changing part of the picture, each some 140 x 100 pixels.
            const int x = 10 + (i * 37) % 150;
            const int y = 10 + (i * 53) % 60;
            if (i == Strokes - 1)
                lastBefore = layer(*canvas);
            style.lineColor = QColor::fromHsv((i * 7) % 360, 255, 255);
            canvas->setDrawingStyle(style);
            drag(*canvas, QPoint(x, y), {QPoint(x + 70, y + 100), QPoint(x + 140, y)});
        }
        const Counts c = counts(*canvas);
        qInfo("%d steps kept in %zu bytes", c.undo, c.bytes);
        QVERIFY2(c.bytes <= AnnotationHistory::BYTE_BOUND, qPrintable(QString::number(c.bytes)));
        // The oldest steps went; what is left still undoes, newest first.
        QVERIFY(c.undo > 100 && c.undo < Strokes);
        QVERIFY(canvas->undo());
        QCOMPARE(layer(*canvas), lastBefore);
        // The heap holds the kept steps, not the 10,000 drawn.
        const std::size_t heapAfter = heapInUse();
        if (heapAfter > 0 && heapBefore > 0) {
            const std::size_t slack = std::size_t(16) << 20;
            QVERIFY2(
                heapAfter < heapBefore + AnnotationHistory::BYTE_BOUND + slack,
                qPrintable(QString("heap grew by %1 bytes").arg(qint64(heapAfter) - qint64(heapBefore))));
        }
    }

    void changedRectAndTurns()
    {
        QImage a(7, 5, QImage::Format_ARGB32_Premultiplied);
        a.fill(Qt::transparent);
        QImage b = a.copy();
        b.setPixel(2, 1, 0xff112233);
        b.setPixel(5, 3, 0xff445566);
        QCOMPARE(AnnotationHistory::changedRect(a, b), QRect(QPoint(2, 1), QPoint(5, 3)));
        QCOMPARE(AnnotationHistory::changedRect(a, a.copy()), QRect());
        QCOMPARE(AnnotationHistory::changedRect(b, QImage()), QRect(QPoint(2, 1), QPoint(5, 3)));
        // A turned rectangle covers the same pixels as the turned picture.
        const QRect r(1, 2, 3, 2);
        for (int turns = 0; turns < 4; ++turns) {
            QImage marked = a.copy();
            QPainter(&marked).fillRect(r, Qt::white);
            const QImage turned = marked.transformed(QTransform().rotate(90 * turns), Qt::FastTransformation);
            QCOMPARE(AnnotationHistory::turned(r, a.size(), turns),
                     AnnotationHistory::changedRect(turned, QImage()));
        }
    }

private:
    // Bytes the allocator hands out, from its arenas and in blocks of their own.
    static std::size_t heapInUse()
    {
        const struct mallinfo2 info = mallinfo2();
        return info.uordblks + info.hblkhd;
    }
    static bool changedRectIsNull(const QImage &picture)
    {
        return AnnotationHistory::changedRect(picture, QImage()).isNull();
    }
};

QTEST_MAIN(TestAnnotationHistory)
#include "tst_annotationhistory.moc"

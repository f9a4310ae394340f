#include "CanvasMouse.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QTextEdit>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>

using namespace CanvasMouse;

namespace {

struct View
{
    int zoomSteps = 0; // zoom-ins after the frame
    QPoint offset;     // view offset asked for afterwards (clamped by the canvas)
    bool quarterTurn = false;
};

void applyView(ImageCanvas &canvas, const View &view)
{
    if (view.quarterTurn)
        canvas.rotateClockwise();
    for (int i = 0; i < view.zoomSteps; ++i)
        canvas.zoomIn();
    if (!view.offset.isNull())
        canvas.pipeline()->setViewOffset(view.offset.x(), view.offset.y());
}

QPolygonF arrow(const QPoint &p, const QPoint &q)
{
    const double dx = q.x() - p.x(), dy = q.y() - p.y();
    const double nx = -0.05 * dy, ny = 0.05 * dx;
    const double hx = p.x() + 0.8 * dx, hy = p.y() + 0.8 * dy;
    return QPolygonF({QPointF(p.x() + nx, p.y() + ny), QPointF(hx + nx, hy + ny),
                      QPointF(hx + 2 * nx, hy + 2 * ny), QPointF(q), QPointF(hx - 2 * nx, hy - 2 * ny),
                      QPointF(hx - nx, hy - ny), QPointF(p.x() - nx, p.y() - ny)});
}

QPolygon triangle(const QPoint &p, const QPoint &q)
{
    const double r3 = std::sqrt(3.0);
    const int ux = int(std::lround(-(q.y() - p.y()) / r3));
    const int uy = int(std::lround((q.x() - p.x()) / r3));
    return QPolygon({p, QPoint(q.x() + ux, q.y() + uy), QPoint(q.x() - ux, q.y() - uy)});
}

// The layer after a drag from p through `moves` (layer points) with one tool, drawn shape by
// shape as the tools are meant to draw them.
QImage expectedLayer(const QSize &size, int tool, const QPoint &p, const QList<QPoint> &moves,
                     double lineWidth, bool fill)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter painter(&layer);
    painter.setPen(QPen(QColor(Qt::red), lineWidth, Qt::SolidLine));
    painter.setBrush(fill ? QBrush(QColor(Qt::blue)) : QBrush(Qt::NoBrush));
    const QPoint q = moves.last();
    switch (tool) {
    case TOOL_FREEHAND: {
        QPoint last = p;
        for (const QPoint &m : moves) {
            painter.drawLine(last, m);
            last = m;
        }
        break;
    }
    case TOOL_LINE:
        painter.drawLine(p, q);
        break;
    case TOOL_ARROW:
        painter.drawPolygon(arrow(p, q), Qt::OddEvenFill);
        break;
    case TOOL_RECTANGLE:
        painter.drawRect(QRect(p, QPoint(q.x() - 1, q.y() - 1)));
        break;
    case TOOL_CIRCLE:
        painter.drawEllipse(QRect(p, QPoint(q.x() - 1, q.y() - 1)));
        break;
    case TOOL_TRIANGLE:
        painter.drawPolygon(triangle(p, q), Qt::OddEvenFill);
        break;
    }
    return layer;
}

int countTransparent(const QImage &layer)
{
    int n = 0;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            n += qAlpha(layer.pixel(x, y)) == 0;
    return n;
}

QRect paintedBounds(const QImage &layer)
{
    QRect bounds;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            if (qAlpha(layer.pixel(x, y)) != 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

Q_DECLARE_METATYPE(View)

// The drawing tools of a shown canvas, driven by mouse events through its window.
class TestAnnotation : public QObject
{
    Q_OBJECT
private slots:
    void shapesLandOnTheLayer_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<View>("view");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<bool>("fill");

        const QSize one(320, 180), two(640, 360), boxed(400, 300);
        const View plain;
        const View zoomed{1, QPoint(90, 40), false};
        const View turned{0, QPoint(), true};
        const View turnedZoomed{2, QPoint(30, 200), true};
        QTest::newRow("freehand strokes accumulate")
            << int(TOOL_FREEHAND) << one << plain << QPoint(20, 20)
            << QList<QPoint>{{40, 30}, {60, 20}, {90, 70}} << 2 << false;
        QTest::newRow("freehand zoomed, scaled widget")
            << int(TOOL_FREEHAND) << two << zoomed << QPoint(100, 80) << QList<QPoint>{{200, 100}, {260, 300}}
            << 3 << false;
        QTest::newRow("line replaces its rubber band")
            << int(TOOL_LINE) << one << plain << QPoint(20, 20)
            << QList<QPoint>{{100, 40}, {300, 170}, {80, 60}} << 1 << false;
        QTest::newRow("line at zoom 2 with offset") << int(TOOL_LINE) << one << zoomed << QPoint(10, 150)
                                                    << QList<QPoint>{{200, 20}, {310, 5}} << 2 << false;
        QTest::newRow("line letterboxed widget")
            << int(TOOL_LINE) << boxed << plain << QPoint(10, 60) << QList<QPoint>{{390, 250}} << 2 << false;
        QTest::newRow("line after quarter turn")
            << int(TOOL_LINE) << one << turned << QPoint(120, 10) << QList<QPoint>{{200, 170}} << 2 << false;
        QTest::newRow("arrow") << int(TOOL_ARROW) << one << plain << QPoint(30, 150)
                               << QList<QPoint>{{100, 100}, {280, 40}} << 1 << false;
        QTest::newRow("arrow filled, zoomed")
            << int(TOOL_ARROW) << two << zoomed << QPoint(600, 300) << QList<QPoint>{{100, 50}} << 2 << true;
        QTest::newRow("rectangle") << int(TOOL_RECTANGLE) << one << plain << QPoint(40, 30)
                                   << QList<QPoint>{{100, 90}, {200, 120}} << 2 << false;
        QTest::newRow("rectangle up and left, filled")
            << int(TOOL_RECTANGLE) << one << plain << QPoint(200, 150) << QList<QPoint>{{60, 20}} << 1
            << true;
        QTest::newRow("rectangle after turn, zoomed")
            << int(TOOL_RECTANGLE) << one << turnedZoomed << QPoint(50, 40) << QList<QPoint>{{250, 160}} << 2
            << false;
        QTest::newRow("circle") << int(TOOL_CIRCLE) << one << plain << QPoint(60, 30)
                                << QList<QPoint>{{160, 150}} << 2 << false;
        QTest::newRow("circle filled at zoom 2")
            << int(TOOL_CIRCLE) << two << zoomed << QPoint(60, 30) << QList<QPoint>{{400, 300}} << 1 << true;
        QTest::newRow("triangle") << int(TOOL_TRIANGLE) << one << plain << QPoint(40, 90)
                                  << QList<QPoint>{{100, 100}, {250, 90}} << 1 << false;
        QTest::newRow("triangle filled after turn")
            << int(TOOL_TRIANGLE) << boxed << turned << QPoint(200, 60) << QList<QPoint>{{230, 220}} << 2
            << true;
    }
    void shapesLandOnTheLayer()
    {
        QFETCH(int, tool);
        QFETCH(QSize, widget);
        QFETCH(View, view);
        QFETCH(QPoint, from);
        QFETCH(QList<QPoint>, moves);
        QFETCH(int, lineWidth);
        QFETCH(bool, fill);

        auto canvas = shownCanvas(widget, QSize(320, 180));
        QVERIFY(canvas);
        applyView(*canvas, view);
        AnnotationTools::Style style;
        style.lineWidth = lineWidth;
        style.lineColor = Qt::red;
        style.fillEnabled = fill;
        style.fillColor = Qt::blue;
        canvas->setDrawingStyle(style);
        canvas->setTool(tool);

        const QPoint p = widgetToLayer(*canvas, from);
        QList<QPoint> q;
        for (const QPoint &m : moves)
            q << widgetToLayer(*canvas, m);
        // Widths are screen pixels: a picture shown smaller than it is draws wider in the layer
        // (penLooksTheSameAtEveryCaptureSize checks how wide).
        const double widthScale = std::max(
            1.0, AnnotationTextEditor::layerScale(canvas->pipeline()->view(), canvas->size()));
        const QImage expected = expectedLayer(canvas->pipeline()->annotationLayer().size(), tool, p, q,
                                              lineWidth * widthScale, fill);

        QVERIFY(!canvas->pipeline()->layerDirty());
        drag(*canvas, from, moves);
        const QImage layer = canvas->pipeline()->annotationLayer();
        QVERIFY(paintedBounds(layer).isValid());
        QCOMPARE(layer, expected);
        QVERIFY(canvas->pipeline()->layerDirty());
    }

    void penLooksTheSameAtEveryCaptureSize_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<int>("tool");
        QTest::newRow("line, 640 x 360") << QSize(640, 360) << int(TOOL_LINE);
        QTest::newRow("line, 1920 x 1080") << QSize(1920, 1080) << int(TOOL_LINE);
        QTest::newRow("freehand, 3264 x 1836") << QSize(3264, 1836) << int(TOOL_FREEHAND);
        QTest::newRow("eraser, 1920 x 1080") << QSize(1920, 1080) << int(TOOL_ERASER);
    }
    void penLooksTheSameAtEveryCaptureSize()
    {
        // Width 6 is 6 screen pixels wide (the eraser 2 x 6 + 1 either side) whatever the
        // camera delivers.
        QFETCH(QSize, frame);
        QFETCH(int, tool);
        const QSize widget(640, 360);
        auto canvas = shownCanvas(widget, frame);
        QVERIFY(canvas);
        AnnotationTools::Style style;
        style.lineWidth = 6;
        style.lineColor = Qt::red;
        canvas->setDrawingStyle(style);
        if (tool == TOOL_ERASER)
            canvas->pipeline()->drawOnLayer([](QPainter &p) { p.fillRect(p.window(), Qt::red); });
        canvas->setTool(tool);
        drag(*canvas, QPoint(100, 180), {QPoint(300, 180), QPoint(500, 180)});
        const QImage layer = canvas->pipeline()->annotationLayer();
        // Where the pointer stopped on its way (the eraser clears around the points it passes).
        const int column = layer.width() * 300 / widget.width();
        int marked = 0;
        for (int y = 0; y < layer.height(); ++y) {
            const bool ink = qAlpha(layer.pixel(column, y)) > 128;
            marked += tool == TOOL_ERASER ? !ink : ink;
        }
        const double onScreen = double(marked) * widget.height() / layer.height();
        const double expected = tool == TOOL_ERASER ? 2 * (2 * 6 + 1) : 6;
        QVERIFY2(std::abs(onScreen - expected) <= 1.5,
                 qPrintable(QStringLiteral("%1 screen pixels wide").arg(onScreen)));
    }

    void highlighterLaysTranslucentInkOnce()
    {
        auto canvas = shownCanvas(QSize(320, 180), QSize(320, 180));
        QVERIFY(canvas);
        AnnotationTools::Style style;
        style.lineWidth = 3;
        style.lineColor = Qt::yellow;
        style.highlighter = true;
        canvas->setDrawingStyle(style);
        canvas->setTool(TOOL_FREEHAND);
        // Back and forth over the same words.
        drag(*canvas, QPoint(40, 90), {QPoint(280, 90), QPoint(60, 90), QPoint(260, 90)});
        const QImage layer = canvas->pipeline()->annotationLayer();
        int rows = 0;
        for (int y = 0; y < layer.height(); ++y) {
            const int alpha = qAlpha(layer.pixel(160, y));
            if (alpha == 0)
                continue;
            ++rows;
            // The page shows through, as much where the stroke crossed itself.
            QVERIFY2(alpha > 60 && alpha < 140, qPrintable(QString::number(alpha)));
        }
        QVERIFY2(std::abs(rows - 9) <= 1, qPrintable(QString::number(rows)));
    }

    void drawingsShowInTheNextFrame()
    {
        auto canvas = shownCanvas(QSize(320, 180), QSize(320, 180));
        QVERIFY(canvas);
        AnnotationTools::Style style;
        style.lineColor = Qt::red;
        style.lineWidth = 4;
        canvas->setDrawingStyle(style);
        canvas->setTool(TOOL_LINE);
        drag(*canvas, QPoint(10, 90), {QPoint(300, 90)});
        QVERIFY(canvas->pipeline()->outputImage().pixelColor(150, 90)
                != QColor(Qt::red)); // not before a frame
        canvas->pipeline()->autoRefresh();
        QCOMPARE(canvas->pipeline()->outputImage().pixelColor(150, 90), QColor(Qt::red));
        QCOMPARE(canvas->pipeline()->outputImage().pixelColor(150, 20), QColor(128, 128, 128));

        // "Erase all" keeps the frames clean until a tool draws again.
        canvas->clearAnnotations();
        QVERIFY(!canvas->pipeline()->layerDirty());
        canvas->pipeline()->autoRefresh();
        QCOMPARE(canvas->pipeline()->outputImage().pixelColor(150, 90), QColor(128, 128, 128));
        QCOMPARE(countTransparent(canvas->pipeline()->annotationLayer()), 320 * 180);
    }

    void clickWithoutMoveDrawsNothing_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<bool>("dirty");
        QTest::newRow("line") << int(TOOL_LINE) << true;
        QTest::newRow("freehand") << int(TOOL_FREEHAND) << true;
        QTest::newRow("triangle") << int(TOOL_TRIANGLE) << true;
        QTest::newRow("eraser") << int(TOOL_ERASER) << false;
        QTest::newRow("clip") << int(TOOL_CLIP) << false;
        QTest::newRow("hand") << int(TOOL_HAND) << false;
    }
    void clickWithoutMoveDrawsNothing()
    {
        QFETCH(int, tool);
        QFETCH(bool, dirty);
        auto canvas = shownCanvas(QSize(320, 180), QSize(320, 180));
        QVERIFY(canvas);
        canvas->setTool(tool);
        QSignalSpy clips(canvas.get(), &ImageCanvas::clipDone);
        drag(*canvas, QPoint(50, 50), {});
        QCOMPARE(countTransparent(canvas->pipeline()->annotationLayer()), 320 * 180);
        QCOMPARE(canvas->pipeline()->layerDirty(), dirty);
        QCOMPARE(clips.count(), 0);
    }

    void eraserClearsASquare_data()
    {
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRect>("cleared"); // in layer points
        QTest::newRow("width 2: 11 x 11") << 2 << QSize(320, 180) << QPoint(100, 80) << QRect(95, 75, 11, 11);
        QTest::newRow("width 1: 7 x 7") << 1 << QSize(320, 180) << QPoint(100, 80) << QRect(97, 77, 7, 7);
        QTest::newRow("scaled widget") << 2 << QSize(640, 360) << QPoint(200, 160) << QRect(95, 75, 11, 11);
        QTest::newRow("cut at the corner") << 2 << QSize(320, 180) << QPoint(2, 1) << QRect(0, 0, 8, 7);
        QTest::newRow("cut at the far edge")
            << 3 << QSize(320, 180) << QPoint(318, 179) << QRect(311, 172, 9, 8);
    }
    void eraserClearsASquare()
    {
        QFETCH(int, lineWidth);
        QFETCH(QSize, widget);
        QFETCH(QPoint, at);
        QFETCH(QRect, cleared);
        auto canvas = shownCanvas(widget, QSize(320, 180));
        QVERIFY(canvas);
        canvas->pipeline()->drawOnLayer([](QPainter &p) { p.fillRect(QRect(0, 0, 320, 180), Qt::green); });
        AnnotationTools::Style style;
        style.lineWidth = lineWidth;
        canvas->setDrawingStyle(style);
        canvas->setTool(TOOL_ERASER);
        // The square follows the reported move positions; the press alone erases nothing.
        press(*canvas, at - QPoint(40, 40) * (at.x() > 40 ? 1 : -1));
        QCOMPARE(countTransparent(canvas->pipeline()->annotationLayer()), 0);
        move(*canvas, at);
        release(*canvas, at);
        const QImage layer = canvas->pipeline()->annotationLayer();
        QCOMPARE(countTransparent(layer), cleared.width() * cleared.height());
        for (const QPoint &corner : {cleared.topLeft(), cleared.bottomRight()})
            QCOMPARE(qAlpha(layer.pixel(corner)), 0);
        const QPoint outside = cleared.bottomRight() + QPoint(1, 1);
        if (layer.rect().contains(outside))
            QCOMPARE(qAlpha(layer.pixel(outside)), 255);
    }

    void clipGoesToTheClipboard_data()
    {
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QRect>("selection"); // frame points, inclusive
        QTest::newRow("inside") << QSize(320, 180) << QPoint(20, 30) << QPoint(120, 90)
                                << QRect(QPoint(20, 30), QPoint(120, 90));
        QTest::newRow("dragged up and left")
            << QSize(320, 180) << QPoint(120, 90) << QPoint(20, 30) << QRect(QPoint(20, 30), QPoint(120, 90));
        QTest::newRow("beyond right and bottom") << QSize(320, 180) << QPoint(200, 100) << QPoint(400, 260)
                                                 << QRect(QPoint(200, 100), QPoint(319, 179));
        QTest::newRow("beyond left and top")
            << QSize(320, 180) << QPoint(50, 40) << QPoint(-30, -20) << QRect(QPoint(0, 0), QPoint(50, 40));
        QTest::newRow("scaled widget") << QSize(640, 360) << QPoint(100, 60) << QPoint(700, 200)
                                       << QRect(QPoint(50, 30), QPoint(319, 100));
    }
    void clipGoesToTheClipboard()
    {
        QFETCH(QSize, widget);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QRect, selection);
        auto canvas = shownCanvas(widget, QSize(320, 180));
        QVERIFY(canvas);
        // A picture with content everywhere, negative and with a drawing, as it goes out.
        QImage still(320, 180, QImage::Format_RGB888);
        for (int y = 0; y < 180; ++y)
            for (int x = 0; x < 320; ++x)
                still.setPixelColor(x, y, QColor(x % 256, y, (x * y) % 256));
        canvas->pipeline()->drawOnLayer([](QPainter &p) { p.fillRect(QRect(30, 30, 40, 40), Qt::yellow); });
        canvas->pipeline()->setEffect(EFFECT_NEGATIVE);
        canvas->pipeline()->stillImageCaptured(&still);
        QGuiApplication::clipboard()->clear();

        canvas->setTool(TOOL_CLIP);
        QSignalSpy clips(canvas.get(), &ImageCanvas::clipDone);
        press(*canvas, from);
        move(*canvas, to);
        QCOMPARE(canvas->clipSelection(), selection);
        release(*canvas, to);
        QCOMPARE(clips.count(), 1);
        QVERIFY(canvas->clipSelection().isNull());

        const QImage clipped = QGuiApplication::clipboard()->pixmap().toImage().convertToFormat(
            QImage::Format_RGB32);
        QCOMPARE(clipped,
                 canvas->pipeline()->outputImage().copy(selection).convertToFormat(QImage::Format_RGB32));
    }

    void handToolPans()
    {
        auto canvas = shownCanvas(QSize(640, 360), QSize(320, 180));
        QVERIFY(canvas);
        canvas->zoomIn();
        canvas->pipeline()->setViewOffset(100, 100);
        canvas->setTool(TOOL_HAND);
        drag(*canvas, QPoint(300, 200), {QPoint(280, 180), QPoint(260, 170)});
        // 40 x 30 widget pixels at paint scale 2: the picture follows the pointer by 20 x 15.
        QCOMPARE(canvas->pipeline()->view().viewOffset(), QPoint(120, 115));
        QCOMPARE(countTransparent(canvas->pipeline()->annotationLayer()), 320 * 180);
    }

    void wheelZoomsAroundThePointer_data()
    {
        QTest::addColumn<int>("zoomSteps"); // zoom-ins before the wheel
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<double>("zoomAfter");
        QTest::newRow("wheel in, upper left") << 0 << 120 << int(Qt::NoModifier) << QPoint(60, 40) << 2.0;
        QTest::newRow("Ctrl+wheel in, lower right")
            << 0 << 120 << int(Qt::ControlModifier) << QPoint(250, 150) << 2.0;
        QTest::newRow("two notches in small parts")
            << 0 << 240 << int(Qt::NoModifier) << QPoint(200, 60) << 3.0;
        QTest::newRow("wheel out") << 2 << -120 << int(Qt::NoModifier) << QPoint(100, 120) << 2.0;
        QTest::newRow("half a notch: nothing yet")
            << 0 << 60 << int(Qt::NoModifier) << QPoint(100, 100) << 1.0;
        // A touchpad's pinch (modifiers -1): a notch stands for a quarter more or less of the size.
        QTest::newRow("pinch open") << 0 << 120 << -1 << QPoint(240, 50) << 2.0;
        QTest::newRow("pinch closed") << 2 << -120 << -1 << QPoint(80, 140) << 2.0;
    }
    void wheelZoomsAroundThePointer()
    {
        QFETCH(int, zoomSteps);
        QFETCH(int, angle);
        QFETCH(int, modifiers);
        QFETCH(QPoint, at);
        QFETCH(double, zoomAfter);
        auto canvas = shownCanvas(QSize(320, 180), QSize(320, 180));
        QVERIFY(canvas);
        applyView(*canvas, View{zoomSteps, QPoint(), false});
        const QPoint under = widgetToLayer(*canvas, at);
        if (modifiers < 0) {
            for (const Qt::NativeGestureType type :
                 {Qt::BeginNativeGesture, Qt::ZoomNativeGesture, Qt::EndNativeGesture}) {
                const QPointF global(canvas->mapToGlobal(at));
                QNativeGestureEvent pinch(type, nullptr, QPointF(at), QPointF(at), global,
                                          type == Qt::ZoomNativeGesture ? angle / 120.0 * 0.25 : 0.0, 0, 0);
                QApplication::sendEvent(canvas.get(), &pinch);
            }
            angle = 0;
        }
        // Touchpads send a notch in parts.
        for (int sent = 0; sent != angle;) {
            const int part = std::abs(angle - sent) > 120 ? (angle > 0 ? 40 : -40) : angle - sent;
            QWheelEvent wheel(QPointF(at), QPointF(canvas->mapToGlobal(at)), QPoint(), QPoint(0, part),
                              Qt::NoButton, Qt::KeyboardModifiers(modifiers), Qt::NoScrollPhase, false);
            QApplication::sendEvent(canvas.get(), &wheel);
            sent += part;
        }
        QCOMPARE(canvas->pipeline()->view().zoom(), zoomAfter);
        const QPoint after = widgetToLayer(*canvas, at);
        QVERIFY2((after - under).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2 became %3,%4")
                                .arg(under.x())
                                .arg(under.y())
                                .arg(after.x())
                                .arg(after.y())));
    }

    void textLandsAtTheAnchor_data()
    {
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<View>("view");
        QTest::addColumn<int>("commit"); // 0: switching tool, 1: a second release, 2: Esc
        QTest::newRow("committed by switching tool") << QSize(320, 180) << View{} << 0;
        QTest::newRow("committed by a second release") << QSize(320, 180) << View{} << 1;
        QTest::newRow("committed by Esc") << QSize(320, 180) << View{} << 2;
        QTest::newRow("scaled widget, zoomed") << QSize(640, 360) << View{1, QPoint(50, 40), false} << 0;
    }
    void textLandsAtTheAnchor()
    {
        QFETCH(QSize, widget);
        QFETCH(View, view);
        QFETCH(int, commit);
        auto canvas = shownCanvas(widget, QSize(320, 180));
        QVERIFY(canvas);
        QApplication::setActiveWindow(canvas.get());
        QVERIFY(QTest::qWaitForWindowActive(canvas.get()));
        applyView(*canvas, view);
        QTextEdit *editor = canvas->textEditor();
        QCOMPARE(editor->contextMenuPolicy(), Qt::NoContextMenu);
        QCOMPARE(canvas->textFamily(), QStringLiteral("Arial"));
        QCOMPARE(canvas->textSize(), 18);

        canvas->setTool(TOOL_TEXT);
        canvas->setTextColor(Qt::red);
        const QPoint at(widget.width() / 4, widget.height() / 3);
        drag(*canvas, at, {});
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->pos(), at);
        QCOMPARE(QApplication::focusWidget(), editor);
        QTest::keyClicks(editor, QStringLiteral("Hi"));
        QCOMPARE(editor->toPlainText(), QStringLiteral("Hi"));
        QCOMPARE(countTransparent(canvas->pipeline()->annotationLayer()), 320 * 180);
        // The editor covers the text, not a box of the page, and the page shows through it.
        QVERIFY2(editor->width() < 80 && editor->height() < 50,
                 qPrintable(QStringLiteral("%1 x %2").arg(editor->width()).arg(editor->height())));
        const QImage onScreen = canvas->grab().toImage();
        const QPoint besideText(editor->geometry().right() - 3, editor->geometry().center().y());
        QCOMPARE(onScreen.pixelColor(besideText), QColor(128, 128, 128));

        const QPoint anchor = widgetToLayer(*canvas, at);
        if (commit == 0)
            canvas->setTool(TOOL_LINE);
        else if (commit == 1)
            drag(*canvas, QPoint(5, 5), {});
        else
            QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!editor->isVisible());
        // The keyboard comes back to the window: its keys and typing no longer go to the
        // hidden editor.
        QVERIFY(QApplication::focusWidget() != editor);
        QVERIFY(canvas->pipeline()->layerDirty());
        const QImage layer = canvas->pipeline()->annotationLayer();
        const QRect bounds = paintedBounds(layer);
        QVERIFY(bounds.isValid());
        // The document's margin and the glyphs' bearings sit between the anchor and the ink.
        QVERIFY2(bounds.left() >= anchor.x() && bounds.left() <= anchor.x() + 14,
                 qPrintable(QStringLiteral("ink at %1, anchor %2").arg(bounds.left()).arg(anchor.x())));
        QVERIFY2(bounds.top() >= anchor.y() && bounds.top() <= anchor.y() + 20,
                 qPrintable(QStringLiteral("ink at %1, anchor %2").arg(bounds.top()).arg(anchor.y())));
        QVERIFY(bounds.width() < 60 && bounds.height() < 40);
        // The text colour is what was typed with (small text is all edges: smoothed).
        bool red = false;
        for (int y = bounds.top(); y <= bounds.bottom() && !red; ++y)
            for (int x = bounds.left(); x <= bounds.right() && !red; ++x) {
                const QColor c = layer.pixelColor(x, y);
                red = c.alpha() > 100 && c.red() > 200 && c.green() < 60 && c.blue() < 60;
            }
        QVERIFY(red);
    }

    void switchingToTextKeepsTheEditorOpen()
    {
        auto canvas = shownCanvas(QSize(320, 180), QSize(320, 180));
        QVERIFY(canvas);
        canvas->setTool(TOOL_TEXT);
        drag(*canvas, QPoint(40, 40), {});
        QTest::keyClicks(canvas->textEditor(), QStringLiteral("x"));
        canvas->setTool(TOOL_TEXT);
        QVERIFY(canvas->textEditor()->isVisible());
        QVERIFY(!canvas->pipeline()->layerDirty());
    }

    void newFrameSizeKeepsTheDrawings()
    {
        // A capture-size change shows the same page larger or smaller: what was drawn stays on
        // it, scaled alike.
        auto canvas = shownCanvas(QSize(320, 180), QSize(320, 180));
        QVERIFY(canvas);
        canvas->setTool(TOOL_RECTANGLE);
        drag(*canvas, QPoint(40, 40), {QPoint(160, 120)});
        const QRect before = paintedBounds(canvas->pipeline()->annotationLayer());
        QVERIFY(before.isValid());
        QImage other(640, 360, QImage::Format_RGB888);
        other.fill(Qt::white);
        canvas->pipeline()->stillImageCaptured(&other);
        const QImage layer = canvas->pipeline()->annotationLayer();
        QCOMPARE(layer.size(), QSize(640, 360));
        QVERIFY(canvas->pipeline()->layerDirty());
        const QRect after = paintedBounds(layer);
        QVERIFY2(std::abs(after.left() - 2 * before.left()) <= 2
                     && std::abs(after.top() - 2 * before.top()) <= 2
                     && std::abs(after.right() - 2 * before.right()) <= 3
                     && std::abs(after.bottom() - 2 * before.bottom()) <= 3,
                 qPrintable(QStringLiteral("drawn at %1,%2 %3x%4")
                                .arg(after.left())
                                .arg(after.top())
                                .arg(after.width())
                                .arg(after.height())));
    }
};

QTEST_MAIN(TestAnnotation)
#include "tst_annotation.moc"

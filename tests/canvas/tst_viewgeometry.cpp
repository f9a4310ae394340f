#include "canvas/ViewGeometry.h"

#include <QtTest>

// The view arithmetic of the canvas: zoom steps, best fit after quarter turns, pan limits,
// cut-out and scale-back sizes, and the widget / frame / layer mappings.
class TestViewGeometry : public QObject
{
    Q_OBJECT
private:
    static ViewGeometry view(int w, int h)
    {
        ViewGeometry v;
        v.setFrameSize(w, h);
        return v;
    }

private slots:
    void startState()
    {
        const ViewGeometry v;
        QCOMPARE(v.frameSize(), QSize(-1, -1));
        QCOMPARE(v.zoom(), 1.0);
        QCOMPARE(v.rotation(), 0);
        QCOMPARE(v.viewOffset(), QPoint(0, 0));
    }

    // Steps are applied in order: + zoom in, - zoom out, f best fit, r/l quarter turns.
    void zoomSteps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<double>>("zooms");
        QTest::newRow("in to 6, a seventh does nothing") << "+++++++" << QList<double>{2, 3, 4, 5, 6, 6, 6};
        QTest::newRow("out from 2 and from 1") << "+--" << QList<double>{2, 1, 1};
        QTest::newRow("best fit from 4") << "+++f" << QList<double>{2, 3, 4, 1};
        QTest::newRow("quarter turn at 1 goes to best fit") << "r+-" << QList<double>{0.5625, 1, 0.5625};
        QTest::newRow("quarter turn keeps zoom 3") << "++r" << QList<double>{2, 3, 3};
        QTest::newRow("half turn at 1 stays 1") << "rr" << QList<double>{0.5625, 1};
        QTest::newRow("back turn") << "l+l" << QList<double>{0.5625, 1, 1};
        QTest::newRow("best fit after quarter turn") << "r++f" << QList<double>{0.5625, 1, 2, 0.5625};
    }
    void zoomSteps()
    {
        QFETCH(QString, steps);
        QFETCH(QList<double>, zooms);
        ViewGeometry v = view(1280, 720);
        for (int i = 0; i < steps.size(); ++i) {
            switch (steps.at(i).toLatin1()) {
            case '+':
                v.zoomIn();
                break;
            case '-':
                v.zoomOut();
                break;
            case 'f':
                v.zoomBestFit();
                break;
            case 'r':
                v.rotateClockwise();
                break;
            case 'l':
                v.rotateCounterClockwise();
                break;
            }
            QCOMPARE(v.zoom(), zooms.at(i));
            // The offset always stays inside its travel.
            QVERIFY(v.viewOffset().x() >= 0 && v.viewOffset().y() >= 0);
            QVERIFY(v.viewOffset().x() <= qMax(0, int(v.zoom() * v.rotatedWidth()) - 1280 - 1));
            QVERIFY(v.viewOffset().y() <= qMax(0, int(v.zoom() * v.rotatedHeight()) - 720 - 1));
        }
    }

    void bestFitAfterQuarterTurn()
    {
        ViewGeometry v = view(1280, 720);
        v.rotateClockwise();
        QCOMPARE(v.rotation(), 1);
        QCOMPARE(v.fitZoom(), 0.5625);
        QCOMPARE(v.zoom(), 0.5625);
        QCOMPARE(v.viewOffset(), QPoint(0, 0));
        // The whole upright picture is cut out and scaled to 405 x 720.
        const QRect cut = v.cutOutRect(720, 1280);
        QCOMPARE(cut, QRect(0, 0, 720, 1280));
        QCOMPARE(v.scaleBackSize(cut.size()), QSize(405, 720));
    }

    void rotationWrapsBothWays()
    {
        ViewGeometry v = view(640, 480);
        for (int i = 1; i <= 8; ++i) {
            v.rotateClockwise();
            QCOMPARE(v.rotation(), i % 4);
        }
        v.rotateCounterClockwise();
        QCOMPARE(v.rotation(), 3);
    }

    void cutOutReach_data()
    {
        QTest::addColumn<int>("zoomIns");
        QTest::addColumn<QPoint>("asked");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QRect>("cut");
        QTest::newRow("zoom 2 at origin") << 1 << QPoint(0, 0) << QPoint(0, 0) << QRect(0, 0, 640, 360);
        QTest::newRow("zoom 2 far corner")
            << 1 << QPoint(99999, 99999) << QPoint(1279, 719) << QRect(639, 359, 640, 360);
        QTest::newRow("zoom 2 negative") << 1 << QPoint(-50, -3) << QPoint(0, 0) << QRect(0, 0, 640, 360);
        QTest::newRow("zoom 3 far corner")
            << 2 << QPoint(99999, 99999) << QPoint(2559, 1439) << QRect(853, 479, 426, 240);
        QTest::newRow("zoom 1 cannot pan") << 0 << QPoint(10, 10) << QPoint(0, 0) << QRect(0, 0, 1280, 720);
    }
    void cutOutReach()
    {
        QFETCH(int, zoomIns);
        QFETCH(QPoint, asked);
        QFETCH(QPoint, offset);
        QFETCH(QRect, cut);
        ViewGeometry v = view(1280, 720);
        for (int i = 0; i < zoomIns; ++i)
            v.zoomIn();
        v.setViewOffset(asked.x(), asked.y());
        QCOMPARE(v.viewOffset(), offset);
        QCOMPARE(v.cutOutRect(1280, 720), cut);
        // The cut-out never leaves the picture.
        QVERIFY(QRect(0, 0, 1280, 720).contains(v.cutOutRect(1280, 720)));
    }

    void handPanAtBestFitChangesNothing()
    {
        ViewGeometry v = view(1280, 720);
        v.rotateClockwise();
        v.pan(QPoint(100, 100), QPoint(10, 20));
        QCOMPARE(v.viewOffset(), QPoint(0, 0));
        v.pan(QPoint(10, 20), QPoint(300, 400));
        QCOMPARE(v.viewOffset(), QPoint(0, 0));
    }

    void handPanFollowsPointer()
    {
        ViewGeometry v = view(1280, 720);
        v.zoomIn();
        v.setViewOffset(600, 300);
        v.pan(QPoint(100, 100), QPoint(80, 130)); // pointer left and down: picture follows
        QCOMPARE(v.viewOffset(), QPoint(620, 270));
    }

    void zoomKeepsCentre()
    {
        ViewGeometry v = view(1280, 720);
        v.zoomIn();
        v.setViewOffset(1000, 500);
        const QPointF before = v.viewCentre();
        v.zoomIn();
        const QPointF after = v.viewCentre();
        QVERIFY(qAbs(before.x() - after.x()) < 1.0);
        QVERIFY(qAbs(before.y() - after.y()) < 1.0);
    }

    void frameSizeChangeReclamps()
    {
        ViewGeometry v = view(1280, 720);
        v.zoomIn();
        v.setViewOffset(1279, 719);
        v.setFrameSize(640, 480);
        QCOMPARE(v.zoom(), 2.0);
        QVERIFY(v.viewOffset().x() <= 2 * 640 - 640 - 1);
        QVERIFY(v.viewOffset().y() <= 2 * 480 - 480 - 1);
    }

    void paintMapping_data()
    {
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<QSize>("image");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("wide widget") << QSize(1000, 400) << QSize(1280, 720) << 400.0 / 720
                                     << QRect(144, 0, 711, 400);
        QTest::newRow("tall widget") << QSize(640, 800) << QSize(1280, 720) << 0.5 << QRect(0, 220, 640, 360);
        QTest::newRow("same size") << QSize(1280, 720) << QSize(1280, 720) << 1.0 << QRect(0, 0, 1280, 720);
    }
    void paintMapping()
    {
        QFETCH(QSize, widget);
        QFETCH(QSize, image);
        QFETCH(double, scale);
        QFETCH(QRect, drawn);
        const ViewGeometry::PaintMapping m = ViewGeometry::paintMapping(widget, image);
        QCOMPARE(m.scale, scale);
        QCOMPARE(QRect(m.marginX, m.marginY, m.drawnWidth, m.drawnHeight), drawn);
        // The drawn picture's corners map to the frame's corners.
        QCOMPARE(ViewGeometry::widgetToFrame(m, QPointF(m.marginX, m.marginY)), QPoint(0, 0));
        const QRectF whole = ViewGeometry::frameRectToWidget(m, 0, 0, image.width() - 1, image.height() - 1);
        QVERIFY(qAbs(whole.width() - image.width() * scale) < 1e-9);
        QCOMPARE(whole.topLeft(), QPointF(m.marginX, m.marginY));
    }

    void emptyPictureHasNoMapping()
    {
        const ViewGeometry::PaintMapping m = ViewGeometry::paintMapping(QSize(800, 600), QSize());
        QVERIFY(!m.isValid());
        QCOMPARE(ViewGeometry::widgetToFrame(m, QPointF(10, 10)), QPoint(0, 0));
    }

    void frameToLayer_data()
    {
        QTest::addColumn<int>("zoomIns");
        QTest::addColumn<bool>("quarterTurn");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QPoint>("frame");
        QTest::addColumn<QPoint>("layer");
        QTest::newRow("zoom 1") << 0 << false << QPoint() << QPoint(100, 50) << QPoint(100, 50);
        QTest::newRow("zoom 2 panned")
            << 1 << false << QPoint(200, 100) << QPoint(100, 50) << QPoint(150, 75);
        // At best fit after a quarter turn the upright picture sits between bars of
        // (1280 - 405) / 2 = 437 pixels.
        QTest::newRow("best fit bars") << 0 << true << QPoint() << QPoint(437 + 45, 90) << QPoint(80, 160);
    }
    void frameToLayer()
    {
        QFETCH(int, zoomIns);
        QFETCH(bool, quarterTurn);
        QFETCH(QPoint, offset);
        QFETCH(QPoint, frame);
        QFETCH(QPoint, layer);
        ViewGeometry v = view(1280, 720);
        if (quarterTurn)
            v.rotateClockwise();
        for (int i = 0; i < zoomIns; ++i)
            v.zoomIn();
        v.setViewOffset(offset.x(), offset.y());
        QCOMPARE(v.frameToLayer(frame, QSize(1280, 720), QSize(v.rotatedWidth(), v.rotatedHeight())), layer);
    }
};

QTEST_APPLESS_MAIN(TestViewGeometry)
#include "tst_viewgeometry.moc"

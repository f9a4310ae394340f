#include "PopupTestHost.h"
#include "canvas/ImageCanvas.h"
#include "toolwindows/ColorToolWindow.h"
#include "toolwindows/FillBackgroundToolWindow.h"
#include "widgets/ImageButton.h"

#include <QColorDialog>
#include <QLabel>
#include <QPointer>
#include <QtTest>

#include <memory>

namespace {

using Style = AnnotationTools::Style;

// Indexes of the checked buttons of a row, in order.
template<typename Getter>
QList<int> checkedIn(int count, Getter button)
{
    QList<int> checked;
    for (int i = 0; i < count; ++i) {
        if (button(i)->isChecked())
            checked.append(i);
    }
    return checked;
}

QStringList labelTexts(const QWidget &popup)
{
    QStringList texts;
    for (const QLabel *label : popup.findChildren<QLabel *>())
        texts.append(label->text());
    return texts;
}

} // namespace

class TestColorToolWindow : public QObject
{
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<QString>("widthLabel");
        QTest::addColumn<QString>("lineLabel");
        QTest::addColumn<QString>("fillLabel");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("lineRow");
        QTest::addColumn<bool>("fillRow");
        QTest::newRow("line") << "Line Width"
                              << "Line Color"
                              << "" << 72 << true << false;
        QTest::newRow("rectangle") << "Line Width"
                                   << "Line Color"
                                   << "Fill Color" << 96 << true << true;
        QTest::newRow("eraser") << "Width"
                                << ""
                                << "" << 48 << false << false;
        // A fill label without a line colour row takes the tall picture but shows no fill row.
        QTest::newRow("fill alone") << "Width"
                                    << ""
                                    << "Fill Color" << 96 << false << false;
    }

    void rows()
    {
        QFETCH(QString, widthLabel);
        QFETCH(QString, lineLabel);
        QFETCH(QString, fillLabel);
        QFETCH(int, height);
        QFETCH(bool, lineRow);
        QFETCH(bool, fillRow);
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        ColorToolWindow popup(anchor, &host, QStringLiteral("Title"), widthLabel, lineLabel, fillLabel);
        // Seven swatches a colour row: the wide picture.
        const int width = lineRow ? 390 : 324;
        QCOMPARE(popup.size(), QSize(width, height));
        popup.show();
        QCOMPARE(popup.closeButton()->pos(), QPoint(width - 18, 4));
        QCOMPARE(popup.hasLineColorRow(), !lineLabel.isEmpty());
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(popup.widthButton(i)->pos(), QPoint(152 + 33 * i, 20));
            QVERIFY(popup.widthButton(i)->isCheckable());
        }
        QCOMPARE(popup.lineColorButton(0) != nullptr, lineRow);
        QCOMPARE(popup.fillButton(0) != nullptr, fillRow);
        if (lineRow) {
            for (int i = 0; i <= ColorToolWindow::Custom; ++i)
                QCOMPARE(popup.lineColorButton(i)->pos(), QPoint(152 + 33 * i, 43));
        }
        if (fillRow) {
            for (int i = 0; i <= ColorToolWindow::Custom; ++i)
                QCOMPARE(popup.fillButton(i)->pos(), QPoint(152 + 33 * i, 67));
            QCOMPARE(popup.fillButton(ColorToolWindow::FillNone)->pos(), QPoint(119, 67));
        }
        QStringList expected{QStringLiteral("Title"), widthLabel};
        if (lineRow)
            expected << lineLabel;
        if (fillRow)
            expected << fillLabel;
        QCOMPARE(labelTexts(popup), expected);
        // Placed again with its final size: the popup stands beside the anchor.
        QCOMPARE(popup.pos(), anchor->mapToGlobal(QPoint(anchor->width() + 3, 0)));
    }

    void mirrorsCanvas_data()
    {
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<QColor>("lineColor");
        QTest::addColumn<bool>("fillEnabled");
        QTest::addColumn<QColor>("fillColor");
        QTest::addColumn<int>("widthIndex");
        QTest::addColumn<int>("lineIndex");
        QTest::addColumn<int>("fillIndex");
        const int none = ColorToolWindow::FillNone, own = ColorToolWindow::Custom;
        QTest::newRow("defaults") << 2 << QColor(Qt::black) << false << QColor(Qt::black) << 0 << 0 << none;
        QTest::newRow("nine red sky") << 9 << QColor(Qt::red) << true << QColor(Qt::blue) << 2 << 1 << 3;
        QTest::newRow("twelve yellow")
            << 12 << QColor(Qt::yellow) << true << QColor(Qt::yellow) << 3 << 2 << 2;
        QTest::newRow("white on green")
            << 6 << QColor(Qt::white) << true << ColorToolWindow::colorAt(5) << 1 << 4 << 5;
        QTest::newRow("own colours") << 6 << QColor(Qt::green) << true << QColor(Qt::cyan) << 1 << own << own;
        QTest::newRow("fill off hides colour")
            << 3 << QColor(Qt::blue) << false << QColor(Qt::red) << 0 << 3 << none;
    }

    void mirrorsCanvas()
    {
        QFETCH(int, lineWidth);
        QFETCH(QColor, lineColor);
        QFETCH(bool, fillEnabled);
        QFETCH(QColor, fillColor);
        QFETCH(int, widthIndex);
        QFETCH(int, lineIndex);
        QFETCH(int, fillIndex);
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_RETANGLE"), QPoint(10, 40));
        Style style;
        style.lineWidth = lineWidth;
        style.lineColor = lineColor;
        style.fillEnabled = fillEnabled;
        style.fillColor = fillColor;
        host.canvasAt(0)->setDrawingStyle(style);

        ColorToolWindow popup(anchor, &host, "R", "Line Width", "Line Color", "Fill Color");
        QCOMPARE(checkedIn(4, [&](int i) { return popup.widthButton(i); }), QList<int>{widthIndex});
        QCOMPARE(checkedIn(ColorToolWindow::Custom + 1, [&](int i) { return popup.lineColorButton(i); }),
                 QList<int>{lineIndex});
        QCOMPARE(checkedIn(ColorToolWindow::FillNone + 1, [&](int i) { return popup.fillButton(i); }),
                 QList<int>{fillIndex});
        // Mirroring writes nothing.
        const Style after = host.canvasAt(0)->drawingStyle();
        QCOMPARE(after.lineWidth, lineWidth);
        QCOMPARE(after.lineColor, lineColor);
        QCOMPARE(after.fillEnabled, fillEnabled);
    }

    void choicesWriteCanvasAndKeepPopupOpen()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_RETANGLE"), QPoint(10, 40));
        host.show();
        ColorToolWindow popup(anchor, &host, "R", "Line Width", "Line Color", "Fill Color");
        popup.show();
        ImageCanvas *canvas = host.canvasAt(0);

        for (int i = 0; i < 4; ++i) {
            QTest::mouseClick(popup.widthButton(i), Qt::LeftButton);
            QCOMPARE(canvas->drawingStyle().lineWidth, ColorToolWindow::lineWidthAt(i));
            QCOMPARE(checkedIn(4, [&](int k) { return popup.widthButton(k); }), QList<int>{i});
        }
        QCOMPARE(ColorToolWindow::lineWidthAt(0), 3);
        QCOMPARE(ColorToolWindow::lineWidthAt(3), 12);

        const QColor colours[] = {Qt::black, Qt::red,   Qt::yellow,
                                  Qt::blue,  Qt::white, QColor(0x00, 0xa6, 0x51)};
        for (int i = 5; i >= 0; --i) {
            QTest::mouseClick(popup.lineColorButton(i), Qt::LeftButton);
            QCOMPARE(canvas->drawingStyle().lineColor, colours[i]);
            QCOMPARE(checkedIn(ColorToolWindow::Custom + 1, [&](int k) { return popup.lineColorButton(k); }),
                     QList<int>{i});
        }
        // The own colour: the dialog's choice is the line's, and its button is the one checked.
        QTest::mouseClick(popup.lineColorButton(ColorToolWindow::Custom), Qt::LeftButton);
        QPointer<QColorDialog> dialog = popup.colorDialog();
        QVERIFY(dialog && dialog->isVisible());
        dialog->setCurrentColor(QColor(0x80, 0x40, 0xc0));
        dialog->accept();
        QCOMPARE(canvas->drawingStyle().lineColor, QColor(0x80, 0x40, 0xc0));
        QVERIFY(popup.lineColorButton(ColorToolWindow::Custom)->isChecked());
        QVERIFY(popup.isVisible());
        QTRY_VERIFY(!dialog);
        QTest::mouseClick(popup.lineColorButton(0), Qt::LeftButton);

        QTest::mouseClick(popup.fillButton(1), Qt::LeftButton);
        QVERIFY(canvas->drawingStyle().fillEnabled);
        QCOMPARE(canvas->drawingStyle().fillColor, QColor(Qt::red));
        QTest::mouseClick(popup.fillButton(ColorToolWindow::FillNone), Qt::LeftButton);
        QVERIFY(!canvas->drawingStyle().fillEnabled);
        QCOMPARE(canvas->drawingStyle().fillColor, QColor(Qt::red));
        QCOMPARE(checkedIn(ColorToolWindow::FillNone + 1, [&](int k) { return popup.fillButton(k); }),
                 QList<int>{ColorToolWindow::FillNone});
        QVERIFY(popup.isVisible());

        // Opened again, the popup shows the choices.
        ColorToolWindow again(anchor, &host, "R", "Line Width", "Line Color", "Fill Color");
        QVERIFY(again.widthButton(3)->isChecked());
        QVERIFY(again.lineColorButton(0)->isChecked());
        QVERIFY(again.fillButton(ColorToolWindow::FillNone)->isChecked());
    }

    void highlighterInTheFreehandPopup()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_FREEHAND"), QPoint(10, 40));
        host.show();
        ColorToolWindow popup(anchor, &host, "Freehand", "Line Width", "Line Color", "");
        QVERIFY(!popup.highlighterButton());
        popup.offerHighlighter();
        popup.show();
        ImageButton *highlighter = popup.highlighterButton();
        QVERIFY(highlighter && highlighter->isVisible() && !highlighter->isChecked());
        QVERIFY(QRect(QPoint(), popup.size()).contains(highlighter->geometry()));
        QCOMPARE(highlighter->toolTip(), QStringLiteral("Highlighter"));
        QTest::mouseClick(highlighter, Qt::LeftButton);
        QVERIFY(host.canvasAt(0)->drawingStyle().highlighter);
        // The width still counts, and the highlighter stays on.
        QTest::mouseClick(popup.widthButton(2), Qt::LeftButton);
        QVERIFY(highlighter->isChecked());
        QCOMPARE(host.canvasAt(0)->drawingStyle().lineWidth, ColorToolWindow::lineWidthAt(2));
        host.switchTo(1);
        QVERIFY(!highlighter->isChecked());
    }

    void followsModeSwitch()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        Style other;
        other.lineWidth = 9;
        other.lineColor = Qt::yellow;
        host.canvasAt(1)->setDrawingStyle(other);
        ColorToolWindow popup(anchor, &host, "Line", "Line Width", "Line Color", "");
        QVERIFY(popup.widthButton(0)->isChecked());

        host.switchTo(1);
        QVERIFY(popup.widthButton(2)->isChecked());
        QVERIFY(popup.lineColorButton(2)->isChecked());
        QTest::mouseClick(popup.lineColorButton(1), Qt::LeftButton);
        QCOMPARE(host.canvasAt(1)->drawingStyle().lineColor, QColor(Qt::red));
        QCOMPARE(host.canvasAt(0)->drawingStyle().lineColor, QColor(Qt::black));
    }

    void fillBackgroundPopup()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_FILL"), QPoint(10, 40));
        host.show();
        auto popup = std::make_unique<FillBackgroundToolWindow>(anchor, &host, "Background Color",
                                                                "Fill Color");
        popup->show();
        QCOMPARE(popup->size(), QSize(324, 48));
        QCOMPARE(popup->closeButton()->pos(), QPoint(306, 4));
        QCOMPARE(labelTexts(*popup), (QStringList{"Background Color", "Fill Color"}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(popup->colorButton(i)->pos(), QPoint(130 + 33 * i, 20));
        QCOMPARE(checkedIn(4, [&](int i) { return popup->colorButton(i); }), QList<int>{0});

        QTest::mouseClick(popup->colorButton(3), Qt::LeftButton);
        ImageCanvas *canvas = host.canvasAt(0);
        QCOMPARE(canvas->drawingStyle().backgroundColor, QColor(Qt::blue));
        const QImage output = canvas->pipeline()->outputImage();
        QCOMPARE(output.size(), QSize(FramePipeline::STILL_WIDTH, FramePipeline::STILL_HEIGHT));
        QCOMPARE(QColor(output.pixel(640, 360)), QColor(Qt::blue));
        QVERIFY(popup->isVisible());

        popup = std::make_unique<FillBackgroundToolWindow>(anchor, &host, "Background Color", "Fill Color");
        QCOMPARE(checkedIn(4, [&](int i) { return popup->colorButton(i); }), QList<int>{3});

        // The other canvas still holds white; a colour outside the table checks WHITE.
        host.switchTo(1);
        QCOMPARE(checkedIn(4, [&](int i) { return popup->colorButton(i); }), QList<int>{0});
        Style style = host.canvasAt(1)->drawingStyle();
        style.backgroundColor = Qt::magenta;
        host.canvasAt(1)->setDrawingStyle(style);
        host.switchTo(0);
        QCOMPARE(checkedIn(4, [&](int i) { return popup->colorButton(i); }), QList<int>{3});
        host.switchTo(1);
        QCOMPARE(checkedIn(4, [&](int i) { return popup->colorButton(i); }), QList<int>{0});
    }

    void fillBackgroundWithoutRow()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_FILL"), QPoint(10, 40));
        FillBackgroundToolWindow popup(anchor, &host, "Background Color", "");
        QVERIFY(!popup.hasRow());
        QVERIFY(!popup.colorButton(0));
        host.switchTo(1);
        QCOMPARE(popup.size(), QSize(324, 48));
    }
};

QTEST_MAIN(TestColorToolWindow)
#include "tst_colortoolwindow.moc"

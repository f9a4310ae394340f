#include "PopupTestHost.h"
#include "canvas/ImageCanvas.h"
#include "toolwindows/ToolWindow.h"
#include "widgets/ImageButton.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QPointer>
#include <QScreen>
#include <QtTest>

#include <memory>

class TestToolWindow : public QObject
{
    Q_OBJECT

private:
    static QImage picture(int width, int height)
    {
        QImage image(width, height, QImage::Format_ARGB32);
        image.fill(Qt::darkGray);
        return image;
    }
    static QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

private slots:
    void frame()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        ToolWindow popup(picture(200, 100), anchor, &host, QStringLiteral("Title"));
        QCOMPARE(popup.windowFlags() & (Qt::Tool | Qt::FramelessWindowHint),
                 Qt::Tool | Qt::FramelessWindowHint);
        QCOMPARE(popup.size(), QSize(200, 100));
        QCOMPARE(popup.anchor(), anchor);
        QCOMPARE(popup.parentWidget(), &host);
        QVERIFY(!popup.testAttribute(Qt::WA_DeleteOnClose));
        const auto labels = popup.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0]->text(), QStringLiteral("Title"));
        QCOMPARE(labels[0]->pos(), QPoint(8, 2));
        QVERIFY(labels[0]->styleSheet().contains(QStringLiteral("font-size: 14px")));
    }

    void placement_data()
    {
        QTest::addColumn<QPoint>("hostPosition");
        QTest::addColumn<QPoint>("anchorPosition");
        QTest::addColumn<QSize>("popupSize");
        QTest::addColumn<bool>("clampX");
        QTest::addColumn<bool>("clampY");
        QTest::newRow("beside") << QPoint(20, 20) << QPoint(10, 40) << QSize(200, 100) << false << false;
        QTest::newRow("right edge") << QPoint(-1, 20) << QPoint(10, 40) << QSize(200, 100) << true << false;
        QTest::newRow("bottom edge") << QPoint(20, -1) << QPoint(10, 300) << QSize(200, 150) << false << true;
        QTest::newRow("corner") << QPoint(-1, -1) << QPoint(10, 300) << QSize(324, 256) << true << true;
    }

    void placement()
    {
        QFETCH(QPoint, hostPosition);
        QFETCH(QPoint, anchorPosition);
        QFETCH(QSize, popupSize);
        QFETCH(bool, clampX);
        QFETCH(bool, clampY);
        const QRect screen = available();
        // -1 puts the host's anchor close to the available area's right or bottom end.
        if (hostPosition.x() < 0)
            hostPosition.setX(screen.width() - anchorPosition.x() - 60);
        if (hostPosition.y() < 0)
            hostPosition.setY(screen.height() - anchorPosition.y() - 60);

        PopupTestHost host;
        host.move(hostPosition);
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), anchorPosition);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        const QPoint beside = anchor->mapToGlobal(QPoint(anchor->width() + 3, 0));

        ToolWindow popup(picture(popupSize.width(), popupSize.height()), anchor, &host, QStringLiteral("T"));
        popup.show();
        QCOMPARE(popup.x(), clampX ? screen.width() - popupSize.width() : beside.x());
        QCOMPARE(popup.y(), clampY ? screen.height() - popupSize.height() : beside.y());
        QVERIFY(popup.x() + popup.width() <= screen.width());
        QVERIFY(popup.y() + popup.height() <= screen.height());
    }

    void followsHostMoveAndResize()
    {
        PopupTestHost host;
        host.move(30, 30);
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        ToolWindow popup(picture(120, 60), anchor, &host, QStringLiteral("T"));
        popup.show();
        const QPoint offset = popup.pos() - host.pos();

        host.move(50, 70);
        QTRY_COMPARE(host.pos(), QPoint(50, 70));
        QTRY_COMPARE(popup.pos(), anchor->mapToGlobal(QPoint(anchor->width() + 3, 0)));
        QCOMPARE(popup.pos() - host.pos(), offset);

        // Dragged away, the popup stays until the host next moves or changes size.
        popup.move(5, 5);
        QMoveEvent foreign(QPoint(1, 1), QPoint(0, 0));
        QCoreApplication::sendEvent(host.canvasAt(0), &foreign);
        QCOMPARE(popup.pos(), QPoint(5, 5));
        QVERIFY(!popup.eventFilter(host.canvasAt(0), &foreign));

        anchor->move(10, 100);
        host.resize(host.width() + 40, host.height());
        QTRY_COMPARE(popup.pos(), anchor->mapToGlobal(QPoint(anchor->width() + 3, 0)));
    }

    void filterNeverConsumes_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("move") << int(QEvent::Move);
        QTest::newRow("resize") << int(QEvent::Resize);
        QTest::newRow("paint") << int(QEvent::Paint);
    }

    void filterNeverConsumes()
    {
        QFETCH(int, type);
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        ToolWindow popup(picture(120, 60), anchor, &host, QStringLiteral("T"));
        QEvent event(static_cast<QEvent::Type>(type));
        QVERIFY(!popup.eventFilter(&host, &event));
    }

    void closeButtonPosition_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("one line") << QSize(324, 48);
        QTest::newRow("three lines") << QSize(324, 96);
        QTest::newRow("tool") << QSize(244, 70);
        QTest::newRow("setting") << QSize(244, 256);
        QTest::newRow("about") << QSize(240, 104);
    }

    void closeButtonPosition()
    {
        QFETCH(QSize, size);
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        ToolWindow popup(QImage(), anchor, &host, QStringLiteral("T"));
        popup.setBackground(picture(size.width(), size.height()));
        popup.show();
        QTRY_COMPARE(popup.closeButton()->pos(), QPoint(size.width() - 18, 4));
        QCOMPARE(popup.closeButton()->size(), QSize(14, 14));
    }

    void closeOnlyHides()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        host.show();
        QPointer<ToolWindow> popup = new ToolWindow(picture(120, 60), anchor, &host, QStringLiteral("T"));
        popup->show();
        QTest::mouseClick(popup->closeButton(), Qt::LeftButton);
        QVERIFY(!popup->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(popup);
        delete popup;
    }

    void focusElsewhereKeepsPopupOpen()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        ToolWindow popup(picture(120, 60), anchor, &host, QStringLiteral("T"));
        popup.show();
        host.activateWindow();
        anchor->setFocus();
        QTest::mouseClick(host.canvasAt(0), Qt::LeftButton, {}, QPoint(50, 50));
        QVERIFY(popup.isVisible());
    }

    void focusChangedSlot_data()
    {
        QTest::addColumn<int>("target"); // 0 none, 1 host widget, 2 the popup, 3 a popup child
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("no widget") << 0 << false;
        QTest::newRow("main window") << 1 << false;
        QTest::newRow("popup") << 2 << true;
        QTest::newRow("popup child") << 3 << true;
    }

    void focusChangedSlot()
    {
        QFETCH(int, target);
        QFETCH(bool, staysOpen);
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        ToolWindow popup(picture(120, 60), anchor, &host, QStringLiteral("T"));
        popup.show();
        QWidget *targets[] = {nullptr, anchor, &popup, popup.closeButton()};
        popup.focusChanged(nullptr, targets[target]);
        QCOMPARE(popup.isVisible(), staysOpen);
    }
};

QTEST_MAIN(TestToolWindow)
#include "tst_toolwindow.moc"

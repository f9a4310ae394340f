#include "PopupTestHost.h"
#include "Screenshots.h"
#include "canvas/ImageCanvas.h"
#include "toolwindows/TextToolWindow.h"
#include "widgets/ImageButton.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QtTest>

class TestTextToolWindow : public QObject
{
    Q_OBJECT

private slots:
    void layout()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_TEXT"), QPoint(10, 40));
        TextToolWindow popup(anchor, &host);
        popup.show();
        QCOMPARE(popup.size(), QSize(324, 72));
        QCOMPARE(popup.closeButton()->pos(), QPoint(306, 4));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(popup.colorButton(i)->pos(), QPoint(130 + 33 * i, 43));
        QCOMPARE(popup.faceBox()->pos(), QPoint(10, 20));
        QCOMPARE(popup.faceBox()->width(), 150);
        QCOMPARE(popup.sizeBox()->pos(), QPoint(165, 20));
        QCOMPARE(popup.sizeBox()->width(), 70);
        QVERIFY(popup.sizeBox()->isEditable());
        QVERIFY(!popup.faceBox()->isEditable());

        // The system's families that write text: symbol fonts are left out.
        const QStringList families = TextToolWindow::textFamilies();
        QVERIFY(!families.isEmpty());
        const QFontDatabase fonts;
        for (const QString &family : families)
            QVERIFY2(!fonts.writingSystems(family).contains(QFontDatabase::Symbol), qPrintable(family));
        QCOMPARE(popup.faceBox()->count(), families.size());
        for (int i = 0; i < families.size(); ++i)
            QCOMPARE(popup.faceBox()->itemText(i), families[i]);
        const QList<int> sizes = QFontDatabase::standardSizes();
        QCOMPARE(popup.sizeBox()->count(), sizes.size());
        for (int i = 0; i < sizes.size(); ++i)
            QCOMPARE(popup.sizeBox()->itemText(i), QString::number(sizes[i]));

        QStringList labels;
        for (const QLabel *label : popup.findChildren<QLabel *>())
            labels << label->text();
        QCOMPARE(labels, (QStringList{"Text", "Color"}));
    }

    void typedSizes()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_TEXT"), QPoint(10, 40));
        host.show();
        TextToolWindow popup(anchor, &host);
        popup.show();
        ImageCanvas *canvas = host.canvasAt(0);
        QLineEdit *edit = popup.sizeBox()->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("2"));
        QCOMPARE(canvas->textSize(), 2);
        QTest::keyClicks(edit, QStringLiteral("4"));
        QCOMPARE(canvas->textSize(), 24);
        edit->clear();
        QCOMPARE(canvas->textSize(), 24);
        QTest::keyClicks(edit, QStringLiteral("x"));
        QCOMPARE(canvas->textSize(), 24);
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("0"));
        QCOMPARE(canvas->textSize(), 24);

        popup.sizeBox()->setCurrentIndex(popup.sizeBox()->findText(QStringLiteral("36")));
        QCOMPARE(canvas->textSize(), 36);
        QVERIFY(popup.isVisible());
    }

    void faceAndColour()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_TEXT"), QPoint(10, 40));
        host.show();
        TextToolWindow popup(anchor, &host);
        popup.show();
        ImageCanvas *canvas = host.canvasAt(0);
        if (popup.faceBox()->count() > 1) {
            const int last = popup.faceBox()->count() - 1;
            popup.faceBox()->setCurrentIndex(last);
            emit popup.faceBox()->activated(last);
            QCOMPARE(canvas->textFamily(), popup.faceBox()->itemText(last));
        }
        const QColor colours[] = {Qt::black, Qt::red, Qt::yellow, Qt::blue};
        for (int i = 3; i >= 0; --i) {
            QTest::mouseClick(popup.colorButton(i), Qt::LeftButton);
            QCOMPARE(canvas->textColor(), colours[i]);
            for (int k = 0; k < 4; ++k)
                QCOMPARE(popup.colorButton(k)->isChecked(), k == i);
        }
    }

    // The box opened on a canvas with the default family, written to
    // <build>/screenshots/edges/text-font-box-open.png to be looked at: its list stands on the
    // family the font system writes for the missing one, and lists no symbol font.
    void fontBoxOpensOnTheSubstitute()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_TEXT"), QPoint(10, 40));
        TextToolWindow popup(anchor, &host);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        const QString substitute = QFontInfo(QFont(host.canvasAt(0)->textFamily())).family();
        QVERIFY(!QFontDatabase().families().contains(host.canvasAt(0)->textFamily()));
        QComboBox *box = popup.faceBox();
        QCOMPARE(box->currentText(), substitute);
        QVERIFY(!Screenshots::save(popup.grab(), "edges", "text-font-box").isEmpty());
        box->showPopup();
        QWidget *list = box->view()->window();
        QTRY_VERIFY_WITH_TIMEOUT(list->isVisible(), 2000);
        QCOMPARE(box->view()->currentIndex().data().toString(), substitute);
        const QFontDatabase fonts;
        for (int i = 0; i < box->count(); ++i)
            QVERIFY2(!fonts.writingSystems(box->itemText(i)).contains(QFontDatabase::Symbol),
                     qPrintable(box->itemText(i)));
        // The artwork's icon font, where the system has it, draws pictures, not letters.
        QCOMPARE(box->findText(QStringLiteral("Material Icons")), -1);

        const QRect all = popup.geometry() | list->geometry();
        QImage shot(all.size(), QImage::Format_RGB32);
        shot.fill(QColor(0x10, 0x10, 0x10));
        QPainter painter(&shot);
        painter.drawPixmap(popup.geometry().topLeft() - all.topLeft(), popup.grab());
        painter.drawPixmap(list->geometry().topLeft() - all.topLeft(), list->grab());
        painter.end();
        QVERIFY(!Screenshots::save(shot, "edges", "text-font-box-open").isEmpty());
        box->hidePopup();
    }

    void mirrorsCanvas()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_TEXT"), QPoint(10, 40));
        const QStringList families = TextToolWindow::textFamilies();
        QVERIFY(!families.isEmpty());
        // A family the system lacks is shown as the family written in its place.
        const QString substitute = QFontInfo(QFont(QStringLiteral("No Such Family Anywhere"))).family();
        QVERIFY(families.contains(substitute));
        ImageCanvas *first = host.canvasAt(0);
        ImageCanvas *second = host.canvasAt(1);
        {
            // The canvas's default family is missing on most Linux systems: the box opens on the
            // family the font system writes instead, not on the first family it lists.
            TextToolWindow startup(anchor, &host);
            QCOMPARE(startup.faceBox()->currentText(), QFontInfo(QFont(first->textFamily())).family());
        }
        first->setTextFamily(families.last());
        first->setTextSize(18);
        first->setTextColor(Qt::red);
        second->setTextFamily(QStringLiteral("No Such Family Anywhere"));
        second->setTextSize(13);
        second->setTextColor(Qt::green);

        TextToolWindow popup(anchor, &host);
        QCOMPARE(popup.faceBox()->currentText(), families.last());
        QCOMPARE(popup.sizeBox()->currentText(), QStringLiteral("18"));
        QVERIFY(popup.colorButton(1)->isChecked());

        // The second canvas's family shows as its substitute; the other settings it lacks leave
        // the boxes and buttons as they were, and the canvas keeps its settings.
        host.switchTo(1);
        QCOMPARE(popup.faceBox()->currentText(), substitute);
        QCOMPARE(popup.sizeBox()->currentText(), QStringLiteral("18"));
        QVERIFY(popup.colorButton(1)->isChecked());
        QCOMPARE(second->textFamily(), QStringLiteral("No Such Family Anywhere"));
        QCOMPARE(second->textSize(), 13);
        QCOMPARE(second->textColor(), QColor(Qt::green));

        // A new popup over a canvas with an unknown family starts at its substitute.
        TextToolWindow fresh(anchor, &host);
        QCOMPARE(fresh.faceBox()->currentText(), substitute);
        QCOMPARE(second->textFamily(), QStringLiteral("No Such Family Anywhere"));
        QCOMPARE(second->textSize(), 13);
        for (int i = 0; i < 4; ++i)
            QVERIFY(!fresh.colorButton(i)->isChecked());
    }
};

QTEST_MAIN(TestTextToolWindow)
#include "tst_texttoolwindow.moc"

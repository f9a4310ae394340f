#include "PopupTestHost.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "toolwindows/EffectToolWindow.h"
#include "toolwindows/MaskToolWindow.h"
#include "widgets/ImageButton.h"

#include <QPainter>
#include <QtTest>

namespace {

// Whether the display paints anything at all over an empty canvas of the given size.
bool osdShowsSomething(OSDProcessor *osd)
{
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        OSDProcessor::CanvasState state;
        state.size = image.size();
        osd->paint(&painter, state);
    }
    QImage blank(image.size(), image.format());
    blank.fill(Qt::transparent);
    return image != blank;
}

QImage face(QWidget *button)
{
    QImage image(button->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    button->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// What a button with `iconName` in the given checked state looks like.
QImage buttonFace(const QString &iconName, bool checked = false)
{
    ImageButton reference(iconName, nullptr, QPoint());
    reference.setCheckable(checked);
    reference.setChecked(checked);
    return face(&reference);
}

QList<int> checkedValues(const EffectToolWindow &popup)
{
    QList<int> checked;
    for (int effect = 0; effect < 4; ++effect) {
        if (popup.effectButton(effect)->isChecked())
            checked.append(effect);
    }
    return checked;
}

QList<int> checkedValues(const MaskToolWindow &popup)
{
    QList<int> checked;
    for (int mask = 1; mask <= 4; ++mask) {
        if (popup.maskButton(mask)->isChecked())
            checked.append(mask);
    }
    return checked;
}

} // namespace

class TestEffectMaskToolWindow : public QObject
{
    Q_OBJECT

private slots:
    void effectPopupLayout()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_EFFECT_COLOR"), QPoint(10, 40));
        EffectToolWindow popup(anchor, &host);
        popup.show();
        QCOMPARE(popup.size(), QSize(244, 70));
        QCOMPARE(popup.closeButton()->pos(), QPoint(226, 4));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(popup.effectButton(i)->pos(), QPoint(4 + 60 * i, 18));
            QCOMPARE(
                face(popup.effectButton(i)),
                buttonFace(QStringLiteral("ICON_EFFECT_SUB_") + EFFECT_ICON_NAMES[i], i == EFFECT_COLOR));
        }
        QCOMPARE(checkedValues(popup), QList<int>{EFFECT_COLOR});
    }

    void effectChoice_data()
    {
        QTest::addColumn<int>("effect");
        for (int effect = 0; effect < 4; ++effect)
            QTest::newRow(qPrintable(EFFECT_ICON_NAMES[effect])) << effect;
    }

    void effectChoice()
    {
        QFETCH(int, effect);
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_EFFECT_COLOR"), QPoint(10, 40));
        host.show();
        EffectToolWindow popup(anchor, &host);
        popup.show();
        OSDProcessor *osd = host.osdProcessor(host.canvasAt(0));
        QVERIFY(!osdShowsSomething(osd));

        QTest::mouseClick(popup.effectButton(effect), Qt::LeftButton);
        QCOMPARE(host.canvasAt(0)->pipeline()->effect(), effect);
        QCOMPARE(face(anchor), buttonFace(QStringLiteral("ICON_EFFECT_") + EFFECT_ICON_NAMES[effect]));
        QVERIFY(!anchor->isChecked());
        QVERIFY(osdShowsSomething(osd));
        QCOMPARE(checkedValues(popup), QList<int>{effect});
        QVERIFY(popup.isVisible());

        // The same effect again still announces itself.
        host.clock.set(5000);
        QVERIFY(!osdShowsSomething(osd));
        QTest::mouseClick(popup.effectButton(effect), Qt::LeftButton);
        QCOMPARE(host.canvasAt(0)->pipeline()->effect(), effect);
        QVERIFY(osdShowsSomething(osd));
        QVERIFY(!osdShowsSomething(host.osdProcessor(host.canvasAt(1))));
    }

    void effectFollowsModeSwitch()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_EFFECT_COLOR"), QPoint(10, 40));
        host.canvasAt(0)->pipeline()->setEffect(EFFECT_BW);
        host.canvasAt(1)->pipeline()->setEffect(EFFECT_MOSAIC);
        EffectToolWindow popup(anchor, &host);
        QCOMPARE(checkedValues(popup), QList<int>{EFFECT_BW});
        host.switchTo(1);
        QCOMPARE(checkedValues(popup), QList<int>{EFFECT_MOSAIC});
        QTest::mouseClick(popup.effectButton(EFFECT_NEGATIVE), Qt::LeftButton);
        QCOMPARE(host.canvasAt(1)->pipeline()->effect(), int(EFFECT_NEGATIVE));
        QCOMPARE(host.canvasAt(0)->pipeline()->effect(), int(EFFECT_BW));
    }

    void maskPopupLayout()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_MASK_CIRCLE"), QPoint(10, 40));
        MaskToolWindow popup(anchor, &host);
        popup.show();
        QCOMPARE(popup.size(), QSize(244, 70));
        for (int mask = 1; mask <= 4; ++mask) {
            QCOMPARE(popup.maskButton(mask)->pos(), QPoint(4 + 60 * (mask - 1), 18));
            QCOMPARE(face(popup.maskButton(mask)),
                     buttonFace(QStringLiteral("ICON_MASK_SUB_") + MASK_ICON_NAMES[mask]));
        }
        // No mask on the canvas: no button checked.
        QCOMPARE(checkedValues(popup), QList<int>{});
    }

    void maskChoice_data()
    {
        QTest::addColumn<int>("mask");
        for (int mask = 1; mask <= 4; ++mask)
            QTest::newRow(qPrintable(MASK_ICON_NAMES[mask])) << mask;
    }

    void maskChoice()
    {
        QFETCH(int, mask);
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_MASK_CIRCLE"), QPoint(10, 40));
        anchor->setCheckable(true);
        host.show();
        MaskToolWindow popup(anchor, &host);
        popup.show();
        QTest::mouseClick(popup.maskButton(mask), Qt::LeftButton);
        QCOMPARE(host.canvasAt(0)->pipeline()->mask(), mask);
        QVERIFY(anchor->isChecked());
        QCOMPARE(face(anchor), buttonFace(QStringLiteral("ICON_MASK_") + MASK_ICON_NAMES[mask], true));
        QVERIFY(osdShowsSomething(host.osdProcessor(host.canvasAt(0))));
        QCOMPARE(checkedValues(popup), QList<int>{mask});
        QVERIFY(popup.isVisible());
    }

    void maskFollowsModeSwitch()
    {
        PopupTestHost host;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_MASK_CIRCLE"), QPoint(10, 40));
        host.canvasAt(0)->pipeline()->setMask(MASK_LEFT);
        MaskToolWindow popup(anchor, &host);
        QCOMPARE(checkedValues(popup), QList<int>{MASK_LEFT});
        host.canvasAt(1)->pipeline()->setMask(MASK_TOP);
        host.switchTo(1);
        QCOMPARE(checkedValues(popup), QList<int>{MASK_TOP});
        // A canvas without a mask changes no button.
        host.canvasAt(0)->pipeline()->setMask(MASK_NONE);
        host.switchTo(0);
        QCOMPARE(checkedValues(popup), QList<int>{MASK_TOP});
    }
};

QTEST_MAIN(TestEffectMaskToolWindow)
#include "tst_effectmasktoolwindow.moc"

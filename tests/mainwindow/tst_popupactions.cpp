#include "MainWindowRig.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "mainwindow/ToolActions.h"
#include "sources/media/MediaFramework.h"
#include "toolwindows/AboutToolWindow.h"
#include "toolwindows/ColorToolWindow.h"
#include "toolwindows/EffectToolWindow.h"
#include "toolwindows/FillBackgroundToolWindow.h"
#include "toolwindows/MaskToolWindow.h"
#include "toolwindows/SettingsToolWindow.h"
#include "toolwindows/TextToolWindow.h"
#include "widgets/ImageButton.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QtTest>

namespace {

QString titleOf(const QWidget *popup)
{
    for (const QLabel *label : popup->findChildren<QLabel *>()) {
        if (label->pos() == QPoint(8, 2))
            return label->text();
    }
    return QString();
}

} // namespace

namespace {

// The About button belongs to the window; every other popup opens from a tool action.
QObject *actionTarget(MainWindow &w, const QString &slot)
{
    return slot == QLatin1String("About") ? static_cast<QObject *>(&w) : w.toolActions();
}

} // namespace

class TestPopupActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
        QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
        QVERIFY(MediaFramework::initialize());
    }

    void cleanupTestCase() { MediaFramework::shutdown(); }

    void holdingLineKeepsItsPopupUntilAnotherTool()
    {
        auto w = MainWindowRig::makeWindow();
        ImageButton *line = w->toolButtons().line;
        QTest::mousePress(line, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w->popupSlot().popup(), 2000);
        QPointer<QWidget> popup = w->popupSlot().popup();
        QTest::mouseRelease(line, Qt::LeftButton);
        QCOMPARE(w->popupSlot().popup(), popup.data());
        QVERIFY(popup->isVisible());
        auto *colour = qobject_cast<ColorToolWindow *>(popup.data());
        QVERIFY(colour);
        QVERIFY(colour->hasLineColorRow());
        QVERIFY(!colour->fillButton(0));
        QCOMPARE(titleOf(colour), QStringLiteral("Line"));
        QCOMPARE(w->currentCanvas()->tool(), int(TOOL_LINE));

        QTest::mouseClick(w->toolButtons().rectangle, Qt::LeftButton);
        QVERIFY(!popup);
        QVERIFY(!w->popupSlot().popup());
        QCOMPARE(w->currentCanvas()->tool(), int(TOOL_RECTANGLE));
    }

    void holdingMaskKeepsTheMaskAsItWas_data()
    {
        QTest::addColumn<bool>("on");
        QTest::newRow("mask on") << true;
        QTest::newRow("mask off") << false;
    }
    void holdingMaskKeepsTheMaskAsItWas()
    {
        // What the mask hides stays hidden while a shape is chosen.
        QFETCH(bool, on);
        auto w = MainWindowRig::makeWindow();
        ImageButton *mask = w->toolButtons().mask;
        if (on)
            QTest::mouseClick(mask, Qt::LeftButton);
        const int before = w->currentCanvas()->pipeline()->mask();
        QCOMPARE(before != MASK_NONE, on);
        QTest::mousePress(mask, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w->popupSlot().popup(), 2000);
        QTest::mouseRelease(mask, Qt::LeftButton);
        QVERIFY(qobject_cast<MaskToolWindow *>(w->popupSlot().popup()));
        QCOMPARE(w->currentCanvas()->pipeline()->mask(), before);
        QCOMPARE(mask->isChecked(), on);
        // A plain click still turns it over.
        QTest::mouseClick(mask, Qt::LeftButton);
        QCOMPARE(mask->isChecked(), !on);
    }

    void escClosesThePopup_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<bool>("toPopup"); // Esc in the popup, or in the main window
        QTest::newRow("settings, in the popup") << "settings" << true;
        QTest::newRow("settings, in the window") << "settings" << false;
        QTest::newRow("line, in the popup") << "lineHold" << true;
        QTest::newRow("mask, in the window") << "maskHold" << false;
    }
    void escClosesThePopup()
    {
        QFETCH(QString, slot);
        QFETCH(bool, toPopup);
        auto w = MainWindowRig::makeWindow();
        QVERIFY(QMetaObject::invokeMethod(actionTarget(*w, slot), qPrintable(slot)));
        QPointer<QWidget> popup = w->popupSlot().popup();
        QVERIFY(popup && popup->isVisible());
        QTest::keyClick(toPopup ? popup.data() : static_cast<QWidget *>(w.get()), Qt::Key_Escape);
        QVERIFY(!popup || !popup->isVisible());
    }

    void holdsOpenTheirPopups_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("tool"); // -1: the tool stays
        QTest::addColumn<int>("height");
        QTest::newRow("rectangle") << "rectangleHold"
                                   << "Rectangle" << int(TOOL_RECTANGLE) << 96;
        QTest::newRow("freehand") << "freehandHold"
                                  << "Freehand" << int(TOOL_FREEHAND) << 72;
        QTest::newRow("circle") << "circleHold"
                                << "Circle" << int(TOOL_CIRCLE) << 96;
        QTest::newRow("arrow") << "arrowHold"
                               << "Arrow" << int(TOOL_ARROW) << 96;
        QTest::newRow("triangle") << "triangleHold"
                                  << "Triangle" << int(TOOL_TRIANGLE) << 96;
        QTest::newRow("eraser") << "eraseHold"
                                << "Eraser" << int(TOOL_ERASER) << 48;
        QTest::newRow("text") << "textHold"
                              << "Text" << int(TOOL_TEXT) << 72;
        QTest::newRow("fill background") << "fillBackgroundHold"
                                         << "Background Color" << -1 << 48;
        QTest::newRow("mask") << "maskHold"
                              << "Effect" << -1 << 70;
        QTest::newRow("effect") << "effectHold"
                                << "Color Effect" << -1 << 70;
        QTest::newRow("settings") << "settings"
                                  << "Setting" << -1 << 280; // the picture grown by the language row
        QTest::newRow("about") << "About"
                               << "About" << -1 << 104;
    }

    void holdsOpenTheirPopups()
    {
        QFETCH(QString, slot);
        QFETCH(QString, title);
        QFETCH(int, tool);
        QFETCH(int, height);
        auto w = MainWindowRig::makeWindow();
        w->currentCanvas()->setTool(TOOL_HAND);
        w->toolActions()->lineHold();
        QPointer<QWidget> previous = w->popupSlot().popup();
        QVERIFY(previous);
        QVERIFY(QMetaObject::invokeMethod(actionTarget(*w, slot), qPrintable(slot)));
        QVERIFY(!previous);
        QWidget *popup = w->popupSlot().popup();
        QVERIFY(popup);
        QVERIFY(popup->isVisible());
        QCOMPARE(titleOf(popup), title);
        QCOMPARE(popup->height(), height);
        QCOMPARE(w->currentCanvas()->tool(), tool < 0 ? int(TOOL_LINE) : tool);
    }

    void eraserPopupHasOnlyWidth()
    {
        auto w = MainWindowRig::makeWindow();
        w->toolActions()->eraseHold();
        auto *popup = qobject_cast<ColorToolWindow *>(w->popupSlot().popup());
        QVERIFY(popup);
        QVERIFY(!popup->hasLineColorRow());
        QStringList labels;
        for (const QLabel *label : popup->findChildren<QLabel *>())
            labels << label->text();
        QCOMPARE(labels, (QStringList{"Eraser", "Width"}));
    }

    void openPopupFollowsModeSwitch()
    {
        auto w = MainWindowRig::makeWindow();
        w->canvas(MODE_DRAWING_BOARD)->pipeline()->setEffect(EFFECT_NEGATIVE);
        w->toolActions()->effectHold();
        auto *popup = qobject_cast<EffectToolWindow *>(w->popupSlot().popup());
        QVERIFY(popup);
        QVERIFY(popup->effectButton(EFFECT_COLOR)->isChecked());
        // A mode switch closes popups; one opened on the new canvas shows its effect.
        QVERIFY(MainWindowRig::selectMode(*w, MODE_DRAWING_BOARD));
        w->toolActions()->effectHold();
        popup = qobject_cast<EffectToolWindow *>(w->popupSlot().popup());
        QVERIFY(popup->effectButton(EFFECT_NEGATIVE)->isChecked());
    }

    void settingsTwiceReadsTheStoreAfresh()
    {
        auto w = MainWindowRig::makeWindow();
        QTest::mouseClick(w->toolButtons().settings, Qt::LeftButton);
        QPointer<SettingsToolWindow> first = qobject_cast<SettingsToolWindow *>(w->popupSlot().popup());
        QVERIFY(first);
        first->captureModeBox()->setCurrentIndex(1);
        Config::setSnapshotInterval(600);
        QTest::mouseClick(w->toolButtons().settings, Qt::LeftButton);
        QVERIFY(!first);
        auto *second = qobject_cast<SettingsToolWindow *>(w->popupSlot().popup());
        QVERIFY(second);
        QCOMPARE(second->captureModeBox()->currentIndex(), Config::snapshotMode());
        QCOMPARE(second->intervalBox()->currentText(), QStringLiteral("10 min"));
        QCOMPARE(second->resolutionBox()->count(), w->supportedResolutions().size());
    }

    void resetRecordingStateUnchecksBoth()
    {
        auto w = MainWindowRig::makeWindow();
        w->toolButtons().record->setCheckable(true);
        w->toolButtons().record->setChecked(true);
        w->liveRecordingButton()->setChecked(true);
        w->resetRecordingState();
        QVERIFY(!w->toolButtons().record->isChecked());
        QVERIFY(!w->liveRecordingButton()->isChecked());
        QVERIFY(!w->isRecording());
    }

    // Every popup beside its button over the main window, written into the build tree.
    void screenshots()
    {
        const QString folder = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/popups");
        QVERIFY(QDir().mkpath(folder));
        auto w = MainWindowRig::makeWindow();
        w->move(0, 0);
        const char *actions[] = {"lineHold", "rectangleHold", "eraseHold", "textHold", "fillBackgroundHold",
                                 "maskHold", "effectHold",    "settings",  "About"};
        for (const char *slot : actions) {
            QVERIFY(QMetaObject::invokeMethod(actionTarget(*w, slot), slot));
            QWidget *popup = w->popupSlot().popup();
            QVERIFY(popup);
            QVERIFY(QTest::qWaitForWindowExposed(popup));
            const QRect all = w->geometry().united(popup->geometry());
            QImage shot(all.size(), QImage::Format_ARGB32_Premultiplied);
            shot.fill(QColor(0x10, 0x10, 0x10));
            {
                QPainter painter(&shot);
                painter.drawPixmap(w->geometry().topLeft() - all.topLeft(), w->grab());
                painter.drawPixmap(popup->geometry().topLeft() - all.topLeft(), popup->grab());
            }
            const QString file = QStringLiteral("%1/mainwindow_%2.png").arg(folder, QLatin1String(slot));
            QVERIFY2(shot.save(file), qPrintable(file));
        }
    }
};

QTEST_MAIN(TestPopupActions)
#include "tst_popupactions.moc"

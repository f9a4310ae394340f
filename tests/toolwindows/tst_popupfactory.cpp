#include "PopupTestHost.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "toolwindows/AboutToolWindow.h"
#include "toolwindows/ColorToolWindow.h"
#include "toolwindows/EffectToolWindow.h"
#include "toolwindows/FillBackgroundToolWindow.h"
#include "toolwindows/MaskToolWindow.h"
#include "toolwindows/PopupFactory.h"
#include "toolwindows/SettingsToolWindow.h"
#include "toolwindows/TextToolWindow.h"
#include "widgets/ImageButton.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

QString titleOf(const QWidget &popup)
{
    for (const QLabel *label : popup.findChildren<QLabel *>()) {
        if (label->pos() == QPoint(8, 2))
            return label->text();
    }
    return QString();
}

} // namespace

class TestPopupFactory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
        QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
    }

    void lineStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("tool");
        QTest::addColumn<bool>("lineRow");
        QTest::addColumn<bool>("fillRow");
        QTest::addColumn<QString>("widthLabel");
        QTest::newRow("line") << int(PopupFactory::Line) << "Line" << int(TOOL_LINE) << true << false
                              << "Line Width";
        QTest::newRow("rectangle") << int(PopupFactory::Rectangle) << "Rectangle" << int(TOOL_RECTANGLE)
                                   << true << true << "Line Width";
        QTest::newRow("freehand") << int(PopupFactory::Freehand) << "Freehand" << int(TOOL_FREEHAND) << true
                                  << false << "Line Width";
        QTest::newRow("circle") << int(PopupFactory::Circle) << "Circle" << int(TOOL_CIRCLE) << true << true
                                << "Line Width";
        QTest::newRow("arrow") << int(PopupFactory::Arrow) << "Arrow" << int(TOOL_ARROW) << true << true
                               << "Line Width";
        QTest::newRow("triangle") << int(PopupFactory::Triangle) << "Triangle" << int(TOOL_TRIANGLE) << true
                                  << true << "Line Width";
        QTest::newRow("eraser") << int(PopupFactory::Eraser) << "Eraser" << int(TOOL_ERASER) << false << false
                                << "Width";
    }

    void lineStyles()
    {
        QFETCH(int, style);
        QFETCH(QString, title);
        QFETCH(int, tool);
        QFETCH(bool, lineRow);
        QFETCH(bool, fillRow);
        QFETCH(QString, widthLabel);
        PopupTestHost host(1);
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        const auto lineStyle = static_cast<PopupFactory::LineStyle>(style);
        QCOMPARE(PopupFactory::toolOf(lineStyle), tool);
        std::unique_ptr<ColorToolWindow> popup(PopupFactory::lineStyle(lineStyle, anchor, &host));
        QCOMPARE(titleOf(*popup), title);
        QCOMPARE(popup->anchor(), anchor);
        QCOMPARE(popup->parentWidget(), &host);
        QCOMPARE(popup->hasLineColorRow(), lineRow);
        QCOMPARE(popup->fillButton(0) != nullptr, fillRow);
        QCOMPARE(popup->height(), fillRow ? 96 : lineRow ? 72 : 48);
        QStringList labels;
        for (const QLabel *label : popup->findChildren<QLabel *>())
            labels << label->text();
        QCOMPARE(labels.value(1), widthLabel);
    }

    void othersSetNoTool()
    {
        PopupTestHost host(1);
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_FILL"), QPoint(10, 40));
        host.canvasAt(0)->setTool(TOOL_CIRCLE);
        std::unique_ptr<ToolWindow> fill(PopupFactory::fillBackground(anchor, &host));
        QCOMPARE(titleOf(*fill), QStringLiteral("Background Color"));
        QVERIFY(qobject_cast<FillBackgroundToolWindow *>(fill.get())->hasRow());
        std::unique_ptr<ToolWindow> mask(PopupFactory::mask(anchor, &host));
        QCOMPARE(titleOf(*mask), QStringLiteral("Effect"));
        std::unique_ptr<ToolWindow> effect(PopupFactory::effect(anchor, &host));
        QCOMPARE(titleOf(*effect), QStringLiteral("Color Effect"));
        std::unique_ptr<ToolWindow> text(PopupFactory::text(anchor, &host));
        QCOMPARE(titleOf(*text), QStringLiteral("Text"));
        std::unique_ptr<ToolWindow> settings(PopupFactory::settings(anchor, &host));
        QCOMPARE(titleOf(*settings), QStringLiteral("Setting"));
        std::unique_ptr<ToolWindow> about(PopupFactory::about(anchor, &host));
        QCOMPARE(titleOf(*about), QStringLiteral("About"));
        QCOMPARE(about->size(), host.aboutPicture().size());
        QCOMPARE(host.canvasAt(0)->tool(), int(TOOL_CIRCLE));
    }

    void titlesTranslatedWhenOpened_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *language : {"zh-tw", "de", "es", "fr", "ja", "ru"})
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void titlesTranslatedWhenOpened()
    {
        QFETCH(QString, language);
        PopupTestHost host(1);
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_LINE"), QPoint(10, 40));
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/translations/VOREN_%1.qm").arg(language)));
        QCoreApplication::installTranslator(&translator);
        std::unique_ptr<ToolWindow> line(PopupFactory::lineStyle(PopupFactory::Line, anchor, &host));
        std::unique_ptr<ToolWindow> fill(PopupFactory::fillBackground(anchor, &host));
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(titleOf(*line), translator.translate("QObject", "Line"));
        QCOMPARE(titleOf(*fill), translator.translate("MainWindow", "Background Color"));
        QVERIFY(!titleOf(*fill).isEmpty());
        QVERIFY(titleOf(*fill) != QLatin1String("Background Color"));
    }

    // Each popup beside its button over a window with a picture, written into the build tree
    // for a look at the skin.
    void screenshots()
    {
        const QString folder = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/popups");
        QVERIFY(QDir().mkpath(folder));
        PopupTestHost host(1);
        host.resize(720, 480);
        host.canvasAt(0)->setGeometry(80, 0, 640, 480);
        host.canvasAt(0)->pipeline()->fillStill(QColor(0x50, 0x60, 0x70));
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_RETANGLE"), QPoint(10, 60));
        host.move(0, 0);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        const QVector<QPair<QString, std::function<ToolWindow *()>>> popups = {
            {"line", [&] { return PopupFactory::lineStyle(PopupFactory::Line, anchor, &host); }},
            {"rectangle", [&] { return PopupFactory::lineStyle(PopupFactory::Rectangle, anchor, &host); }},
            {"eraser", [&] { return PopupFactory::lineStyle(PopupFactory::Eraser, anchor, &host); }},
            {"fill_background", [&] { return PopupFactory::fillBackground(anchor, &host); }},
            {"effect", [&] { return PopupFactory::effect(anchor, &host); }},
            {"mask", [&] { return PopupFactory::mask(anchor, &host); }},
            {"text", [&] { return PopupFactory::text(anchor, &host); }},
            {"settings", [&] { return PopupFactory::settings(anchor, &host); }},
            {"about", [&] { return PopupFactory::about(anchor, &host); }},
        };
        for (const auto &entry : popups) {
            std::unique_ptr<ToolWindow> popup(entry.second());
            popup->show();
            QVERIFY(QTest::qWaitForWindowExposed(popup.get()));
            const QRect hostRect = host.geometry();
            const QRect popupRect = popup->geometry();
            const QRect all = hostRect.united(popupRect);
            QImage shot(all.size(), QImage::Format_ARGB32_Premultiplied);
            shot.fill(QColor(0x10, 0x10, 0x10));
            {
                QPainter painter(&shot);
                painter.drawPixmap(hostRect.topLeft() - all.topLeft(), host.grab());
                painter.drawPixmap(popupRect.topLeft() - all.topLeft(), popup->grab());
            }
            const QString file = folder + QLatin1Char('/') + entry.first + QStringLiteral(".png");
            QVERIFY2(shot.save(file), qPrintable(file));
        }
    }
};

QTEST_MAIN(TestPopupFactory)
#include "tst_popupfactory.moc"

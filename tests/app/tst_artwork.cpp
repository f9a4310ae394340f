// The compiled-in artwork: every picture the program looks up exists at its resource path in
// the size the window layout relies on; the pictures whose absence the program relies on are
// absent. The path list is written out here on purpose, independent of the artwork manifest,
// so a picture that the manifest forgets fails this test. The 2x partners are checked for every
// picture the manifest draws.
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

const QStringList kIconNames = {
    "AboutButton",
    "BUTTON_SIDE_CLOSE",
    "BUTTON_SIDE_OPEN",
    "ICON_ARROW",
    "ICON_AUTOFOCUS",
    "ICON_BRIGHTNESS_INCREASE",
    "ICON_BRIGHTNESS_REDUCE",
    "ICON_CAPTURE",
    "ICON_CIRCLE",
    "ICON_COPY",
    "ICON_EFFECT_BW",
    "ICON_EFFECT_COLOR",
    "ICON_EFFECT_MOSAIC",
    "ICON_EFFECT_NEGATIVE",
    "ICON_EFFECT_SUB_BW",
    "ICON_EFFECT_SUB_COLOR",
    "ICON_EFFECT_SUB_MOSAIC",
    "ICON_EFFECT_SUB_NEGATIVE",
    "ICON_ERASE",
    "ICON_ERASE_ALL",
    "ICON_FILL",
    "ICON_FILL_COLOR_BLACK",
    "ICON_FILL_COLOR_NONE",
    "ICON_FILL_COLOR_RED",
    "ICON_FILL_COLOR_SKY",
    "ICON_FILL_COLOR_WHITE",
    "ICON_FILL_COLOR_YELLOW",
    "ICON_FILM_BACKWARD",
    "ICON_FILM_FORWARD",
    "ICON_FILM_OPEN",
    "ICON_FILM_PAUSE",
    "ICON_FILM_PLAY",
    "ICON_FILM_STOP",
    "ICON_FILM_VOLUME",
    "ICON_FREEHAND",
    "ICON_FREEZE",
    "ICON_HAND",
    "ICON_LINE",
    "ICON_LINE_COLOR_BLACK",
    "ICON_LINE_COLOR_RED",
    "ICON_LINE_COLOR_SKY",
    "ICON_LINE_COLOR_YELLOW",
    "ICON_LINE_WIDTH_1",
    "ICON_LINE_WIDTH_2",
    "ICON_LINE_WIDTH_3",
    "ICON_LINE_WIDTH_4",
    "ICON_LIVE_PAUSE",
    "ICON_LIVE_RECORDING",
    "ICON_LIVE_STOP",
    "ICON_MACRO",
    "ICON_MASK_CIRCLE",
    "ICON_MASK_LEFT",
    "ICON_MASK_RECTANGLE",
    "ICON_MASK_SUB_CIRCLE",
    "ICON_MASK_SUB_LEFT",
    "ICON_MASK_SUB_RECTANGLE",
    "ICON_MASK_SUB_TOP",
    "ICON_MASK_TOP",
    "ICON_PHOTO_BACKWARD",
    "ICON_PHOTO_FORWARD",
    "ICON_PHOTO_OPEN",
    "ICON_PHOTO_SLIDE",
    "ICON_PHOTO_THUMBNIL",
    "ICON_PHOTO_TIME",
    "ICON_PRINT",
    "ICON_RECORDING",
    "ICON_RETANGLE",
    "ICON_ROTATE",
    "ICON_ROTATE_REV",
    "ICON_SETTING",
    "ICON_TEXT",
    "ICON_TRIANGLE",
    "ICON_ZOOM_IN",
    "ICON_ZOOM_OUT",
    "ICON_ZOOM_RESET",
    "LogoButton",
    "MAIN_BUTTON",
    "MAIN_BUTTON_LONG",
    "POPUP_BUTTON",
    "POPUP_CLOSE",
    "THUMBNIL",
    "TOOL_TITLE_CLOSE",
    "TOOL_TITLE_OPEN",
    "WINDOWS_CLOSE",
    "WINDOWS_FULLSCREEN",
    "WINDOWS_KEYS",
    "WINDOWS_MAX",
    "WINDOWS_MIN",
    "WINDOWS_PROJECTOR",
    "WINDOWS_RESTORE",
};

// Every other picture the program names, with its extension as the program writes it.
const QStringList kPictures = {
    ":/icons/ICON_Orvanix.ICO",
    ":/icons/Background/MAIN_WINDOWS.png",
    ":/icons/Background/THUMBNIL_BAR.png",
    ":/icons/Background/POP_BK_ABOUT_small.png",
    ":/icons/Background/FILM_CONTROL_BK.png",
    ":/icons/Background/POP_VOL_BK.png",
    ":/icons/Background/FILM_SCROLL_BAR.png",
    ":/icons/Background/FILM_SCROLL_BACKGROUND.png",
    ":/icons/Background/PHOTO_CONTROL_BK.png",
    ":/icons/Background/PHOTO_SCROLL_BAR.png",
    ":/icons/Background/POP_BK_TOOL.png",
    ":/icons/Background/POP_BK_SETTING.png",
    ":/icons/Background/TIME_SLIDE_BK_1.png",
    ":/icons/Background/TIME_SLIDE_ADJUSTMENT.png",
    // The colour popups name their backgrounds without an extension.
    ":/icons/Background/POP_BK_COLOR_1LINE",
    ":/icons/Background/POP_BK_COLOR_2LINE",
    ":/icons/Background/POP_BK_COLOR_3LINE",
    ":/icons/Background_Sub/VIDEO_FRAME_TOP_MID.png",
    ":/icons/Background_Sub/VIDEO_FRAME_TOP_RIGHT.png",
    ":/icons/Background_Sub/VIDEO_FRAME_MID_LEFT.png",
    ":/icons/Background_Sub/VIDEO_FRAME_MID_MID.png",
    ":/icons/Background_Sub/VIDEO_FRAME_MID_RIGHT.png",
    ":/icons/Background_Sub/VIDEO_FRAME_BOT_LEFT.png",
    ":/icons/Background_Sub/VIDEO_FRAME_BOT_MID.png",
    ":/icons/Background_Sub/VIDEO_FRAME_BOT_RIGHT.png",
    ":/icons/Background_Sub/ICON_BK_TOP.png",
    ":/icons/Background_Sub/ICON_BK_MID.png",
    ":/icons/Background_Sub/ICON_BK_BOT.png",
    ":/icons/OSD/OSD_MASK_CIRCLE.png",
    ":/icons/OSD/OSD_MASK_RECTANGLE.png",
    ":/icons/OSD/OSD_MASK_LEFT.png",
    ":/icons/OSD/OSD_MASK_TOP.png",
    ":/icons/OSD/OSD_COLOR_COLOR.png",
    ":/icons/OSD/OSD_COLOR_NORMAL.png",
    ":/icons/OSD/OSD_COLOR_BW.png",
    ":/icons/OSD/OSD_COLOR_NEGATIVE.png",
    ":/icons/OSD/OSD_COLOR_MOSAIC.png",
    ":/icons/OSD/OSD_BRIGHTNESS_BK_SHORT.png",
    ":/icons/OSD/OSD_BRIGHTNESS_BK_LONG.png",
    ":/icons/OSD/OSD_BRIGHTNESS_BK_MIN.png",
    ":/icons/OSD/OSD_BRIGHTNESS_BK_MAX.png",
    ":/icons/OSD/OSD_BRIGHTNESS_BAR.png",
    ":/icons/OSD/OSD_BRIGHTNESS_BAR_CENTER.png",
    ":/icons/OSD/OSD_ZOOM_IN.png",
    ":/icons/OSD/OSD_ZOOM_OUT.png",
    ":/icons/OSD/OSD_ROTATE.png",
    ":/icons/OSD/OSD_AUTOFOCUS.png",
    ":/icons/OSD/OSD_FREEZE.png",
    ":/icons/OSD/OSD_MACRO.png",
    ":/icons/OSD/OSD_TIME.png",
    ":/icons/OSD/OSD_SNAPSHOT.png",
};

QString normal(const QString &name)
{
    return QStringLiteral(":/icons/Normal/%1.png").arg(name);
}

QString highDensity(const QString &path)
{
    const int dot = path.lastIndexOf('.');
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

// Every picture the artwork manifest draws, with the size it is drawn at (an alias takes its
// picture's size). A button line stands for its three state pictures; icon files hold their
// sizes themselves and have no 2x partner.
QMap<QString, QSize> manifestPictures()
{
    QFile file(QStringLiteral(DOCCAM_SOURCE_DIR "/resources/artwork/manifest.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QMap<QString, QSize> pictures;
    static const QRegularExpression size(QStringLiteral("^(\\d+)x(\\d+)$"));
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (words.size() < 3)
            continue;
        const auto m = size.match(words[2]);
        const QSize drawn = m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
        if (words[0] == "button" && drawn.isValid()) {
            for (const char *state : {"Normal", "Over", "Click"})
                pictures.insert(QStringLiteral("%1/%2.png").arg(state, words[1]), drawn);
        } else if (words[0] == "picture" && drawn.isValid()) {
            pictures.insert(words[1], drawn);
        } else if (words[0] == "alias") {
            pictures.insert(words[1], pictures.value(words[2]));
        }
    }
    return pictures;
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT
private slots:
    void pictureResolves_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &path : kPictures)
            QTest::newRow(qPrintable(path)) << path;
    }
    void pictureResolves()
    {
        QFETCH(QString, path);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path + " does not load"));
        QVERIFY(image.width() > 0 && image.height() > 0);
    }

    void absentPicture_data()
    {
        QTest::addColumn<QString>("path");
        // Mask "none" looks up an empty mask name; the frame's top-left corner has no piece.
        QTest::newRow("mask none") << ":/icons/OSD/OSD_MASK_.png";
        QTest::newRow("frame top-left corner") << ":/icons/Background_Sub/VIDEO_FRAME_TOP_LEFT.png";
    }
    void absentPicture()
    {
        QFETCH(QString, path);
        QVERIFY(!QFile::exists(path));
        const QImage image(path);
        QVERIFY(image.isNull());
        QCOMPARE(image.size(), QSize(0, 0));
    }

    void plainColourEffectShowsTheNormalPlate()
    {
        const QImage colour(":/icons/OSD/OSD_COLOR_COLOR.png");
        const QImage normalPlate(":/icons/OSD/OSD_COLOR_NORMAL.png");
        QVERIFY(!colour.isNull());
        QCOMPARE(colour, normalPlate);
    }

    void buttonStates_data()
    {
        QTest::addColumn<QString>("name");
        QCOMPARE(kIconNames.size(), 90);
        QCOMPARE(QSet<QString>(kIconNames.begin(), kIconNames.end()).size(), 90);
        for (const QString &name : kIconNames)
            QTest::newRow(qPrintable(name)) << name;
    }
    void buttonStates()
    {
        QFETCH(QString, name);
        const QImage rest(normal(name));
        const QImage over(QStringLiteral(":/icons/Over/%1.png").arg(name));
        const QImage click(QStringLiteral(":/icons/Click/%1.png").arg(name));
        QVERIFY2(!rest.isNull(), "no normal picture");
        QVERIFY2(!over.isNull(), "no over picture");
        QVERIFY2(!click.isNull(), "no click picture");
        // The button is fixed to the normal picture and draws the others unscaled.
        QCOMPARE(over.size(), rest.size());
        QCOMPARE(click.size(), rest.size());
        QVERIFY2(over != rest, "hovering shows no change");
        QVERIFY2(click != rest && click != over, "pressing shows no change");
        // Pressed and checked buttons show the accent face; the resting face is not accent.
        const QPoint facePoint(1, rest.height() / 2);
        const QColor accent(0x21, 0x96, 0xf3);
        QCOMPARE(QColor(click.pixel(facePoint)), accent);
        QVERIFY(QColor(rest.pixel(facePoint)) != accent);
        QVERIFY(QColor(over.pixel(facePoint)) != accent);
        QCOMPARE(qAlpha(rest.pixel(facePoint)), 255);
    }

    void layoutSize_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("width"); // -1: free (stretched or scaled by the program)
        QTest::addColumn<int>("height");
        auto row = [](const QString &path, int w, int h) {
            QTest::newRow(qPrintable(path)) << path << w << h;
        };
        const QString sub = QStringLiteral(":/icons/Background_Sub/");
        const QString bg = QStringLiteral(":/icons/Background/");
        const QString osd = QStringLiteral(":/icons/OSD/");
        // Window frame: the mode buttons sit at y 5 and the page stack at y 25.
        row(sub + "VIDEO_FRAME_TOP_MID.png", -1, 25);
        row(sub + "VIDEO_FRAME_TOP_RIGHT.png", -1, 25);
        row(sub + "VIDEO_FRAME_MID_LEFT.png", 4, -1);
        row(sub + "VIDEO_FRAME_MID_RIGHT.png", 4, -1);
        for (const char *piece : {"BOT_LEFT", "BOT_MID", "BOT_RIGHT"})
            row(sub + "VIDEO_FRAME_" + piece + ".png", -1, 8);
        for (const char *name : {"WINDOWS_MIN", "WINDOWS_MAX", "WINDOWS_RESTORE", "WINDOWS_CLOSE",
                                 "WINDOWS_KEYS", "WINDOWS_PROJECTOR", "WINDOWS_FULLSCREEN"})
            row(normal(name), 18, 16);
        row(normal("MAIN_BUTTON"), 104, 20);
        row(normal("MAIN_BUTTON_LONG"), 130, 20);
        row(normal("BUTTON_SIDE_OPEN"), 28, 96);
        row(normal("BUTTON_SIDE_CLOSE"), 28, 96);
        // The panel at x 40 must end before the page stack at x 174.
        row(sub + "ICON_BK_TOP.png", 128, 8);
        row(sub + "ICON_BK_MID.png", 128, -1);
        row(sub + "ICON_BK_BOT.png", 128, 8);
        for (const char *name : {"ICON_LINE",
                                 "ICON_RETANGLE",
                                 "ICON_FREEHAND",
                                 "ICON_CIRCLE",
                                 "ICON_ARROW",
                                 "ICON_TRIANGLE",
                                 "ICON_ERASE",
                                 "ICON_TEXT",
                                 "ICON_ERASE_ALL",
                                 "ICON_COPY",
                                 "ICON_HAND",
                                 "ICON_FILL",
                                 "ICON_MASK_CIRCLE",
                                 "ICON_MASK_RECTANGLE",
                                 "ICON_MASK_LEFT",
                                 "ICON_MASK_TOP",
                                 "ICON_EFFECT_COLOR",
                                 "ICON_EFFECT_BW",
                                 "ICON_EFFECT_NEGATIVE",
                                 "ICON_EFFECT_MOSAIC",
                                 "ICON_ZOOM_OUT",
                                 "ICON_ZOOM_IN",
                                 "ICON_ZOOM_RESET",
                                 "ICON_AUTOFOCUS",
                                 "ICON_BRIGHTNESS_REDUCE",
                                 "ICON_BRIGHTNESS_INCREASE",
                                 "ICON_ROTATE",
                                 "ICON_ROTATE_REV",
                                 "ICON_FREEZE",
                                 "ICON_MACRO",
                                 "ICON_RECORDING",
                                 "ICON_CAPTURE",
                                 "ICON_SETTING",
                                 "ICON_PRINT"})
            row(normal(name), 60, 32);
        row(normal("TOOL_TITLE_OPEN"), 124, 22);
        row(normal("TOOL_TITLE_CLOSE"), 124, 22);
        row(normal("AboutButton"), 96, 28);
        for (const char *name : {"ICON_LIVE_RECORDING", "ICON_LIVE_PAUSE", "ICON_LIVE_STOP"})
            row(normal(name), 28, 28);
        for (const char *name :
             {"ICON_FILM_OPEN", "ICON_FILM_PLAY", "ICON_FILM_PAUSE", "ICON_FILM_STOP", "ICON_FILM_BACKWARD",
              "ICON_FILM_FORWARD", "ICON_FILM_VOLUME", "ICON_PHOTO_OPEN", "ICON_PHOTO_BACKWARD",
              "ICON_PHOTO_SLIDE", "ICON_PHOTO_FORWARD", "ICON_PHOTO_THUMBNIL", "ICON_PHOTO_TIME"})
            row(normal(name), 32, 28);
        row(bg + "FILM_CONTROL_BK.png", 312, 38);
        row(bg + "PHOTO_CONTROL_BK.png", 272, 38);
        row(bg + "POP_VOL_BK.png", 28, 110);
        row(bg + "FILM_SCROLL_BACKGROUND.png", -1, 10);
        row(bg + "FILM_SCROLL_BAR.png", 22, 10);
        row(bg + "PHOTO_SCROLL_BAR.png", 96, 10);
        row(bg + "TIME_SLIDE_BK_1.png", 160, 8);
        row(bg + "TIME_SLIDE_ADJUSTMENT.png", 12, 16);
        row(bg + "THUMBNIL_BAR.png", -1, 60);
        row(normal("POPUP_CLOSE"), 14, 14);
        row(bg + "POP_BK_COLOR_1LINE", 324, 48);
        row(bg + "POP_BK_COLOR_2LINE", 324, 72);
        row(bg + "POP_BK_COLOR_3LINE", 324, 96);
        for (const char *name :
             {"ICON_LINE_WIDTH_1", "ICON_LINE_WIDTH_2", "ICON_LINE_WIDTH_3", "ICON_LINE_WIDTH_4",
              "ICON_LINE_COLOR_BLACK", "ICON_LINE_COLOR_RED", "ICON_LINE_COLOR_YELLOW", "ICON_LINE_COLOR_SKY",
              "ICON_FILL_COLOR_BLACK", "ICON_FILL_COLOR_RED", "ICON_FILL_COLOR_YELLOW", "ICON_FILL_COLOR_SKY",
              "ICON_FILL_COLOR_WHITE", "ICON_FILL_COLOR_NONE"})
            row(normal(name), 30, 20);
        row(bg + "POP_BK_TOOL.png", 244, 70);
        for (const char *name : {"ICON_EFFECT_SUB_COLOR", "ICON_EFFECT_SUB_BW", "ICON_EFFECT_SUB_NEGATIVE",
                                 "ICON_EFFECT_SUB_MOSAIC", "ICON_MASK_SUB_CIRCLE", "ICON_MASK_SUB_RECTANGLE",
                                 "ICON_MASK_SUB_LEFT", "ICON_MASK_SUB_TOP"})
            row(normal(name), 56, 48);
        row(bg + "POP_BK_SETTING.png", 244, 256);
        row(normal("POPUP_BUTTON"), 70, 22);
        row(bg + "POP_BK_ABOUT_small.png", 240, 104);
        for (const char *name : {"OSD_MASK_CIRCLE", "OSD_MASK_RECTANGLE", "OSD_MASK_LEFT", "OSD_MASK_TOP",
                                 "OSD_AUTOFOCUS", "OSD_FREEZE", "OSD_MACRO"})
            row(osd + name + ".png", 40, 40);
        for (const char *name : {"OSD_COLOR_COLOR", "OSD_COLOR_NORMAL", "OSD_COLOR_BW", "OSD_COLOR_NEGATIVE",
                                 "OSD_COLOR_MOSAIC"})
            row(osd + name + ".png", 130, 40);
        for (const char *name : {"OSD_ZOOM_IN", "OSD_ZOOM_OUT", "OSD_ROTATE"})
            row(osd + name + ".png", 98, 40);
        row(osd + "OSD_BRIGHTNESS_BK_MIN.png", 10, 40);
        row(osd + "OSD_BRIGHTNESS_BK_MAX.png", 10, 40);
        row(osd + "OSD_BRIGHTNESS_BK_SHORT.png", 10, 40);
        row(osd + "OSD_BRIGHTNESS_BK_LONG.png", 14, 40);
        row(osd + "OSD_BRIGHTNESS_BAR.png", 4, 16);
        row(osd + "OSD_BRIGHTNESS_BAR_CENTER.png", 6, 22);
        row(osd + "OSD_TIME.png", 140, 36);
        row(osd + "OSD_SNAPSHOT.png", 48, 48);
        row(bg + "MAIN_WINDOWS.png", 1280, 720);
    }
    void layoutSize()
    {
        QFETCH(QString, path);
        QFETCH(int, width);
        QFETCH(int, height);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path + " does not load"));
        if (width >= 0)
            QCOMPARE(image.width(), width);
        if (height >= 0)
            QCOMPARE(image.height(), height);
    }

    // Dense screens: every picture has a partner of exactly twice its size under the toolkit's
    // name for it, which QPixmap, QIcon and style sheets pick on such screens by themselves.
    void highDensityPartner_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        const QMap<QString, QSize> pictures = manifestPictures();
        QVERIFY(pictures.size() > 300);
        for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
            QTest::newRow(qPrintable(it.key())) << QStringLiteral(":/icons/") + it.key() << it.value();
    }
    void highDensityPartner()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QVERIFY(size.isValid());
        const QImage plain(path);
        const QImage dense(highDensity(path));
        QVERIFY2(!plain.isNull(), qPrintable(path + " does not load"));
        QVERIFY2(!dense.isNull(), qPrintable(highDensity(path) + " does not load"));
        QCOMPARE(plain.size(), size);
        QCOMPARE(dense.size(), size * 2);
        // The same picture: scaled down, the partner matches the plain one closely.
        const QImage reduced = dense.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                   .convertToFormat(QImage::Format_ARGB32);
        const QImage reference = plain.convertToFormat(QImage::Format_ARGB32);
        qint64 difference = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QRgb a = reduced.pixel(x, y);
                const QRgb b = reference.pixel(x, y);
                difference += std::abs(qGray(a) - qGray(b)) + std::abs(qAlpha(a) - qAlpha(b));
            }
        }
        const double mean = double(difference) / (size.width() * size.height());
        QVERIFY2(mean < 12, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
    }

    void resourceTreeHoldsPartnersOnly()
    {
        // Nothing but the manifest's pictures, their partners and the icon file.
        QStringList plain;
        QStringList dense;
        QDirIterator it(QStringLiteral(":/icons"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(QLatin1String(".ICO")))
                continue;
            (path.contains(QLatin1String("@2x.")) ? dense : plain) << path;
        }
        QCOMPARE(plain.size(), manifestPictures().size());
        QCOMPARE(dense.size(), plain.size());
        for (const QString &path : qAsConst(plain))
            QVERIFY2(dense.contains(highDensity(path)), qPrintable(path));
    }

    void osdPlatesAreTranslucent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QPoint>("plainPoint"); // inside the plate, away from glyph and edge
        QTest::newRow("colour label area") << ":/icons/OSD/OSD_COLOR_BW.png" << QPoint(90, 20);
        QTest::newRow("zoom label area") << ":/icons/OSD/OSD_ZOOM_IN.png" << QPoint(65, 20);
        QTest::newRow("rotate label area") << ":/icons/OSD/OSD_ROTATE.png" << QPoint(65, 20);
        QTest::newRow("recording time area") << ":/icons/OSD/OSD_TIME.png" << QPoint(70, 18);
        QTest::newRow("freeze corner") << ":/icons/OSD/OSD_FREEZE.png" << QPoint(4, 20);
    }
    void osdPlatesAreTranslucent()
    {
        // Dark enough to carry white labels over a white page, clear enough to see through.
        QFETCH(QString, path);
        QFETCH(QPoint, plainPoint);
        const QImage image(path);
        QVERIFY(!image.isNull());
        const QRgb px = image.pixel(plainPoint);
        QVERIFY2(qAlpha(px) >= 140 && qAlpha(px) <= 220, qPrintable(QString::number(qAlpha(px))));
        QVERIFY(qGray(px) < 60);
    }

    void applicationIconHoldsFourSizes()
    {
        QImageReader reader(":/icons/ICON_Orvanix.ICO");
        QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
        QCOMPARE(reader.imageCount(), 4);
        QList<int> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(image.width(), image.height());
            QVERIFY(image.hasAlphaChannel());
            // Same mark in every size: corners see-through, centre opaque.
            QVERIFY(qAlpha(image.pixel(0, 0)) < 32);
            QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
            sizes << image.width();
        }
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, QList<int>({16, 32, 48, 256}));
        const QIcon icon(":/icons/ICON_Orvanix.ICO");
        QVERIFY(!icon.isNull());
    }

    void startPictureIsDark()
    {
        const QImage start(":/icons/Background/MAIN_WINDOWS.png");
        QVERIFY(!start.isNull());
        QVERIFY(!start.hasAlphaChannel() || qAlpha(start.pixel(0, 0)) == 255);
        for (const QPoint &corner : {QPoint(0, 0), QPoint(1279, 0), QPoint(0, 719), QPoint(1279, 719)})
            QVERIFY(qGray(start.pixel(corner)) < 60);
    }
};

QTEST_GUILESS_MAIN(TestArtwork)
#include "tst_artwork.moc"

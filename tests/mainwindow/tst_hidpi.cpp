// The interface on dense screens. This program runs at 200 % (QT_SCALE_FACTOR=2, set before the
// application exists): the buttons must show their pictures drawn at twice the detail, not the
// plain pictures enlarged. The main window, its bars, on-screen pictures and a popup are also
// photographed at 100 %, 150 % and 200 % into <build>/screenshots/hidpi; the scale is fixed for
// an application's lifetime, so each scale runs in a child process of this test.
#include "MainWindowRig.h"
#include "TestPictures.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/SkinPicture.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/PopupSlot.h"
#include "mainwindow/ToolActions.h"
#include "sources/film/FilmSource.h"
#include "widgets/Slider.h"

#include <QDir>
#include <QIcon>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char kScaleVariable[] = "DOCCAM_HIDPI_SCALE"; // the scale of a child process
const char kShotsVariable[] = "DOCCAM_HIDPI_SHOTS"; // the folder a child process writes into

// Set before QTEST_MAIN creates the application: a child process's scale, else 200 %.
const bool kScaled = [] {
    const QByteArray scale = qgetenv(kScaleVariable);
    qputenv("QT_SCALE_FACTOR", scale.isEmpty() ? QByteArray("2") : scale);
    return true;
}();

// The share of a glyph's pixels that are neither face nor glyph, i.e. the anti-aliased fringe
// along its outline, within box. Drawn at twice the detail the fringe stays about one device
// pixel wide while the glyph's area grows fourfold, so the share roughly halves; a 1x picture
// enlarged keeps (sharp enlargement) or raises (smooth enlargement) the 1x share.
double fringeShare(const QImage &image, const QRect &box)
{
    const int face = qGray(image.pixel(box.topLeft()));
    int ink = face;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x)
            ink = std::max(ink, qGray(image.pixel(x, y)));
    }
    if (ink - face < 64)
        return -1; // no glyph lighter than the face in the box
    int inked = 0;
    int fringe = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const double t = double(qGray(image.pixel(x, y)) - face) / (ink - face);
            if (t > 0.1)
                ++inked;
            if (t > 0.1 && t < 0.9)
                ++fringe;
        }
    }
    return inked ? double(fringe) / inked : -1;
}

// host and popup composed at their places on the desktop, the way a user sees them.
QImage composed(QWidget *host, QWidget *popup)
{
    const QRect all = host->geometry().united(popup->geometry());
    const qreal ratio = host->devicePixelRatioF();
    QImage shot((QSizeF(all.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    shot.setDevicePixelRatio(ratio);
    shot.fill(QColor(0x10, 0x10, 0x10));
    QPainter painter(&shot);
    painter.drawPixmap(host->geometry().topLeft() - all.topLeft(), host->grab());
    painter.drawPixmap(popup->geometry().topLeft() - all.topLeft(), popup->grab());
    return shot;
}

} // namespace

class TestHiDpi : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(kScaled);
        QVERIFY(m_dir.isValid());
    }

    void glyphsAreDrawnAtTwiceTheDetail_data()
    {
        QTest::addColumn<QString>("icon");
        for (const char *icon : {"ICON_ZOOM_IN", "ICON_PRINT", "ICON_LINE", "ICON_FILM_PLAY", "WINDOWS_CLOSE",
                                 "ICON_EFFECT_SUB_BW"})
            QTest::newRow(icon) << QString(icon);
    }
    void glyphsAreDrawnAtTwiceTheDetail()
    {
        QFETCH(QString, icon);
        QWidget host;
        auto *button = new ImageButton(icon, &host, QPoint(0, 0));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QCOMPARE(button->devicePixelRatioF(), 2.0);

        const QImage plain(QStringLiteral(":/icons/Normal/%1.png").arg(icon));
        QVERIFY(!plain.isNull());
        // Laid out in logical pixels: the button keeps the plain picture's size.
        QCOMPARE(button->size(), plain.size());
        const QImage shown = button->grab().toImage();
        QCOMPARE(shown.size(), plain.size() * 2);

        // The face's outer three pixels (rounded corners, top edge) are left out.
        const QRect logicalBox = QRect(QPoint(0, 0), plain.size()).adjusted(3, 3, -3, -3);
        const QRect box(logicalBox.topLeft() * 2, logicalBox.size() * 2);
        const double dense = fringeShare(shown, box);
        const double enlarged = fringeShare(
            plain.scaled(plain.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation), box);
        QVERIFY2(dense > 0 && enlarged > 0, "no glyph in the button");
        QVERIFY2(dense < 0.7 * enlarged,
                 qPrintable(QStringLiteral("fringe share %1 at 2x, %2 for the 1x picture enlarged")
                                .arg(dense, 0, 'f', 3)
                                .arg(enlarged, 0, 'f', 3)));
    }

    // QIcon and style sheets find the 2x partners by their names themselves (QPixmap's loader
    // does not); the skin's own widgets load them through SkinPicture, at the same logical size.
    void everyLoaderTakesThePartner_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *path : {":/icons/Normal/ICON_ZOOM_IN.png", ":/icons/OSD/OSD_FREEZE.png",
                                 ":/icons/Background/POP_VOL_BK.png"})
            QTest::newRow(path) << QString(path);
    }
    void everyLoaderTakesThePartner()
    {
        QFETCH(QString, path);
        const QImage plain(path);
        QVERIFY(!plain.isNull());
        const QPixmap fromIcon = QIcon(path).pixmap(plain.size());
        QCOMPARE(fromIcon.devicePixelRatio(), 2.0);
        QCOMPARE(fromIcon.size(), plain.size() * 2);
        const QImage skin = SkinPicture::load(path);
        QCOMPARE(skin.devicePixelRatio(), 2.0);
        QCOMPARE(SkinPicture::logicalSize(skin), plain.size());
        QCOMPARE(skin, QImage(SkinPicture::highDensityPath(path)).convertToFormat(skin.format()));
    }

    void volumeGrooveKeepsItsProportions()
    {
        // The style sheet cuts its border image in the image's pixels: the 2x picture must be
        // cut at twice the border, so the groove shows the picture pixel for pixel.
        const QImage dense(QStringLiteral(":/icons/Background/POP_VOL_BK@2x.png"));
        QVERIFY(!dense.isNull());
        QWidget host;
        auto *slider = new Slider(Qt::Vertical, &host);
        slider->setFixedSize(dense.size() / 2);
        slider->setRange(0, 100);
        slider->setValue(100); // the handle at the top, away from the compared rows
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        const QImage shown = slider->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shown.size(), dense.size());
        const QImage expected = dense.convertToFormat(QImage::Format_ARGB32);
        qint64 difference = 0;
        int compared = 0;
        for (int y = shown.height() / 2; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x, ++compared)
                difference += std::abs(qGray(shown.pixel(x, y)) - qGray(expected.pixel(x, y)));
        }
        const double mean = double(difference) / compared;
        QVERIFY2(mean < 2, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
    }

    void screenshotsAtEachScale_data()
    {
        QTest::addColumn<QString>("scale");
        QTest::newRow("100 %") << "1";
        QTest::newRow("150 %") << "1.5";
        QTest::newRow("200 %") << "2";
    }
    void screenshotsAtEachScale()
    {
        QFETCH(QString, scale);
        const QString folder = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/hidpi");
        QVERIFY(QDir().mkpath(folder));
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kScaleVariable, scale);
        env.insert(kShotsVariable, folder);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"photographAtThisScale"});
        QVERIFY(child.waitForFinished(180000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(output));
        QVERIFY2(output.contains("PASS   : TestHiDpi::photographAtThisScale()"), qPrintable(output));
        const QImage window(QStringLiteral("%1/live-%2x.png").arg(folder, scale));
        QCOMPARE(window.size(), (QSizeF(938, 680) * scale.toDouble()).toSize());
    }

    // Run by screenshotsAtEachScale() in a child process at the scale it names.
    void photographAtThisScale()
    {
        const QString folder = qEnvironmentVariable(kShotsVariable);
        if (folder.isEmpty())
            QSKIP("runs in a child process of screenshotsAtEachScale()");
        const QString scale = qEnvironmentVariable(kScaleVariable);
        QCOMPARE(qApp->devicePixelRatio(), scale.toDouble());
        auto save = [&](const QImage &shot, const QString &name) {
            const QString file = QStringLiteral("%1/%2-%3x.png").arg(folder, name, scale);
            QVERIFY2(shot.save(file), qPrintable(file));
        };

        // Live: the camera's picture with every on-screen picture at once.
        auto camera = std::make_shared<SimulatedCamera>();
        // The window's clock stands still, so every indication stays on the picture.
        ManualClock *clock = nullptr;
        auto w = MainWindowRig::makeWindow(&clock, camera);
        w->resize(938, 680);
        w->move(0, 0);
        QTRY_VERIFY_WITH_TIMEOUT(camera->framesDelivered() > 10, 10000);
        OSDProcessor *osd = w->osd(w->canvas(MODE_LIVE));
        QVERIFY(osd);
        clock->set(3723000);
        osd->showZoomIn();
        osd->showRotate();
        osd->showBrightness();
        osd->showAutoFocus();
        osd->showFreeze();
        osd->showMacro(1);
        osd->showColor();
        osd->startRecordingTime();
        osd->showSnapshot();
        QTest::qWait(200);
        const QImage live = w->grab().toImage();
        // The frame is opaque everywhere: no seam lets the desktop through between its pieces.
        int seeThrough = 0;
        for (int y = 0; y < live.height(); ++y) {
            for (int x = 0; x < live.width(); ++x)
                seeThrough += qAlpha(live.pixel(x, y)) < 255;
        }
        QCOMPARE(seeThrough, 0);
        save(live, QStringLiteral("live"));

        // A popup beside its button.
        QVERIFY(QMetaObject::invokeMethod(w->toolActions(), "lineHold"));
        QWidget *popup = w->popupSlot().popup();
        QVERIFY(popup);
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        save(composed(w.get(), popup), QStringLiteral("popup-line"));
        popup->close();

        // Film mode: the bar and its volume slider (a style sheet picture).
        QVERIFY(MainWindowRig::selectMode(*w, MODE_FILM));
        QTest::mouseClick(w->filmBar()->volumeButton(), Qt::LeftButton);
        QTest::qWait(100);
        save(w->grab().toImage(), QStringLiteral("film"));

        // Photograph mode: the bar, its interval slider (a style sheet picture) and the
        // thumbnail strip.
        const QString pictures = m_dir.filePath(QStringLiteral("pictures"));
        QVERIFY(QDir().mkpath(pictures));
        for (const char *name : {"a.png", "b.png", "c.png"})
            QVERIFY(TestPictures::write(pictures + QLatin1Char('/') + name, QSize(64, 48)));
        w->setOpenFileDialog([&](QWidget *, const QString &, const QString &, const QString &) {
            return pictures + QStringLiteral("/a.png");
        });
        QVERIFY(MainWindowRig::selectMode(*w, MODE_PHOTOGRAPH));
        QTest::mouseClick(w->photographBar()->openButton(), Qt::LeftButton);
        QTest::mouseClick(w->photographBar()->timeButton(), Qt::LeftButton);
        QTest::mouseClick(w->photographBar()->thumbnailButton(), Qt::LeftButton);
        QTest::qWait(300);
        save(w->grab().toImage(), QStringLiteral("photograph"));
    }
};

QTEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"

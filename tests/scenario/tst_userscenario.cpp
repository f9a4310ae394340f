#include "../mainwindow/MainWindowRig.h"
#include "PdfImages.h"
#include "PixelProbe.h"
#include "RecordedFiles.h"
#include "ScenarioRig.h"
#include "ScriptedPrompts.h"
#include "canvas/CanvasTypes.h"
#include "common/Config.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/KeptWork.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/PrintControl.h"
#include "sources/film/FilmSource.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/ThumbnailWidget.h"
#include "toolwindows/ColorToolWindow.h"
#include "toolwindows/EffectToolWindow.h"
#include "toolwindows/FillBackgroundToolWindow.h"
#include "toolwindows/MaskToolWindow.h"
#include "toolwindows/SettingsToolWindow.h"
#include "toolwindows/TextToolWindow.h"
#include "widgets/HorizontalSlider.h"

#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using PixelProbe::find;
using PixelProbe::near;

namespace {

constexpr int OpenTimeoutMs = 15000;
constexpr int OutcomeTimeoutMs = 10000;
constexpr int RecordMs = 5000;
const QSize FrameSize(1280, 720);

const QColor Black(0, 0, 0);
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor Blue(0, 0, 255);

// Where the drawings go, in picture pixels at zoom 1 without rotation.
const QPointF LineFrom(160, 100), LineTo(480, 100);
const QPointF ArrowFrom(800, 100), ArrowTo(1120, 100);
const QPointF BoxFrom(540, 310), BoxTo(740, 410);
const QPointF TextAt(160, 560);
const QRect CentreRegion(340, 110, 600, 500);

QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

} // namespace

// A user's session with the whole program on the simulated camera, driven through the real
// window with mouse clicks on its buttons and drags on its canvases, one step after the other.
// Every step checks its outcome (files, processed pixels, widget states) and leaves a picture
// of the window in <build>/screenshots/scenario. A step that fails skips the ones after it.
//
// The frame-gap supervision runs on a clock the test holds still: a loaded machine must not
// have the camera closed and reopened in the middle of a step (supervision has its own tests).
class TestUserScenario : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_snapshots;
    QString m_videos;
    QString m_screenshots;
    std::shared_ptr<SimulatedCamera> m_camera;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    bool m_broken = false;
    QRect m_boxAtZoom1;
    QString m_singleSnapshot;
    QString m_recording;
    double m_recordedSeconds = 0;
    QString m_printed;

    MainWindow &w() { return *m_window; }
    ImageCanvas &live() { return *m_window->canvas(MODE_LIVE); }
    const ToolButtons &tools() { return m_window->toolButtons(); }

    bool framesFlow(int count = 5)
    {
        const int start = m_camera->framesDelivered();
        return QTest::qWaitFor([&] { return w().liveSource()->isOpen(); }, OpenTimeoutMs)
            && QTest::qWaitFor([&] { return m_camera->framesDelivered() >= start + count; }, OpenTimeoutMs);
    }
    // The settings popup opened by a click, as the user fills it in.
    SettingsToolWindow *openSettings()
    {
        QTest::mouseClick(tools().settings, Qt::LeftButton);
        return qobject_cast<SettingsToolWindow *>(w().popupSlot().popup());
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
        QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
        QVERIFY(MediaFramework::initialize());
        QSettings().clear();                  // a run before this one leaves its settings behind
        QFile::remove(KeptWork::sheetFile()); // and its Drawing Board
        Config::resetForTesting();
        QVERIFY(m_dir.isValid());
        m_snapshots = m_dir.filePath("Snapshots");
        m_videos = m_dir.filePath("Videos");
        QVERIFY(QDir().mkpath(m_snapshots));
        QVERIFY(QDir().mkpath(m_videos));
        m_screenshots = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/scenario");
        QDir(m_screenshots).removeRecursively();
        QVERIFY(QDir().mkpath(m_screenshots));
        m_prompts = std::make_unique<ScriptedPrompts>();

        m_camera = std::make_shared<SimulatedCamera>(); // plugged in, moving colour bars
        m_window = MainWindowRig::makeWindow(nullptr, m_camera);
        m_window->move(0, 0);
        m_window->filmSource()->setAudioOutput("fakesink");
    }

    void cleanupTestCase()
    {
        if (m_window)
            m_window->close(); // as the user leaves: the thumbnail loader stops first
        m_window.reset();
        m_prompts.reset();
        MediaFramework::shutdown();
    }

    void init()
    {
        if (m_broken)
            QSKIP("an earlier step failed");
    }

    void cleanup()
    {
        // Step functions are named sNN_what: the picture is NN-what.png.
        QString step = QString::fromLatin1(QTest::currentTestFunction()).mid(1);
        const QString file = QStringLiteral("%1/%2.png").arg(m_screenshots, step.replace('_', '-'));
        if (m_window)
            QVERIFY2(ScenarioRig::picture(w()).save(file), qPrintable(file));
        QVERIFY2(m_prompts->errors.isEmpty(), qPrintable(m_prompts->errors.value(0).text));
        if (QTest::currentTestFailed())
            m_broken = true;
    }

    void s01_livePicture()
    {
        QCOMPARE(w().currentMode(), MODE_LIVE);
        QVERIFY(w().modeButton(MODE_LIVE)->isChecked());
        QVERIFY2(framesFlow(), "the camera does not deliver");
        QTRY_COMPARE_WITH_TIMEOUT(live().pipeline()->outputImage().size(), FrameSize, OutcomeTimeoutMs);
        // The colour bars reach the screen: the middle of the painted canvas is not black.
        QTRY_VERIFY_WITH_TIMEOUT(
            !near(live().grab().toImage(), QPoint(live().width() / 2, live().height() / 2), Black, 30),
            OutcomeTimeoutMs);
        QVERIFY(!tools().hand->isHidden()); // the hand pans a zoomed live picture too
        QVERIFY(!tools().freeze->isHidden());
    }

    void s02_line()
    {
        auto *popup = ScenarioRig::holdForPopup<ColorToolWindow>(w(), tools().line);
        QVERIFY(popup);
        QVERIFY(!popup->hasFillRow());
        QTest::mouseClick(popup->lineColorButton(1), Qt::LeftButton);
        QTest::mouseClick(popup->widthButton(3), Qt::LeftButton);
        QCOMPARE(live().tool(), int(TOOL_LINE));
        QVERIFY(tools().line->isChecked());
        QCOMPARE(live().drawingStyle().lineColor, Red);
        QCOMPARE(live().drawingStyle().lineWidth, ColorToolWindow::lineWidthAt(3));

        ScenarioRig::dragFrame(live(), LineFrom, LineTo);
        const QRect along(QPoint(LineFrom.x(), LineFrom.y() - 8), QPoint(LineTo.x(), LineTo.y() + 8));
        QTRY_VERIFY_WITH_TIMEOUT(find(live().pipeline()->outputImage(), Red, 10, along).count > 300 * 8,
                                 OutcomeTimeoutMs);
    }

    void s03_arrow()
    {
        QTest::mouseClick(tools().arrow, Qt::LeftButton);
        QCOMPARE(live().tool(), int(TOOL_ARROW));
        QVERIFY(tools().arrow->isChecked());
        QVERIFY2(!w().popupSlot().popup(), "another tool closes the line popup");
        const QRect around(QPoint(ArrowFrom.x() - 20, 40), QPoint(ArrowTo.x() + 20, 160));
        const int before = find(live().pipeline()->outputImage(), Red, 10, around).count;
        ScenarioRig::dragFrame(live(), ArrowFrom, ArrowTo);
        QTRY_VERIFY_WITH_TIMEOUT(
            find(live().pipeline()->outputImage(), Red, 10, around).count > before + 1000, OutcomeTimeoutMs);
        // The head is wider than the shaft: red reaches further from the axis near the tip.
        const PixelProbe::Match arrow = find(live().pipeline()->outputImage(), Red, 10, around);
        QVERIFY2(arrow.box.height() > 20, qPrintable(QString::number(arrow.box.height())));
    }

    void s04_filledRectangle()
    {
        auto *popup = ScenarioRig::holdForPopup<ColorToolWindow>(w(), tools().rectangle);
        QVERIFY(popup);
        QVERIFY(popup->hasFillRow());
        QTest::mouseClick(popup->fillButton(2), Qt::LeftButton);
        QVERIFY(live().drawingStyle().fillEnabled);
        QCOMPARE(live().drawingStyle().fillColor, Yellow);
        QCOMPARE(live().tool(), int(TOOL_RECTANGLE));
        QVERIFY(tools().rectangle->isChecked());

        ScenarioRig::dragFrame(live(), BoxFrom, BoxTo);
        QTRY_VERIFY_WITH_TIMEOUT(find(live().pipeline()->outputImage(), Yellow, 10, CentreRegion).count
                                     > 150 * 70,
                                 OutcomeTimeoutMs);
        m_boxAtZoom1 = find(live().pipeline()->outputImage(), Yellow, 10, CentreRegion).box;
        // Filled inside a red border, at the place it was drawn.
        QVERIFY2(qAbs(m_boxAtZoom1.center().x() - 640) < 8 && qAbs(m_boxAtZoom1.center().y() - 360) < 8,
                 qPrintable(QString("%1,%2").arg(m_boxAtZoom1.center().x()).arg(m_boxAtZoom1.center().y())));
        QVERIFY(near(live().pipeline()->outputImage(), QPoint(640, int(BoxFrom.y()) + 1), Red, 10));
    }

    void s05_text()
    {
        auto *popup = ScenarioRig::holdForPopup<TextToolWindow>(w(), tools().text);
        QVERIFY(popup);
        QTest::mouseClick(popup->colorButton(3), Qt::LeftButton);
        QCOMPARE(live().textColor(), Blue);
        QCOMPARE(live().tool(), int(TOOL_TEXT));
        QVERIFY(tools().text->isChecked());

        ScenarioRig::click(live(), ScenarioRig::frameToWidget(live(), TextAt));
        QTRY_VERIFY_WITH_TIMEOUT(live().textEditor()->isVisible(), OutcomeTimeoutMs);
        QTest::keyClicks(live().textEditor(), QStringLiteral("Document Camera"));
        QCOMPARE(live().textEditor()->toPlainText(), QStringLiteral("Document Camera"));
        // A click beside the text ends the editing and puts the text into the drawing.
        ScenarioRig::click(live(), ScenarioRig::frameToWidget(live(), QPointF(1100, 650)));
        QVERIFY(!live().textEditor()->isVisible());
        const QRect textRegion(QPoint(TextAt.x() - 10, TextAt.y() - 20), QSize(600, 140));
        QTRY_VERIFY_WITH_TIMEOUT(find(live().pipeline()->outputImage(), Blue, 30, textRegion).count > 200,
                                 OutcomeTimeoutMs);
        QVERIFY(find(live().pipeline()->annotationLayer(), Blue, 30, textRegion).count > 200);
    }

    // Best fit is zoom 1 for an upright 1280 x 720 picture: two steps in give zoom 3.
    void s06_zoomInTwice()
    {
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(tools().zoomIn, Qt::LeftButton);
        QVERIFY2(!w().popupSlot().popup(), "zooming closes the text popup");
        QCOMPARE(live().pipeline()->zoom(), 3.0);
        // The rectangle in the middle comes out three times as large, still in the middle.
        QTRY_VERIFY_WITH_TIMEOUT(find(live().pipeline()->outputImage(), Yellow, 10).box.width()
                                     > m_boxAtZoom1.width() * 28 / 10,
                                 OutcomeTimeoutMs);
        const QRect box = find(live().pipeline()->outputImage(), Yellow, 10).box;
        QVERIFY2(qAbs(box.width() - 3 * m_boxAtZoom1.width()) < 15
                     && qAbs(box.height() - 3 * m_boxAtZoom1.height()) < 15,
                 qPrintable(QString("%1x%2").arg(box.width()).arg(box.height())));
        QVERIFY(qAbs(box.center().x() - 640) < 15 && qAbs(box.center().y() - 360) < 15);
    }

    void s07_rotate()
    {
        QTest::mouseClick(tools().rotate, Qt::LeftButton);
        QCOMPARE(live().pipeline()->rotation(), 1);
        QCOMPARE(live().pipeline()->zoom(), 3.0);
        QCOMPARE(live().pipeline()->annotationLayer().size(), FrameSize.transposed());
        // The wide rectangle stands upright now, still in the middle, in a picture of the
        // same size.
        QTRY_VERIFY_WITH_TIMEOUT(find(live().pipeline()->outputImage(), Yellow, 10).box.height()
                                     > m_boxAtZoom1.width() * 28 / 10,
                                 OutcomeTimeoutMs);
        const QRect box = find(live().pipeline()->outputImage(), Yellow, 10).box;
        QVERIFY2(qAbs(box.height() - 3 * m_boxAtZoom1.width()) < 15
                     && qAbs(box.width() - 3 * m_boxAtZoom1.height()) < 15,
                 qPrintable(QString("%1x%2").arg(box.width()).arg(box.height())));
        QCOMPARE(live().pipeline()->outputImage().size(), FrameSize);
    }

    void s08_freeze()
    {
        QTest::mouseClick(tools().freeze, Qt::LeftButton);
        QVERIFY(tools().freeze->isChecked());
        QVERIFY(live().pipeline()->freeze());
        QVERIFY(framesFlow(5));
        const QImage frozen = live().pipeline()->outputImage();
        QVERIFY(framesFlow(15));
        QVERIFY2(live().pipeline()->outputImage() == frozen, "the moving bars stand still");
    }

    void s09_unfreeze()
    {
        const QImage frozen = live().pipeline()->outputImage();
        QTest::mouseClick(tools().freeze, Qt::LeftButton);
        QVERIFY(!tools().freeze->isChecked());
        QVERIFY(!live().pipeline()->freeze());
        QTRY_VERIFY_WITH_TIMEOUT(live().pipeline()->outputImage() != frozen, OutcomeTimeoutMs);
    }

    void s10_mask()
    {
        auto *popup = ScenarioRig::holdForPopup<MaskToolWindow>(w(), tools().mask);
        QVERIFY(popup);
        // Letting go of the hold changes nothing; the shape picked switches the mask on.
        QVERIFY(!tools().mask->isChecked());
        QCOMPARE(live().pipeline()->mask(), int(MASK_NONE));
        QTest::mouseClick(popup->maskButton(MASK_RECTANGLE), Qt::LeftButton);
        QCOMPARE(live().pipeline()->mask(), int(MASK_RECTANGLE));
        QVERIFY(tools().mask->isChecked());
        // A centred window stays; the edges of the view turn black.
        QTRY_VERIFY_WITH_TIMEOUT(near(live().pipeline()->outputImage(), QPoint(20, 20), Black, 0)
                                     && near(live().pipeline()->outputImage(), QPoint(1260, 700), Black, 0)
                                     && near(live().pipeline()->outputImage(), QPoint(640, 20), Black, 0),
                                 OutcomeTimeoutMs);
        QVERIFY(near(live().pipeline()->outputImage(), QPoint(640, 360), Yellow, 10));
    }

    void s11_effect()
    {
        auto *popup = ScenarioRig::holdForPopup<EffectToolWindow>(w(), tools().effect);
        QVERIFY(popup);
        QVERIFY2(!w().popupSlot().popup() || w().popupSlot().popup() == popup, "one popup at a time");
        QTest::mouseClick(popup->effectButton(EFFECT_NEGATIVE), Qt::LeftButton);
        QCOMPARE(live().pipeline()->effect(), int(EFFECT_NEGATIVE));
        QVERIFY(popup->effectButton(EFFECT_NEGATIVE)->isChecked());
        // The yellow rectangle turns blue; the mask stays black over the negative picture.
        QTRY_VERIFY_WITH_TIMEOUT(near(live().pipeline()->outputImage(), QPoint(640, 360), Blue, 10),
                                 OutcomeTimeoutMs);
        QCOMPARE(find(live().pipeline()->outputImage(), Yellow, 10, QRect(400, 150, 480, 420)).count, 0);
        QVERIFY(near(live().pipeline()->outputImage(), QPoint(20, 20), Black, 0));
    }

    void s12_settingsFolders()
    {
        SettingsToolWindow *settings = openSettings();
        QVERIFY(settings);
        m_prompts->directories << m_snapshots << m_videos;
        QTest::mouseClick(settings->snapshotBrowseButton(), Qt::LeftButton);
        QTest::mouseClick(settings->recordBrowseButton(), Qt::LeftButton);
        QCOMPARE(settings->snapshotFolderField()->text(), m_snapshots);
        QCOMPARE(settings->recordFolderField()->text(), m_videos);
        QCOMPARE(settings->captureModeBox()->currentIndex(), 0); // single snapshots
        QTest::mouseClick(settings->okButton(), Qt::LeftButton);
        QVERIFY(settings->isHidden()); // OK hides the popup
        QCOMPARE(Config::snapshotPath(), m_snapshots);
        QCOMPARE(Config::recordPath(), m_videos);
        QVERIFY2(framesFlow(), "the camera delivers again after the settings");
    }

    void s13_singleSnapshot()
    {
        QTest::mouseClick(tools().snapshot, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(filesIn(m_snapshots, "*.jpg").size(), 1, OutcomeTimeoutMs);
        QVERIFY(!tools().snapshot->isCheckable());
        QVERIFY(!live().pipeline()->isSnapshotArmed());
        m_singleSnapshot = QDir(m_snapshots).filePath(filesIn(m_snapshots, "*.jpg").first());
        QVERIFY(QDateTime::fromString(QFileInfo(m_singleSnapshot).fileName(), "yyyy-MM-dd_hh-mm-ss'.jpg'")
                    .isValid());
        QImageReader reader(m_singleSnapshot);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage shot = reader.read();
        QCOMPARE(shot.size(), FrameSize);
        // The processed picture: negative rectangle in the middle, masked corners.
        QVERIFY(near(shot, QPoint(640, 360), Blue, 40));
        QVERIFY(near(shot, QPoint(20, 20), Black, 24));
    }

    void s14_continuousSeries()
    {
        SettingsToolWindow *settings = openSettings();
        QVERIFY(settings);
        settings->captureModeBox()->setFocus();
        QTest::keyClick(settings->captureModeBox(), Qt::Key_Down);
        QCOMPARE(settings->captureModeBox()->currentIndex(), 1);
        QTest::keyClick(settings->intervalBox(), Qt::Key_Home);
        QCOMPARE(SettingsToolWindow::intervalSeconds(settings->intervalBox()->currentIndex()), quint64(1));
        QTest::mouseClick(settings->okButton(), Qt::LeftButton);
        QVERIFY(settings->isHidden()); // OK hides the popup
        QCOMPARE(Config::snapshotMode(), 1);
        QCOMPARE(Config::snapshotInterval(), quint64(1));
        QVERIFY(framesFlow());

        // One picture a second: three seconds give three more files.
        QTest::mouseClick(tools().snapshot, Qt::LeftButton);
        QVERIFY(tools().snapshot->isChecked());
        QVERIFY(live().pipeline()->isSnapshotArmed());
        QTRY_VERIFY_WITH_TIMEOUT(filesIn(m_snapshots, "*.jpg").size() >= 4, 3 * OutcomeTimeoutMs);
        QTest::mouseClick(tools().snapshot, Qt::LeftButton);
        QVERIFY(!tools().snapshot->isChecked());
        QVERIFY(!live().pipeline()->isSnapshotArmed());
        for (const QString &name : filesIn(m_snapshots, "*.jpg")) {
            const QImage shot(QDir(m_snapshots).filePath(name), "JPEG");
            QVERIFY2(shot.size() == FrameSize, qPrintable(name));
            QVERIFY2(near(shot, QPoint(640, 360), Blue, 40), qPrintable(name));
        }
    }

    void s15_record()
    {
        QVERIFY(!live().pipeline()->freeze());
        QTest::mouseClick(tools().record, Qt::LeftButton);
        QVERIFY(w().isRecording());
        QVERIFY(tools().record->isChecked());
        QVERIFY(w().liveRecordingButton()->isChecked());
        QCOMPARE(filesIn(m_videos, "*.avi").size(), 1);
        m_recording = QDir(m_videos).filePath(filesIn(m_videos, "*.avi").first());
        QVERIFY(framesFlow());
        QTest::qWait(RecordMs); // the user records for five seconds
        QVERIFY(m_camera->framesDelivered() > 0);
        QTest::mouseClick(w().liveRecordingButton(), Qt::LeftButton);
        QVERIFY(!w().isRecording());
        QVERIFY(!tools().record->isChecked());
        QVERIFY(!w().liveRecordingButton()->isChecked());

        const RecordedFiles::Facts facts = RecordedFiles::discover(m_recording);
        QVERIFY2(facts.opened, qPrintable(facts.error));
        QCOMPARE(facts.videoStreams, 1);
        m_recordedSeconds = facts.seconds;
        qInfo("recorded %.2f s", facts.seconds);
        QVERIFY2(facts.seconds >= 3.5 && facts.seconds <= 7.5, qPrintable(QString::number(facts.seconds)));
        // The file holds processed frames.
        const QImage last = RecordedFiles::lastFrame(m_recording);
        QCOMPARE(last.size(), FrameSize);
        QVERIFY(near(last, QPoint(640, 360), Blue, 50));
        QVERIFY(near(last, QPoint(20, 20), Black, 30));
        QVERIFY(framesFlow());
    }

    void s16_filmPlay()
    {
        QVERIFY(MainWindowRig::selectMode(w(), MODE_FILM));
        QVERIFY(!tools().hand->isHidden());
        QVERIFY(tools().freeze->isHidden());
        QVERIFY(tools().record->isHidden());
        QString askedFolder;
        w().setOpenFileDialog([&](QWidget *, const QString &, const QString &folder, const QString &) {
            askedFolder = folder;
            return m_recording;
        });
        FilmBar *bar = w().filmBar();
        QTest::mouseClick(bar->openButton(), Qt::LeftButton);
        QCOMPARE(askedFolder, m_videos);
        QTRY_VERIFY_WITH_TIMEOUT(w().filmSource()->isLoaded(),
                                 OutcomeTimeoutMs); // the film opens beside the window
        // Durations in 100 ns units.
        QVERIFY2(qAbs(w().filmSource()->duration() / 1e7 - m_recordedSeconds) < 1.0,
                 qPrintable(QString::number(w().filmSource()->duration())));

        QTest::mouseClick(bar->playButton(), Qt::LeftButton);
        QVERIFY(w().filmSource()->isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(bar->positionSlider()->value() >= 10, OutcomeTimeoutMs);
        ImageCanvas *film = w().canvas(MODE_FILM);
        QCOMPARE(film->pipeline()->outputImage().size(), FrameSize);
        QVERIFY(near(film->pipeline()->outputImage(), QPoint(640, 360), Blue, 50));
        QVERIFY(near(film->pipeline()->outputImage(), QPoint(20, 20), Black, 30));
    }

    void s17_filmSeekPause()
    {
        FilmBar *bar = w().filmBar();
        HorizontalSlider *slider = bar->positionSlider();
        const int x = 6 + (slider->width() - 12) / 2;
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, 5));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, 5));
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(w().filmSource()->position() - 50) <= 8, OutcomeTimeoutMs);
        QTest::mouseClick(bar->pauseButton(), Qt::LeftButton);
        // The film comes to rest near where the seek went (the paused graph may still show the
        // first frame after the seek) and stays there.
        ImageCanvas *film = w().canvas(MODE_FILM);
        const auto atRest = [&] {
            const qint64 position = w().filmSource()->currentPosition();
            const QImage picture = film->pipeline()->outputImage();
            QTest::qWait(300);
            return w().filmSource()->currentPosition() == position
                && film->pipeline()->outputImage() == picture;
        };
        QTRY_VERIFY_WITH_TIMEOUT(atRest(), OutcomeTimeoutMs);
        const int percent = w().filmSource()->position();
        QVERIFY2(percent >= 40 && percent < 90, qPrintable(QString::number(percent)));
        QVERIFY(atRest());
        QCOMPARE(bar->positionSlider()->value(), slider->value());
    }

    // The hand tool lives in the modes other than Live: it pans the paused film, zoomed in.
    void s18_filmZoomAndPan()
    {
        ImageCanvas *film = w().canvas(MODE_FILM);
        const QImage unzoomed = film->pipeline()->outputImage();
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(tools().zoomIn, Qt::LeftButton);
        QCOMPARE(film->pipeline()->zoom(), 3.0);
        QCOMPARE(live().pipeline()->zoom(), 3.0); // each mode keeps its own view
        QTRY_VERIFY_WITH_TIMEOUT(film->pipeline()->outputImage() != unzoomed, OutcomeTimeoutMs);
        const QImage zoomed = film->pipeline()->outputImage();

        QTest::mouseClick(tools().hand, Qt::LeftButton);
        QVERIFY(tools().hand->isChecked());
        QCOMPARE(film->tool(), int(TOOL_HAND));
        const QPoint before = film->pipeline()->view().viewOffset();
        const QPoint centre(film->width() / 2, film->height() / 2);
        ScenarioRig::drag(*film, centre, centre + QPoint(-80, -50), 1);
        const QPoint shift = film->pipeline()->view().viewOffset() - before;
        QVERIFY2(shift.x() > 0 && shift.y() > 0, qPrintable(QString("%1,%2").arg(shift.x()).arg(shift.y())));
        QTRY_VERIFY_WITH_TIMEOUT(film->pipeline()->outputImage() != zoomed, OutcomeTimeoutMs);
        // The picture moved with the pointer by the change of the view offset.
        const QImage panned = film->pipeline()->outputImage();
        const double moved = PixelProbe::shiftedDifference(zoomed, panned, shift);
        const double still = PixelProbe::shiftedDifference(zoomed, panned, QPoint());
        QVERIFY2(moved < 12 && moved < still / 2, qPrintable(QString("%1 / %2").arg(moved).arg(still)));
    }

    void s19_photographFolder()
    {
        QVERIFY(MainWindowRig::selectMode(w(), MODE_PHOTOGRAPH));
        PhotographBar *bar = w().photographBar();
        QCOMPARE(bar->counterLabel()->text(), QStringLiteral("0/0"));
        QString askedFolder;
        w().setOpenFileDialog([&](QWidget *, const QString &, const QString &folder, const QString &) {
            askedFolder = folder;
            return m_singleSnapshot;
        });
        QTest::mouseClick(bar->openButton(), Qt::LeftButton);
        QCOMPARE(askedFolder, m_snapshots);
        const int count = filesIn(m_snapshots, "*.jpg").size();
        QCOMPARE(w().photographSource()->count(), count);
        // The counter moves when the picture is decoded and shown.
        QTRY_COMPARE_WITH_TIMEOUT(bar->counterLabel()->text(), QStringLiteral("1/%1").arg(count),
                                  OutcomeTimeoutMs);
        ImageCanvas *photo = w().canvas(MODE_PHOTOGRAPH);
        QTRY_COMPARE_WITH_TIMEOUT(photo->pipeline()->outputImage().size(), FrameSize, OutcomeTimeoutMs);
        QVERIFY(near(photo->pipeline()->outputImage(), QPoint(640, 360), Blue, 40));
    }

    void s20_slideShow()
    {
        PhotographBar *bar = w().photographBar();
        const int count = w().photographSource()->count();
        QTest::mouseClick(bar->slideButton(), Qt::LeftButton);
        QVERIFY(bar->slideButton()->isChecked());
        QVERIFY(w().photographSource()->isPlaying());
        QCOMPARE(w().photographSource()->slideInterval(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(bar->counterLabel()->text(), QStringLiteral("2/%1").arg(count),
                                  OutcomeTimeoutMs);
        QTest::mouseClick(bar->slideButton(), Qt::LeftButton);
        QVERIFY(!bar->slideButton()->isChecked());
        QVERIFY(!w().photographSource()->isPlaying());
    }

    void s21_thumbnails()
    {
        PhotographBar *bar = w().photographBar();
        QTest::mouseClick(bar->thumbnailButton(), Qt::LeftButton);
        QVERIFY(bar->thumbnailButton()->isChecked());
        QVERIFY(!bar->thumbnailStrip()->isHidden());
        QVERIFY(!bar->stripScrollBar()->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(bar->thumbnailStrip()->buttons().size(), w().photographSource()->count(),
                                  OutcomeTimeoutMs);
    }

    void s22_drawingBoard()
    {
        QVERIFY(MainWindowRig::selectMode(w(), MODE_DRAWING_BOARD));
        QVERIFY(!tools().fillBackground->isHidden());
        ImageCanvas *board = w().canvas(MODE_DRAWING_BOARD);
        auto *fill = ScenarioRig::holdForPopup<FillBackgroundToolWindow>(w(), tools().fillBackground);
        QVERIFY(fill);
        QTest::mouseClick(fill->colorButton(3), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(near(board->pipeline()->outputImage(), QPoint(640, 360), Blue, 0)
                                     && near(board->pipeline()->outputImage(), QPoint(5, 5), Blue, 0),
                                 OutcomeTimeoutMs);

        auto *pen = ScenarioRig::holdForPopup<ColorToolWindow>(w(), tools().freehand);
        QVERIFY(pen);
        QTest::mouseClick(pen->lineColorButton(2), Qt::LeftButton);
        QTest::mouseClick(pen->widthButton(3), Qt::LeftButton);
        QCOMPARE(board->tool(), int(TOOL_FREEHAND));
        QVERIFY(tools().freehand->isChecked());
        ScenarioRig::dragFrame(*board, QPointF(200, 200), QPointF(1000, 500), 8);
        QTRY_VERIFY_WITH_TIMEOUT(find(board->pipeline()->outputImage(), Yellow, 0).count > 800 * 8,
                                 OutcomeTimeoutMs);
        QVERIFY(near(board->pipeline()->outputImage(), QPoint(1200, 100), Blue, 0));
    }

    void s23_printToPdf()
    {
        m_printed = m_dir.filePath("board.pdf");
        PrintControl *print = w().printControl();
        print->setPrinterList([] { return QStringList{QStringLiteral("PDF")}; });
        QSize page;
        print->setPrintDialog([&](QPrinter *printer, QWidget *) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(m_printed);
            page = QSize(printer->width(), printer->height());
            return true;
        });
        QTest::mouseClick(tools().print, Qt::LeftButton);
        QVERIFY(page.isValid());
        QFile file(m_printed);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(PdfImages::isPdf(pdf));
        QCOMPARE(PdfImages::pageCount(pdf), 1);
        const QVector<PdfImages::Picture> pictures = PdfImages::pictures(pdf);
        QCOMPARE(pictures.size(), 1);
        // A wide picture on a portrait page is turned and fills the page's width or height.
        QVERIFY(page.width() < page.height());
        const double s = std::min(double(page.width()) / FrameSize.height(),
                                  double(page.height()) / FrameSize.width());
        const QSize expected(int(FrameSize.height() * s), int(FrameSize.width() * s));
        QCOMPARE(pictures.first().size, expected);
        const QImage printed = pictures.first().image;
        QVERIFY2(!printed.isNull(), pictures.first().filter.constData());
        QVERIFY(find(printed, Blue, 40).count > expected.width() * expected.height() / 2);
        QVERIFY(find(printed, Yellow, 40).count > 500);
    }
};

QTEST_MAIN(TestUserScenario)
#include "tst_userscenario.moc"

#include "MainWindowRig.h"
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "TestPictures.h"
#include "canvas/CanvasMessages.h"
#include "canvas/FramePipeline.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/FilmBarControl.h"
#include "mainwindow/PhotographBar.h"
#include "sources/film/FilmSource.h"
#include "sources/live/LiveSource.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/ThumbnailWidget.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ImageWidget.h"
#include "widgets/Slider.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

// The Film and Photograph modes' bars on a real film source (generated films through
// GStreamer) and a real photograph source (generated folders).
class TestControlBars : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString fixture(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    // Answers every open-file dialog with `answer` and remembers what was asked.
    struct DialogAnswer
    {
        explicit DialogAnswer(const QString &a)
            : answer(a)
        { }
        QString answer;
        QString folder;
        QString filter;
        int asked = 0;
    };
    static void answerDialogs(MainWindow &w, DialogAnswer *d)
    {
        w.setOpenFileDialog([d](QWidget *, const QString &, const QString &folder, const QString &filter) {
            ++d->asked;
            d->folder = folder;
            d->filter = filter;
            return d->answer;
        });
    }

    std::unique_ptr<MainWindow> filmWindow()
    {
        auto w = MainWindowRig::makeWindow();
        w->filmSource()->setAudioOutput("fakesink");
        if (!MainWindowRig::selectMode(*w, MODE_FILM))
            qWarning("not in Film mode");
        return w;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QProcess p;
        p.start("ffmpeg",
                {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=8",
                 "-f", "lavfi", "-i", "sine=frequency=440:duration=8", "-c:v", "mjpeg", "-q:v", "5", "-c:a",
                 "pcm_s16le", fixture("film.avi")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QDir().mkpath(fixture("pictures")));
        for (const char *name : {"a.png", "b.jpg", "c.bmp"})
            QVERIFY(TestPictures::write(fixture("pictures/") + name, QSize(64, 48)));
        QVERIFY(TestPictures::writeBytes(fixture("pictures/notes.txt"), "not a picture"));
        // Folders of more pictures than the strip shows at once.
        for (const auto &folder :
             {std::make_pair(QStringLiteral("hundred"), 100), std::make_pair(QStringLiteral("twenty"), 20)}) {
            QVERIFY(QDir().mkpath(fixture(folder.first)));
            for (int i = 0; i < folder.second; ++i)
                QVERIFY(TestPictures::write(
                    fixture(QStringLiteral("%1/p%2.png").arg(folder.first).arg(i, 3, 10, QLatin1Char('0'))),
                    QSize(64, 48), QColor::fromHsv(i * 359 / folder.second, 160, 220)));
        }
    }

    // The bottom of the window beside the panel, where the photograph bar, the counter, the
    // strip and its scroll bar are.
    static QImage barShot(MainWindow &w)
    {
        const QRect pages = w.pageStack()->geometry();
        return w
            .grab(QRect(pages.x(), pages.bottom() - 80, w.width() - pages.x(),
                        w.height() - pages.bottom() + 80))
            .toImage();
    }

    void filmOpensAndPlays()
    {
        auto w = filmWindow();
        DialogAnswer dialog{fixture("film.avi")};
        answerDialogs(*w, &dialog);
        FilmBar *f = w->filmBar();
        QTest::mouseClick(f->openButton(), Qt::LeftButton);
        QCOMPARE(dialog.asked, 1);
        QCOMPARE(dialog.filter, FilmBarControl::fileFilter());
        QCOMPARE(dialog.folder, Config::recordPath());
        QTRY_VERIFY_WITH_TIMEOUT(w->filmSource()->isLoaded(), 10000); // opened beside the window
        // The film's name over its elapsed and total time.
        QCOMPARE(f->filmInfo()->text(), QString("film.avi\n0:00 / 0:08"));
        QVERIFY(f->filmInfo()->isVisible());

        QSignalSpy seeks(f->positionSlider(), &HorizontalSlider::valueChanged);
        QTest::mouseClick(f->playButton(), Qt::LeftButton);
        QVERIFY(w->filmSource()->isPlaying());
        // The tick moves the slider along with the film, and never through valueChanged.
        QTRY_VERIFY_WITH_TIMEOUT(f->positionSlider()->value() >= 10, 10000);
        QCOMPARE(seeks.count(), 0);

        QTest::mouseClick(f->pauseButton(), Qt::LeftButton);
        // Dragging the slider to three quarters seeks there.
        HorizontalSlider *s = f->positionSlider();
        const int x = int(6 + (s->width() - 12) * 0.75);
        QTest::mousePress(s, Qt::LeftButton, {}, QPoint(x, 5));
        QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(x, 5));
        QCOMPARE(seeks.count(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(w->filmSource()->position() - 75) <= 2, 5000);
        QTRY_COMPARE(f->filmInfo()->text(), QString("film.avi\n0:06 / 0:08"));

        QTest::mouseClick(f->stopButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->filmSource()->position(), 0, 5000);
    }

    void filmTimeText_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << qint64(0) << "0:00";
        QTest::newRow("seconds") << qint64(8) << "0:08";
        QTest::newRow("minutes") << qint64(61) << "1:01";
        QTest::newRow("under an hour") << qint64(3599) << "59:59";
        QTest::newRow("an hour") << qint64(3600) << "1:00:00";
        QTest::newRow("hours") << qint64(2 * 3600 + 5 * 60 + 9) << "2:05:09";
        QTest::newRow("unknown") << qint64(-1) << "0:00";
    }
    void filmTimeText()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(FilmBarControl::timeText(seconds * 10000000 + 4000000), text);
    }

    // The empty Film and Photograph pages say what to open and how, until something is open.
    void emptyPagesSayWhatToOpen_data()
    {
        QTest::addColumn<WindowMode>("mode");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::newRow("film") << MODE_FILM << "film.avi"
                              << "No film is open";
        QTest::newRow("photograph") << MODE_PHOTOGRAPH << "pictures/a.png"
                                    << "No photographs are open";
    }
    void emptyPagesSayWhatToOpen()
    {
        QFETCH(WindowMode, mode);
        QFETCH(QString, file);
        QFETCH(QString, title);
        auto w = filmWindow();
        QVERIFY(MainWindowRig::selectMode(*w, mode));
        CanvasMessages *messages = w->osd(w->canvas(mode))->messages();
        QCOMPARE(messages->standingTitle(), title);
        QVERIFY2(messages->standingDetail().contains("Ctrl+O"), qPrintable(messages->standingDetail()));
        // Not the camera's start picture: the page is one dark colour.
        const QImage page = w->canvas(mode)->pipeline()->outputImage();
        QVERIFY(!page.isNull());
        QCOMPARE(page.pixelColor(page.width() / 2, page.height() / 3), page.pixelColor(4, 4));
        DialogAnswer dialog{fixture(file)};
        answerDialogs(*w, &dialog);
        QTest::mouseClick(mode == MODE_FILM ? w->filmBar()->openButton() : w->photographBar()->openButton(),
                          Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(messages->standingTitle().isEmpty(), 10000);
    }

    void filmOpenCancelledOrMissing_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("cancelled") << QString();
        QTest::newRow("missing file") << QString("gone.avi");
    }
    void filmOpenCancelledOrMissing()
    {
        QFETCH(QString, answer);
        ScriptedPrompts prompts;
        auto w = filmWindow();
        DialogAnswer dialog{answer.isEmpty() ? answer : fixture(answer)};
        answerDialogs(*w, &dialog);
        QTest::mouseClick(w->filmBar()->openButton(), Qt::LeftButton);
        QCOMPARE(dialog.asked, 1);
        QVERIFY(!w->filmSource()->isLoaded());
        // A missing file is said in words, naming it; a cancelled dialog says nothing.
        if (answer.isEmpty()) {
            QCOMPARE(prompts.errors.size(), 0);
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(prompts.errors.size(), 1, 5000);
        QVERIFY(prompts.errors.at(0).text.contains(answer));
        QVERIFY(prompts.errors.at(0).text.contains(FilmSource::failureText(FilmSource::OpenFailure::NoFile)));
    }

    void filmThatCannotBeOpenedKeepsTheFilmBefore_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failure");
        QTest::newRow("text named .avi") << "list.avi" << -1;
        // Written with its index at the end and cut in the middle: nothing in it can be played.
        QTest::newRow("mp4 cut before its index") << "cut.mp4" << int(FilmSource::OpenFailure::Damaged);
    }
    void filmThatCannotBeOpenedKeepsTheFilmBefore()
    {
        QFETCH(QString, name);
        QFETCH(int, failure);
        ScriptedPrompts prompts;
        auto w = filmWindow();
        QFile bad(fixture(name));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        if (name.endsWith(".mp4")) {
            QProcess p;
            p.start("ffmpeg",
                    {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                     "testsrc=size=320x240:rate=25:duration=2", "-c:v", "libx264", fixture("whole.mp4")});
            QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
            QFile whole(fixture("whole.mp4"));
            QVERIFY(whole.open(QIODevice::ReadOnly));
            bad.write(whole.read(whole.size() / 2));
        } else {
            bad.write("This is a shopping list, not a film.\n");
        }
        bad.close();
        DialogAnswer dialog{fixture("film.avi")};
        answerDialogs(*w, &dialog);
        QTest::mouseClick(w->filmBar()->openButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w->filmSource()->isLoaded(), 10000);
        const qint64 duration = w->filmSource()->duration();
        dialog.answer = fixture(name);
        QTest::mouseClick(w->filmBar()->openButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(prompts.errors.size(), 1, 10000);
        QVERIFY(prompts.errors.at(0).text.contains(name));
        if (failure >= 0)
            QVERIFY(prompts.errors.at(0).text.contains(
                FilmSource::failureText(FilmSource::OpenFailure(failure))));
        QVERIFY(w->filmSource()->isLoaded());
        QCOMPARE(w->filmSource()->duration(), duration);
        QTest::mouseClick(w->filmBar()->playButton(), Qt::LeftButton);
        QVERIFY(w->filmSource()->isPlaying());
    }

    void filmFramesKeepTheClockFresh()
    {
        ManualClock *clock = nullptr;
        auto w = MainWindowRig::makeWindow(&clock);
        w->filmSource()->setAudioOutput("fakesink");
        QVERIFY(MainWindowRig::selectMode(*w, MODE_FILM));
        DialogAnswer dialog{fixture("film.avi")};
        answerDialogs(*w, &dialog);
        QTest::mouseClick(w->filmBar()->openButton(), Qt::LeftButton);
        QTest::mouseClick(w->filmBar()->playButton(), Qt::LeftButton);
        clock->advance(4000);
        QTRY_COMPARE_WITH_TIMEOUT(w->deviceSupervisor()->sinceLastFrameMs(), qint64(0), 5000);
    }

    void photographFolder()
    {
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_PHOTOGRAPH));
        PhotographBar *p = w->photographBar();
        p->slideButton()->setChecked(true); // as during a slide show
        DialogAnswer dialog{fixture("pictures/a.png")};
        answerDialogs(*w, &dialog);
        QTest::mouseClick(p->openButton(), Qt::LeftButton);
        QCOMPARE(dialog.filter, QString());
        QCOMPARE(dialog.folder, Config::snapshotPath());
        QCOMPARE(w->photographSource()->count(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(p->counterLabel()->text(), QString("1/3"), 5000); // once shown
        QVERIFY2(!p->slideButton()->isChecked(), "an open stops the slide show");

        // Stepping by hand ends a running slide show, and its button says so: it shows its
        // unchecked picture again.
        const QImage unchecked = p->slideButton()->grab().toImage();
        QTest::mouseClick(p->slideButton(), Qt::LeftButton);
        QVERIFY(p->slideButton()->grab().toImage() != unchecked);
        QVERIFY(!Screenshots::save(barShot(*w), "edges", "slide-button-during-the-show").isEmpty());
        QVERIFY(p->slideButton()->isChecked());
        QTest::mouseClick(p->nextButton(), Qt::LeftButton);
        QVERIFY(!p->slideButton()->isChecked());
        QTRY_COMPARE_WITH_TIMEOUT(p->counterLabel()->text(), QString("2/3"), 5000);
        QCOMPARE(p->slideButton()->grab().toImage(), unchecked);
        QVERIFY(!Screenshots::save(barShot(*w), "edges", "slide-button-after-next").isEmpty());
        QTest::mouseClick(p->slideButton(), Qt::LeftButton);
        QTest::mouseClick(p->previousButton(), Qt::LeftButton);
        QVERIFY(!p->slideButton()->isChecked());
        QVERIFY(!w->photographSource()->isPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(p->counterLabel()->text(), QString("1/3"), 5000);
        QCOMPARE(p->slideButton()->grab().toImage(), unchecked);
        QVERIFY(!Screenshots::save(barShot(*w), "edges", "slide-button-after-previous").isEmpty());

        // A file that is no picture of the folder changes nothing.
        p->slideButton()->setChecked(true);
        dialog.answer = fixture("pictures/notes.txt");
        QTest::mouseClick(p->openButton(), Qt::LeftButton);
        QCOMPARE(p->counterLabel()->text(), QString("1/3"));
        QVERIFY(p->slideButton()->isChecked());
        dialog.answer.clear();
        QTest::mouseClick(p->openButton(), Qt::LeftButton);
        QCOMPARE(w->photographSource()->count(), 3);
    }

    void slideShowButton()
    {
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_PHOTOGRAPH));
        PhotographBar *p = w->photographBar();
        DialogAnswer dialog{fixture("pictures/a.png")};
        answerDialogs(*w, &dialog);
        QTest::mouseClick(p->openButton(), Qt::LeftButton);

        p->intervalSelector()->setValue(3);
        QCOMPARE(w->photographSource()->playInterval(), 10000);
        p->intervalSelector()->setValue(0);
        QCOMPARE(w->photographSource()->playInterval(), 1000);

        QTest::mouseClick(p->slideButton(), Qt::LeftButton);
        QVERIFY(p->slideButton()->isChecked());
        QVERIFY(w->photographSource()->isPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(p->counterLabel()->text(), QString("2/3"), 5000);
        QTest::mouseClick(p->slideButton(), Qt::LeftButton);
        QVERIFY(!w->photographSource()->isPlaying());
        QVERIFY(!p->slideButton()->isChecked());
    }

    void thumbnailStrip()
    {
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_PHOTOGRAPH));
        PhotographBar *p = w->photographBar();
        DialogAnswer dialog{fixture("pictures/b.jpg")};
        answerDialogs(*w, &dialog);
        QTest::mouseClick(p->openButton(), Qt::LeftButton);
        ThumbnailWidget *strip = p->thumbnailStrip();
        QCOMPARE(strip->parentWidget(), static_cast<QWidget *>(w->canvas(MODE_PHOTOGRAPH)));
        QVERIFY(strip->isHidden());

        QTest::mouseClick(p->thumbnailButton(), Qt::LeftButton);
        QVERIFY(!strip->isHidden());
        QVERIFY(!p->stripScrollBar()->isHidden());
        const QRect pages = w->pageStack()->geometry();
        QCOMPARE(strip->geometry(), QRect(0, pages.height() - 67, pages.width(), 60));
        QCOMPARE(strip->buttons().size(), 3);

        QTest::mouseClick(p->thumbnailButton(), Qt::LeftButton);
        QVERIFY(strip->isHidden());
        QVERIFY(p->stripScrollBar()->isHidden());

        QTest::mouseClick(p->thumbnailButton(), Qt::LeftButton);
        QVERIFY(MainWindowRig::selectMode(*w, MODE_LIVE));
        QVERIFY(strip->isHidden());
        QVERIFY(!p->thumbnailButton()->isChecked());

        // Closing the window stops the loader and lets go of the thumbnails.
        w->close();
        QVERIFY(strip->buttons().isEmpty());
    }

    // After another folder is opened the strip's handle stands where the new list is scrolled
    // to, not where the old one was; a folder of a hundred shows its whole count.
    void stripHandleFollowsAnotherFolder()
    {
        auto w = MainWindowRig::makeWindow();
        w->resize(w->minimumSize());
        QVERIFY(MainWindowRig::selectMode(*w, MODE_PHOTOGRAPH));
        PhotographBar *p = w->photographBar();
        DialogAnswer dialog{fixture("hundred/p099.png")};
        answerDialogs(*w, &dialog);
        QTest::mouseClick(p->openButton(), Qt::LeftButton);
        QTest::mouseClick(p->thumbnailButton(), Qt::LeftButton);
        QTest::mouseClick(p->timeButton(), Qt::LeftButton);
        HorizontalSlider *handle = p->stripScrollBar();
        QTRY_COMPARE_WITH_TIMEOUT(p->counterLabel()->text(), QString("100/100"), 5000);
        // The counter has widened for the hundred, and the scale still ends before it.
        QLabel *counter = p->counterLabel();
        QVERIFY(counter->fontMetrics().horizontalAdvance(counter->text()) <= counter->width());
        QVERIFY(!p->intervalLabel()->geometry().intersects(counter->geometry()));
        QVERIFY(!p->intervalSelector()->geometry().intersects(counter->geometry()));
        QCOMPARE(counter->geometry().right(), w->width() - 1);
        const int shown = p->thumbnailStrip()->buttons().size() - handle->maximum();
        QVERIFY(shown > 1 && shown < 20);
        QCOMPARE(handle->value(), handle->maximum());
        const int atTheEnd = handle->handlePosition();
        QVERIFY(atTheEnd + handle->handleWidth() > handle->width() / 2);
        QVERIFY(!Screenshots::save(barShot(*w), "edges", "strip-handle-hundred-at-the-end").isEmpty());

        dialog.answer = fixture("twenty/p000.png");
        QTest::mouseClick(p->openButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(p->counterLabel()->text(), QString("1/20"), 5000);
        QCOMPARE(handle->maximum(), 20 - shown);
        QCOMPARE(handle->value(), 0);
        QVERIFY(handle->handlePosition() < atTheEnd);
        QVERIFY(handle->handlePosition() < handle->width() / 2);
        QVERIFY(!Screenshots::save(barShot(*w), "edges", "strip-handle-after-another-folder").isEmpty());
    }

    void filmBarVolume()
    {
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_FILM));
        FilmBar *f = w->filmBar();
        QCOMPARE(f->volumeSlider()->minimum(), 1);
        QCOMPARE(f->volumeSlider()->maximum(), 100);
        QCOMPARE(f->volumeSlider()->value(), 100);
        QCOMPARE(f->positionSlider()->handleWidth(), 22);
        QVERIFY(f->volumeSlider()->isHidden());

        QTest::mouseClick(f->volumeButton(), Qt::LeftButton);
        QVERIFY(!f->volumeSlider()->isHidden());
        const QRect bar = f->bar()->geometry();
        QCOMPARE(f->volumeSlider()->x(), bar.x() + bar.width());
        QCOMPARE(f->volumeSlider()->geometry().bottom(), bar.bottom());
        QTest::mouseClick(f->volumeButton(), Qt::LeftButton);
        QVERIFY(f->volumeSlider()->isHidden());

        QTest::mouseClick(f->volumeButton(), Qt::LeftButton);
        QVERIFY(MainWindowRig::selectMode(*w, MODE_LIVE));
        QVERIFY(!f->volumeButton()->isChecked());
        QVERIFY(f->volumeSlider()->isHidden());
        QVERIFY(MainWindowRig::selectMode(*w, MODE_FILM));
        QVERIFY(f->volumeSlider()->isHidden());
    }

    void photographBarToggles()
    {
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_PHOTOGRAPH));
        PhotographBar *p = w->photographBar();
        QCOMPARE(p->counterLabel()->text(), QString("0/0"));
        QCOMPARE(p->intervalSelector()->minimum(), 0);
        QCOMPARE(p->intervalSelector()->maximum(), 5);
        QCOMPARE(p->intervalSelector()->pageStep(), 1);
        QCOMPARE(p->intervalSelector()->width(), 160);

        QTest::mouseClick(p->timeButton(), Qt::LeftButton);
        QVERIFY(!p->intervalSelector()->isHidden());
        QVERIFY(!p->intervalLabel()->isHidden());
        QTest::mouseClick(p->timeButton(), Qt::LeftButton);
        QVERIFY(p->intervalSelector()->isHidden());
        QVERIFY(p->intervalLabel()->isHidden());

        QTest::mouseClick(p->timeButton(), Qt::LeftButton);
        p->thumbnailButton()->setChecked(true);
        p->slideButton()->setChecked(true);
        QVERIFY(MainWindowRig::selectMode(*w, MODE_DRAWING_BOARD));
        QVERIFY(!p->timeButton()->isChecked());
        QVERIFY(!p->thumbnailButton()->isChecked());
        QVERIFY2(p->slideButton()->isChecked(), "a mode change leaves the slide show alone");
        QVERIFY(p->intervalSelector()->isHidden());
        QVERIFY(p->counterLabel()->isHidden());
        QVERIFY(MainWindowRig::selectMode(*w, MODE_PHOTOGRAPH));
        QVERIFY(p->intervalSelector()->isHidden());
        QVERIFY(!p->counterLabel()->isHidden());
    }

    void slideIntervals_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("ms");
        const int expected[] = {1000, 2000, 5000, 10000, 15000, 30000};
        for (int i = 0; i < 6; ++i)
            QTest::addRow("position %d", i) << i << expected[i];
        QTest::newRow("below the scale") << -1 << 1000;
        QTest::newRow("above the scale") << 6 << 30000;
    }
    void slideIntervals()
    {
        QFETCH(int, position);
        QFETCH(int, ms);
        QCOMPARE(PhotographBar::intervalMs(position), ms);
    }

    void counterText_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("first of seven") << 0 << 7 << "1/7";
        QTest::newRow("last of twelve") << 11 << 12 << "12/12";
    }
    void counterText()
    {
        QFETCH(int, id);
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(PhotographBar::counterText(id, count), text);
    }

    void screenshots_data()
    {
        QTest::addColumn<WindowMode>("mode");
        QTest::addColumn<QSize>("size");
        QTest::newRow("live") << MODE_LIVE << QSize(938, 680);
        QTest::newRow("film") << MODE_FILM << QSize(938, 680);
        QTest::newRow("photograph") << MODE_PHOTOGRAPH << QSize(938, 680);
        QTest::newRow("drawing-board") << MODE_DRAWING_BOARD << QSize(938, 680);
        QTest::newRow("film-minimum") << MODE_FILM << QSize(800, 640);
        QTest::newRow("photograph-minimum") << MODE_PHOTOGRAPH << QSize(800, 640);
        QTest::newRow("film-de") << MODE_FILM << QSize(938, 680);
        QTest::newRow("film-empty") << MODE_FILM << QSize(938, 680);
        QTest::newRow("film-empty-de") << MODE_FILM << QSize(938, 680);
        QTest::newRow("photograph-empty") << MODE_PHOTOGRAPH << QSize(938, 680);
        QTest::newRow("photograph-empty-de") << MODE_PHOTOGRAPH << QSize(938, 680);
    }
    void screenshots()
    {
        QFETCH(WindowMode, mode);
        QFETCH(QSize, size);
        const QString tag = QTest::currentDataTag();
        const bool empty = tag.contains("empty");
        QTranslator german;
        if (tag.endsWith("-de")) {
            QVERIFY(german.load(QStringLiteral(":/translations/VOREN_de.qm")));
            QCoreApplication::installTranslator(&german);
        }
        // Live shows the simulated camera's picture.
        auto camera = std::make_shared<SimulatedCamera>();
        if (mode != MODE_LIVE)
            camera->unplug();
        auto w = MainWindowRig::makeWindow(nullptr, camera);
        QCoreApplication::removeTranslator(&german);
        w->filmSource()->setAudioOutput("fakesink");
        w->resize(size);
        if (mode == MODE_LIVE) {
            QTRY_VERIFY_WITH_TIMEOUT(w->liveSource()->isOpen(), 10000);
            QTRY_VERIFY_WITH_TIMEOUT(camera->framesDelivered() > 10, 10000);
        }
        if (mode != MODE_LIVE)
            QVERIFY(MainWindowRig::selectMode(*w, mode));
        if (mode == MODE_FILM && !empty) {
            DialogAnswer dialog(fixture("film.avi"));
            answerDialogs(*w, &dialog);
            QTest::mouseClick(w->filmBar()->openButton(), Qt::LeftButton);
            QTest::mouseClick(w->filmBar()->playButton(), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(w->filmBar()->positionSlider()->value() >= 5, 10000);
            QTest::mouseClick(w->filmBar()->pauseButton(), Qt::LeftButton);
            QTest::mouseClick(w->filmBar()->volumeButton(), Qt::LeftButton);
        }
        if (mode == MODE_PHOTOGRAPH && !empty) {
            DialogAnswer dialog(fixture("pictures/a.png"));
            answerDialogs(*w, &dialog);
            QTest::mouseClick(w->photographBar()->openButton(), Qt::LeftButton);
            QTest::mouseClick(w->photographBar()->timeButton(), Qt::LeftButton);
            QTest::mouseClick(w->photographBar()->thumbnailButton(), Qt::LeftButton);
        }
        QTest::qWait(300);
        const QString dir = QString(DOCCAM_BINARY_DIR) + "/screenshots";
        QVERIFY(QDir().mkpath(dir));
        const QString file = dir + "/mainwindow-" + QTest::currentDataTag() + ".png";
        QVERIFY(w->grab().save(file));
    }
};

QTEST_MAIN(TestControlBars)
#include "tst_controlbars.moc"

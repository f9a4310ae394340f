#include "TestCaptureSink.h"
#include "TestPictures.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/PicturePlaceholder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

class TestPhotographSource : public QObject
{
    Q_OBJECT

    static constexpr int WAIT_MS = 10000;

    // Opens and waits until the picture is on the canvas.
    static bool openAndShow(PhotographSource &source, const QString &folder, const QString &name)
    {
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        return source.openPhotograph(folder, name) && changed.wait(WAIT_MS);
    }

    static void makeFiles(const QDir &dir, const QStringList &names)
    {
        for (const QString &name : names) {
            static const QStringList pictures{"png", "jpg", "jpeg", "bmp", "gif"};
            if (!pictures.contains(QFileInfo(name).suffix().toLower()))
                QVERIFY(TestPictures::writeBytes(dir.filePath(name), "notes"));
            else
                QVERIFY2(TestPictures::write(dir.filePath(name), QSize(32, 24)), qPrintable(name));
        }
    }

    static QStringList photographIds(const QSignalSpy &spy)
    {
        QStringList ids;
        for (const auto &args : spy)
            ids << QString::number(args.at(0).toInt());
        return ids;
    }

private slots:
    void listing_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("shown");
        QTest::newRow("pictures beside a text file")
            << QStringList{"a.png", "b.jpg", "c.gif", "notes.txt"} << "b.jpg"
            << QStringList{"a.png", "b.jpg", "c.gif"} << 1;
        QTest::newRow("upper-case names sort first")
            << QStringList{"a.png", "B.JPG", "c.gif", "Z.Bmp", "y.jpeg"} << "a.png"
            << QStringList{"B.JPG", "Z.Bmp", "a.png", "c.gif", "y.jpeg"} << 2;
        QTest::newRow("other types are left out")
            << QStringList{"x.tif", "x.webp", "photo.jpg.txt", "photo.jpg"} << "photo.jpg"
            << QStringList{"photo.jpg"} << 0;
        QTest::newRow("hidden files are left out")
            << QStringList{".hidden.png", ".png", "seen.png"} << "seen.png" << QStringList{"seen.png"} << 0;
    }
    void listing()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, opened);
        QFETCH(QStringList, listed);
        QFETCH(int, shown);
        QTemporaryDir dir;
        makeFiles(QDir(dir.path()), files);
        QVERIFY(QDir(dir.path()).mkdir("folder.png"));

        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        QVERIFY(source.openPhotograph(dir.path(), opened));
        QVERIFY(changed.wait(WAIT_MS));
        QCOMPARE(PhotographSource::listPictures(dir.path()), listed);
        QCOMPARE(source.count(), listed.size());
        QStringList expectedPaths;
        for (const QString &name : listed)
            expectedPaths << QDir(dir.path()).filePath(name);
        QCOMPARE(source.filePaths(), expectedPaths);
        QCOMPARE(source.currentIndex(), shown);
        QCOMPARE(photographIds(changed), QStringList{QString::number(shown)});
        QCOMPARE(sink.stills.size(), 1);
        QVERIFY(!sink.stills.first().isNull());
    }

    void refusedOpenKeepsTheList_data()
    {
        QTest::addColumn<QString>("folder"); // relative to the temporary folder
        QTest::addColumn<QString>("name");
        QTest::newRow("not a picture") << ""
                                       << "notes.txt";
        QTest::newRow("name differs in case") << ""
                                              << "A.png";
        QTest::newRow("missing file") << ""
                                      << "gone.png";
        QTest::newRow("empty name (cancelled dialog)") << ""
                                                       << "";
        QTest::newRow("missing folder") << "nowhere"
                                        << "a.png";
    }
    void refusedOpenKeepsTheList()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QTemporaryDir dir;
        makeFiles(QDir(dir.path()), {"a.png", "b.png", "notes.txt"});
        QTemporaryDir other;
        makeFiles(QDir(other.path()), {"x.png"});

        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QVERIFY(openAndShow(source, other.path(), "x.png"));
        source.setPlayInterval(1000);
        source.play();
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        QSignalSpy listChanged(&source, &PhotographSource::photographListChanged);

        QVERIFY(!source.openPhotograph(QDir(dir.path()).filePath(folder), name));
        QVERIFY(!source.isDecoding());
        QCOMPARE(source.filePaths(), QStringList{QDir(other.path()).filePath("x.png")});
        QVERIFY(source.isPlaying());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(listChanged.count(), 0);
        QCOMPARE(sink.stills.size(), 1);
    }

    void openStopsTheSlideShowAndRebuildsTheStripFirst()
    {
        QTemporaryDir dir;
        makeFiles(QDir(dir.path()), {"a.png", "b.png"});
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QVERIFY(openAndShow(source, dir.path(), "a.png"));
        source.setPlayInterval(1000);
        source.play();
        QSignalSpy done(&source, &PhotographSource::playDone);
        QStringList order;
        connect(&source, &PhotographSource::photographListChanged, this, [&] { order << "list"; });
        connect(&source, &PhotographSource::photographChanged, this,
                [&](int id) { order << QString::number(id); });
        QVERIFY(openAndShow(source, dir.path(), "b.png"));
        QVERIFY(!source.isPlaying());
        QCOMPARE(done.count(), 0);
        QCOMPARE(order, (QStringList{"list", "1"}));
    }

    void stepping_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("shown");
        QTest::newRow("next in the middle") << 1 << "next" << 2;
        QTest::newRow("next on the last stays") << 3 << "next" << 3;
        QTest::newRow("previous in the middle") << 2 << "previous" << 1;
        QTest::newRow("previous on the first stays") << 0 << "previous" << 0;
        QTest::newRow("slide step in the middle") << 1 << "nextPhotograph" << 2;
        QTest::newRow("slide step wraps") << 3 << "nextPhotograph" << 0;
        QTest::newRow("select") << 0 << "select3" << 3;
        QTest::newRow("select past the end") << 1 << "select4" << -1;
        QTest::newRow("select negative") << 1 << "select-1" << -1;
    }
    void stepping()
    {
        QFETCH(int, start);
        QFETCH(QString, step);
        QFETCH(int, shown);
        QTemporaryDir dir;
        const QStringList names{"p0.png", "p1.png", "p2.png", "p3.png"};
        makeFiles(QDir(dir.path()), names);
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QVERIFY(openAndShow(source, dir.path(), names.at(start)));
        source.setPlayInterval(60000);
        source.play();
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        QSignalSpy done(&source, &PhotographSource::playDone);
        const int stillsBefore = sink.stills.size();

        if (step == "next")
            source.next();
        else if (step == "previous")
            source.previous();
        else if (step == "nextPhotograph")
            source.nextPhotograph();
        else
            source.selectPhotograph(step.mid(6).toInt());

        if (shown >= 0)
            QVERIFY(changed.wait(WAIT_MS));
        if (shown < 0) {
            QVERIFY(!source.isDecoding());
            QCOMPARE(changed.count(), 0);
            QCOMPARE(sink.stills.size(), stillsBefore);
            QCOMPARE(source.currentIndex(), start);
        } else {
            QCOMPARE(photographIds(changed), QStringList{QString::number(shown)});
            QCOMPARE(sink.stills.size(), stillsBefore + 1);
            QCOMPARE(source.currentIndex(), shown);
        }
        // next and previous end a slide show silently; the slide step and select keep it.
        const bool stopsShow = step == "next" || step == "previous";
        QCOMPARE(source.isPlaying(), !stopsShow);
        QCOMPARE(done.count(), 0);
    }

    void emptySourceShowsNothing()
    {
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        source.next();
        source.previous();
        source.nextPhotograph();
        source.selectPhotograph(0);
        QCOMPARE(changed.count(), 0);
        QVERIFY(sink.stills.isEmpty());
        QCOMPARE(source.count(), 0);
        QVERIFY(source.filePaths().isEmpty());
    }

    void slideShow()
    {
        QTemporaryDir dir;
        makeFiles(QDir(dir.path()), {"a.png", "b.png", "c.png"});
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QVERIFY(openAndShow(source, dir.path(), "b.png"));
        source.setPlayInterval(20);
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        source.play();
        QTRY_VERIFY_WITH_TIMEOUT(changed.count() >= 2, 5000);
        QCOMPARE(changed.at(0).at(0).toInt(), 2);
        QCOMPARE(changed.at(1).at(0).toInt(), 0);

        QSignalSpy done(&source, &PhotographSource::playDone);
        source.stop();
        QCOMPARE(done.count(), 1);
        QVERIFY(!source.isPlaying());
    }

    void playIntervalTakesEffectAtTheNextPlay()
    {
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        source.setPlayInterval(1000);
        source.play();
        source.setPlayInterval(5000);
        QCOMPARE(source.playInterval(), 5000);
        QCOMPARE(source.slideInterval(), 1000);
        source.play();
        QCOMPARE(source.slideInterval(), 5000);
        QVERIFY(source.isPlaying());
    }

    // A picture that cannot be shown reaches the canvas as a page that names it; the counter
    // never stands over the picture before.
    void badPicturesShowAPlaceholder_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::newRow("text named .png") << QByteArray("text");
        QTest::newRow("empty file") << QByteArray("empty");
        QTest::newRow("absurd declared size") << QByteArray("absurd");
        QTest::newRow("header without data") << QByteArray("nodata");
        QTest::newRow("hostile jpeg header") << QByteArray("hostile");
    }
    void badPicturesShowAPlaceholder()
    {
        QFETCH(QByteArray, kind);
        QTemporaryDir dir;
        const QString bad = QDir(dir.path()).filePath("bad.png");
        if (kind == "text")
            QVERIFY(TestPictures::writeBytes(bad, "this is no picture"));
        else if (kind == "empty")
            QVERIFY(TestPictures::writeBytes(bad, QByteArray()));
        else if (kind == "absurd")
            QVERIFY(TestPictures::writeAbsurdPng(bad, 1000000, 1000000));
        else if (kind == "nodata")
            QVERIFY(TestPictures::writeAbsurdPng(bad, 9000, 8000));
        else
            QVERIFY(TestPictures::writeBytes(bad, TestPictures::jpegDeclaring(60000, 60000)));
        makeFiles(QDir(dir.path()), {"good.png"});

        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        QVERIFY(openAndShow(source, dir.path(), "good.png"));
        source.previous();
        QVERIFY(changed.wait(WAIT_MS));
        QCOMPARE(source.currentIndex(), 0);
        QCOMPARE(photographIds(changed), (QStringList{"1", "0"}));
        QCOMPARE(sink.stills.size(), 2);
        const QImage page = sink.stills.at(1);
        QCOMPARE(page.size(), QSize(PicturePlaceholder::WIDTH, PicturePlaceholder::HEIGHT));
        QCOMPARE(page.pixelColor(5, 5), QColor(0x30, 0x30, 0x30));
        const QString folder = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/photograph");
        QDir().mkpath(folder);
        QVERIFY(page.save(folder + "/placeholder_" + QString::fromLatin1(kind) + ".png"));
        // Nothing more to decode on a page: zooming asks for no detail.
        source.setViewZoom(4.0);
        QVERIFY(!source.isDecoding());
        source.next();
        QVERIFY(changed.wait(WAIT_MS));
        QCOMPARE(source.currentIndex(), 1);
        QCOMPARE(sink.stills.at(2).size(), QSize(32, 24));
    }

    // Selections made faster than pictures decode: only the last one reaches the canvas.
    void aLaterSelectionCallsOffAnEarlierOne()
    {
        QTemporaryDir dir;
        makeFiles(QDir(dir.path()), {"a.png", "b.png", "c.png"});
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QVERIFY(openAndShow(source, dir.path(), "a.png"));
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        source.next();
        source.next();
        QVERIFY(changed.wait(WAIT_MS));
        QTest::qWait(50);
        QCOMPARE(photographIds(changed), QStringList{"2"});
        QCOMPARE(sink.stills.size(), 2);
    }

    // Shown at the shown size; zoomed in, decoded again with the detail the zoom can show, up to
    // the picture's own size; zoomed out, the fitted picture comes back without a decode.
    void detailFollowsTheZoom()
    {
        QTemporaryDir dir;
        QVERIFY(TestPictures::write(QDir(dir.path()).filePath("big.jpg"), QSize(800, 600)));
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        source.setShownSize(QSize(200, 200));
        QVERIFY(openAndShow(source, dir.path(), "big.jpg"));
        QCOMPARE(sink.stills.last().size(), QSize(200, 150));
        QCOMPARE(source.pictureSize(), QSize(800, 600));

        source.setViewZoom(2.0);
        QVERIFY(source.isDecoding());
        QTRY_COMPARE_WITH_TIMEOUT(sink.resampled.size(), 1, WAIT_MS);
        QCOMPARE(sink.resampled.last().size(), QSize(400, 300));
        source.setViewZoom(6.0);
        QTRY_COMPARE_WITH_TIMEOUT(sink.resampled.size(), 2, WAIT_MS);
        QCOMPARE(sink.resampled.last().size(), QSize(800, 600)); // the whole picture, no more
        source.setViewZoom(5.0);
        QVERIFY(!source.isDecoding()); // less than the canvas has: it keeps what it has
        source.setViewZoom(1.0);
        QCOMPARE(sink.resampled.size(), 3);
        QCOMPARE(sink.resampled.last().size(), QSize(200, 150));
        QCOMPARE(sink.stills.size(), 1);

        // A new picture while zoomed: fitted first, then the detail.
        source.setViewZoom(2.0);
        QTRY_COMPARE_WITH_TIMEOUT(sink.resampled.size(), 4, WAIT_MS);
        source.selectPhotograph(0);
        QTRY_COMPARE_WITH_TIMEOUT(sink.resampled.size(), 5, WAIT_MS);
        QCOMPARE(sink.stills.size(), 2);
        QCOMPARE(sink.stills.last().size(), QSize(200, 150));
        QCOMPARE(sink.resampled.last().size(), QSize(400, 300));
    }

    // Names the system gives that are not UTF-8 are listed with replacement characters and
    // opened by their bytes.
    void namesThatAreNotUtf8()
    {
        QTemporaryDir dir;
        const QByteArray raw = QFile::encodeName(dir.path())
            + "/b\xe9"
              "b\xe9"
              "-\xff.png";
        {
            const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            QVERIFY(fd >= 0);
            QFile out;
            QVERIFY(out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(Qt::green);
            QVERIFY(image.save(&out, "PNG"));
        }
        makeFiles(QDir(dir.path()), {"a.png"});
        const QStringList names = PhotographSource::listPictures(dir.path());
        QCOMPARE(names.size(), 2);
        const QString shown = names.at(1);
        QVERIFY(shown.contains(QChar::ReplacementCharacter));
        QVERIFY(shown.startsWith("b"));
        QVERIFY(shown.endsWith("-\uFFFD.png"));

        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QVERIFY(openAndShow(source, dir.path(), shown));
        QCOMPARE(source.currentIndex(), 1);
        QCOMPARE(sink.stills.last().size(), QSize(40, 30));
        QCOMPARE(sink.stills.last().pixelColor(20, 15), QColor(Qt::green));
        QCOMPARE(source.pictureFiles().at(1).localPath, raw);
        QCOMPARE(::unlink(raw.constData()), 0);
    }

    void resumeReopensTheFolder()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        makeFiles(folder, {"b.png", "d.png"});
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QVERIFY(openAndShow(source, dir.path(), "d.png"));
        source.next();
        QCOMPARE(source.currentIndex(), 1);
        source.pauseCapture();
        QCOMPARE(sink.autoRefreshStops, 1);

        makeFiles(folder, {"a.png", "c.png"});
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        source.resumeCapture();
        QVERIFY(changed.wait(WAIT_MS));
        QCOMPARE(source.count(), 4);
        // The file the folder was opened with is shown again, at its new place.
        QCOMPARE(source.currentIndex(), 3);
        QCOMPARE(photographIds(changed), QStringList{"3"});
        QCOMPARE(sink.autoRefreshStarts, 1);

        // The opened file is gone: the reopen fails and the old list stays.
        QVERIFY(QFile::remove(folder.filePath("d.png")));
        source.resumeCapture();
        QCOMPARE(source.count(), 4);
        QCOMPARE(sink.autoRefreshStarts, 2);

        // The whole folder is gone: nothing is reopened, the refresh still starts.
        QVERIFY(dir.remove());
        source.resumeCapture();
        QCOMPARE(source.count(), 4);
        QCOMPARE(sink.autoRefreshStarts, 3);
    }

    void resumeBeforeAnyOpenOnlyRefreshes()
    {
        TestCaptureSink sink;
        PhotographSource source(&sink, nullptr);
        QSignalSpy changed(&source, &PhotographSource::photographChanged);
        source.resumeCapture();
        QCOMPARE(changed.count(), 0);
        QVERIFY(sink.autoRefreshRunning);
        source.pauseCapture();
        QVERIFY(!sink.autoRefreshRunning);
    }
};

QTEST_MAIN(TestPhotographSource)
#include "tst_photographsource.moc"

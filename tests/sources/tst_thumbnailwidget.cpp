#include "TestCaptureSink.h"
#include "TestPictures.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/ThumbnailButton.h"
#include "sources/photograph/ThumbnailLoader.h"
#include "sources/photograph/ThumbnailWidget.h"
#include "widgets/HorizontalSlider.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// A photograph canvas stand-in holding the strip and its scroll bar, over a folder of
// pictures p00.png, p01.png, ...
struct StripFixture
{
    QTemporaryDir dir;
    TestCaptureSink sink;
    QWidget canvas;
    PhotographSource source{&sink, nullptr};
    HorizontalSlider *scrollBar = new HorizontalSlider(QImage(), &canvas);
    ThumbnailWidget *strip = nullptr;

    StripFixture(int pictures, int width)
    {
        for (int i = 0; i < pictures; ++i)
            TestPictures::write(path(i), QSize(64, 48), QColor::fromHsv(i * 30 % 360, 200, 200));
        strip = new ThumbnailWidget(&source, scrollBar, &canvas);
        strip->setFixedSize(width, 60);
        canvas.resize(width, 400);
        canvas.show();
    }
    QString path(int i) const
    {
        return QDir(dir.path()).filePath(QString("p%1.png").arg(i, 2, 10, QChar('0')));
    }
    // Opens the folder at picture i and waits until that picture is shown (it is decoded
    // off the GUI thread).
    bool open(int i = 0)
    {
        QSignalSpy shown(&source, &PhotographSource::photographChanged);
        if (!source.openPhotograph(dir.path(), QFileInfo(path(i)).fileName()))
            return false;
        return !shown.isEmpty() || shown.wait(5000);
    }
    QList<int> shown() const
    {
        QList<int> ids;
        for (int i = 0; i < strip->buttons().size(); ++i)
            if (strip->buttons().at(i)->isVisible())
                ids << i;
        return ids;
    }
    int checked() const
    {
        for (int i = 0; i < strip->buttons().size(); ++i)
            if (strip->buttons().at(i)->isChecked())
                return i;
        return -1;
    }
};

class TestThumbnailWidget : public QObject
{
    Q_OBJECT

    static QList<int> range(int from, int to)
    {
        QList<int> ids;
        for (int i = from; i <= to; ++i)
            ids << i;
        return ids;
    }

private slots:
    void geometry_data()
    {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("maximum");
        QTest::newRow("400 px over 10") << 10 << 400 << 4 << 68 << 6;
        QTest::newRow("400 px over 2") << 2 << 400 << 2 << 134 << 0;
        QTest::newRow("1000 px over 10") << 10 << 1000 << 10 << 170 << 0;
        QTest::newRow("too narrow for one") << 5 << 150 << 0 << 75 << 5;
        QTest::newRow("exactly one") << 5 << 156 << 1 << 45 << 4;
    }
    void geometry()
    {
        QFETCH(int, pictures);
        QFETCH(int, width);
        QFETCH(int, visible);
        QFETCH(int, left);
        QFETCH(int, maximum);
        StripFixture f(pictures, width);
        QVERIFY(f.open());
        QCOMPARE(f.strip->buttons().size(), pictures);
        QCOMPARE(f.strip->visibleCount(), visible);
        QCOMPARE(f.strip->left(), left);
        QCOMPARE(f.strip->first(), 0);
        QCOMPARE(f.scrollBar->minimum(), 0);
        QCOMPARE(f.scrollBar->maximum(), maximum);
        QCOMPARE(f.shown(), range(0, visible - 1));
        for (int j = 0; j < visible; ++j)
            QCOMPARE(f.strip->buttons().at(j)->pos(), QPoint(left + j * 66, 5));
        QTRY_COMPARE_WITH_TIMEOUT(f.checked(), 0, 5000); // shown once decoded
        QTRY_VERIFY_WITH_TIMEOUT(f.strip->buttons().last()->hasPicture(), 10000);
    }

    void emptyFolder()
    {
        StripFixture f(0, 400);
        QCOMPARE(f.strip->buttons().size(), 0);
        QCOMPARE(f.strip->visibleCount(), 0);
        QCOMPARE(f.scrollBar->maximum(), 0);
        f.strip->photographChanged(0); // nothing to check, nothing breaks
        f.strip->viewChanged(3);
        QCOMPARE(f.strip->first(), 0);
    }

    void scrollIntoView_data()
    {
        QTest::addColumn<int>("firstBefore");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("firstAfter");
        QTest::newRow("7 from 0..3") << 0 << 7 << 4;
        QTest::newRow("2 from 4..7") << 4 << 2 << 2;
        QTest::newRow("inside the view") << 2 << 4 << 2;
        QTest::newRow("last from the start") << 0 << 9 << 6;
        QTest::newRow("first from the end") << 6 << 0 << 0;
    }
    void scrollIntoView()
    {
        QFETCH(int, firstBefore);
        QFETCH(int, id);
        QFETCH(int, firstAfter);
        StripFixture f(10, 400);
        QVERIFY(f.open());
        f.strip->viewChanged(firstBefore);
        QCOMPARE(f.shown(), range(firstBefore, firstBefore + 3));
        QSignalSpy moved(f.scrollBar, &HorizontalSlider::valueChanged);
        f.source.selectPhotograph(id);
        QTRY_COMPARE_WITH_TIMEOUT(f.strip->first(), firstAfter, 5000); // once the picture is shown
        QCOMPARE(f.shown(), range(firstAfter, firstAfter + 3));
        if (firstAfter != firstBefore)
            QCOMPARE(f.scrollBar->value(), firstAfter);
        QCOMPARE(moved.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(f.checked(), id, 5000); // shown once decoded
        int checkedCount = 0;
        for (auto *b : f.strip->buttons())
            checkedCount += b->isChecked() ? 1 : 0;
        QCOMPARE(checkedCount, 1);
    }

    void clickShowsThePicture()
    {
        StripFixture f(6, 400);
        QVERIFY(f.open(0));
        QSignalSpy changed(&f.source, &PhotographSource::photographChanged);
        QTest::mouseClick(f.strip->buttons().at(2), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 5000);
        QCOMPARE(changed.at(0).at(0).toInt(), 2);
        QCOMPARE(f.source.currentIndex(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(f.checked(), 2, 5000); // shown once decoded
    }

    void scrollBarMovesTheView()
    {
        StripFixture f(10, 400);
        QVERIFY(f.open());
        f.scrollBar->resize(400, 20);
        // The slider's value under x: (x - 6) / ((400 - 12) / 7).
        QTest::mouseClick(f.scrollBar, Qt::LeftButton, {}, QPoint(6 + 3 * 388 / 7 + 2, 10));
        QCOMPARE(f.scrollBar->value(), 3);
        QCOMPARE(f.strip->first(), 3);
        QCOMPARE(f.shown(), range(3, 6));
    }

    void resizeRefits()
    {
        StripFixture f(10, 400);
        QVERIFY(f.open());
        f.strip->viewChanged(6);
        f.strip->setFixedSize(600, 60);
        // (600 - 40 - 68) / 66 = 7 fit; left = (600 - 462) / 2 = 69; range 0..3; first clamped.
        QCOMPARE(f.strip->visibleCount(), 7);
        QCOMPARE(f.strip->left(), 69);
        QCOMPARE(f.scrollBar->maximum(), 3);
        QCOMPARE(f.strip->first(), 3);
        QCOMPARE(f.shown(), range(3, 9));
        QCOMPARE(f.strip->buttons().at(3)->pos(), QPoint(69, 5));
    }

    void reopenOfASmallerFolderStartsAtItsBeginning()
    {
        StripFixture f(10, 400);
        QVERIFY(f.open(9));
        QCOMPARE(f.strip->first(), 6);
        for (int i = 3; i < 10; ++i)
            QVERIFY(QFile::remove(f.path(i)));
        QVERIFY(f.open(1));
        QCOMPARE(f.strip->buttons().size(), 3);
        QCOMPARE(f.strip->first(), 0);
        QCOMPARE(f.shown(), range(0, 2));
        QTRY_COMPARE_WITH_TIMEOUT(f.checked(), 1, 5000); // shown once decoded
    }

    void reloadDuringALongPassStartsOver()
    {
        StripFixture f(1, 400);
        // A long pass: many links to one large picture, each decoded in full.
        QImage big(3000, 2000, QImage::Format_RGB32);
        big.fill(Qt::darkYellow);
        // Named so that it is not listed itself; the links carry the picture suffix.
        const QString bigPath = QDir(f.dir.path()).filePath("big.data");
        QVERIFY(big.save(bigPath, "PNG"));
        for (int i = 1; i < 150; ++i)
            QVERIFY(QFile::link(bigPath, f.path(i)));
        QSignalSpy finished(f.strip->loader(), &ThumbnailLoader::passFinished);
        QVERIFY(f.open());
        QCOMPARE(f.strip->buttons().size(), 150);
        QTRY_VERIFY_WITH_TIMEOUT(f.strip->buttons().at(1)->hasPicture(), 10000);
        finished.clear();

        QVERIFY(f.open(5));
        // The old pass ended cancelled before the new buttons were made.
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(1).toBool(), true);
        QVERIFY(finished.at(0).at(0).toInt() < 150);
        QCOMPARE(f.strip->buttons().size(), 150);
        QTRY_VERIFY_WITH_TIMEOUT(f.strip->buttons().at(0)->hasPicture(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(f.checked(), 5, 5000); // shown once decoded
        f.strip->stopLoader();
        f.strip->stopLoader(); // twice: must not wait forever
        QVERIFY(f.strip->buttons().isEmpty());
    }
};

QTEST_MAIN(TestThumbnailWidget)
#include "tst_thumbnailwidget.moc"

#include "TestPictures.h"
#include "sources/photograph/ThumbnailButton.h"
#include "sources/photograph/ThumbnailLoader.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <memory>

class TestThumbnailLoader : public QObject
{
    Q_OBJECT

    struct Strip
    {
        QWidget parent;
        QVector<ThumbnailButton *> buttons;
        explicit Strip(int n)
        {
            for (int i = 0; i < n; ++i)
                buttons.append(new ThumbnailButton(&parent));
        }
        int withPicture() const
        {
            int n = 0;
            for (auto *b : buttons)
                n += b->hasPicture() ? 1 : 0;
            return n;
        }
    };

    // count links to one large picture: every link costs a full decode, so a pass is long.
    static QStringList slowFolder(const QDir &dir, int count)
    {
        const QString original = dir.filePath("big.png");
        QImage image(3000, 2000, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); x += 50)
                image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        image.save(original);
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            const QString link = dir.filePath(QString("p%1.png").arg(i, 4, 10, QChar('0')));
            QFile::link(original, link);
            paths << link;
        }
        return paths;
    }

private slots:
    void borderColours_data()
    {
        QTest::addColumn<bool>("hover");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QColor>("border");
        QTest::newRow("idle") << false << false << false << QColor(Qt::gray);
        QTest::newRow("hover") << true << false << false << QColor(Qt::white);
        QTest::newRow("pressed") << true << true << false << QColor(Qt::red);
        QTest::newRow("checked") << false << false << true << QColor(Qt::red);
        QTest::newRow("checked under the pointer") << true << false << true << QColor(Qt::red);
    }
    void borderColours()
    {
        QFETCH(bool, hover);
        QFETCH(bool, pressed);
        QFETCH(bool, checked);
        QFETCH(QColor, border);
        QWidget parent;
        auto *button = new ThumbnailButton(&parent);
        QVERIFY(button->isFlat());
        QVERIFY(button->isCheckable());
        QCOMPARE(button->size(), QSize(56, 50));
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::green);
        button->setThumbnail(picture);
        if (hover) {
            QEvent enter(QEvent::Enter);
            QCoreApplication::sendEvent(button, &enter);
        }
        button->setDown(pressed);
        button->setChecked(checked);
        QCOMPARE(button->borderColour(), border);

        const QImage face = button->grab().toImage();
        QCOMPARE(face.pixelColor(1, 25), border);
        QCOMPARE(face.pixelColor(54, 25), border);
        QCOMPARE(face.pixelColor(28, 1), border);
        QCOMPARE(face.pixelColor(28, 48), border);
        QCOMPARE(face.pixelColor(5, 5), QColor(Qt::black));
        // The picture is centred: (56 - 20) / 2 = 18, (50 - 10) / 2 = 20.
        QCOMPARE(face.pixelColor(18, 20), QColor(Qt::green));
        QCOMPARE(face.pixelColor(37, 29), QColor(Qt::green));
        QCOMPARE(face.pixelColor(17, 20), QColor(Qt::black));
        QCOMPARE(face.pixelColor(38, 29), QColor(Qt::black));

        if (hover) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(button, &leave);
            QVERIFY(!button->isHovered());
        }
    }

    void passDeliversEveryThumbnail()
    {
        QTemporaryDir dir;
        QStringList paths;
        const QList<QSize> sizes{{800, 600}, {300, 600}, {56, 50}};
        for (int i = 0; i < sizes.size(); ++i) {
            paths << QDir(dir.path()).filePath(QString("p%1.jpg").arg(i));
            QVERIFY(TestPictures::write(paths.last(), sizes.at(i)));
        }
        paths << QDir(dir.path()).filePath("broken.jpg");
        QVERIFY(TestPictures::writeBytes(paths.last(), "not a picture"));
        paths << QDir(dir.path()).filePath("absurd.png");
        QVERIFY(TestPictures::writeAbsurdPng(paths.last(), 100000, 100000));
        // A header declaring 60000x60000 over a few bytes: read at an eighth, within the cap.
        paths << QDir(dir.path()).filePath("hostile.jpg");
        QVERIFY(TestPictures::writeBytes(paths.last(), TestPictures::jpegDeclaring(60000, 60000)));

        Strip strip(paths.size());
        ThumbnailLoader loader(nullptr);
        QSignalSpy finished(&loader, &ThumbnailLoader::passFinished);
        loader.startPass(paths, strip.buttons);
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.at(0).at(0).toInt(), 3);
        QCOMPARE(finished.at(0).at(1).toBool(), false);
        QTRY_COMPARE_WITH_TIMEOUT(strip.withPicture(), 3, 5000);
        QCOMPARE(strip.buttons.at(0)->picture().size(), QSize(56, 42));
        QCOMPARE(strip.buttons.at(1)->picture().size(), QSize(25, 50));
        QCOMPARE(strip.buttons.at(2)->picture().size(), QSize(56, 50));
        QVERIFY(!strip.buttons.at(3)->hasPicture());
        QVERIFY(!strip.buttons.at(4)->hasPicture());
        QVERIFY(!strip.buttons.at(5)->hasPicture());
    }

    void stopTwiceDoesNotBlock()
    {
        ThumbnailLoader loader(nullptr);
        loader.stopPass();
        loader.stopPass();
        Strip strip(1);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("a.png");
        QVERIFY(TestPictures::write(path, QSize(10, 10)));
        QSignalSpy finished(&loader, &ThumbnailLoader::passFinished);
        loader.startPass({path}, strip.buttons);
        loader.stopPass();
        loader.stopPass();
        QVERIFY(loader.isFinished());
        // And a new pass after all that still runs.
        loader.startPass({path}, strip.buttons);
        QVERIFY(finished.count() == 2 || finished.wait(5000));
        QTRY_VERIFY_WITH_TIMEOUT(strip.buttons.at(0)->hasPicture(), 5000);
    }

    void restartCancelsTheRunningPass()
    {
        QTemporaryDir dir;
        const QStringList paths = slowFolder(QDir(dir.path()), 200);
        auto first = std::make_unique<Strip>(paths.size());
        ThumbnailLoader loader(nullptr);
        QSignalSpy finished(&loader, &ThumbnailLoader::passFinished);
        loader.startPass(paths, first->buttons);
        QTRY_VERIFY_WITH_TIMEOUT(first->withPicture() >= 1, 10000);

        // What a reload does: stop, delete the old buttons, start over with new ones.
        Strip second(3);
        loader.startPass(paths.mid(0, 3), second.buttons);
        QCOMPARE(finished.count(), 1);
        QVERIFY(finished.at(0).at(1).toBool());
        QVERIFY(finished.at(0).at(0).toInt() < paths.size());
        first.reset();

        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.at(1).at(0).toInt(), 3);
        QCOMPARE(finished.at(1).at(1).toBool(), false);
        QTRY_COMPARE_WITH_TIMEOUT(second.withPicture(), 3, 5000);
    }

    void destroyingARunningLoaderWaitsForIt()
    {
        QTemporaryDir dir;
        const QStringList paths = slowFolder(QDir(dir.path()), 50);
        Strip strip(paths.size());
        {
            ThumbnailLoader loader(nullptr);
            loader.startPass(paths, strip.buttons);
        }
        // Thumbnails already queued may still arrive; none may crash.
        QCoreApplication::processEvents();
        QVERIFY(strip.withPicture() < paths.size());
    }
};

QTEST_MAIN(TestThumbnailLoader)
#include "tst_thumbnailloader.moc"

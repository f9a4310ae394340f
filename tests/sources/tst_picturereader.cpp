#include "TestPictures.h"
#include "sources/photograph/PictureReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestPictureReader : public QObject
{
    Q_OBJECT
private slots:
    void decodedPixels_data()
    {
        QTest::addColumn<QSize>("declared");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<qint64>("pixels");
        QTest::newRow("png in full") << QSize(4000, 3000) << QByteArray("png") << QSize(56, 42)
                                     << qint64(12000000);
        QTest::newRow("jpeg at an eighth")
            << QSize(4000, 3000) << QByteArray("jpeg") << QSize(56, 42) << qint64(500 * 375);
        QTest::newRow("jpeg at a half")
            << QSize(200, 150) << QByteArray("jpeg") << QSize(56, 42) << qint64(100 * 75);
        QTest::newRow("small jpeg in full")
            << QSize(100, 80) << QByteArray("jpeg") << QSize(56, 45) << qint64(8000);
        QTest::newRow("jpeg without target in full")
            << QSize(4000, 3000) << QByteArray("jpeg") << QSize() << qint64(12000000);
        QTest::newRow("largest declared size")
            << QSize(INT_MAX, INT_MAX) << QByteArray("png") << QSize(56, 50) << qint64(INT_MAX) * INT_MAX;
        QTest::newRow("unknown size") << QSize() << QByteArray("png") << QSize(56, 50) << qint64(-1);
        QTest::newRow("empty size") << QSize(0, 10) << QByteArray("png") << QSize(56, 50) << qint64(-1);
    }
    void decodedPixels()
    {
        QFETCH(QSize, declared);
        QFETCH(QByteArray, format);
        QFETCH(QSize, target);
        QFETCH(qint64, pixels);
        QCOMPARE(PictureReader::decodedPixels(declared, format, target), pixels);
    }

    void thumbnails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("thumbnail"); // invalid: null image expected
        QTest::newRow("wide jpeg") << "w.jpg" << QSize(1600, 900) << QSize(56, 31);
        QTest::newRow("tall png") << "t.png" << QSize(300, 600) << QSize(25, 50);
        QTest::newRow("bmp") << "b.bmp" << QSize(560, 500) << QSize(56, 50);
        QTest::newRow("tiny picture grows to fit") << "s.png" << QSize(28, 25) << QSize(56, 50);
        QTest::newRow("upper-case jpeg") << "U.JPEG" << QSize(800, 600) << QSize(56, 42);
        QTest::newRow("gif") << "g.gif" << QSize(1, 1) << QSize(50, 50);
        QTest::newRow("text named .png") << "text.png" << QSize() << QSize();
        QTest::newRow("absurd png") << "absurd.png" << QSize() << QSize();
    }
    void thumbnails()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(QSize, thumbnail);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(name);
        if (name == "text.png")
            QVERIFY(TestPictures::writeBytes(path, "plain words"));
        else if (name == "absurd.png")
            QVERIFY(TestPictures::writeAbsurdPng(path, 2000000000u, 2000000000u));
        else
            QVERIFY(TestPictures::write(path, size, Qt::red));

        const QImage image = PictureReader::readThumbnail(path, QSize(56, 50));
        if (!thumbnail.isValid()) {
            QVERIFY(image.isNull());
            QVERIFY(PictureReader::readPicture(path).isNull());
            return;
        }
        QCOMPARE(image.size(), thumbnail);
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        if (!name.endsWith("gif"))
            QVERIFY2(centre.red() > 200 && centre.green() < 60 && centre.blue() < 60,
                     qPrintable(centre.name()));
        QCOMPARE(PictureReader::readPicture(path).size(), size);
    }

    void sizeLimit()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("p.jpg");
        QVERIFY(TestPictures::write(path, QSize(800, 600)));
        QVERIFY(PictureReader::readPicture(path, 800 * 600 - 1).isNull());
        QCOMPARE(PictureReader::readPicture(path, 800 * 600).size(), QSize(800, 600));
        // Decoded at an eighth, the JPEG fits a limit its full size would break.
        QCOMPARE(PictureReader::readThumbnail(path, QSize(56, 50), 100 * 75).size(), QSize(56, 42));
    }
};

QTEST_GUILESS_MAIN(TestPictureReader)
#include "tst_picturereader.moc"

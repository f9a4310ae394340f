#include "TestPictures.h"
#include "sources/photograph/JpegPictureDecoder.h"
#include "sources/photograph/PictureReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

// Pictures read at the size they are needed, upright, within the memory and time of one decode,
// and what comes of files that are no pictures, damaged or hostile.
class TestPictureReader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    // Writes the picture file of a kind; returns its path.
    QString make(const QString &kind)
    {
        const QString file = path(kind);
        bool ok = true;
        if (kind == "photo.jpg") {
            ok = TestPictures::quarters(QSize(800, 600)).save(file, "JPEG", 92);
        } else if (kind == "photo.png") {
            ok = TestPictures::quarters(QSize(800, 600)).save(file, "PNG");
        } else if (kind == "photo.bmp") {
            ok = TestPictures::quarters(QSize(800, 600)).save(file, "BMP");
        } else if (kind == "progressive.jpg") {
            QImageWriter writer(file, "jpeg");
            writer.setProgressiveScanWrite(true);
            ok = writer.write(TestPictures::quarters(QSize(800, 600)));
        } else if (kind == "grey.png") {
            ok = TestPictures::quarters(QSize(80, 60))
                     .convertToFormat(QImage::Format_Grayscale8)
                     .save(file, "PNG");
        } else if (kind == "palette.png") {
            ok = TestPictures::quarters(QSize(80, 60))
                     .convertToFormat(QImage::Format_Indexed8)
                     .save(file, "PNG");
        } else if (kind == "deep.png") {
            ok = TestPictures::quarters(QSize(80, 60))
                     .convertToFormat(QImage::Format_RGBA64)
                     .save(file, "PNG");
        } else if (kind == "alpha.png") {
            QImage image = TestPictures::quarters(QSize(80, 60)).convertToFormat(QImage::Format_ARGB32);
            image.setPixelColor(0, 0, QColor(0, 0, 0, 0));
            ok = image.save(file, "PNG");
        } else if (kind == "interlaced.png") {
            ok = TestPictures::quarters(QSize(80, 60)).save(file + ".plain.png", "PNG")
                && QProcess::execute("convert", {file + ".plain.png", "-interlace", "PNG", file}) == 0;
        } else if (kind == "hostile.jpg") {
            ok = TestPictures::writeBytes(file, TestPictures::jpegDeclaring(60000, 60000));
        } else if (kind == "cut.jpg") {
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            TestPictures::quarters(QSize(800, 600)).save(&buffer, "JPEG", 92);
            ok = TestPictures::writeBytes(file, jpeg.left(jpeg.size() * 6 / 10));
        } else if (kind == "text.jpg") {
            ok = TestPictures::writeBytes(file, "plain words, no picture");
        } else if (kind == "empty.png") {
            ok = TestPictures::writeBytes(file, QByteArray());
        } else if (kind == "absurd.png") {
            ok = TestPictures::writeAbsurdPng(file, 2000000000u, 2000000000u);
        } else if (kind == "wide.png") {
            ok = TestPictures::writeAbsurdPng(file, 1000000, 10);
        } else if (kind == "nodata.png") {
            ok = TestPictures::writeAbsurdPng(file, 9000, 8000);
        } else if (kind == "missing.png") {
            ok = true;
        }
        if (!ok)
            qWarning() << "cannot write" << kind;
        return file;
    }

    static QColor at(const QImage &image, double fx, double fy)
    {
        return image.pixelColor(int(image.width() * fx), int(image.height() * fy));
    }

    static bool near(const QColor &a, const QColor &b)
    {
        return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40
            && qAbs(a.blue() - b.blue()) < 40;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void fittedSize_data()
    {
        QTest::addColumn<QSize>("full");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<qint64>("maxPixels");
        QTest::addColumn<bool>("grow");
        QTest::addColumn<QSize>("fitted");
        QTest::newRow("wide into a box")
            << QSize(4000, 3000) << QSize(1920, 1080) << qint64(0) << false << QSize(1440, 1080);
        QTest::newRow("smaller than the box stays")
            << QSize(800, 600) << QSize(1920, 1080) << qint64(0) << false << QSize(800, 600);
        QTest::newRow("smaller than the box grows")
            << QSize(28, 25) << QSize(56, 50) << qint64(0) << true << QSize(56, 50);
        QTest::newRow("no box: whole")
            << QSize(9216, 6912) << QSize() << qint64(0) << false << QSize(9216, 6912);
        QTest::newRow("over the pixel limit: scaled down")
            << QSize(12000, 9000) << QSize() << qint64(64) * 1024 * 1024 << false << QSize(9459, 7094);
        QTest::newRow("a sliver stays one pixel")
            << QSize(100000, 1) << QSize(56, 50) << qint64(0) << false << QSize(56, 1);
    }
    void fittedSize()
    {
        QFETCH(QSize, full);
        QFETCH(QSize, box);
        QFETCH(qint64, maxPixels);
        QFETCH(bool, grow);
        QFETCH(QSize, fitted);
        QCOMPARE(PictureReader::fittedSize(full, box, maxPixels, grow), fitted);
    }

    void jpegScale_data()
    {
        QTest::addColumn<QSize>("declared");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<int>("eighths");
        QTest::newRow("thumbnail of a photo") << QSize(4000, 3000) << QSize(56, 42) << 1;
        QTest::newRow("screen of a photo") << QSize(4000, 3000) << QSize(1440, 1080) << 3;
        QTest::newRow("whole") << QSize(800, 600) << QSize(800, 600) << 8;
        QTest::newRow("hostile header") << QSize(60000, 60000) << QSize(50, 50) << 1;
    }
    void jpegScale()
    {
        QFETCH(QSize, declared);
        QFETCH(QSize, target);
        QFETCH(int, eighths);
        QCOMPARE(JpegPictureDecoder::scaleEighths(declared, target), eighths);
    }

    void reading_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<qint64>("maxPixels"); // 0: the reader's own limit
        QTest::addColumn<qint64>("maxBytes");  // 0: the reader's own limit
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QSize>("size");
        const QSize none;
        const auto decoded = int(DecodeJob::Outcome::Decoded);
        QTest::newRow("jpeg fitted") << "photo.jpg" << QSize(400, 400) << qint64(0) << qint64(0) << decoded
                                     << QSize(400, 300);
        QTest::newRow("jpeg whole") << "photo.jpg" << none << qint64(0) << qint64(0) << decoded
                                    << QSize(800, 600);
        QTest::newRow("jpeg over the pixel limit is scaled down")
            << "photo.jpg" << none << qint64(120000) << qint64(0) << decoded << QSize(400, 300);
        QTest::newRow("png fitted") << "photo.png" << QSize(200, 200) << qint64(0) << qint64(0) << decoded
                                    << QSize(200, 150);
        QTest::newRow("png over the pixel limit is scaled down")
            << "photo.png" << none << qint64(30000) << qint64(0) << decoded << QSize(200, 150);
        QTest::newRow("bmp fitted") << "photo.bmp" << QSize(400, 400) << qint64(0) << qint64(0) << decoded
                                    << QSize(400, 300);
        QTest::newRow("progressive jpeg")
            << "progressive.jpg" << QSize(400, 400) << qint64(0) << qint64(0) << decoded << QSize(400, 300);
        QTest::newRow("grey png") << "grey.png" << none << qint64(0) << qint64(0) << decoded << QSize(80, 60);
        QTest::newRow("palette png") << "palette.png" << none << qint64(0) << qint64(0) << decoded
                                     << QSize(80, 60);
        QTest::newRow("16-bit png") << "deep.png" << none << qint64(0) << qint64(0) << decoded
                                    << QSize(80, 60);
        QTest::newRow("png with alpha")
            << "alpha.png" << none << qint64(0) << qint64(0) << decoded << QSize(80, 60);
        QTest::newRow("interlaced png")
            << "interlaced.png" << QSize(40, 40) << qint64(0) << qint64(0) << decoded << QSize(40, 30);
        QTest::newRow("jpeg cut short: what is there, grey below")
            << "cut.jpg" << none << qint64(0) << qint64(0) << int(DecodeJob::Outcome::Partial)
            << QSize(800, 600);
        QTest::newRow("hostile jpeg header") << "hostile.jpg" << QSize(1920, 1080) << qint64(0) << qint64(0)
                                             << int(DecodeJob::Outcome::Damaged) << none;
        QTest::newRow("png without data") << "nodata.png" << QSize(1920, 1080) << qint64(0) << qint64(0)
                                          << int(DecodeJob::Outcome::Damaged) << none;
        QTest::newRow("absurd png header") << "absurd.png" << QSize(1920, 1080) << qint64(0) << qint64(0)
                                           << int(DecodeJob::Outcome::Damaged) << none;
        QTest::newRow("png rows wider than one decode's memory")
            << "wide.png" << QSize(1920, 1080) << qint64(0) << qint64(1000000)
            << int(DecodeJob::Outcome::TooLarge) << none;
        QTest::newRow("bmp over the memory of one decode")
            << "photo.bmp" << QSize(400, 400) << qint64(0) << qint64(1000000)
            << int(DecodeJob::Outcome::TooLarge) << none;
        QTest::newRow("progressive jpeg over the memory of one decode")
            << "progressive.jpg" << QSize(400, 400) << qint64(0) << qint64(1000000)
            << int(DecodeJob::Outcome::TooLarge) << none;
        QTest::newRow("text named .jpg")
            << "text.jpg" << none << qint64(0) << qint64(0) << int(DecodeJob::Outcome::NotAPicture) << none;
        QTest::newRow("empty file") << "empty.png" << none << qint64(0) << qint64(0)
                                    << int(DecodeJob::Outcome::NotAPicture) << none;
        QTest::newRow("missing file") << "missing.png" << none << qint64(0) << qint64(0)
                                      << int(DecodeJob::Outcome::NotAPicture) << none;
    }
    void reading()
    {
        QFETCH(QString, kind);
        QFETCH(QSize, box);
        QFETCH(qint64, maxPixels);
        QFETCH(qint64, maxBytes);
        QFETCH(int, outcome);
        QFETCH(QSize, size);
        DecodeJob job = PictureReader::pictureJob(QFile::encodeName(make(kind)), box);
        if (maxPixels)
            job.maxPixels = maxPixels;
        if (maxBytes)
            job.maxBytes = maxBytes;
        PictureReader::read(job);
        QCOMPARE(int(job.outcome), outcome);
        if (!size.isValid()) {
            QVERIFY(job.image.isNull());
            return;
        }
        QCOMPARE(job.image.size(), size);
        // The picture itself: its four quarters where they belong.
        const bool grey = kind.startsWith("grey");
        QVERIFY(near(at(job.image, 0.25, 0.25), grey ? QColor(76, 76, 76) : QColor(Qt::red)));
        if (kind == "cut.jpg") {
            QVERIFY(near(at(job.image, 0.75, 0.25), QColor(Qt::green)));
            QCOMPARE(job.image.pixelColor(400, 599), QColor(128, 128, 128));
            return;
        }
        QVERIFY(near(at(job.image, 0.75, 0.25), grey ? QColor(150, 150, 150) : QColor(Qt::green)));
        QVERIFY(near(at(job.image, 0.25, 0.75), grey ? QColor(29, 29, 29) : QColor(Qt::blue)));
        QVERIFY(near(at(job.image, 0.75, 0.75), QColor(Qt::white)));
        if (kind == "alpha.png")
            QCOMPARE(job.image.pixelColor(0, 0).alpha(), 0);
    }

    void uprightByOrientation_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        // Colours at the top-left, top-right, bottom-left quarters of the upright picture.
        QTest::addColumn<QColor>("topLeft");
        QTest::addColumn<QColor>("topRight");
        QTest::addColumn<QColor>("bottomLeft");
        QTest::newRow("upright") << 1 << QSize(320, 160) << QColor(Qt::red) << QColor(Qt::green)
                                 << QColor(Qt::blue);
        QTest::newRow("mirrored") << 2 << QSize(320, 160) << QColor(Qt::green) << QColor(Qt::red)
                                  << QColor(Qt::white);
        QTest::newRow("upside down") << 3 << QSize(320, 160) << QColor(Qt::white) << QColor(Qt::blue)
                                     << QColor(Qt::green);
        QTest::newRow("phone held upright (turn right)")
            << 6 << QSize(160, 320) << QColor(Qt::blue) << QColor(Qt::red) << QColor(Qt::white);
        QTest::newRow("turn left") << 8 << QSize(160, 320) << QColor(Qt::green) << QColor(Qt::white)
                                   << QColor(Qt::red);
    }
    void uprightByOrientation()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QColor, topLeft);
        QFETCH(QColor, topRight);
        QFETCH(QColor, bottomLeft);
        const QString file = path(QString("exif%1.jpg").arg(orientation));
        QVERIFY(TestPictures::writeBytes(
            file, TestPictures::jpegWithOrientation(TestPictures::quarters(QSize(640, 320)), orientation)));
        // Fitted into a box of the upright shape: the box applies to the upright picture.
        DecodeJob job = PictureReader::pictureJob(QFile::encodeName(file), size);
        PictureReader::read(job);
        QCOMPARE(int(job.outcome), int(DecodeJob::Outcome::Decoded));
        QCOMPARE(job.fullSize, size * 2);
        QCOMPARE(job.image.size(), size);
        QVERIFY(near(at(job.image, 0.25, 0.25), topLeft));
        QVERIFY(near(at(job.image, 0.75, 0.25), topRight));
        QVERIFY(near(at(job.image, 0.25, 0.75), bottomLeft));
    }

    // A small file whose header declares 60000x60000 is read at an eighth, row by row into the
    // fitted picture, so what it holds stays within the decode's cap; its data ends long before
    // its rows, so it is damaged. A cap below even that eighth's rows refuses it unread.
    void hostileHeaderStaysWithinTheCap_data()
    {
        QTest::addColumn<bool>("thumbnail");
        QTest::addColumn<qint64>("maxBytes"); // 0: the job's own cap
        QTest::addColumn<int>("outcome");
        const auto damaged = int(DecodeJob::Outcome::Damaged);
        QTest::newRow("thumbnail") << true << qint64(0) << damaged;
        QTest::newRow("shown picture") << false << qint64(0) << damaged;
        QTest::newRow("cap below two rows of an eighth")
            << true << qint64(2 * 7500 * 4 - 1) << int(DecodeJob::Outcome::TooLarge);
    }
    void hostileHeaderStaysWithinTheCap()
    {
        QFETCH(bool, thumbnail);
        QFETCH(qint64, maxBytes);
        QFETCH(int, outcome);
        const QByteArray file = QFile::encodeName(make("hostile.jpg"));
        DecodeJob job = thumbnail ? PictureReader::thumbnailJob(file, QSize(56, 50))
                                  : PictureReader::pictureJob(file, QSize(1920, 1080));
        QVERIFY(job.maxBytes < qint64(60000) * 60000);
        if (maxBytes)
            job.maxBytes = maxBytes;
        PictureReader::read(job);
        QCOMPARE(int(job.outcome), outcome);
        QVERIFY(job.image.isNull());
        QVERIFY(!job.detail.isEmpty());
    }

    // A valid 8000x8000 PNG (64 MP, a few hundred KB of zeros) comes out fitted to the screen.
    void hugePngIsShownScaledDown()
    {
        const QString file = path("zeros.png");
        QImage zeros(8000, 8000, QImage::Format_Grayscale8);
        zeros.fill(0);
        QVERIFY(zeros.save(file, "PNG", 0));
        zeros = QImage();
        DecodeJob job = PictureReader::pictureJob(QFile::encodeName(file), QSize(1920, 1080));
        PictureReader::read(job);
        QCOMPARE(int(job.outcome), int(DecodeJob::Outcome::Decoded));
        QCOMPARE(job.image.size(), QSize(1080, 1080));
        QCOMPARE(job.image.pixelColor(540, 540), QColor(Qt::black));
    }

    void stoppedDecodesHandOutNothing_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("deadline passed") << false;
        QTest::newRow("called off") << true;
    }
    void stoppedDecodesHandOutNothing()
    {
        QFETCH(bool, cancel);
        DecodeJob job = PictureReader::pictureJob(QFile::encodeName(make("photo.png")), QSize());
        if (cancel)
            job.cancelled = [] { return true; };
        else
            job.deadline = QDeadlineTimer(0);
        PictureReader::read(job);
        QCOMPARE(int(job.outcome),
                 int(cancel ? DecodeJob::Outcome::Cancelled : DecodeJob::Outcome::TimedOut));
        QVERIFY(job.image.isNull());
    }

    void thumbnailsGrowAndFit_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("thumbnail");
        QTest::newRow("wide") << QSize(1600, 900) << QSize(56, 31);
        QTest::newRow("tall") << QSize(300, 600) << QSize(25, 50);
        QTest::newRow("tiny grows to fit") << QSize(28, 25) << QSize(56, 50);
    }
    void thumbnailsGrowAndFit()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, thumbnail);
        const QString file = path(QString("t%1x%2.jpg").arg(size.width()).arg(size.height()));
        QVERIFY(TestPictures::write(file, size, Qt::red));
        const QImage image = PictureReader::readThumbnail(file, QSize(56, 50));
        QCOMPARE(image.size(), thumbnail);
        QVERIFY(near(at(image, 0.5, 0.5), QColor(Qt::red)));
    }

    // A name that is no UTF-8 is opened by its bytes.
    void nameThatIsNotUtf8()
    {
        const QByteArray name = QFile::encodeName(m_dir.path()) + "/caf\xe9-\xff.png";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        QFile out;
        QVERIFY(out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        QVERIFY(TestPictures::quarters(QSize(40, 30)).save(&out, "PNG"));
        out.close();
        DecodeJob job = PictureReader::pictureJob(name, QSize());
        PictureReader::read(job);
        QCOMPARE(int(job.outcome), int(DecodeJob::Outcome::Decoded));
        QCOMPARE(job.image.size(), QSize(40, 30));
        // Qt cannot name it to remove it with the folder.
        QCOMPARE(::unlink(name.constData()), 0);
    }
};

QTEST_GUILESS_MAIN(TestPictureReader)
#include "tst_picturereader.moc"

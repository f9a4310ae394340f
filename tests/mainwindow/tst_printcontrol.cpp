#include "ScriptedPrompts.h"
#include "SmallFileSystem.h"
#include "mainwindow/PrintComposer.h"
#include "mainwindow/PrintControl.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A landscape picture with a red top-left corner, to see which way it was turned.
QImage marked(const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(40, 90, 200));
    for (int y = 0; y < size.height() / 4; ++y)
        for (int x = 0; x < size.width() / 4; ++x)
            picture.setPixelColor(x, y, Qt::red);
    return picture;
}

// Image sizes embedded in a PDF the toolkit wrote (the image dictionaries stay uncompressed).
QVector<QSize> embeddedImages(const QString &pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    // The compressed streams hold zero bytes: the whole array, not up to the first zero.
    const QString text = QString::fromLatin1(bytes.constData(), bytes.size());
    QVector<QSize> sizes;
    QRegularExpression re(QStringLiteral("/Width (\\d+)\\s*/Height (\\d+)"));
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        sizes << QSize(m.captured(1).toInt(), m.captured(2).toInt());
    }
    return sizes;
}

void setUpPdf(QPrinter *printer, const QString &path, QPageLayout::Orientation orientation)
{
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(orientation);
    printer->setFullPage(false);
}

// Full and read-only disks are made as a tmpfs in a mount namespace of the test's own.
const bool PRIVATE_MOUNTS = SmallFileSystem::enterPrivateMounts();

} // namespace

// Page composition of a print and the Print button's checks.
class TestPrintControl : public QObject
{
    Q_OBJECT
private slots:
    void layout_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<bool>("turned");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("offset");
        // Sizes chosen so that every scale factor is exact in binary.
        QTest::newRow("landscape on portrait: turned, fills the width")
            << QSize(1280, 720) << QSize(720, 1600) << true << QSize(720, 1280) << QPoint(0, 160);
        QTest::newRow("4:3 on portrait: turned, scaled down")
            << QSize(1024, 768) << QSize(600, 1000) << true << QSize(600, 800) << QPoint(0, 100);
        QTest::newRow("landscape on landscape: unturned")
            << QSize(1280, 720) << QSize(1600, 1000) << false << QSize(1600, 900) << QPoint(0, 50);
        QTest::newRow("page's aspect: fills the page")
            << QSize(1600, 1200) << QSize(1000, 750) << false << QSize(1000, 750) << QPoint(0, 0);
        QTest::newRow("page's aspect once turned: fills the portrait page")
            << QSize(1600, 1200) << QSize(750, 1000) << true << QSize(750, 1000) << QPoint(0, 0);
        QTest::newRow("square on portrait: centred vertically")
            << QSize(512, 512) << QSize(800, 1200) << true << QSize(800, 800) << QPoint(0, 200);
        QTest::newRow("square on landscape: centred horizontally")
            << QSize(512, 512) << QSize(1200, 800) << false << QSize(800, 800) << QPoint(200, 0);
        QTest::newRow("small picture is enlarged")
            << QSize(100, 50) << QSize(1000, 800) << false << QSize(1000, 500) << QPoint(0, 150);
        QTest::newRow("odd remainder truncates the offset")
            << QSize(100, 100) << QSize(101, 50) << false << QSize(50, 50) << QPoint(25, 0);
    }
    void layout()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, page);
        QFETCH(bool, turned);
        QFETCH(QSize, size);
        QFETCH(QPoint, offset);
        const PrintComposer::Layout l = PrintComposer::layout(image, page);
        QCOMPARE(l.turned, turned);
        QCOMPARE(l.size, size);
        QCOMPARE(l.offset, offset);
    }

    void emptyPictureHasNoLayout()
    {
        QVERIFY(!PrintComposer::layout(QSize(), QSize(794, 1123)).size.isValid());
        QVERIFY(PrintComposer::compose(QImage(), PrintComposer::layout(QSize(), QSize(1, 1))).isNull());
    }

    void composeTurnsClockwiseWithoutSmoothing()
    {
        const QImage picture = marked(QSize(400, 200));
        const PrintComposer::Layout l = PrintComposer::layout(picture.size(), QSize(100, 400));
        const QImage page = PrintComposer::compose(picture, l);
        QCOMPARE(page.size(), QSize(100, 200));
        // Clockwise: the top-left corner goes to the top right.
        QCOMPARE(page.pixelColor(99, 0), QColor(Qt::red));
        QCOMPARE(page.pixelColor(0, 0), QColor(40, 90, 200));
        QCOMPARE(page.pixelColor(99, 199), QColor(40, 90, 200));
        // No smoothing: only the two colours of the picture appear.
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                QVERIFY(c == QColor(Qt::red) || c == QColor(40, 90, 200));
            }
    }

    void printsOnAPdfPage_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("turned");
        QTest::newRow("landscape picture, portrait page")
            << QSize(1280, 720) << int(QPageLayout::Portrait) << true;
        QTest::newRow("landscape picture, landscape page")
            << QSize(1280, 720) << int(QPageLayout::Landscape) << false;
        QTest::newRow("square picture, portrait page")
            << QSize(480, 480) << int(QPageLayout::Portrait) << true;
    }
    void printsOnAPdfPage()
    {
        QFETCH(QSize, image);
        QFETCH(int, orientation);
        QFETCH(bool, turned);
        QTemporaryDir dir;
        const QString path = dir.filePath("page.pdf");
        QPrinter printer(QPrinter::ScreenResolution);
        setUpPdf(&printer, path, QPageLayout::Orientation(orientation));
        const QSize page(printer.width(), printer.height());
        QCOMPARE(page.width() < page.height(), orientation == int(QPageLayout::Portrait));

        QVERIFY(PrintComposer::paint(&printer, marked(image)));
        const PrintComposer::Layout l = PrintComposer::layout(image, page);
        QCOMPARE(l.turned, turned);
        // Fills the page in one direction, centred in the other.
        QVERIFY(l.size.width() >= page.width() - 1 || l.size.height() >= page.height() - 1);
        QCOMPARE(l.offset,
                 QPoint((page.width() - l.size.width()) / 2, (page.height() - l.size.height()) / 2));
        QCOMPARE(embeddedImages(path), QVector<QSize>{l.size});
        if (image.width() == image.height())
            QVERIFY(l.offset.y() > 0);
    }

    void pictureOfThePagesAspectFillsThePdfPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("page.pdf");
        QPrinter printer(QPrinter::ScreenResolution);
        setUpPdf(&printer, path, QPageLayout::Landscape);
        const QSize page(printer.width(), printer.height());
        const PrintComposer::Layout l = PrintComposer::layout(page * 2, page);
        QCOMPARE(l.size, page);
        QCOMPARE(l.offset, QPoint(0, 0));
        QVERIFY(PrintComposer::paint(&printer, marked(page * 2)));
        QCOMPARE(embeddedImages(path), QVector<QSize>{page});
    }

    // Without a printer the box says so and offers the page as a PDF file: the print dialog
    // then opens on its file printer, and the page is written where it says.
    void noPrinterOffersAPdfFile_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("dialogAccepted");
        QTest::newRow("declined") << int(QMessageBox::Cancel) << false;
        QTest::newRow("box closed") << int(QMessageBox::NoButton) << false;
        QTest::newRow("to a PDF file") << int(QMessageBox::Save) << true;
        QTest::newRow("to a PDF file, dialog cancelled") << int(QMessageBox::Save) << false;
    }
    void noPrinterOffersAPdfFile()
    {
        QFETCH(int, answer);
        QFETCH(bool, dialogAccepted);
        ScriptedPrompts prompts;
        if (answer != QMessageBox::NoButton)
            prompts.answers << QMessageBox::StandardButton(answer);
        QTemporaryDir dir;
        const QString path = dir.filePath("page.pdf");
        PrintControl control(nullptr);
        control.setPrinterList([] { return QStringList(); });
        int dialogs = 0;
        QString offeredFile;
        control.setPrintDialog([&](QPrinter *printer, QWidget *) {
            ++dialogs;
            if (printer->outputFormat() == QPrinter::PdfFormat)
                offeredFile = printer->outputFileName();
            printer->setOutputFileName(path);
            return dialogAccepted;
        });
        const bool printed = control.print(marked(QSize(64, 48)));
        QCOMPARE(printed, dialogAccepted);
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions.first().title, QStringLiteral("Error"));
        QVERIFY(prompts.questions.first().text.startsWith("No printers found on this system."));
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(dialogs, answer == QMessageBox::Save ? 1 : 0);
        if (dialogs)
            QCOMPARE(QFileInfo(offeredFile).suffix(), QStringLiteral("pdf"));
        QCOMPARE(QFile::exists(path), dialogAccepted);
        if (dialogAccepted)
            QCOMPARE(embeddedImages(path).size(), 1);
    }

    // The system's own printer list: on a machine without a print queue the box shows and,
    // declined, no dialog is run.
    void systemWithoutPrintersShowsTheBox()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has print queues");
        ScriptedPrompts prompts;
        PrintControl control(nullptr);
        bool dialogShown = false;
        control.setPrintDialog([&](QPrinter *, QWidget *) { return dialogShown = true; });
        QVERIFY(!control.print(marked(QSize(64, 48))));
        QVERIFY(!dialogShown);
        QCOMPARE(prompts.questions.size(), 1);
    }

    void printGoesThroughTheDialogsPrinter_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("emptyPicture");
        QTest::newRow("accepted") << true << false;
        QTest::newRow("cancelled") << false << false;
        QTest::newRow("no picture yet") << true << true;
    }
    void printGoesThroughTheDialogsPrinter()
    {
        QFETCH(bool, accepted);
        QFETCH(bool, emptyPicture);
        ScriptedPrompts prompts;
        QTemporaryDir dir;
        const QString path = dir.filePath("print.pdf");
        PrintControl control(nullptr);
        control.setPrinterList([] { return QStringList{QStringLiteral("pdf")}; });
        control.setPrintDialog([&](QPrinter *printer, QWidget *) {
            setUpPdf(printer, path, QPageLayout::Portrait);
            return accepted;
        });
        const QImage picture = emptyPicture ? QImage() : marked(QSize(640, 480));
        QCOMPARE(control.print(picture), accepted && !emptyPicture);
        QCOMPARE(QFile::exists(path), accepted && !emptyPicture);
        QVERIFY(prompts.errors.isEmpty());
        // The page printed to a file is the page the dialog's printer gives, and only it.
        if (accepted && !emptyPicture) {
            QPrinter direct(QPrinter::ScreenResolution);
            setUpPdf(&direct, dir.filePath("direct.pdf"), QPageLayout::Portrait);
            QVERIFY(PrintComposer::paint(&direct, picture));
            QCOMPARE(embeddedImages(path), embeddedImages(dir.filePath("direct.pdf")));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                     (QStringList{"direct.pdf", "print.pdf"}));
        }
    }

    // A page printed to a file that cannot be written leaves no file, or no cut-off one, and
    // says why in the box.
    void printToFileFailureIsSaid_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing folder") << "missing"
                                        << "No such file or directory";
        QTest::newRow("read-only folder") << "readonly"
                                          << "Read-only file system";
        QTest::newRow("full disk") << "full"
                                   << "No space left on device";
    }
    void printToFileFailureIsSaid()
    {
        QFETCH(QString, where);
        QFETCH(QString, cause);
        QTemporaryDir plain;
        std::unique_ptr<SmallFileSystem::Mount> small;
        QString folder = plain.filePath("gone");
        if (where != "missing") {
            if (!SmallFileSystem::available())
                QSKIP("no small file system can be mounted here");
            small = std::make_unique<SmallFileSystem::Mount>(1024 * 1024);
            QVERIFY(small->isMounted());
            folder = small->path();
            // An older page of that name stays as it was.
            QFile older(QDir(folder).filePath("print.pdf"));
            QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older page") == 10);
            older.close();
            QVERIFY(where == "readonly" ? small->makeReadOnly() : small->fillLeaving(4096));
        }
        const QString path = QDir(folder).filePath("print.pdf");
        ScriptedPrompts prompts;
        PrintControl control(nullptr);
        control.setPrinterList([] { return QStringList{QStringLiteral("pdf")}; });
        control.setPrintDialog([&](QPrinter *printer, QWidget *) {
            setUpPdf(printer, path, QPageLayout::Portrait);
            return true;
        });
        // Noise does not compress: the page is far larger than the room left.
        QImage picture(640, 480, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, QRandomGenerator::global()->generate());
        QVERIFY(!control.print(picture));

        QCOMPARE(prompts.errors.size(), 1);
        QCOMPARE(prompts.errors.first().title, QStringLiteral("Error"));
        QCOMPARE(prompts.errors.first().text,
                 QString("The printed page could not be saved as %1: %2").arg(path, cause));
        if (small) {
            QFile older(path);
            QVERIFY(older.open(QIODevice::ReadOnly));
            QCOMPARE(older.readAll(), QByteArray("older page"));
            QCOMPARE(QDir(folder).entryList({"*.pdf*", ".*.part"}, QDir::Files | QDir::Hidden),
                     QStringList{"print.pdf"});
        } else {
            QVERIFY(!QFileInfo::exists(folder));
        }
    }
};

QTEST_MAIN(TestPrintControl)
#include "tst_printcontrol.moc"

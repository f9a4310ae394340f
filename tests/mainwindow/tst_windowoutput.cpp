#include "MainWindowRig.h"
#include "OpenedUrls.h"
#include "ScriptedPrompts.h"
#include "canvas/CanvasMessages.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "mainwindow/CameraStatusDisplay.h"
#include "mainwindow/FileNotice.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PrintControl.h"
#include "widgets/ImageButton.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

// The window's Take snapshot, Record video and Print buttons reach their controls and act on
// the canvas of the current mode.
class TestWindowOutput : public QObject
{
    Q_OBJECT
private slots:
    void init() { Config::resetForTesting(); }

    void snapshotInEveryMode_data()
    {
        QTest::addColumn<WindowMode>("mode");
        QTest::newRow("live") << MODE_LIVE;
        QTest::newRow("film") << MODE_FILM;
        QTest::newRow("photograph") << MODE_PHOTOGRAPH;
        QTest::newRow("drawing board") << MODE_DRAWING_BOARD;
    }
    void snapshotInEveryMode()
    {
        QFETCH(WindowMode, mode);
        QTemporaryDir dir;
        Config::setSnapshotPath(dir.path());
        Config::setSnapshotMode(0);
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, mode));
        ImageCanvas *canvas = w->currentCanvas();
        QImage still(QSize(320, 240), QImage::Format_RGB888);
        still.fill(QColor(30, 160, 90));
        canvas->pipeline()->stillImageCaptured(&still);

        QTest::mouseClick(w->toolButtons().snapshot, Qt::LeftButton);
        if (mode == MODE_LIVE) {
            // The window's camera is unplugged: nothing is armed, the canvas says why.
            QVERIFY(!canvas->pipeline()->isSnapshotArmed());
            QCOMPARE(w->osd(canvas)->messages()->notice(), CameraStatusDisplay::noSnapshotNotice());
            canvas->pipeline()->stillImageCaptured(&still);
            QVERIFY(QDir(dir.path()).isEmpty());
            return;
        }
        QVERIFY(canvas->pipeline()->isSnapshotArmed());
        canvas->pipeline()->stillImageCaptured(&still);
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(files.first().endsWith(".jpg"));
        // The window says where it went: the name, the folder to open, the picture to open.
        FileNotice *notice = w->fileNotice();
        QTRY_VERIFY(notice->isVisible());
        QCOMPARE(notice->text(), "Snapshot saved: " + files.first());
        QVERIFY(notice->thumbnailButton()->isVisible());
        OpenedUrls opened;
        QTest::mouseClick(notice->openFolderButton(), Qt::LeftButton);
        QTest::mouseClick(notice->thumbnailButton(), Qt::LeftButton);
        QCOMPARE(opened.urls,
                 QList<QUrl>({QUrl::fromLocalFile(QDir(dir.path()).absolutePath()),
                              QUrl::fromLocalFile(dir.filePath(files.first()))}));
        // Only the current mode's canvas was asked.
        for (int m = 0; m < WINDOW_MODE_COUNT; ++m)
            if (m != mode)
                QVERIFY(!w->canvas(WindowMode(m))->pipeline()->isSnapshotArmed());
    }

    void continuousSeriesOnTheButton()
    {
        QTemporaryDir dir;
        Config::setSnapshotPath(dir.path());
        Config::setSnapshotMode(1);
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_DRAWING_BOARD)); // the live camera is unplugged
        ImageButton *button = w->toolButtons().snapshot;
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isChecked());
        QVERIFY(w->currentCanvas()->pipeline()->isSnapshotArmed());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->isChecked());
        QVERIFY(!w->currentCanvas()->pipeline()->isSnapshotArmed());
    }

    void recordingWithoutCameraLeavesBothButtonsPlain()
    {
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        auto w = MainWindowRig::makeWindow();
        for (ImageButton *button : {w->toolButtons().record, w->liveRecordingButton()}) {
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(!w->isRecording());
            QVERIFY(!w->toolButtons().record->isChecked());
            QVERIFY(!w->liveRecordingButton()->isChecked());
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void printWithoutPrinterShowsTheBox()
    {
        ScriptedPrompts prompts;
        auto w = MainWindowRig::makeWindow();
        w->printControl()->setPrinterList([] { return QStringList(); });
        QTest::mouseClick(w->toolButtons().print, Qt::LeftButton);
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions.first().parent, static_cast<QWidget *>(w.get()));
        QVERIFY(
            prompts.questions.first().text.startsWith(QStringLiteral("No printers found on this system.")));
    }

    void printsTheCurrentOutputImage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("print.pdf");
        auto w = MainWindowRig::makeWindow();
        QVERIFY(MainWindowRig::selectMode(*w, MODE_PHOTOGRAPH));
        QImage still(QSize(400, 300), QImage::Format_RGB888);
        still.fill(Qt::darkRed);
        w->currentCanvas()->pipeline()->stillImageCaptured(&still);
        w->printControl()->setPrinterList([] { return QStringList{QStringLiteral("pdf")}; });
        QSize page;
        w->printControl()->setPrintDialog([&](QPrinter *printer, QWidget *parent) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(path);
            page = QSize(printer->width(), printer->height());
            return parent != nullptr;
        });
        QTest::mouseClick(w->toolButtons().print, Qt::LeftButton);
        QVERIFY(page.isValid());
        QVERIFY(QFileInfo(path).size() > 0);
    }

    // Settings that cannot be written are said once when the window closes.
    void unsavedSettingsAreSaidAtClose()
    {
        ScriptedPrompts prompts;
        auto w = MainWindowRig::makeWindow();
        w->close();
        QVERIFY(prompts.errors.isEmpty());

        const QString store = Config::storeFile();
        const QString folder = QFileInfo(store).absolutePath();
        QVERIFY(QDir(folder).removeRecursively());
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        auto again = MainWindowRig::makeWindow();
        Config::setFlicker(60);
        again->close();
        QVERIFY(QFile::remove(folder));
        QCOMPARE(prompts.errors.size(), 1);
        QCOMPARE(prompts.errors.first().parent, static_cast<QWidget *>(again.get()));
        QCOMPARE(prompts.errors.first().text,
                 QString("The settings could not be saved in %1: Not a directory").arg(store));
        Config::resetForTesting();
        QVERIFY(QDir().mkpath(folder));
    }
};

QTEST_MAIN(TestWindowOutput)
#include "tst_windowoutput.moc"

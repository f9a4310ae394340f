#include "mainwindow/PrintControl.h"

#include "common/Config.h"
#include "common/Logging.h"
#include "common/OutputFile.h"
#include "common/UserPrompts.h"
#include "mainwindow/PrintComposer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

PrintControl::PrintControl(QWidget *dialogParent, QObject *parent)
    : QObject(parent)
    , m_dialogParent(dialogParent)
    , m_printers([] { return QPrinterInfo::availablePrinterNames(); })
    , m_dialog([](QPrinter *printer, QWidget *parentWidget) {
        QPrintDialog dialog(printer, parentWidget);
        return dialog.exec() == QDialog::Accepted;
    })
{ }

bool PrintControl::print(const QImage &image)
{
    const bool noPrinter = m_printers().isEmpty();
    if (noPrinter) {
        // The main window's message: translated with the main window's other texts. The page
        // can still go into a PDF file, which is what a machine without a print queue offers.
        const QString text = QCoreApplication::translate("MainWindow", "No printers found on this system.")
            + QStringLiteral("\n\n")
            + QCoreApplication::translate("MainWindow", "Print the picture to a PDF file instead?");
        if (UserPrompts::instance()->question(m_dialogParent,
                                              QCoreApplication::translate("MainWindow", "Error"), text,
                                              QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Cancel)
            != QMessageBox::Save)
            return false;
    }
    if (image.isNull()) {
        qCDebug(lcMainWindow) << "no picture to print yet";
        return false;
    }

    QPrinter printer(QPrinter::ScreenResolution);
    if (noPrinter) {
        // The print dialog opens on its file printer, the file named like a snapshot.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(defaultPdfPath());
    }
    if (!m_dialog(&printer, m_dialogParent))
        return false;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return printToFile(printer, image);
    if (!PrintComposer::paint(&printer, image)) {
        qCWarning(lcMainWindow) << "the printer" << printer.printerName() << "did not take the page";
        fail(QCoreApplication::translate("MainWindow", "The picture could not be printed on %1.")
                 .arg(printer.printerName()));
        return false;
    }
    return true;
}

bool PrintControl::printToFile(const QPrinter &printer, const QImage &image)
{
    const QString path = printer.outputFileName();
    // The toolkit's own file printer opens the file before the page is painted and ignores
    // every failed write after that: the page is made here in memory, on the same page.
    QByteArray pdf;
    bool painted = false;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPdfVersion(printer.pdfVersion());
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        painted = PrintComposer::paint(&writer,
                                       printer.colorMode() == QPrinter::GrayScale
                                           ? image.convertToFormat(QImage::Format_Grayscale8)
                                           : image);
    }
    QString error;
    if (!painted)
        error = QCoreApplication::translate("MainWindow", "the page cannot be made");
    else if (!OutputFile::replace(path, pdf, &error))
        qCWarning(lcMainWindow) << "the printed page" << path << "cannot be written:" << error;
    if (!error.isEmpty()) {
        fail(QCoreApplication::translate("MainWindow", "The printed page could not be saved as %1: %2")
                 .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    return true;
}

QString PrintControl::defaultPdfPath()
{
    QString folder = Config::snapshotPath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(QDateTime::currentDateTime().toString("yyyy-MM-dd_hh-mm-ss") + ".pdf");
}

void PrintControl::fail(const QString &text)
{
    UserPrompts::instance()->critical(m_dialogParent, QCoreApplication::translate("MainWindow", "Error"),
                                      text);
}

#pragma once

#include <QImage>
#include <QObject>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

// The Print button: lets the user pick a printer in the toolkit's print dialog and prints the
// picture on one page (PrintComposer); with no printer on the system, into a PDF file.
//
// A page printed to a file is made in memory and written only once it is whole (OutputFile:
// never through a link, never a cut-off file), so a missing or read-only folder or a full disk
// leaves nothing behind and is said in the error box with the system's cause, as is a printer
// that does not take the page.
//
// Threads: GUI thread only.
class PrintControl : public QObject
{
    Q_OBJECT
public:
    // The printers the system offers (their names).
    using PrinterList = std::function<QStringList()>;
    // Runs the print dialog for the printer; true when the user accepted it.
    using PrintDialog = std::function<bool(QPrinter *, QWidget *)>;

    // `dialogParent` parents the dialog and the error box.
    explicit PrintControl(QWidget *dialogParent, QObject *parent = nullptr);

    // Replace the system's printer list and the modal print dialog (tests).
    void setPrinterList(PrinterList list) { m_printers = std::move(list); }
    void setPrintDialog(PrintDialog dialog) { m_dialog = std::move(dialog); }

    // Prints `image`. No printer: the box says so and offers the page as a PDF file, through
    // the print dialog opened on its file printer (defaultPdfPath()); declined, nothing printed. An empty
    // picture prints nothing (there is no picture to scale to the page). Returns whether a page was painted.
    bool print(const QImage &image);

    // Where a page printed to a file goes unless the user says otherwise: the snapshot folder
    // (the home folder when it does not exist), named after the date and time like a snapshot.
    static QString defaultPdfPath();

private:
    // The page as the PDF file the dialog named; false, with the box shown, when it could not
    // be written.
    bool printToFile(const QPrinter &printer, const QImage &image);
    void fail(const QString &text);

    QWidget *m_dialogParent;
    PrinterList m_printers;
    PrintDialog m_dialog;
};

#pragma once

#include <QImage>
#include <QObject>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

// The Print button: checks that the system has a printer, lets the user pick one in the
// toolkit's print dialog and prints the picture on one page (PrintComposer).
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

    // Prints `image`. No printer: the error box, nothing printed. An empty picture prints
    // nothing (there is no picture to scale to the page). Returns whether a page was painted.
    bool print(const QImage &image);

private:
    // The page as the PDF file the dialog named; false, with the box shown, when it could not
    // be written.
    bool printToFile(const QPrinter &printer, const QImage &image);
    void fail(const QString &text);

    QWidget *m_dialogParent;
    PrinterList m_printers;
    PrintDialog m_dialog;
};

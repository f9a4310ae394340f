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
    QWidget *m_dialogParent;
    PrinterList m_printers;
    PrintDialog m_dialog;
};

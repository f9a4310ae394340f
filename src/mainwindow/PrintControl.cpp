#include "mainwindow/PrintControl.h"

#include "common/Logging.h"
#include "common/UserPrompts.h"
#include "mainwindow/PrintComposer.h"

#include <QCoreApplication>
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
    if (m_printers().isEmpty()) {
        // The main window's message: translated with the main window's other texts.
        UserPrompts::instance()->critical(
            m_dialogParent, QCoreApplication::translate("MainWindow", "Error"),
            QCoreApplication::translate("MainWindow", "No printers found on this system."));
        return false;
    }
    if (image.isNull()) {
        qCDebug(lcMainWindow) << "no picture to print yet";
        return false;
    }

    QPrinter printer(QPrinter::ScreenResolution);
    if (!m_dialog(&printer, m_dialogParent))
        return false;
    return PrintComposer::paint(&printer, image);
}

#include "mainwindow/OpenFileDialog.h"

#include <QFileDialog>

OpenFileDialog systemOpenFileDialog()
{
    return [](QWidget *parent, const QString &caption, const QString &folder, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    };
}

#pragma once

#include <QString>

#include <functional>

class QWidget;

// The toolkit's open-file dialog as the film and photograph bars use it: (parent, caption,
// start folder, filter) -> chosen file, empty when cancelled. Tests put in their own answer.
//
// Threads: GUI thread only.
using OpenFileDialog = std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;

// QFileDialog::getOpenFileName.
OpenFileDialog systemOpenFileDialog();

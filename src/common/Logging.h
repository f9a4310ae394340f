#pragma once

#include <QLoggingCategory>

// One category per module for the program's own diagnostics. The fixed debug lines that the
// program has always printed (frame intake, device supervision, ...) keep going to qDebug()
// exactly as written; these categories carry everything else and can be filtered with
// QT_LOGGING_RULES, e.g. "doccam.media.debug=true".
//
// Threads: any thread may log through them.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcCanvas)
Q_DECLARE_LOGGING_CATEGORY(lcSources)
Q_DECLARE_LOGGING_CATEGORY(lcMedia)
Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)
Q_DECLARE_LOGGING_CATEGORY(lcToolWindows)
Q_DECLARE_LOGGING_CATEGORY(lcWidgets)

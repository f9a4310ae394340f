#pragma once

#include <QLoggingCategory>

// One category per module for the program's own diagnostics, and one, doccam.trace, for the
// fixed debug lines the program has always printed (frame intake, device supervision, ...),
// word for word. Only warnings are on unless asked for, so that a normal start prints nothing;
// QT_LOGGING_RULES turns the rest on, e.g. "doccam.trace.debug=true" or "doccam.*.info=true".
//
// Threads: any thread may log through them.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcCanvas)
Q_DECLARE_LOGGING_CATEGORY(lcSources)
Q_DECLARE_LOGGING_CATEGORY(lcMedia)
Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)
Q_DECLARE_LOGGING_CATEGORY(lcToolWindows)
Q_DECLARE_LOGGING_CATEGORY(lcWidgets)
Q_DECLARE_LOGGING_CATEGORY(lcTrace)

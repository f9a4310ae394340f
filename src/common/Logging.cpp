#include "common/Logging.h"

Q_LOGGING_CATEGORY(lcApp, "doccam.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCanvas, "doccam.canvas", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSources, "doccam.sources", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMedia, "doccam.media", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMainWindow, "doccam.mainwindow", QtWarningMsg)
Q_LOGGING_CATEGORY(lcToolWindows, "doccam.toolwindows", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWidgets, "doccam.widgets", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTrace, "doccam.trace", QtWarningMsg)

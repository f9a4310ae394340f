#include "common/Logging.h"

Q_LOGGING_CATEGORY(lcApp, "doccam.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCanvas, "doccam.canvas", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSources, "doccam.sources", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMedia, "doccam.media", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMainWindow, "doccam.mainwindow", QtInfoMsg)
Q_LOGGING_CATEGORY(lcToolWindows, "doccam.toolwindows", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWidgets, "doccam.widgets", QtInfoMsg)

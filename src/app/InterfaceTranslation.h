#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;
class QTranslator;

// Loads the interface translation for `language` from <directory>/VOREN_<language>.qm into
// `translator` and installs it into `app` in every case: "en" opens no file, and a file that
// is missing or unreadable leaves the built-in English. Returns whether a file was loaded.
//
// Threads: the main thread, at start-up.
bool installInterfaceTranslation(QCoreApplication &app, QTranslator &translator, const QString &language,
                                 const QString &directory);

// The interface languages the program has: "en", built in, and those with a VOREN_<language>.qm
// file in `directory`, in character order after it.
QStringList availableLanguages(const QString &directory);

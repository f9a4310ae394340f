#include "app/InterfaceTranslation.h"

#include "common/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

bool installInterfaceTranslation(QCoreApplication &app, QTranslator &translator, const QString &language,
                                 const QString &directory)
{
    bool loaded = false;
    if (language != QLatin1String("en")) {
        loaded = translator.load(QStringLiteral("VOREN_") + language, directory);
        if (!loaded)
            qCInfo(lcApp) << "no translation file for" << language << "in" << directory;
    }
    app.installTranslator(&translator);
    return loaded;
}

QStringList availableLanguages(const QString &directory)
{
    QStringList languages;
    const QString prefix = QStringLiteral("VOREN_");
    const QString suffix = QStringLiteral(".qm");
    for (const QString &name : QDir(directory).entryList({prefix + "*" + suffix}, QDir::Files, QDir::Name)) {
        const QString language = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (!language.isEmpty() && language != QLatin1String("en"))
            languages.append(language);
    }
    languages.prepend(QStringLiteral("en"));
    return languages;
}

#include "app/InterfaceTranslation.h"

#include "common/Logging.h"

#include <QCoreApplication>
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

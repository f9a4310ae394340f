#include "app/DesktopCentring.h"
#include "app/DumpConfig.h"
#include "app/HighDpi.h"
#include "app/InterfaceTranslation.h"
#include "common/Config.h"
#include "mainwindow/MainWindow.h"
#include "sources/media/MediaFramework.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTranslator>

#include <memory>

int main(int argc, char **argv)
{
    enableHighDpi();
    auto app = std::make_unique<QApplication>(argc, argv);
    QApplication::setWindowIcon(QIcon(":/icons/ICON_Orvanix.ICO"));
    DumpConfig();
    // The two names select the settings store; nothing may read a setting before this.
    QCoreApplication::setOrganizationName("Quillmore");
    QCoreApplication::setApplicationName("Document Camera");

    auto translator = std::make_unique<QTranslator>();
    installInterfaceTranslation(*app, *translator, Config::language(),
                                QCoreApplication::applicationDirPath());

    // GStreamer and the program's own grabber element, before the first graph is built.
    MediaFramework::initialize();
    auto window = std::make_unique<MainWindow>();
    window->show();
    // The whole virtual desktop, all screens together.
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    window->move(centredTopLeft(window->geometry().size(), desktop));

    const int exitCode = QApplication::exec();
    window.reset();
    translator.reset();
    app.reset();
    return exitCode;
}

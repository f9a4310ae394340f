#include "app/CommandLine.h"
#include "app/DesktopCentring.h"
#include "app/DumpConfig.h"
#include "app/HighDpi.h"
#include "app/InterfaceTranslation.h"
#include "app/QuitSignals.h"
#include "app/ScanCommand.h"
#include "common/Config.h"
#include "common/Logging.h"
#include "mainwindow/KeptWork.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StartupFiles.h"
#include "sources/media/MediaFramework.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <memory>

namespace {

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char **argv)
{
    // Help, the version and a wrong line are answered before the toolkit looks for a display,
    // so that they work on any terminal.
    // The program's folder as the application object will find it (the languages lie beside it).
    const QString programFolder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (CommandLine::answeredBeforeTheToolkit(argumentList(argc, argv), availableLanguages(programFolder))) {
        QCoreApplication core(argc, argv);
        return CommandLine(CommandLine::withoutToolkitOptions(QCoreApplication::arguments()),
                           availableLanguages(QCoreApplication::applicationDirPath()))
            .answer();
    }

    // A scan to PDF needs no display either: it is a command-line run of its own.
    if (CommandLine::asksForScan(argumentList(argc, argv))) {
        ScanCommand::limitOpenMpThreads(argv);
        QCoreApplication core(argc, argv);
        QCoreApplication::setOrganizationName("Quillmore");
        QCoreApplication::setApplicationName("Document Camera");
        const CommandLine line(QCoreApplication::arguments(),
                               availableLanguages(QCoreApplication::applicationDirPath()));
        if (line.request() != CommandLine::Request::ScanPdf)
            return line.answer();
        return ScanCommand::run(line, line.language().isEmpty() ? Config::language() : line.language());
    }

    enableHighDpi();
    auto app = std::make_unique<QApplication>(argc, argv);
    // The toolkit has taken its own options (-platform, -style, ...) out of the arguments.
    const CommandLine commandLine(QCoreApplication::arguments(),
                                  availableLanguages(QCoreApplication::applicationDirPath()));
    if (commandLine.request() != CommandLine::Request::Run)
        return commandLine.answer();
    // From here a termination signal closes the windows once the event loop runs, however early
    // it comes.
    auto quitSignals = std::make_unique<QuitSignals>();

    QApplication::setWindowIcon(QIcon(":/icons/ICON_Orvanix.ICO"));
    DumpConfig();
    // The two names select the settings store; nothing may read a setting before this.
    QCoreApplication::setOrganizationName("Quillmore");
    QCoreApplication::setApplicationName("Document Camera");
    QCoreApplication::setApplicationVersion(QStringLiteral(DOCCAM_VERSION));

    // A language on the command line holds for this run only; the stored one stays.
    const QString language = commandLine.language().isEmpty() ? Config::language() : commandLine.language();
    qCInfo(lcApp).noquote() << "interface language:" << language;
    auto translator = std::make_unique<QTranslator>();
    installInterfaceTranslation(*app, *translator, language, QCoreApplication::applicationDirPath());

    // GStreamer and the program's own grabber element, before the first graph is built.
    MediaFramework::initialize();
    auto window = std::make_unique<MainWindow>();
    // Shown, the window has its screen and fits that screen's available area.
    window->show();
    if (const QScreen *screen = window->screen())
        window->move(centredTopLeft(window->geometry().size(), screen->availableGeometry()));
    // From the event loop, over the shown window: a box about a file that cannot be opened is
    // then one of the windows a termination signal closes.
    // The toolkit read the arguments as text, which loses a name that is not valid UTF-8: the
    // file is taken by the bytes the system gave (the toolkit has dropped its own options).
    QString file = commandLine.file();
    for (int i = argc - 1; i > 0 && !file.isEmpty(); --i) {
        if (QString::fromLocal8Bit(argv[i]) == file) {
            file = StartupFiles::argumentPath(QByteArray(argv[i]));
            break;
        }
    }
    QTimer::singleShot(0, window.get(), [&window, file] {
        StartupFiles::tellWhatHappenedBefore(*window);
        StartupFiles::open(*window, file);
    });
    // The size, place and maximised state of the last run.
    KeptWork::restorePlacement(*window);

    const int exitCode = QApplication::exec();
    window.reset();
    quitSignals.reset();
    translator.reset();
    app.reset();
    return exitCode;
}

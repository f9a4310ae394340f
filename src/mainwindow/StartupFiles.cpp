#include "mainwindow/StartupFiles.h"

#include "common/Config.h"
#include "common/Logging.h"
#include "common/UnattendedPrompts.h"
#include "common/UserPrompts.h"
#include "mainwindow/MainWindow.h"
#include "sources/film/FilmSource.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/PictureListing.h"
#include "widgets/ImageButton.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QUrl>

#include <sys/stat.h>

#include <unistd.h>

namespace {

QString localPath(const QString &path)
{
    if (path.startsWith(QLatin1String("file:")))
        return QUrl(path).toLocalFile();
    return path;
}

// The bytes of a local path or file: URL, each percent-escaped byte taken as it is.
QByteArray localBytes(const QString &path)
{
    if (path.startsWith(QLatin1String("file://")))
        return QByteArray::fromPercentEncoding(path.mid(7).toUtf8());
    return QFile::encodeName(path);
}

bool spelledByText(const QByteArray &local)
{
    return QFile::encodeName(QFile::decodeName(local)) == local;
}

QString fileUrl(const QByteArray &absolute)
{
    return QStringLiteral("file://") + QString::fromLatin1(absolute.toPercentEncoding("/"));
}

bool isPicture(const QFileInfo &file)
{
    return QMimeDatabase().mimeTypeForFile(file).name().startsWith(QLatin1String("image/"));
}

// A picture the photograph source lists (by its name) whose header can be read: a picture's
// kind and size, not yet its pixels.
bool isShownPicture(const QFileInfo &file)
{
    if (!PhotographSource::listPictures(file.absolutePath()).contains(file.fileName()))
        return false;
    QImageReader reader(file.absoluteFilePath());
    return reader.canRead() && reader.size().isValid();
}

void selectMode(MainWindow &window, WindowMode mode)
{
    window.modeButton(mode)->setChecked(true);
    window.switchMode();
}

} // namespace

QString StartupFiles::problemWith(const QString &path)
{
    const QFileInfo file(localPath(path));
    const QString name = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!file.exists())
        return tr("The file or folder %1 does not exist.").arg(name);
    if (!file.isReadable())
        return tr("%1 cannot be read.").arg(name);
    if (file.isDir()) {
        if (PhotographSource::listPictures(file.absoluteFilePath()).isEmpty())
            return tr("The folder %1 holds no pictures that can be shown (BMP, JPEG, PNG or GIF).").arg(name);
        return QString();
    }
    if (isPicture(file) && !isShownPicture(file))
        return tr("%1 is not a picture that can be shown (BMP, JPEG, PNG or GIF).").arg(name);
    return QString();
}

QString StartupFiles::argumentPath(const QByteArray &argument)
{
    if (spelledByText(argument))
        return QFile::decodeName(argument);
    QByteArray absolute = argument;
    if (!absolute.startsWith('/'))
        absolute = QFile::encodeName(QDir::currentPath()) + '/' + absolute;
    return fileUrl(absolute);
}

void StartupFiles::tellWhatHappenedBefore(MainWindow &window)
{
    for (const QString &message : UnattendedPrompts::takeLeftMessages())
        UserPrompts::instance()->critical(&window, tr("When the program last ended"), message);
    const QString damaged = Config::takeDamagedStore();
    if (!damaged.isEmpty()) {
        UserPrompts::instance()->critical(
            &window, tr("Error"),
            tr("The settings file could not be read: it has been kept aside as %1, and the settings "
               "start afresh.")
                .arg(QDir::toNativeSeparators(damaged)));
    }
}

bool StartupFiles::open(MainWindow &window, const QString &path)
{
    if (path.isEmpty())
        return true;
    const QByteArray local = localBytes(path);
    if (!spelledByText(local))
        return openByBytes(window, local);
    const QString problem = problemWith(path);
    if (!problem.isEmpty()) {
        report(window, problem);
        return false;
    }
    const QFileInfo file(localPath(path));
    if (file.isDir()) {
        const QDir folder(file.absoluteFilePath());
        return openPhotograph(window, folder.path(), PhotographSource::listPictures(folder.path()).first());
    }
    if (isPicture(file))
        return openPhotograph(window, file.absolutePath(), file.fileName());
    // Everything else may be a film: the film source says whether it plays.
    return openFilm(window, file.absoluteFilePath());
}

bool StartupFiles::openFilm(MainWindow &window, const QString &path)
{
    selectMode(window, MODE_FILM);
    FilmSource *film = window.filmSource();
    if (film->open(path)) {
        qCInfo(lcMainWindow) << "started with the film" << path;
        // The film opens beside the window: one that turns out not to play leaves Film mode
        // again; the film bar has said why.
        auto *outcome = new QObject(film);
        QObject::connect(film, &FilmSource::openFailed, outcome, [&window, outcome] {
            selectMode(window, MODE_LIVE);
            outcome->deleteLater();
        });
        QObject::connect(film, &FilmSource::opened, outcome, &QObject::deleteLater);
        return true;
    }
    selectMode(window, MODE_LIVE);
    report(
        window,
        tr("%1 cannot be played: it is not a film, or it is damaged.").arg(QDir::toNativeSeparators(path)));
    return false;
}

bool StartupFiles::openPhotograph(MainWindow &window, const QString &folder, const QString &fileName)
{
    selectMode(window, MODE_PHOTOGRAPH);
    if (window.photographSource()->openPhotograph(folder, fileName)) {
        qCInfo(lcMainWindow) << "started with the pictures of" << folder << "at" << fileName;
        return true;
    }
    selectMode(window, MODE_LIVE);
    report(window,
           tr("%1 is not a picture that can be shown (BMP, JPEG, PNG or GIF).")
               .arg(QDir::toNativeSeparators(QDir(folder).filePath(fileName))));
    return false;
}

bool StartupFiles::openByBytes(MainWindow &window, const QByteArray &local)
{
    const QString shown = QFile::decodeName(local);
    struct stat info = {};
    if (::stat(local.constData(), &info) != 0) {
        report(window, tr("The file or folder %1 does not exist.").arg(shown));
        return false;
    }
    if (::access(local.constData(), R_OK) != 0 || !S_ISREG(info.st_mode)) {
        report(window, tr("%1 cannot be read.").arg(shown));
        return false;
    }
    // The picture list names files as they are shown; its folder is one a text spells.
    const int slash = local.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? local.left(slash) : QByteArray("/");
    const QString name = QString::fromUtf8(local.mid(slash + 1));
    if (spelledByText(folder) && PictureListing::hasPictureSuffix(name))
        return openPhotograph(window, QFile::decodeName(folder), name);
    return openFilm(window, fileUrl(local));
}

void StartupFiles::report(MainWindow &window, const QString &problem)
{
    qCWarning(lcMainWindow) << "nothing opened at start:" << problem;
    UserPrompts::instance()->critical(&window, tr("Error"),
                                      problem + QLatin1String("\n\n")
                                          + tr("The program starts in Live mode instead."));
}

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class MainWindow;

// What the program opens when it is started with a file or folder (a file manager's "Open
// with", or the command line): a film in Film mode; a picture, with the other pictures of its
// folder, or the first picture of a folder in Photograph mode. Anything else, a path that does
// not exist or a file that cannot be played, is told to the user in a box over the window,
// which stays in Live mode.
//
// The types are what the desktop entry and the AppStream file declare: the films GStreamer plays
// here and the pictures the photograph source shows.
//
// Threads: GUI thread only.
class StartupFiles
{
    Q_DECLARE_TR_FUNCTIONS(StartupFiles)

public:
    // Opens `path` (a local path or a file: URL; empty: nothing) in `window`, which is in Live
    // mode. Returns false when it could not, after the user has been told why.
    static bool open(MainWindow &window, const QString &path);
    // The path to open() for a command-line argument as the system gave it: the path itself when
    // its text spells the same bytes, or else a file: URL with each byte of it, so that a name
    // that is not valid UTF-8 is still opened by its own bytes.
    static QString argumentPath(const QByteArray &argument);
    // Says, once, over `window`, what the start found or an earlier run could not say: a damaged
    // settings file kept aside, the boxes of a run ended by a termination signal.
    static void tellWhatHappenedBefore(MainWindow &window);

private:
    // Why `path` cannot be opened before any source has tried, or empty: it does not exist,
    // cannot be read, is a folder without pictures or a picture of a kind that is not shown.
    static QString problemWith(const QString &path);
    static bool openFilm(MainWindow &window, const QString &path);
    static bool openPhotograph(MainWindow &window, const QString &folder, const QString &fileName);
    static void report(MainWindow &window, const QString &problem);
    // A file whose name has bytes no text spells, opened by those bytes.
    static bool openByBytes(MainWindow &window, const QByteArray &local);
};

#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

class QProcessEnvironment;
class QSettings;

// Returns <documents>/Document Camera/<name>, creating the folders on the way. The path is
// returned whether or not the folders could be made.
QString dataFolder(const QString &name);

// The user's persistent settings. One process-wide instance, created on first use, reads every
// key once; getters answer from memory, setters write through to the settings store at once
// (the store flushes on its own schedule and when the instance is destroyed at exit).
//
// Threads: instance creation is guarded by a mutex and may happen on any thread; every getter
// and setter is called on the GUI thread only and takes no lock.
class Config : public QObject
{
    Q_OBJECT
public:
    ~Config() override;

    static int snapshotMode();
    static void setSnapshotMode(int mode);
    static quint64 snapshotInterval();
    static void setSnapshotInterval(quint64 seconds);
    static QString snapshotPath();
    static void setSnapshotPath(const QString &path);
    static QString recordPath();
    static void setRecordPath(const QString &path);
    static QSize resolution();
    static void setResolution(const QSize &size);
    static QSize recordingResolution();
    // The interface language: the one chosen in the settings, or else the desktop's
    // (desktopLanguage()).
    static QString language();
    static void setLanguage(const QString &code);
    // The interface languages, as codes: "en" first, then de, es, fr, ja, ru and zh-tw.
    static const QStringList &interfaceLanguages();
    // The interface language of a desktop whose session has `environment`: the first of
    // LANGUAGE's list (where the locale is not C) and the locale's language (LC_ALL, LC_MESSAGES,
    // LANG) that the program has; "en" when none is.
    static QString desktopLanguage(const QProcessEnvironment &environment);
    static quint64 flicker();
    static void setFlicker(quint64 flicker);
    // The name of the screen the projector window was last shown on; empty until one was.
    static QString projectorScreen();
    static void setProjectorScreen(const QString &name);
    // A key kept for a class that owns its meaning (the pens, the window's place); invalid
    // when the store has none.
    static QVariant value(const QString &key);
    static void setValue(const QString &key, const QVariant &value);

    // Writes every setting to the store now. False, with `error` saying why in the system's
    // words where it can be found, when the store cannot be written (its folder missing,
    // read-only or not a folder): the settings of this run would be lost.
    static bool save(QString *error);
    // The file of the store.
    static QString storeFile();
    // Where a store found damaged at the start of this run was kept aside (`<file>.damaged`;
    // the settings then start afresh); empty when it was not, or once it has been taken, so
    // that it is said once.
    static QString takeDamagedStore();

    // Destroys the instance, flushing the store, so that the next call reads the store again
    // as a new run of the program would. For tests only.
    static void resetForTesting();

private:
    Config();
    static Config *instance();

    QSettings *m_settings = nullptr;
    int m_storeStatusAtStart = 0; // the store's QSettings::Status when it was opened
    QString m_damagedStore;
    int m_snapshotMode = 0;
    quint64 m_snapshotInterval = 0;
    QString m_snapshotPath;
    QString m_recordPath;
    QSize m_resolution{-1, -1};
    QSize m_recordingResolution{-1, -1};
    QString m_language;
    quint64 m_flicker = 0;
    QString m_projectorScreen;
};

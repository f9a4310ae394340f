#include "common/Config.h"

#include "common/OutputFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <memory>
#include <mutex>

namespace {

const char KEY_SNAPSHOT_MODE[] = "snapshotMode";
const char KEY_SNAPSHOT_INTERVAL[] = "snapshotInterval";
const char KEY_SNAPSHOT_PATH[] = "snapshotPath";
const char KEY_RECORD_PATH[] = "recordPath";
const char KEY_RESOLUTION[] = "resolution2";
const char KEY_RECORDING_RESOLUTION[] = "recordingResolution2";
const char KEY_LANGUAGE[] = "language";
const char KEY_FLICKER[] = "flicker";
const char KEY_PROJECTOR_SCREEN[] = "projectorScreen";

// The one instance and the lock that guards its creation. Function-local so that both exist
// before any caller, on whatever thread, asks for the instance. A standard mutex rather than
// QMutex: its locking is visible to ThreadSanitizer, which cannot see inside QtCore.
struct InstanceHolder
{
    std::mutex mutex;
    std::unique_ptr<Config> config;
};

InstanceHolder &holder()
{
    static InstanceHolder h;
    return h;
}

} // namespace

QString dataFolder(const QString &name)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString base = documents + QStringLiteral("/Document Camera");
    // A fresh Linux account may have no documents folder yet: make the whole path, and carry
    // on regardless, as a folder that cannot be made is reported where it is used.
    QDir().mkpath(base);
    QDir(base).mkdir(name);
    return base + QLatin1Char('/') + name;
}

Config::Config()
{
    m_settings = new QSettings(QSettings::NativeFormat, QSettings::UserScope,
                               QCoreApplication::organizationName(), QCoreApplication::applicationName(),
                               this);

    m_storeStatusAtStart = int(m_settings->status());
    m_snapshotMode = m_settings->value(KEY_SNAPSHOT_MODE, 0).toInt();
    m_snapshotInterval = m_settings->value(KEY_SNAPSHOT_INTERVAL, quint64(0)).toULongLong();
    m_snapshotPath = m_settings->value(KEY_SNAPSHOT_PATH, dataFolder(QStringLiteral("images"))).toString();
    m_recordPath = m_settings->value(KEY_RECORD_PATH, dataFolder(QStringLiteral("videos"))).toString();
    m_resolution = m_settings->value(KEY_RESOLUTION, QSize(1280, 720)).toSize();
    m_recordingResolution = m_settings->value(KEY_RECORDING_RESOLUTION, QSize(1280, 720)).toSize();
    m_language = m_settings->value(KEY_LANGUAGE, QStringLiteral("en")).toString();
    m_flicker = m_settings->value(KEY_FLICKER, quint64(0)).toULongLong();
    m_projectorScreen = m_settings->value(KEY_PROJECTOR_SCREEN, QString()).toString();
}

Config::~Config() = default;

Config *Config::instance()
{
    InstanceHolder &h = holder();
    std::lock_guard<std::mutex> lock(h.mutex);
    if (!h.config)
        h.config.reset(new Config);
    return h.config.get();
}

bool Config::save(QString *error)
{
    Config *c = instance();
    QSettings *settings = c->m_settings;
    settings->sync();
    if (settings->status() == QSettings::NoError)
        return true;
    // The store says only that it could not write; a file made beside it finds the system's
    // cause (missing folder, read-only file system, a file where the folder should be).
    const QString store = settings->fileName();
    QString cause;
    // The store makes its folder when it first writes; a folder that can be made is no cause.
    QDir().mkpath(QFileInfo(store).absolutePath());
    const QString probe = OutputFile::createTemporary(store, &cause);
    if (!probe.isEmpty()) {
        QFile::remove(probe);
        // The store keeps the first error it met: one it started with (a program that named
        // no organisation) says nothing of this write, and the folder takes files.
        if (c->m_storeStatusAtStart != QSettings::NoError)
            return true;
        cause = QCoreApplication::translate("Config", "the settings file cannot be written");
    }
    *error = cause;
    return false;
}

QVariant Config::value(const QString &key)
{
    return instance()->m_settings->value(key);
}

void Config::setValue(const QString &key, const QVariant &value)
{
    instance()->m_settings->setValue(key, value);
}

QString Config::storeFile()
{
    return instance()->m_settings->fileName();
}

void Config::resetForTesting()
{
    InstanceHolder &h = holder();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.config.reset();
}

int Config::snapshotMode()
{
    return instance()->m_snapshotMode;
}

void Config::setSnapshotMode(int mode)
{
    Config *c = instance();
    c->m_snapshotMode = mode;
    c->m_settings->setValue(KEY_SNAPSHOT_MODE, mode);
}

quint64 Config::snapshotInterval()
{
    return instance()->m_snapshotInterval;
}

void Config::setSnapshotInterval(quint64 seconds)
{
    Config *c = instance();
    c->m_snapshotInterval = seconds;
    c->m_settings->setValue(KEY_SNAPSHOT_INTERVAL, seconds);
}

QString Config::snapshotPath()
{
    return instance()->m_snapshotPath;
}

void Config::setSnapshotPath(const QString &path)
{
    Config *c = instance();
    c->m_snapshotPath = path;
    c->m_settings->setValue(KEY_SNAPSHOT_PATH, path);
}

QString Config::recordPath()
{
    return instance()->m_recordPath;
}

void Config::setRecordPath(const QString &path)
{
    Config *c = instance();
    c->m_recordPath = path;
    c->m_settings->setValue(KEY_RECORD_PATH, path);
}

QSize Config::resolution()
{
    return instance()->m_resolution;
}

void Config::setResolution(const QSize &size)
{
    Config *c = instance();
    c->m_resolution = size;
    c->m_settings->setValue(KEY_RESOLUTION, size);
}

QSize Config::recordingResolution()
{
    return instance()->m_recordingResolution;
}

QString Config::language()
{
    return instance()->m_language;
}

quint64 Config::flicker()
{
    return instance()->m_flicker;
}

void Config::setFlicker(quint64 flicker)
{
    Config *c = instance();
    c->m_flicker = flicker;
    c->m_settings->setValue(KEY_FLICKER, flicker);
}

QString Config::projectorScreen()
{
    return instance()->m_projectorScreen;
}

void Config::setProjectorScreen(const QString &name)
{
    Config *c = instance();
    c->m_projectorScreen = name;
    c->m_settings->setValue(KEY_PROJECTOR_SCREEN, name);
}

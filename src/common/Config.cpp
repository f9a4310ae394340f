#include "common/Config.h"

#include "common/Logging.h"
#include "common/OutputFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSettings>
#include <QStandardPaths>

#include <memory>
#include <mutex>
#include <utility>

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

namespace {

// Whether the store's file is one it cannot read back (random bytes, say). The store finds
// that only when it next writes: a change undone at once makes it look without writing.
bool storeIsDamaged(QSettings *settings)
{
    const QString probe = QStringLiteral("doccam-probe");
    settings->setValue(probe, true);
    settings->remove(probe);
    settings->sync();
    return settings->status() == QSettings::FormatError;
}

QSettings *openStore(QObject *parent)
{
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                         QCoreApplication::applicationName(), parent);
}

} // namespace

Config::Config()
{
    m_settings = openStore(this);
    // A damaged file would refuse every setting of this run and of all runs after it: it is
    // kept aside for whoever wants to look, and the settings start afresh.
    if (QFileInfo::exists(m_settings->fileName()) && storeIsDamaged(m_settings)) {
        const QString store = m_settings->fileName();
        delete m_settings;
        m_damagedStore = store + QStringLiteral(".damaged");
        QFile::remove(m_damagedStore);
        if (!QFile::rename(store, m_damagedStore))
            QFile::remove(store);
        qCWarning(lcApp) << "the settings file" << store << "is damaged; kept aside as" << m_damagedStore;
        m_settings = openStore(this);
    }

    m_storeStatusAtStart = int(m_settings->status());
    m_snapshotMode = m_settings->value(KEY_SNAPSHOT_MODE, 0).toInt();
    m_snapshotInterval = m_settings->value(KEY_SNAPSHOT_INTERVAL, quint64(0)).toULongLong();
    m_snapshotPath = m_settings->value(KEY_SNAPSHOT_PATH, dataFolder(QStringLiteral("images"))).toString();
    m_recordPath = m_settings->value(KEY_RECORD_PATH, dataFolder(QStringLiteral("videos"))).toString();
    m_resolution = m_settings->value(KEY_RESOLUTION, QSize(1280, 720)).toSize();
    m_recordingResolution = m_settings->value(KEY_RECORDING_RESOLUTION, QSize(1280, 720)).toSize();
    m_language = m_settings->value(KEY_LANGUAGE).toString();
    if (m_language.isEmpty())
        m_language = desktopLanguage(QProcessEnvironment::systemEnvironment());
    m_flicker = m_settings->value(KEY_FLICKER, quint64(0)).toULongLong();
    m_projectorScreen = m_settings->value(KEY_PROJECTOR_SCREEN, QString()).toString();
    if (!m_damagedStore.isEmpty()) {
        // The fresh file is there at once, whether or not anything changes in this run.
        m_settings->setValue(KEY_SNAPSHOT_MODE, m_snapshotMode);
        m_settings->setValue(KEY_SNAPSHOT_INTERVAL, m_snapshotInterval);
        m_settings->setValue(KEY_SNAPSHOT_PATH, m_snapshotPath);
        m_settings->setValue(KEY_RECORD_PATH, m_recordPath);
        m_settings->setValue(KEY_RESOLUTION, m_resolution);
        m_settings->setValue(KEY_RECORDING_RESOLUTION, m_recordingResolution);
        m_settings->setValue(KEY_LANGUAGE, m_language);
        m_settings->setValue(KEY_FLICKER, m_flicker);
        m_settings->sync();
    }
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

QString Config::takeDamagedStore()
{
    Config *c = instance();
    return std::exchange(c->m_damagedStore, QString());
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

void Config::setLanguage(const QString &code)
{
    Config *c = instance();
    c->m_language = code;
    c->m_settings->setValue(KEY_LANGUAGE, code);
}

const QStringList &Config::interfaceLanguages()
{
    static const QStringList codes = {"en", "de", "es", "fr", "ja", "ru", "zh-tw"};
    return codes;
}

QString Config::desktopLanguage(const QProcessEnvironment &environment)
{
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment.value(QLatin1String(name));
        if (!locale.isEmpty())
            break;
    }
    // As gettext does: a C locale takes no language list.
    const QString base = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (base.isEmpty() || base == QLatin1String("C") || base == QLatin1String("POSIX"))
        return QStringLiteral("en");
    QStringList candidates =
        environment.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    candidates << locale;
    for (const QString &candidate : candidates) {
        const QString name =
            candidate.section(QLatin1Char('.'), 0, 0).toLower().replace(QLatin1Char('-'), QLatin1Char('_'));
        const QString language = name.section(QLatin1Char('_'), 0, 0);
        const QString rest = name.section(QLatin1Char('_'), 1);
        if (language == QLatin1String("zh")) {
            // Traditional Chinese only: Taiwan, Hong Kong, Macau or the script named.
            if (rest.startsWith(QLatin1String("tw")) || rest.startsWith(QLatin1String("hk"))
                || rest.startsWith(QLatin1String("mo")) || name.contains(QLatin1String("hant")))
                return QStringLiteral("zh-tw");
            continue;
        }
        if (interfaceLanguages().contains(language))
            return language;
    }
    return QStringLiteral("en");
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

// The file or folder the program is started with: the mode it opens in, what the film and
// photograph sources show, the box for what cannot be opened, and the types the desktop entry and
// the AppStream file declare, each of which is played or shown for real.
#include "MainWindowRig.h"
#include "ScriptedPrompts.h"
#include "TestPictures.h"
#include "common/Config.h"
#include "common/UnattendedPrompts.h"
#include "mainwindow/FilmBarControl.h"
#include "mainwindow/StartupFiles.h"
#include "sources/film/FilmSource.h"
#include "sources/photograph/PhotographSource.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>
#include <QtTest>

#include <cerrno>
#include <unistd.h>

namespace {

// A second of moving test picture in `path`, made by ffmpeg with the given codec arguments.
bool makeFilm(const QString &path, const QStringList &codec, QString *error)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start("ffmpeg",
                 QStringList{"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                             "testsrc=size=176x144:rate=25:duration=1"}
                     + codec + QStringList{path});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        *error = QString::fromLocal8Bit(ffmpeg.readAll());
        return false;
    }
    return true;
}

// One file of each declared type: a film made by ffmpeg with a codec GStreamer decodes here...
struct FilmCase
{
    QString type;
    QString name;
    QStringList codec;
};
const QVector<FilmCase> &filmCases()
{
    static const QVector<FilmCase> cases = {
        {"video/x-msvideo", "film.avi", {"-c:v", "mjpeg"}},
        {"video/x-ms-wmv", "film.wmv", {"-c:v", "wmv2"}},
        {"video/mp4", "film.mp4", {"-c:v", "mpeg4"}},
        {"video/quicktime", "film.mov", {"-c:v", "mpeg4"}},
        {"video/x-matroska", "film.mkv", {"-c:v", "mpeg4"}},
        {"video/webm", "film.webm", {"-c:v", "libvpx"}},
        {"video/ogg", "film.ogv", {"-c:v", "libtheora"}},
        {"video/mpeg", "film.mpg", {"-c:v", "mpeg2video", "-f", "mpeg"}},
        {"video/x-flv", "film.flv", {"-c:v", "flv1"}},
        {"video/3gpp", "film.3gp", {"-c:v", "h263"}},
    };
    return cases;
}

// ... and a picture written by the test pictures' writer.
struct PictureCase
{
    QString type;
    QString name;
};
const QVector<PictureCase> &pictureCases()
{
    static const QVector<PictureCase> cases = {
        {"image/bmp", "picture.bmp"},
        {"image/jpeg", "picture.jpeg"},
        {"image/png", "picture.png"},
        {"image/gif", "picture.gif"},
    };
    return cases;
}

QSet<QString> declaredTypes()
{
    QSet<QString> types;
    for (const QString &t : FilmSource::mimeTypes() + PhotographSource::mimeTypes())
        types.insert(t);
    return types;
}

} // namespace

class TestStartupFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_startFolder;

    QString fixture(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    std::unique_ptr<MainWindow> window()
    {
        auto w = MainWindowRig::makeWindow();
        w->filmSource()->setAudioOutput("fakesink");
        return w;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_startFolder = QDir::currentPath();
        QString error;
        QVERIFY2(makeFilm(fixture("film.avi"), {"-c:v", "mjpeg"}, &error), qPrintable(error));
        QVERIFY(QDir().mkpath(fixture("pictures")));
        for (const char *name : {"a.png", "b.jpg", "c.bmp"})
            QVERIFY(TestPictures::write(fixture("pictures/") + name, QSize(64, 48)));
        QVERIFY(QDir().mkpath(fixture("no pictures")));
        QVERIFY(TestPictures::writeBytes(fixture("no pictures/notes.txt"), "not a picture"));
        QVERIFY(TestPictures::writeBytes(fixture("notes.txt"), "not a film either"));
        QVERIFY(QDir().mkpath(fixture("broken")));
        QVERIFY(TestPictures::writeBytes(fixture("broken/broken.png"), "\x89PNG\r\n\x1a\n not the rest"));
        QVERIFY(TestPictures::write(fixture("broken/good.png"), QSize(8, 8)));
        QVERIFY(QImage(16, 16, QImage::Format_RGB32).save(fixture("picture.ppm")));
        QByteArray garbage(200000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919) >> 3);
        QVERIFY(TestPictures::writeBytes(fixture("damaged.avi"), "RIFF" + garbage));
    }

    void cleanup() { QDir::setCurrent(m_startFolder); }

    void opensInItsMode_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<WindowMode>("mode");
        QTest::addColumn<int>("shown");     // the photograph shown, or -1
        QTest::addColumn<QString>("error"); // what the box says, empty: no box
        QTest::newRow("nothing") << QString() << MODE_LIVE << -1 << QString();
        QTest::newRow("film") << "film.avi" << MODE_FILM << -1 << QString();
        QTest::newRow("film as a file URL") << "url:film.avi" << MODE_FILM << -1 << QString();
        QTest::newRow("film, relative to the working folder")
            << "relative:film.avi" << MODE_FILM << -1 << QString();
        QTest::newRow("picture, shown first") << "pictures/b.jpg" << MODE_PHOTOGRAPH << 1 << QString();
        QTest::newRow("folder") << "pictures" << MODE_PHOTOGRAPH << 0 << QString();
        QTest::newRow("folder with a trailing slash") << "pictures/" << MODE_PHOTOGRAPH << 0 << QString();
        // Names that are not valid UTF-8, as a command line gives them: taken by their bytes.
        QTest::newRow("film named in bytes") << "bytes:film.avi" << MODE_FILM << -1 << QString();
        QTest::newRow("picture named in bytes")
            << "bytes:pictures/b.jpg" << MODE_PHOTOGRAPH << -1 << QString();
        QTest::newRow("missing, named in bytes") << "bytes:gone.avi" << MODE_LIVE << -1 << "does not exist";
        QTest::newRow("missing") << "gone.avi" << MODE_LIVE << -1 << "does not exist";
        QTest::newRow("folder without pictures") << "no pictures" << MODE_LIVE << -1 << "holds no pictures";
        QTest::newRow("damaged picture") << "broken/broken.png" << MODE_LIVE << -1 << "is not a picture";
        QTest::newRow("picture of a kind not shown")
            << "picture.ppm" << MODE_LIVE << -1 << "is not a picture";
        QTest::newRow("text") << "notes.txt" << MODE_LIVE << -1 << "cannot be played";
        QTest::newRow("damaged film") << "damaged.avi" << MODE_LIVE << -1 << "cannot be played";
    }
    void opensInItsMode()
    {
        QFETCH(QString, path);
        QFETCH(WindowMode, mode);
        QFETCH(int, shown);
        QFETCH(QString, error);
        QString given;
        QString named; // the path as the box names it
        if (path.startsWith("url:")) {
            given = QUrl::fromLocalFile(fixture(path.mid(4))).toString();
        } else if (path.startsWith("bytes:")) {
            // A copy whose name ends in a byte that is no UTF-8, given as the system gives it.
            const QString original = fixture(path.mid(6));
            QVERIFY(QDir().mkpath(fixture("named in bytes")));
            QByteArray raw = QFile::encodeName(fixture("named in bytes/" + QFileInfo(original).fileName()));
            raw.insert(raw.lastIndexOf('.'), '\xe9');
            if (QFile::exists(original))
                QVERIFY(::link(QFile::encodeName(original).constData(), raw.constData()) == 0
                        || errno == EEXIST);
            given = StartupFiles::argumentPath(raw);
            named = QFile::decodeName(raw);
        } else if (path.startsWith("relative:")) {
            QDir::setCurrent(m_dir.path());
            given = path.mid(9);
        } else if (!path.isEmpty()) {
            given = fixture(path);
        }
        ScriptedPrompts prompts;
        auto w = window();
        const bool accepted = StartupFiles::open(*w, given);
        // A film opens beside the window; what becomes of it comes later.
        QTRY_VERIFY_WITH_TIMEOUT(!w->filmSource()->isOpening(), 20000);
        const bool filmFailure = error == "cannot be played";
        if (filmFailure && accepted) {
            // Found out only once opening: the film bar's box says why.
            QTRY_COMPARE(w->currentMode(), mode);
            QCOMPARE(prompts.errors.size(), 1);
            QVERIFY2(prompts.errors.first().text.contains(QFileInfo(given).fileName()),
                     qPrintable(prompts.errors.first().text));
            QVERIFY(!w->filmSource()->isLoaded());
            return;
        }
        QCOMPARE(accepted, error.isEmpty());
        QCOMPARE(w->currentMode(), mode);
        QCOMPARE(w->filmSource()->isLoaded(), mode == MODE_FILM);
        QCOMPARE(w->photographSource()->isLoaded(), mode == MODE_PHOTOGRAPH);
        if (shown >= 0) {
            QCOMPARE(w->photographSource()->count(), 3);
            QCOMPARE(w->photographSource()->currentIndex(), shown);
        }
        if (error.isEmpty()) {
            QCOMPARE(prompts.errors.size(), 0);
            return;
        }
        QCOMPARE(prompts.errors.size(), 1);
        const ScriptedPrompts::Asked &box = prompts.errors.first();
        QCOMPARE(box.parent, w.get());
        QCOMPARE(box.title, QString("Error"));
        // The path the user gave, what is wrong with it, and what happens instead.
        if (named.isEmpty())
            named = QDir::toNativeSeparators(QFileInfo(given).absoluteFilePath());
        QVERIFY2(box.text.contains(named), qPrintable(box.text));
        QVERIFY2(box.text.contains(error), qPrintable(box.text));
        QVERIFY2(box.text.endsWith("The program starts in Live mode instead."), qPrintable(box.text));
    }

    // What the start found, or a run ended by a signal could not say, is said once.
    void saysWhatHappenedBefore()
    {
        // The store the program names.
        QCoreApplication::setOrganizationName("Quillmore");
        QCoreApplication::setApplicationName("Document Camera");
        Config::resetForTesting();
        const QString store = Config::storeFile();
        Config::resetForTesting();
        QVERIFY(QDir().mkpath(QFileInfo(store).absolutePath()));
        {
            QFile file(store);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QByteArray noise(4000, '\0');
            quint32 x = 12345;
            for (char &c : noise) {
                x = x * 1103515245u + 12345u;
                c = char(x >> 16);
            }
            QVERIFY(file.write(noise) == noise.size());
        }
        UnattendedPrompts().critical(nullptr, "Error", "The settings could not be saved");
        ScriptedPrompts prompts;
        auto w = window();
        StartupFiles::tellWhatHappenedBefore(*w);
        QCOMPARE(prompts.errors.size(), 2);
        QCOMPARE(prompts.errors[0].text, QString("The settings could not be saved"));
        QVERIFY2(prompts.errors[1].text.contains(store + ".damaged"), qPrintable(prompts.errors[1].text));
        StartupFiles::tellWhatHappenedBefore(*w);
        QCOMPARE(prompts.errors.size(), 2);
        QFile::remove(store + ".damaged");
        QFile::remove(store);
        Config::resetForTesting();
    }

    void desktopEntryDeclaresTheTypes()
    {
        QFile file(QString(DOCCAM_SOURCE_DIR) + "/packaging/document-camera.desktop");
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QString exec;
        QSet<QString> types;
        for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
            if (line.startsWith("Exec="))
                exec = line.mid(5);
            if (line.startsWith("MimeType=")) {
                for (const QString &t : line.mid(9).split(';', Qt::SkipEmptyParts))
                    types.insert(t);
            }
        }
        // One local file or folder per start: what the program takes.
        QCOMPARE(exec, QString("document-camera %f"));
        QCOMPARE(types, declaredTypes());
    }

    void appStreamListsTheTypes()
    {
        QFile file(QString(DOCCAM_SOURCE_DIR) + "/packaging/com.quillmore.DocumentCamera.metainfo.xml.in");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QSet<QString> types;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("mediatype"))
                types.insert(xml.readElementText());
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(types, declaredTypes());
    }

    void declaredTypesAreTheDesktopsNames()
    {
        // The names the desktop's MIME database gives files: an alias would never match.
        QMimeDatabase db;
        for (const QString &type : declaredTypes()) {
            const QMimeType known = db.mimeTypeForName(type);
            QVERIFY2(known.isValid(), qPrintable(type));
            QCOMPARE(known.name(), type);
        }
    }

    void everyDeclaredFilmTypePlays_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("codec");
        for (const FilmCase &c : filmCases())
            QTest::newRow(qPrintable(c.type)) << c.type << c.name << c.codec;
    }
    void everyDeclaredFilmTypePlays()
    {
        QFETCH(QString, type);
        QFETCH(QString, name);
        QFETCH(QStringList, codec);
        const QString path = fixture("types/" + name);
        QVERIFY(QDir().mkpath(fixture("types")));
        QString error;
        QVERIFY2(makeFilm(path, codec, &error), qPrintable(error));
        QCOMPARE(QMimeDatabase().mimeTypeForFile(path).name(), type);
        // Film > Open offers it under its own type and among all films, after AVI and WMV.
        const QStringList filters = FilmBarControl::fileFilter().split(";;");
        QCOMPARE(filters.mid(0, 2), (QStringList{"AVI Files (*.avi)", "WMV Files (*.wmv)"}));
        QStringList offeredBy;
        for (const QString &filter : filters) {
            const QString globs = filter.section('(', -1).chopped(1);
            if (QDir::match(globs.split(' '), name))
                offeredBy << filter;
        }
        QCOMPARE(offeredBy.size(), 2);
        QCOMPARE(offeredBy.last(), filters.last());
        ScriptedPrompts prompts;
        auto w = window();
        QVERIFY(StartupFiles::open(*w, path));
        QTRY_VERIFY_WITH_TIMEOUT(w->filmSource()->isLoaded(), 20000);
        QCOMPARE(w->currentMode(), MODE_FILM);
        QVERIFY(w->filmSource()->duration() > 0);
        QCOMPARE(prompts.errors.size(), 0);
    }

    void everyDeclaredPictureTypeShows_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        for (const PictureCase &c : pictureCases())
            QTest::newRow(qPrintable(c.type)) << c.type << c.name;
    }
    void everyDeclaredPictureTypeShows()
    {
        QFETCH(QString, type);
        QFETCH(QString, name);
        const QString folder = fixture("picture types/" + type.section('/', 1));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(TestPictures::write(folder + "/" + name, QSize(32, 24)));
        QCOMPARE(QMimeDatabase().mimeTypeForFile(folder + "/" + name).name(), type);
        ScriptedPrompts prompts;
        auto w = window();
        QVERIFY(StartupFiles::open(*w, folder + "/" + name));
        QCOMPARE(w->currentMode(), MODE_PHOTOGRAPH);
        QCOMPARE(w->photographSource()->count(), 1);
        QCOMPARE(prompts.errors.size(), 0);
    }

    void everyDeclaredTypeIsTried()
    {
        QSet<QString> tried;
        for (const FilmCase &c : filmCases())
            tried.insert(c.type);
        for (const PictureCase &c : pictureCases())
            tried.insert(c.type);
        QCOMPARE(tried, declaredTypes());
    }
};

QTEST_MAIN(TestStartupFiles)
#include "tst_startupfiles.moc"

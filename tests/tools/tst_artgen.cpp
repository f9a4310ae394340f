// The artwork generator as the build runs it: bad manifests stop the build with the line at
// fault, good ones give the same pictures on every run.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kTool = QStringLiteral(DOCCAM_BINARY_DIR "/tools/doccam_artgen");
const QString kManifest = QStringLiteral(DOCCAM_SOURCE_DIR "/resources/artwork/manifest.txt");

struct Run
{
    int exitCode = -1;
    QString errors;
};

Run runTool(const QString &manifest, const QString &outDir)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(env);
    tool.start(kTool,
               {"--manifest", manifest, "--out", outDir + "/art", "--qrc", outDir + "/art/icons.qrc",
                "--sheet", outDir + "/sheet.png"});
    if (!tool.waitForFinished(60000))
        return Run();
    return Run{tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
               QString::fromUtf8(tool.readAllStandardError())};
}

// The real manifest's settings (fonts, glyph list, colours) followed by the given lines.
QString writeManifest(const QTemporaryDir &dir, const QStringList &lines)
{
    QFile real(kManifest);
    if (!real.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QStringList text;
    for (const QString &line : QString::fromUtf8(real.readAll()).split('\n')) {
        if (line.startsWith("font ") || line.startsWith("codepoints ") || line.startsWith("colour ")
            || line.startsWith("set "))
            text << line;
    }
    text << lines;
    const QString name = dir.filePath("manifest.txt");
    QFile out(name);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return QString();
    out.write(text.join('\n').toUtf8() + '\n');
    return name;
}

QMap<QString, QByteArray> filesBelow(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(f.fileName()), f.readAll());
    }
    return files;
}

} // namespace

class TestArtgen : public QObject
{
    Q_OBJECT
private slots:
    void badManifestStopsTheBuild_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown glyph") << "button X 20x20 glyph=no_such_glyph"
                                       << "no_such_glyph";
        QTest::newRow("misspelt parameter") << "button X 20x20 glyf=close"
                                            << "glyf";
        QTest::newRow("unknown kind") << "picture OSD/X.png 20x20 sparkle"
                                      << "sparkle";
        QTest::newRow("bad size") << "button X 20by20"
                                  << "20by20";
        QTest::newRow("unknown colour") << "button X 20x20 swatch=mauve"
                                        << "mauve";
        QTest::newRow("not a number") << "button X 20x20 glyph=close size=big"
                                      << "big";
        QTest::newRow("absent picture drawn") << "absent OSD/OSD_MASK_.png\n"
                                                 "picture OSD/OSD_MASK_.png 40x40 osd"
                                              << "OSD_MASK_";
        QTest::newRow("listed twice") << "button X 20x20\nbutton X 20x20"
                                      << "twice";
        QTest::newRow("alias of nothing") << "alias OSD/A.png OSD/B.png"
                                          << "OSD/B.png";
        QTest::newRow("unknown directive") << "draw X"
                                           << "draw";
    }
    void badManifestStopsTheBuild()
    {
        QFETCH(QString, line);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString manifest = writeManifest(dir, line.split('\n'));
        QVERIFY(!manifest.isEmpty());
        const Run run = runTool(manifest, dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
        // The message names the manifest and a line number.
        QVERIFY2(run.errors.contains(QRegularExpression("manifest\\.txt:\\d+: ")), qPrintable(run.errors));
        QVERIFY(!QFile::exists(dir.filePath("art/icons.qrc")));
    }

    void sameManifestSamePictures()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        QVERIFY(first.isValid() && second.isValid());
        QCOMPARE(runTool(kManifest, first.path()).exitCode, 0);
        QCOMPARE(runTool(kManifest, second.path()).exitCode, 0);
        const auto a = filesBelow(first.path());
        const auto b = filesBelow(second.path());
        QVERIFY(a.size() > 300);
        QCOMPARE(a.keys(), b.keys());
        for (auto it = a.cbegin(); it != a.cend(); ++it)
            QVERIFY2(it.value() == b.value(it.key()), qPrintable(it.key() + " differs"));
    }

    void iconFileHoldsEachSize()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString manifest = writeManifest(dir, {"icon A.ICO 16,24,64,256 mark"});
        QCOMPARE(runTool(manifest, dir.path()).exitCode, 0);
        QImageReader reader(dir.filePath("art/A.ICO"));
        QCOMPARE(reader.imageCount(), 4);
        QList<int> sizes;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage img = reader.read();
            QVERIFY(!img.isNull());
            sizes << img.width();
        }
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, QList<int>({16, 24, 64, 256}));
    }
};

QTEST_GUILESS_MAIN(TestArtgen)
#include "tst_artgen.moc"

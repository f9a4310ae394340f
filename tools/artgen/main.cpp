// artgen: draws the program's artwork from one manifest at build time. It writes every picture
// below --out, each also at twice its size for dense screens ("X@2x.png"), the resource list
// (--qrc) that compiles them into the program under :/icons, and a labelled contact sheet
// (--sheet, 1x). Any unknown glyph, kind, parameter or colour fails the build with the manifest
// line that caused it.
#include "ButtonArt.h"
#include "ContactSheet.h"
#include "IcoWriter.h"
#include "Manifest.h"
#include "PlateArt.h"
#include "SheetPreview.h"
#include "Skin.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "artgen: " << message << '\n';
    return 1;
}

bool writeFile(const QString &fileName, const QByteArray &data, QString *error)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// Every picture is also drawn at twice its size for screens of twice the pixel density, under
// the toolkit's name for it ("X@2x.png" beside "X.png"), which QIcon and style sheets pick on
// such screens by themselves and the program's picture widgets load too. Scales between 1 and 2
// (150 %) show the 2x picture reduced: the toolkit looks for whole factors only, and a reduced
// picture stays sharper than an enlarged one.
constexpr int kHighDensity = 2;

QString highDensityPath(const QString &path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return path.left(dot) + QStringLiteral("@%1x").arg(kHighDensity) + path.mid(dot);
}

// Draws a picture of the manifest at a scale from its vector description: shapes, glyphs and
// text are scaled by the painter, so a 2x picture has the detail of its size.
bool render(const ButtonArt &buttons, const PlateArt &plates, const PictureSpec &picture, int scale,
            QImage *image, QString *error)
{
    QImage img(picture.size * scale, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(scale);
    img.fill(Qt::transparent);
    const bool ok = picture.kind == QLatin1String("button") ? buttons.draw(picture, img, error)
                                                            : plates.draw(picture, img, error);
    if (!ok)
        return false;
    // Written without the ratio: a reader takes it from the file name.
    img.setDevicePixelRatio(1);
    *image = img.convertToFormat(QImage::Format_ARGB32);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the artwork of the resource tree."));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("manifest"), QStringLiteral("The artwork manifest."), QStringLiteral("file")});
    parser.addOption(
        {QStringLiteral("out"), QStringLiteral("Folder for the pictures."), QStringLiteral("dir")});
    parser.addOption(
        {QStringLiteral("qrc"), QStringLiteral("Resource list to write."), QStringLiteral("file")});
    parser.addOption(
        {QStringLiteral("sheet"), QStringLiteral("Contact sheet to write."), QStringLiteral("file")});
    // Desktop environments take the application icon as one PNG per size, not as an icon
    // container; each image of an icon is also written as <dir>/<N>x<N>/<name>.png.
    parser.addOption({QStringLiteral("icon-pngs"),
                      QStringLiteral("Folder for the single-size PNGs of every icon."),
                      QStringLiteral("dir")});
    parser.process(app);
    for (const char *required : {"manifest", "out", "qrc", "sheet"}) {
        if (parser.value(QLatin1String(required)).isEmpty())
            return fail(QStringLiteral("--%1 is required").arg(QLatin1String(required)));
    }
    const QString manifestFile = parser.value(QStringLiteral("manifest"));
    const QDir out(QFileInfo(parser.value(QStringLiteral("out"))).absoluteFilePath());
    const QString iconPngDir = parser.value(QStringLiteral("icon-pngs"));

    Manifest manifest;
    QString error;
    if (!manifest.load(manifestFile, &error))
        return fail(error);
    Skin skin;
    if (!skin.load(manifest, &error))
        return fail(QStringLiteral("%1: %2").arg(manifestFile, error));
    const ButtonArt buttons(skin);
    const PlateArt plates(skin);
    ContactSheet sheet(skin.font(12));

    // Files are listed relative to the resource list, so the list is the same wherever the
    // build tree lies.
    const QDir qrcDir = QFileInfo(parser.value(QStringLiteral("qrc"))).absoluteDir();
    QString qrc = QStringLiteral("<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/icons\">\n");
    QHash<QString, QString> files; // resource path -> file written for it
    QHash<QString, QImage> drawn;  // resource path -> picture, for aliases on the sheet
    QSet<QString> withDense;       // resource paths that have a 2x partner
    QString section;
    QVector<QImage> states; // the state pictures of the button being drawn
    for (const PictureSpec &picture : manifest.pictures()) {
        auto where = [&](const QString &message) {
            return QStringLiteral("%1:%2: %3: %4")
                .arg(manifestFile)
                .arg(picture.line)
                .arg(picture.path, message);
        };
        if (picture.section != section) {
            section = picture.section;
            sheet.section(section);
        }
        QString fileName = out.filePath(picture.path);
        if (!picture.aliasOf.isEmpty()) {
            fileName = files.value(picture.aliasOf);
            sheet.add(QStringLiteral("%1 = %2").arg(picture.path, picture.aliasOf),
                      {drawn.value(picture.aliasOf)});
            drawn.insert(picture.path, drawn.value(picture.aliasOf));
        } else if (!picture.icoSizes.isEmpty()) {
            QVector<QImage> images;
            for (int px : picture.icoSizes) {
                QImage img(px, px, QImage::Format_ARGB32_Premultiplied);
                img.fill(Qt::transparent);
                QString drawError;
                if (!plates.draw(picture, img, &drawError))
                    return fail(where(drawError));
                images << img.convertToFormat(QImage::Format_ARGB32);
            }
            if (!writeFile(fileName, IcoWriter::encode(images), &error))
                return fail(error);
            if (!iconPngDir.isEmpty()) {
                const QString stem = QFileInfo(picture.path).completeBaseName();
                for (const QImage &image : images) {
                    const QString sizeDir = QStringLiteral("%1x%1").arg(image.width());
                    if (!writeFile(QDir(iconPngDir)
                                       .filePath(sizeDir + QLatin1Char('/') + stem + QStringLiteral(".png")),
                                   png(image), &error))
                        return fail(error);
                }
            }
            QStringList sizes;
            for (int px : picture.icoSizes)
                sizes << QString::number(px);
            sheet.add(QStringLiteral("%1 (%2 px)").arg(picture.path, sizes.join(QStringLiteral(", "))),
                      images);
            drawn.insert(picture.path, images.last());
        } else {
            QImage img;
            QImage dense;
            QString drawError;
            if (!render(buttons, plates, picture, 1, &img, &drawError)
                || !render(buttons, plates, picture, kHighDensity, &dense, &drawError))
                return fail(where(drawError));
            if (!writeFile(fileName, png(img), &error)
                || !writeFile(highDensityPath(fileName), png(dense), &error))
                return fail(error);
            drawn.insert(picture.path, img);
            if (picture.kind == QLatin1String("button")) {
                states << img;
                if (picture.state == QLatin1String("click")) {
                    sheet.add(QStringLiteral("%1 %2x%3")
                                  .arg(picture.name)
                                  .arg(picture.size.width())
                                  .arg(picture.size.height()),
                              states);
                    states.clear();
                }
            } else {
                sheet.add(QStringLiteral("%1 %2x%3")
                              .arg(picture.path)
                              .arg(picture.size.width())
                              .arg(picture.size.height()),
                          {img});
            }
        }
        files.insert(picture.path, fileName);
        auto listFile = [&](const QString &path, const QString &file) {
            qrc += QStringLiteral("  <file alias=\"%1\">%2</file>\n")
                       .arg(xmlEscaped(path), xmlEscaped(qrcDir.relativeFilePath(file)));
        };
        listFile(picture.path, fileName);
        // An icon file holds its sizes itself; an alias shares its picture's 2x partner too.
        const bool dense = picture.aliasOf.isEmpty() ? picture.icoSizes.isEmpty()
                                                     : withDense.contains(picture.aliasOf);
        if (dense) {
            withDense.insert(picture.path);
            listFile(highDensityPath(picture.path), highDensityPath(fileName));
        }
    }
    qrc += QStringLiteral("</qresource>\n</RCC>\n");

    sheet.section(QStringLiteral("As the program shows them"));
    for (const auto &preview : SheetPreview(skin, drawn).compose())
        sheet.add(preview.first, {preview.second});

    if (!writeFile(parser.value(QStringLiteral("sheet")), png(sheet.render()), &error))
        return fail(error);
    if (!writeFile(parser.value(QStringLiteral("qrc")), qrc.toUtf8(), &error))
        return fail(error);
    return 0;
}

// artgen: draws the program's artwork from one manifest at build time. It writes every picture
// below --out, the resource list (--qrc) that compiles them into the program under :/icons,
// and a labelled contact sheet (--sheet). Any unknown glyph, kind, parameter or colour fails
// the build with the manifest line that caused it.
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
            QImage img(picture.size, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            QString drawError;
            const bool ok = picture.kind == QLatin1String("button") ? buttons.draw(picture, img, &drawError)
                                                                    : plates.draw(picture, img, &drawError);
            if (!ok)
                return fail(where(drawError));
            img = img.convertToFormat(QImage::Format_ARGB32);
            if (!writeFile(fileName, png(img), &error))
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
        qrc += QStringLiteral("  <file alias=\"%1\">%2</file>\n")
                   .arg(xmlEscaped(picture.path), xmlEscaped(qrcDir.relativeFilePath(fileName)));
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

// Bootstrap of the artwork generator: writes an empty resource list until the drawing code
// and the manifest land.
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser p;
    p.addOption({"manifest", "manifest", "file"});
    p.addOption({"out", "output folder", "dir"});
    p.addOption({"qrc", "qrc file", "file"});
    p.addOption({"sheet", "contact sheet", "file"});
    p.process(app);
    QDir().mkpath(p.value("out"));
    QFile qrc(p.value("qrc"));
    if (!qrc.open(QIODevice::WriteOnly))
        return 1;
    qrc.write("<!DOCTYPE RCC><RCC version=\"1.0\"><qresource prefix=\"/\"></qresource></RCC>\n");
    QImage sheet(1, 1, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    return sheet.save(p.value("sheet")) ? 0 : 1;
}

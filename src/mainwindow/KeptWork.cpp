#include "mainwindow/KeptWork.h"

#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "common/Logging.h"
#include "common/OutputFile.h"
#include "mainwindow/ModePages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QStandardPaths>
#include <QWidget>

namespace {

const char SHEET_COLOUR_KEY[] = "PageColour";

QString penKey(int mode, const char *name)
{
    return QStringLiteral("pen%1/%2").arg(mode).arg(QLatin1String(name));
}

} // namespace

QString KeptWork::sheetFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder + QStringLiteral("/drawing-board.png");
}

bool KeptWork::storeSheet(const ImageCanvas &board, QString *error)
{
    const QString file = sheetFile();
    const QColor page = board.drawingStyle().backgroundColor;
    if (!board.pipeline()->layerDirty() && page == QColor(Qt::white)) {
        QFile::remove(file);
        return true;
    }
    QImage layer = board.pipeline()->annotationLayer();
    if (layer.isNull())
        return true;
    layer.setText(QLatin1String(SHEET_COLOUR_KEY), page.name(QColor::HexArgb));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(layer)) {
        *error = writer.errorString();
        return false;
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    return OutputFile::replace(file, bytes, error);
}

bool KeptWork::restoreSheet(ImageCanvas &board)
{
    const QString file = sheetFile();
    if (!QFile::exists(file))
        return false;
    QImageReader reader(file, "png");
    const QImage sheet = reader.read();
    if (sheet.isNull()) {
        qCWarning(lcMainWindow) << "the kept drawing board" << file
                                << "cannot be read:" << reader.errorString();
        QFile::remove(file + QStringLiteral(".damaged"));
        QFile::rename(file, file + QStringLiteral(".damaged"));
        return false;
    }
    const QColor page(sheet.text(QLatin1String(SHEET_COLOUR_KEY)));
    if (page.isValid() && page != QColor(Qt::white)) {
        AnnotationTools::Style style = board.drawingStyle();
        style.backgroundColor = page;
        board.setDrawingStyle(style);
        board.pipeline()->fillStill(page);
    }
    board.pipeline()->drawOnLayer([&sheet](QPainter &painter) {
        const QRect target(0, 0, painter.device()->width(), painter.device()->height());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(target, sheet);
    });
    return true;
}

void KeptWork::storePen(const ImageCanvas &canvas, int mode)
{
    const AnnotationTools::Style style = canvas.drawingStyle();
    Config::setValue(penKey(mode, "lineWidth"), style.lineWidth);
    Config::setValue(penKey(mode, "lineColor"), style.lineColor.name(QColor::HexArgb));
    Config::setValue(penKey(mode, "fill"), style.fillEnabled);
    Config::setValue(penKey(mode, "fillColor"), style.fillColor.name(QColor::HexArgb));
    Config::setValue(penKey(mode, "highlighter"), style.highlighter);
}

void KeptWork::restorePen(ImageCanvas &canvas, int mode)
{
    AnnotationTools::Style style = canvas.drawingStyle();
    const int width = Config::value(penKey(mode, "lineWidth")).toInt();
    if (width > 0 && width <= 64)
        style.lineWidth = width;
    const QColor line(Config::value(penKey(mode, "lineColor")).toString());
    if (line.isValid())
        style.lineColor = line;
    const QVariant fill = Config::value(penKey(mode, "fill"));
    if (fill.isValid())
        style.fillEnabled = fill.toBool();
    const QColor fillColour(Config::value(penKey(mode, "fillColor")).toString());
    if (fillColour.isValid())
        style.fillColor = fillColour;
    style.highlighter = Config::value(penKey(mode, "highlighter")).toBool();
    canvas.setDrawingStyle(style);
}

void KeptWork::storePlacement(const QWidget &window)
{
    Config::setValue(QStringLiteral("window/geometry"), window.saveGeometry());
}

bool KeptWork::restorePlacement(QWidget &window)
{
    const QByteArray geometry = Config::value(QStringLiteral("window/geometry")).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void KeptWork::storeWork(const ModePages &pages)
{
    QString error;
    if (!storeSheet(*pages.canvas(MODE_DRAWING_BOARD), &error))
        qCWarning(lcMainWindow) << "the drawing board cannot be kept in" << sheetFile() << error;
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m)
        storePen(*pages.canvas(WindowMode(m)), m);
}

void KeptWork::restoreWork(const ModePages &pages)
{
    for (int m = MODE_LIVE; m <= MODE_DRAWING_BOARD; ++m)
        restorePen(*pages.canvas(WindowMode(m)), m);
    restoreSheet(*pages.canvas(MODE_DRAWING_BOARD));
}

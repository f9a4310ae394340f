// Thumbnail strip benchmark: a folder of 300 pictures of 12 megapixels is opened in the
// photograph source with a strip attached. Prints the time the open takes on the GUI thread,
// the time until the first thumbnail shows and until all are loaded, and the longest time the
// GUI thread was blocked while the loader worked (goals: first thumbnail under 300 ms, GUI
// never blocked more than 20 ms).
//
//   bench_thumbnails [count] [jpg|png]      (defaults: 300 jpg)

#include "common/ICaptureCB.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/PictureReader.h"
#include "sources/photograph/ThumbnailButton.h"
#include "sources/photograph/ThumbnailLoader.h"
#include "sources/photograph/ThumbnailWidget.h"
#include "widgets/HorizontalSlider.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// The photograph canvas's part in this measurement: it takes the shown picture.
class NullSink : public ICaptureCB
{
public:
    void imageCaptured(void *, int, int, bool, bool) override { }
    void stillImageCaptured(QImage *image) override { lastSize = image ? image->size() : QSize(); }
    void streamImageCaptured(void *, int, int, bool, bool) override { }
    QSize lastSize;
};

// Smooth colour fields with fine grain, so the JPEG has the size and decoding cost of a photo.
QImage photoLike(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 28) - 8;
            const int r = (x * 255 / width + grain) & 0xff;
            const int g = ((y * 255 / height + (x / 97) * 13) + grain) & 0xff;
            const int b = (((x + y) / 23) * 7 + grain) & 0xff;
            row[x] = qRgb(r, g, b);
        }
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString(argv[1]).toInt() : 300;
    const QString format = argc > 2 ? QString(argv[2]) : QString("jpg");

    QTemporaryDir dir;
    // Not listed itself (no picture suffix); the pictures are links to it.
    const QString original = QDir(dir.path()).filePath("original.data");
    if (!photoLike(4000, 3000).save(original, format == "png" ? "PNG" : "JPEG", 90)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(original));
        return 1;
    }
    // Links to one file: every picture is still read and decoded on its own.
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QString name = QString("IMG_%1.%2").arg(i, 4, 10, QChar('0')).arg(format);
        const QString path = QDir(dir.path()).filePath(name);
        if (!QFile::link(original, path) && !QFile::copy(original, path)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(path));
            return 1;
        }
        names << name;
    }

    // The part of the open that the canvas's full-size picture costs on the GUI thread.
    QElapsedTimer decodeClock;
    decodeClock.start();
    const QImage full = PictureReader::readPicture(QDir(dir.path()).filePath(names.first()));
    const qint64 fullDecode = decodeClock.nsecsElapsed() / 1000;
    decodeClock.restart();
    const QImage small = PictureReader::readThumbnail(QDir(dir.path()).filePath(names.first()),
                                                      QSize(56, 50));
    const qint64 thumbDecode = decodeClock.nsecsElapsed() / 1000;

    NullSink sink;
    QWidget canvas;
    canvas.resize(1280, 720);
    PhotographSource source(&sink, nullptr);
    auto *scrollBar = new HorizontalSlider(QImage(), &canvas);
    auto *strip = new ThumbnailWidget(&source, scrollBar, &canvas);
    strip->setFixedSize(1280, 60);
    canvas.show();
    app.processEvents();

    QElapsedTimer clock;
    qint64 firstShown = -1;
    qint64 allLoaded = -1;
    qint64 longestBlock = 0;
    qint64 lastBeat = 0;

    QTimer beat;
    beat.setInterval(1);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed() / 1000;
        longestBlock = std::max(longestBlock, now - lastBeat);
        lastBeat = now;
        const auto &buttons = strip->buttons();
        if (firstShown < 0 && !buttons.isEmpty() && buttons.first()->hasPicture())
            firstShown = now;
        if (allLoaded < 0 && !buttons.isEmpty() && buttons.last()->hasPicture()) {
            int loaded = 0;
            for (auto *b : buttons)
                loaded += b->hasPicture() ? 1 : 0;
            if (loaded == buttons.size()) {
                allLoaded = now;
                app.quit();
            }
        }
    });

    clock.start();
    const bool opened = source.openPhotograph(dir.path(), names.first());
    const qint64 openTook = clock.nsecsElapsed() / 1000;
    if (!opened) {
        std::fprintf(stderr, "open failed\n");
        return 1;
    }
    lastBeat = openTook;
    beat.start();
    QTimer::singleShot(600000, &app, &QApplication::quit);
    app.exec();

    std::printf("pictures: %d x 4000x3000 %s, %lld bytes each\n", count, qPrintable(format),
                QFileInfo(QDir(dir.path()).filePath("original.data")).size());
    std::printf("open (GUI thread, includes the full-size picture for the canvas): %.1f ms\n",
                openTook / 1000.0);
    std::printf("  of which one full-size decode: %.1f ms; one thumbnail decode: %.1f ms\n",
                fullDecode / 1000.0, thumbDecode / 1000.0);
    std::printf("first thumbnail shown: %.1f ms after the open began (goal < 300 ms)\n", firstShown / 1000.0);
    std::printf("all thumbnails loaded: %.1f ms (%.1f ms per picture)\n", allLoaded / 1000.0,
                allLoaded / 1000.0 / std::max(1, count));
    std::printf("longest GUI-thread block while loading: %.1f ms (goal <= 20 ms)\n", longestBlock / 1000.0);
    return allLoaded >= 0 ? 0 : 2;
}

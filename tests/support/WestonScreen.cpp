#include "WestonScreen.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace WestonScreen {

namespace {

constexpr int RunLimitMs = 10000;
// A pixel differs from the desktop by more than this in some channel.
constexpr int ColourTolerance = 12;
// Fewer pixels than this in a row or column are the pointer, not a window.
constexpr int PointerSpan = 40;

bool isDesktop(QRgb pixel)
{
    const QColor desk = background();
    return qAbs(qRed(pixel) - desk.red()) <= ColourTolerance
        && qAbs(qGreen(pixel) - desk.green()) <= ColourTolerance
        && qAbs(qBlue(pixel) - desk.blue()) <= ColourTolerance;
}

} // namespace

QColor background()
{
    return QColor(0x20, 0x30, 0x40);
}

QString backend()
{
    return QString::fromLocal8Bit(qgetenv("DOCCAM_WESTON"));
}

QImage grab(QString *error)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        *error = "no temporary folder";
        return QImage();
    }
    QProcess shooter;
    shooter.setWorkingDirectory(dir.path());
    shooter.setProcessChannelMode(QProcess::MergedChannels);
    shooter.start("weston-screenshooter", QStringList());
    if (!shooter.waitForFinished(RunLimitMs) || shooter.exitStatus() != QProcess::NormalExit
        || shooter.exitCode() != 0) {
        *error = "weston-screenshooter failed: " + QString::fromLocal8Bit(shooter.readAll());
        return QImage();
    }
    const QStringList shots = QDir(dir.path()).entryList({"*.png"}, QDir::Files);
    if (shots.size() != 1) {
        *error = QString("weston-screenshooter wrote %1 pictures").arg(shots.size());
        return QImage();
    }
    QImage shot(QDir(dir.path()).filePath(shots.first()));
    if (shot.isNull())
        *error = "unreadable screenshot " + shots.first();
    return shot.convertToFormat(QImage::Format_RGB32);
}

QString save(const QImage &shot, const QString &name)
{
    const QString folder = QString(DOCCAM_BINARY_DIR) + "/screenshots/wayland";
    QDir().mkpath(folder);
    const QString path = folder + "/" + name + ".png";
    shot.save(path);
    return path;
}

QRect windowsOn(const QImage &shot)
{
    QVector<int> rows(shot.height(), 0);
    QVector<int> columns(shot.width(), 0);
    for (int y = 0; y < shot.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            if (!isDesktop(line[x])) {
                ++rows[y];
                ++columns[x];
            }
        }
    }
    auto span = [](const QVector<int> &counts, int *first, int *last) {
        *first = -1;
        *last = -1;
        for (int i = 0; i < counts.size(); ++i) {
            if (counts[i] >= PointerSpan) {
                if (*first < 0)
                    *first = i;
                *last = i;
            }
        }
    };
    int top, bottom, left, right;
    span(rows, &top, &bottom);
    span(columns, &left, &right);
    if (top < 0 || left < 0)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

double saturatedShare(const QImage &shot, const QRect &area)
{
    const QRect inside = area.intersected(shot.rect());
    if (inside.isEmpty())
        return 0;
    qint64 saturated = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = QColor::fromRgb(shot.pixel(x, y));
            if (c.hslSaturation() > 200 && c.lightness() > 40 && c.lightness() < 220)
                ++saturated;
        }
    }
    return double(saturated) / (qint64(inside.width()) * inside.height());
}

QRect shownAt(const QString &name, const std::function<bool(const QRect &)> &settled)
{
    QImage shot;
    QRect shown;
    for (int attempt = 0; attempt < 20; ++attempt) {
        QString error;
        shot = grab(&error);
        if (shot.isNull()) {
            qWarning("%s", qPrintable(error));
            return QRect();
        }
        shown = windowsOn(shot);
        if (!settled || settled(shown))
            break;
        QTest::qWait(100);
    }
    save(shot, name);
    return shown;
}

} // namespace WestonScreen

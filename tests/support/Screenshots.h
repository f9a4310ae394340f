#pragma once

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QString>

// Pictures of what a test shows, to be looked at: <build>/screenshots/<folder>/<name>.png.
namespace Screenshots {

// Writes `shot` there (making the folder); returns the file's path, or an empty string when it
// could not be written.
inline QString save(const QImage &shot, const QString &folder, QString name)
{
    const QString dir = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/") + folder;
    if (!QDir().mkpath(dir))
        return QString();
    // Data tags make names too: anything but letters and digits becomes one dash.
    name = name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]+")), QStringLiteral("-"));
    const QString file = QStringLiteral("%1/%2.png").arg(dir, name);
    return shot.save(file) ? file : QString();
}

inline QString save(const QPixmap &shot, const QString &folder, const QString &name)
{
    return save(shot.toImage(), folder, name);
}

} // namespace Screenshots

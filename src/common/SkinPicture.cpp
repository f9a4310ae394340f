#include "common/SkinPicture.h"

#include <QGuiApplication>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kHighDensity = 2;

} // namespace

QImage SkinPicture::load(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        QImage dense(highDensityPath(path));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(kHighDensity);
            return dense;
        }
    }
    return QImage(path);
}

QImage SkinPicture::load(const QString &path)
{
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return load(path, app ? app->devicePixelRatio() : 1.0);
}

QString SkinPicture::highDensityPath(const QString &path)
{
    const QString suffix = QStringLiteral("@%1x").arg(kHighDensity);
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < path.lastIndexOf(QLatin1Char('/')))
        return path + suffix;
    return path.left(dot) + suffix + path.mid(dot);
}

QSize SkinPicture::logicalSize(const QImage &picture)
{
    const qreal ratio = picture.devicePixelRatio();
    return QSize(int(std::lround(picture.width() / ratio)), int(std::lround(picture.height() / ratio)));
}

QImage SkinPicture::stretched(const QImage &picture, const QSize &logicalSize)
{
    if (picture.isNull() || logicalSize.isEmpty())
        return QImage();
    const qreal ratio = picture.devicePixelRatio();
    QImage out = picture.scaled(int(std::lround(logicalSize.width() * ratio)),
                                int(std::lround(logicalSize.height() * ratio)), Qt::IgnoreAspectRatio,
                                Qt::FastTransformation);
    out.setDevicePixelRatio(ratio);
    return out;
}

void SkinPicture::prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

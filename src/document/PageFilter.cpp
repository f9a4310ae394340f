#include "document/PageFilter.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>

std::optional<PageFilter::Kind> PageFilter::fromName(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("colour") || n == QLatin1String("color"))
        return Kind::Colour;
    if (n == QLatin1String("grey") || n == QLatin1String("gray"))
        return Kind::Greyscale;
    if (n == QLatin1String("bw"))
        return Kind::BlackAndWhite;
    if (n == QLatin1String("original"))
        return Kind::Original;
    return std::nullopt;
}

QString PageFilter::name(Kind kind)
{
    switch (kind) {
    case Kind::Colour:
        return QStringLiteral("colour");
    case Kind::Greyscale:
        return QStringLiteral("grey");
    case Kind::BlackAndWhite:
        return QStringLiteral("bw");
    case Kind::Original:
        break;
    }
    return QStringLiteral("original");
}

cv::Mat PageFilter::flatten(const cv::Mat &bgr)
{
    // The paper's brightness: on a copy an eighth of the size, the text removed by a dilation
    // (text is darker than paper and thinner than the kernel), then smoothed and brought back up.
    const double factor = std::min(1.0, 256.0 / std::max(bgr.cols, bgr.rows));
    cv::Mat small;
    cv::resize(bgr, small, cv::Size(), factor, factor, cv::INTER_AREA);
    cv::dilate(small, small, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(9, 9)));
    cv::medianBlur(small, small, 7);
    cv::GaussianBlur(small, small, cv::Size(9, 9), 0);
    cv::Mat background;
    cv::resize(small, background, bgr.size(), 0, 0, cv::INTER_LINEAR);
    cv::Mat flat;
    // White paper at 250: the very brightest smudge is not clipped away.
    cv::divide(bgr, background, flat, 250.0);
    return flat;
}

cv::Mat PageFilter::apply(const cv::Mat &bgr, Kind kind)
{
    switch (kind) {
    case Kind::Original:
        return bgr.clone();
    case Kind::Colour:
        return flatten(bgr);
    case Kind::Greyscale: {
        cv::Mat grey;
        cv::cvtColor(flatten(bgr), grey, cv::COLOR_BGR2GRAY);
        return grey;
    }
    case Kind::BlackAndWhite: {
        cv::Mat grey, bw;
        cv::cvtColor(flatten(bgr), grey, cv::COLOR_BGR2GRAY);
        // A neighbourhood of about a fiftieth of the page, larger than a letter's strokes; its
        // mean (a box filter) costs the same whatever its size.
        const int block = std::max(15, (std::max(grey.cols, grey.rows) / 50) | 1);
        cv::adaptiveThreshold(grey, bw, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY, block, 12);
        return bw;
    }
    }
    return bgr.clone();
}

cv::Mat PageFilter::forRecognition(const cv::Mat &bgr, Kind kind)
{
    cv::Mat grey;
    cv::cvtColor(kind == Kind::Original ? bgr : flatten(bgr), grey, cv::COLOR_BGR2GRAY);
    return grey;
}

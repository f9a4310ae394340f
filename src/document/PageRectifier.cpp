#include "document/PageRectifier.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <opencv2/imgproc.hpp>

namespace {

constexpr double kA4Short = 210.0, kA4Long = 297.0;
constexpr double kLetterShort = 215.9, kLetterLong = 279.4;

double distance(cv::Point2f a, cv::Point2f b)
{
    return std::hypot(double(a.x - b.x), double(a.y - b.y));
}

// The page's width over its height. Seen through a pinhole camera whose axis meets the picture's
// centre, the quadrilateral gives the focal length and with it the true proportions (Zhang and
// He's construction for a rectangle's image); where the page is seen almost square on, that is
// ill-conditioned and the mean lengths of opposite sides are used.
double proportionsOf(const std::array<cv::Point2f, 4> &c, cv::Size picture)
{
    const double width = 0.5 * (distance(c[0], c[1]) + distance(c[3], c[2]));
    const double height = 0.5 * (distance(c[0], c[3]) + distance(c[1], c[2]));
    const double fallback = width / std::max(1.0, height);
    if (picture.empty())
        return fallback;
    const double u0 = picture.width / 2.0, v0 = picture.height / 2.0;
    auto point = [&](cv::Point2f p) { return cv::Vec3d(p.x - u0, p.y - v0, 1.0); };
    const cv::Vec3d m1 = point(c[0]), m2 = point(c[1]), m3 = point(c[3]), m4 = point(c[2]);
    const double k2 = m1.cross(m4).dot(m3) / m2.cross(m4).dot(m3);
    const double k3 = m1.cross(m4).dot(m2) / m3.cross(m4).dot(m2);
    const cv::Vec3d n2 = k2 * m2 - m1, n3 = k3 * m3 - m1;
    const double zz = n2[2] * n3[2];
    if (std::abs(zz) < 1e-9)
        return fallback;
    const double f2 = -(n2[0] * n3[0] + n2[1] * n3[1]) / zz;
    // A focal length far outside what document cameras have: the construction is unreliable.
    const double diagonal = std::hypot(double(picture.width), double(picture.height));
    if (!(f2 > 0) || std::sqrt(f2) < 0.3 * diagonal || std::sqrt(f2) > 5.0 * diagonal)
        return fallback;
    const double w2 = (n2[0] * n2[0] + n2[1] * n2[1]) / f2 + n2[2] * n2[2];
    const double h2 = (n3[0] * n3[0] + n3[1] * n3[1]) / f2 + n3[2] * n3[2];
    return h2 > 0 ? std::sqrt(w2 / h2) : fallback;
}

} // namespace

PageRectifier::Paper PageRectifier::paperOfLocale()
{
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
}

cv::Size2d PageRectifier::physicalSize(const PageQuad &quad, cv::Size picture, bool *snapped) const
{
    const double proportions = proportionsOf(quad.corners, picture);
    const bool portrait = proportions <= 1.0;
    const double ratio = portrait ? 1.0 / std::max(1e-3, proportions) : proportions;
    // The same from the mean lengths of opposite sides: where the camera's axis is not at the
    // picture's centre (a cropped or shifted picture), the perspective's reading errs and this
    // one may still see the paper.
    const double flat = proportionsOf(quad.corners, cv::Size());
    const double flatRatio = flat <= 1.0 ? 1.0 / std::max(1e-3, flat) : flat;
    const std::pair<double, double> a4{kA4Short, kA4Long}, letter{kLetterShort, kLetterLong};
    const auto first = m_localPaper == Paper::A4 ? a4 : letter;
    const auto second = m_localPaper == Paper::A4 ? letter : a4;
    std::pair<double, double> size;
    bool isPaper = false;
    for (const auto &paper : {first, second}) {
        const double paperRatio = paper.second / paper.first;
        if (std::abs(ratio / paperRatio - 1.0) <= kSnapTolerance
            || ((flat <= 1.0) == portrait && std::abs(flatRatio / paperRatio - 1.0) <= kSnapTolerance)) {
            size = paper;
            isPaper = true;
            break;
        }
    }
    if (!isPaper) {
        // A page of no known size: its long side taken as the local paper's, its proportions kept.
        size = {first.second / ratio, first.second};
    }
    if (snapped)
        *snapped = isPaper;
    return portrait ? cv::Size2d(size.first, size.second) : cv::Size2d(size.second, size.first);
}

PageRectifier::Page PageRectifier::rectify(const cv::Mat &picture, const PageQuad &quad) const
{
    bool snapped = false;
    const cv::Size2d mm = physicalSize(quad, picture.size(), &snapped);
    return warp(picture, quad, mm, snapped);
}

PageRectifier::Page PageRectifier::whole(const cv::Mat &picture) const
{
    PageQuad quad;
    const float w = float(picture.cols), h = float(picture.rows);
    quad.corners = {cv::Point2f(0, 0), cv::Point2f(w, 0), cv::Point2f(w, h), cv::Point2f(0, h)};
    // Kept as it was taken: no snapping, the long side as the local paper's.
    const double ratio = double(std::max(w, h)) / double(std::max(1.f, std::min(w, h)));
    const double longSide = m_localPaper == Paper::A4 ? kA4Long : kLetterLong;
    const cv::Size2d mm = w >= h ? cv::Size2d(longSide, longSide / ratio)
                                 : cv::Size2d(longSide / ratio, longSide);
    return warp(picture, quad, mm, false);
}

PageRectifier::Page PageRectifier::warp(const cv::Mat &picture, const PageQuad &quad, cv::Size2d mm,
                                        bool snapped) const
{
    const auto &c = quad.corners;
    // The resolution the camera had along the page's longer sides, in pixels per inch.
    const double longPixels = std::max(std::max(distance(c[0], c[3]), distance(c[1], c[2])),
                                       std::max(distance(c[0], c[1]), distance(c[3], c[2])));
    const double longMm = std::max(mm.width, mm.height);
    const int ppi = std::clamp(int(std::lround(longPixels / (longMm / 25.4))), 72, kMaxPpi);
    const cv::Size out(int(std::lround(mm.width / 25.4 * ppi)), int(std::lround(mm.height / 25.4 * ppi)));
    const cv::Point2f target[4] = {cv::Point2f(0, 0), cv::Point2f(float(out.width), 0),
                                   cv::Point2f(float(out.width), float(out.height)),
                                   cv::Point2f(0, float(out.height))};
    const cv::Point2f source[4] = {c[0], c[1], c[2], c[3]};
    const cv::Mat h = cv::getPerspectiveTransform(source, target);
    Page page;
    cv::warpPerspective(picture, page.picture, h, out, cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    page.millimetres = mm;
    page.ppi = ppi;
    page.snapped = snapped;
    return page;
}

std::array<PageRectifier::Page, 2> PageRectifier::splitSpread(const Page &spread)
{
    cv::Mat grey;
    if (spread.picture.channels() == 3)
        cv::cvtColor(spread.picture, grey, cv::COLOR_BGR2GRAY);
    else
        grey = spread.picture;
    // Mean brightness of each column, smoothed over a few millimetres: the gutter's shade is
    // wide, a letter's stroke is not.
    cv::Mat columns;
    cv::reduce(grey, columns, 0, cv::REDUCE_AVG, CV_32F);
    const int smoothing = std::max(3, (spread.ppi / 8) | 1);
    cv::GaussianBlur(columns, columns, cv::Size(smoothing, 1), 0);
    const int from = grey.cols * 2 / 5, to = grey.cols * 3 / 5;
    int gutter = grey.cols / 2;
    float darkest = std::numeric_limits<float>::max();
    for (int x = from; x < to; ++x) {
        if (columns.at<float>(0, x) < darkest) {
            darkest = columns.at<float>(0, x);
            gutter = x;
        }
    }
    std::array<Page, 2> pages;
    const cv::Rect halves[2] = {cv::Rect(0, 0, gutter, grey.rows),
                                cv::Rect(gutter, 0, grey.cols - gutter, grey.rows)};
    for (int i = 0; i < 2; ++i) {
        Page &page = pages[size_t(i)];
        page.picture = spread.picture(halves[i]).clone();
        page.ppi = spread.ppi;
        page.millimetres = cv::Size2d(halves[i].width * 25.4 / spread.ppi, spread.millimetres.height);
        page.snapped = false;
    }
    return pages;
}

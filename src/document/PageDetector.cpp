#include "document/PageDetector.h"

#include "document/DocumentLogging.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace {

// A candidate must cover this share of the working copy, and no side may run along the edge of
// the picture for most of its length (the frame's own border is no page).
constexpr double kMinAreaShare = 0.08;
constexpr double kMinSupport = 0.45;

struct Gradients
{
    cv::Mat gx, gy; // CV_32F, on the smoothed working copy
};

Gradients gradientsOf(const cv::Mat &grey)
{
    Gradients g;
    cv::Sobel(grey, g.gx, CV_32F, 1, 0, 3);
    cv::Sobel(grey, g.gy, CV_32F, 0, 1, 3);
    return g;
}

float sampleAt(const cv::Mat &m, cv::Point2f p)
{
    const int x = cvRound(p.x), y = cvRound(p.y);
    if (x < 0 || y < 0 || x >= m.cols || y >= m.rows)
        return 0.f;
    return m.at<float>(y, x);
}

// The gradient across the side a->b at p, along the side's normal.
float across(const Gradients &g, cv::Point2f p, cv::Point2f normal)
{
    return sampleAt(g.gx, p) * normal.x + sampleAt(g.gy, p) * normal.y;
}

cv::Point2f normalOf(cv::Point2f a, cv::Point2f b)
{
    const cv::Point2f d = b - a;
    const float len = std::max(1e-3f, std::hypot(d.x, d.y));
    return {-d.y / len, d.x / len};
}

// The share of a side along which an edge of one sign runs, found within a couple of pixels.
double sideSupport(const Gradients &g, cv::Point2f a, cv::Point2f b, cv::Size size)
{
    const cv::Point2f n = normalOf(a, b);
    const int samples = 48;
    int positive = 0, negative = 0, outside = 0;
    for (int i = 0; i < samples; ++i) {
        const float t = 0.04f + 0.92f * (float(i) + 0.5f) / float(samples);
        const cv::Point2f p = a + (b - a) * t;
        if (p.x < 2 || p.y < 2 || p.x > float(size.width - 3) || p.y > float(size.height - 3)) {
            ++outside;
            continue;
        }
        float best = 0.f;
        for (int k = -2; k <= 2; ++k) {
            const float v = across(g, p + n * float(k), n);
            if (std::abs(v) > std::abs(best))
                best = v;
        }
        if (best > 24.f)
            ++positive;
        else if (best < -24.f)
            ++negative;
    }
    if (outside > samples / 2)
        return 0.0;
    return double(std::max(positive, negative)) / double(samples);
}

double supportOf(const Gradients &g, const std::array<cv::Point2f, 4> &c, cv::Size size, double *weakest)
{
    double sum = 0.0, least = 1.0;
    for (int i = 0; i < 4; ++i) {
        const double s = sideSupport(g, c[size_t(i)], c[size_t((i + 1) % 4)], size);
        sum += s;
        least = std::min(least, s);
    }
    *weakest = least;
    return sum / 4.0;
}

bool intersect(cv::Vec4f l1, cv::Vec4f l2, cv::Point2f *out)
{
    // Lines as (vx, vy, x0, y0).
    const float det = l1[0] * l2[1] - l1[1] * l2[0];
    if (std::abs(det) < 1e-4f)
        return false;
    const float dx = l2[2] - l1[2], dy = l2[3] - l1[3];
    const float t = (dx * l2[1] - dy * l2[0]) / det;
    *out = {l1[2] + l1[0] * t, l1[3] + l1[1] * t};
    return true;
}

// Four corners from the four longest edges of a polygon, each extended to meet its neighbours:
// a hand over a corner cuts that corner off the outline, but the page's sides stay its longest
// edges.
bool quadFromLongestEdges(const std::vector<cv::Point> &polygon, std::array<cv::Point2f, 4> *quad)
{
    const int n = int(polygon.size());
    if (n < 4)
        return false;
    std::vector<std::pair<double, int>> edges;
    for (int i = 0; i < n; ++i) {
        const cv::Point d = polygon[size_t((i + 1) % n)] - polygon[size_t(i)];
        edges.emplace_back(std::hypot(double(d.x), double(d.y)), i);
    }
    std::sort(edges.begin(), edges.end(), std::greater<>());
    std::vector<int> chosen;
    for (int k = 0; k < 4; ++k)
        chosen.push_back(edges[size_t(k)].second);
    std::sort(chosen.begin(), chosen.end());
    std::array<cv::Vec4f, 4> lines;
    for (int k = 0; k < 4; ++k) {
        const cv::Point2f a = polygon[size_t(chosen[size_t(k)])];
        const cv::Point2f b = polygon[size_t((chosen[size_t(k)] + 1) % n)];
        const cv::Point2f d = b - a;
        const float len = std::hypot(d.x, d.y);
        lines[size_t(k)] = {d.x / len, d.y / len, a.x, a.y};
    }
    for (int k = 0; k < 4; ++k) {
        if (!intersect(lines[size_t(k)], lines[size_t((k + 1) % 4)], &(*quad)[size_t((k + 1) % 4)]))
            return false;
    }
    return true;
}

void addCandidates(const cv::Mat &binary, std::vector<std::array<cv::Point2f, 4>> *out, float scaleBack = 1.f)
{
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(binary, contours, cv::RETR_LIST, cv::CHAIN_APPROX_SIMPLE);
    const double minArea = kMinAreaShare * binary.rows * binary.cols;
    const size_t first = out->size();
    for (const std::vector<cv::Point> &contour : contours) {
        std::vector<cv::Point> hull;
        cv::convexHull(contour, hull);
        if (cv::contourArea(hull) < minArea)
            continue;
        const double perimeter = cv::arcLength(hull, true);
        for (double share : {0.01, 0.02, 0.04}) {
            std::vector<cv::Point> polygon;
            cv::approxPolyDP(hull, polygon, share * perimeter, true);
            std::array<cv::Point2f, 4> quad;
            if (polygon.size() == 4) {
                for (size_t i = 0; i < 4; ++i)
                    quad[i] = polygon[i];
                out->push_back(quad);
            } else if (polygon.size() > 4 && polygon.size() <= 10 && quadFromLongestEdges(polygon, &quad)) {
                out->push_back(quad);
            }
        }
    }
    for (size_t i = first; i < out->size(); ++i) {
        for (cv::Point2f &p : (*out)[i])
            p *= scaleBack;
    }
}

cv::Vec4f lineThrough(const std::vector<cv::Point2f> &points, size_t minimum, const cv::Vec4f &otherwise)
{
    if (points.size() < minimum)
        return otherwise;
    cv::Vec4f line;
    cv::fitLine(points, line, cv::DIST_HUBER, 0, 0.01, 0.01);
    return line;
}

// Moves each side onto the strongest edge found across it and intersects the refitted sides.
// With `byHalves`, each corner comes from the halves of its two sides next to it: a page that
// does not lie flat bows its sides, and the corners are where the sides end, not where the
// straight lines through their middles meet.
std::array<cv::Point2f, 4> refine(const Gradients &g, const std::array<cv::Point2f, 4> &c, cv::Size size,
                                  bool byHalves)
{
    std::array<cv::Vec4f, 4> lines, starts, ends;
    for (int i = 0; i < 4; ++i) {
        const cv::Point2f a = c[size_t(i)], b = c[size_t((i + 1) % 4)];
        const cv::Point2f n = normalOf(a, b);
        // The sign of the side's edge, from its samples.
        double sign = 0.0;
        for (int s = 1; s < 16; ++s)
            sign += across(g, a + (b - a) * (float(s) / 16.f), n);
        const float dir = sign >= 0 ? 1.f : -1.f;
        std::vector<cv::Point2f> points, first, second;
        const int samples = 64;
        for (int s = 0; s < samples; ++s) {
            const float t = 0.06f + 0.88f * float(s) / float(samples - 1);
            const cv::Point2f p = a + (b - a) * t;
            float best = 0.f;
            int bestK = 0;
            for (int k = -4; k <= 4; ++k) {
                const float v = dir * across(g, p + n * float(k), n);
                if (v > best) {
                    best = v;
                    bestK = k;
                }
            }
            if (best < 24.f || bestK == -4 || bestK == 4)
                continue;
            // Sub-pixel: the vertex of the parabola through the peak and its neighbours.
            const float l = dir * across(g, p + n * float(bestK - 1), n);
            const float r = dir * across(g, p + n * float(bestK + 1), n);
            const float denom = l - 2 * best + r;
            const float offset = std::abs(denom) > 1e-3f ? 0.5f * (l - r) / denom : 0.f;
            const cv::Point2f q = p + n * (float(bestK) + std::clamp(offset, -0.5f, 0.5f));
            if (q.x > 1 && q.y > 1 && q.x < float(size.width - 2) && q.y < float(size.height - 2)) {
                points.push_back(q);
                (t < 0.5f ? first : second).push_back(q);
            }
        }
        const cv::Point2f d = b - a;
        const float len = std::max(1e-3f, std::hypot(d.x, d.y));
        lines[size_t(i)] = lineThrough(points, 12, {d.x / len, d.y / len, a.x, a.y});
        starts[size_t(i)] = lineThrough(first, 12, lines[size_t(i)]);
        ends[size_t(i)] = lineThrough(second, 12, lines[size_t(i)]);
    }
    std::array<cv::Point2f, 4> refined = c;
    for (int i = 0; i < 4; ++i) {
        const size_t previous = size_t((i + 3) % 4);
        cv::Point2f p;
        if (intersect(byHalves ? ends[previous] : lines[previous],
                      byHalves ? starts[size_t(i)] : lines[size_t(i)], &p))
            refined[size_t(i)] = p;
    }
    return refined;
}

} // namespace

std::optional<PageQuad> PageDetector::detect(const cv::Mat &picture) const
{
    if (picture.empty())
        return std::nullopt;
    const double scale = std::min(1.0, double(kWorkingSize) / std::max(picture.cols, picture.rows));
    cv::Mat small;
    cv::resize(picture, small, cv::Size(), scale, scale, cv::INTER_AREA);
    if (small.channels() == 1)
        cv::cvtColor(small, small, cv::COLOR_GRAY2BGR);
    else if (small.channels() == 4)
        cv::cvtColor(small, small, cv::COLOR_BGRA2BGR);
    cv::Mat grey, hsv;
    cv::cvtColor(small, grey, cv::COLOR_BGR2GRAY);
    cv::GaussianBlur(grey, grey, cv::Size(5, 5), 0);
    const Gradients g = gradientsOf(grey);
    cv::cvtColor(small, hsv, cv::COLOR_BGR2HSV);
    std::vector<cv::Mat> hsvChannels;
    cv::split(hsv, hsvChannels);
    cv::GaussianBlur(hsvChannels[1], hsvChannels[1], cv::Size(5, 5), 0);

    std::vector<std::array<cv::Point2f, 4>> candidates;
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
    // Edges at several strengths: a page on a dark desk has strong ones, on a light desk faint ones.
    // On a half-size copy: the candidates only need to be near the page's sides, which the
    // refinement finds on the working copy.
    cv::Mat half;
    cv::pyrDown(grey, half);
    for (const auto &[low, high] : {std::pair{12.0, 36.0}, std::pair{40.0, 120.0}}) {
        cv::Mat edges;
        cv::Canny(half, edges, low, high);
        cv::dilate(edges, edges, kernel);
        addCandidates(edges, &candidates, 2.f);
    }
    // Bright, unsaturated regions: the paper itself, also where shading breaks its outline.
    cv::Mat bright, pale, paper;
    cv::threshold(grey, bright, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    addCandidates(bright, &candidates);
    cv::threshold(hsvChannels[1], pale, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
    cv::bitwise_and(bright, pale, paper);
    cv::morphologyEx(paper, paper, cv::MORPH_OPEN, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(7, 7)));
    addCandidates(paper, &candidates);
    // Locally brighter than its surroundings: shading across the page.
    cv::Mat local;
    cv::adaptiveThreshold(grey, local, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY, 51, -2);
    cv::morphologyEx(local, local, cv::MORPH_CLOSE,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(9, 9)));
    addCandidates(local, &candidates);

    const double imageArea = double(small.rows) * small.cols;
    std::optional<PageQuad> best;
    double bestScore = 0.0;
    for (const std::array<cv::Point2f, 4> &raw : candidates) {
        PageQuad quad;
        quad.corners = PageQuad::ordered(raw);
        if (!quad.isConvex() || quad.area() < kMinAreaShare * imageArea)
            continue;
        double weakest = 0.0;
        const double support = supportOf(g, quad.corners, small.size(), &weakest);
        if (weakest < 0.25 || support < kMinSupport)
            continue;
        // Support first; among equally supported candidates the larger (the page, not a box of
        // text printed on it).
        const double score = support + 0.15 * weakest + 0.25 * quad.area() / imageArea;
        if (score > bestScore) {
            bestScore = score;
            quad.support = support;
            best = quad;
        }
    }
    qCDebug(lcDocument) << "page detection:" << candidates.size() << "candidates, best score" << bestScore;
    if (!best)
        return std::nullopt;
    best->corners = refine(g, best->corners, small.size(), false);
    best->corners = refine(g, best->corners, small.size(), true);
    best->corners = PageQuad::ordered(best->corners);
    if (!best->isConvex())
        return std::nullopt;
    return best->scaled(1.0 / scale);
}

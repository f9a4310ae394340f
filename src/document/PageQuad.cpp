#include "document/PageQuad.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

std::array<cv::Point2f, 4> PageQuad::ordered(const std::array<cv::Point2f, 4> &points)
{
    cv::Point2f centre(0, 0);
    for (const cv::Point2f &p : points)
        centre += p * 0.25f;
    std::array<cv::Point2f, 4> sorted = points;
    // Clockwise on screen (y down) from the angle about the centre.
    std::sort(sorted.begin(), sorted.end(), [centre](const cv::Point2f &a, const cv::Point2f &b) {
        return std::atan2(a.y - centre.y, a.x - centre.x) < std::atan2(b.y - centre.y, b.x - centre.x);
    });
    // The top left is the corner nearest the picture's origin in x + y.
    const auto first = std::min_element(
        sorted.begin(), sorted.end(),
        [](const cv::Point2f &a, const cv::Point2f &b) { return a.x + a.y < b.x + b.y; });
    std::rotate(sorted.begin(), first, sorted.end());
    return sorted;
}

PageQuad PageQuad::scaled(double factor) const
{
    PageQuad result = *this;
    for (cv::Point2f &p : result.corners)
        p *= float(factor);
    return result;
}

double PageQuad::area() const
{
    const std::vector<cv::Point2f> polygon(corners.begin(), corners.end());
    return std::abs(cv::contourArea(polygon));
}

bool PageQuad::isConvex() const
{
    const std::vector<cv::Point2f> polygon(corners.begin(), corners.end());
    return cv::isContourConvex(polygon);
}

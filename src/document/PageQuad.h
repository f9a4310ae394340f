#pragma once

#include <array>
#include <opencv2/core.hpp>

// The four corners of a page in a picture, in the picture's pixels: top left, top right, bottom
// right, bottom left as the page is seen (the order a reader goes round it).
//
// Threads: a value; any thread.
struct PageQuad
{
    std::array<cv::Point2f, 4> corners;
    // How well the picture's edges follow all four sides, 0 to 1.
    double support = 0.0;

    // The corners put in reading order (top left first, clockwise on screen).
    static std::array<cv::Point2f, 4> ordered(const std::array<cv::Point2f, 4> &points);
    PageQuad scaled(double factor) const;
    double area() const;
    bool isConvex() const;
};

#pragma once

#include "document/PageQuad.h"

#include <array>
#include <opencv2/core.hpp>

// Turns the page inside a quadrilateral into an upright rectangle of the page's own proportions.
// Proportions within a few per cent of a paper size are made exactly that size (the paper of the
// locale first: Letter where the US measures, A4 elsewhere); the picture keeps about the
// resolution the camera had on the page, at most kMaxPpi.
//
// Threads: stateless; any thread.
class PageRectifier
{
public:
    enum class Paper { A4, Letter };
    static constexpr double kSnapTolerance = 0.04;
    static constexpr int kMaxPpi = 300;

    struct Page
    {
        cv::Mat picture;
        // The physical size the page is given, in millimetres (portrait or landscape as seen).
        cv::Size2d millimetres;
        int ppi = 0;
        bool snapped = false;
    };

    explicit PageRectifier(Paper localPaper = paperOfLocale())
        : m_localPaper(localPaper)
    { }

    // The locale's paper (QLocale's measurement system).
    static Paper paperOfLocale();

    // The page's physical size from the quadrilateral's proportions, undoing the perspective of
    // a camera looking at the middle of a `picture` of that size.
    cv::Size2d physicalSize(const PageQuad &quad, cv::Size picture, bool *snapped = nullptr) const;

    Page rectify(const cv::Mat &picture, const PageQuad &quad) const;
    // A straightened book spread cut at its gutter (the darkest column near its middle) into its
    // left and right pages, each at the same resolution.
    static std::array<Page, 2> splitSpread(const Page &spread);
    // The whole picture as a page (no page was found in it): its proportions kept.
    Page whole(const cv::Mat &picture) const;

private:
    Page warp(const cv::Mat &picture, const PageQuad &quad, cv::Size2d mm, bool snapped) const;

    Paper m_localPaper;
};

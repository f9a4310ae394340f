#pragma once

#include "document/PageQuad.h"

#include <opencv2/core.hpp>
#include <optional>

// Finds the page in a camera picture. The picture is looked at on a working copy of about
// 640 pixels across: quadrilaterals are proposed from several edge and brightness maps (so that a
// white page on a light desk, a shaded page and a page with a hand over a corner each give at
// least one), every candidate is ranked by how well the picture's edges follow each of its four
// sides, and the best one's sides are refitted to the edges found along them.
//
// Threads: stateless apart from its settings; one detector may be used by one thread at a time,
// and separate detectors on separate threads at once.
class PageDetector
{
public:
    // The long side of the working copy, in pixels.
    static constexpr int kWorkingSize = 640;

    // The page in a BGR or grey picture of any size, in that picture's pixels; none when no
    // quadrilateral of a plausible size is supported by edges on all four sides.
    std::optional<PageQuad> detect(const cv::Mat &picture) const;
};

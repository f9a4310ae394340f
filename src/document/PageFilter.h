#pragma once

#include <QString>

#include <opencv2/core.hpp>
#include <optional>

// What is done to a straightened page before it is saved. Colour: the light over the page made
// even and its paper made white (which also balances the white). Greyscale: the same, in grey.
// Black and white: an adaptive threshold of the evened grey page. Original: as the camera saw it.
//
// Threads: stateless; any thread.
class PageFilter
{
public:
    enum class Kind { Colour, Greyscale, BlackAndWhite, Original };

    // The names the command line uses: colour, grey, bw, original.
    static std::optional<Kind> fromName(const QString &name);
    static QString name(Kind kind);

    // A BGR page evened out: each channel divided by an estimate of the paper's brightness under
    // it, so that shading and a tinted light leave white paper.
    static cv::Mat flatten(const cv::Mat &bgr);
    // The filtered page (BGR for Colour and Original, one channel otherwise).
    static cv::Mat apply(const cv::Mat &bgr, Kind kind);
    // What OCR reads for a page under `kind`: the evened page, never a thresholded one (the
    // recogniser binarises better itself).
    static cv::Mat forRecognition(const cv::Mat &bgr, Kind kind);
};

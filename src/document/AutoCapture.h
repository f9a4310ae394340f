#pragma once

#include <cstdint>
#include <functional>
#include <opencv2/core.hpp>

// When to take a page by itself, from the live picture: after the picture has changed (a page put
// down or turned) and has then stayed still for about a second with a page in it. Nothing is
// taken while something moves (a hand), and a page that is the same as the one last taken is not
// taken again, however often a hand passes over it.
//
// Frames are compared on a small grey copy, so the sensor's noise and the light's flicker do not
// count as movement.
//
// Threads: a state machine owned by one thread (the worker that also finds the outline).
class AutoCapture
{
public:
    struct Settings
    {
        std::int64_t stillMs = 900; // how long the picture must stay still
        double moving = 0.004;      // share of changed pixels between frames that is movement
        double different = 0.02;    // share of changed pixels from the last page that is new
    };

    AutoCapture()
        : AutoCapture(Settings())
    { }
    explicit AutoCapture(Settings settings)
        : m_settings(settings)
    { }

    // One frame (BGR or grey, any size) at `ms` on a steady clock. True when this frame is the
    // one to take. `pageFound` says whether a page is in it; it is asked only of a frame that
    // would be taken, so the finding costs nothing while the picture moves.
    bool offer(const cv::Mat &frame, std::int64_t ms, const std::function<bool()> &pageFound);

    // Forget the last page taken (a new document), so that the page under the camera is taken.
    void reset();

    // The small grey copy frames are compared on.
    static cv::Mat thumbnail(const cv::Mat &frame);
    // The share of pixels that differ clearly between two thumbnails.
    static double changed(const cv::Mat &a, const cv::Mat &b);

private:
    Settings m_settings;
    cv::Mat m_previous;
    cv::Mat m_lastTaken;
    std::int64_t m_stillSince = -1;
};

#include "document/AutoCapture.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>

namespace {

constexpr int kThumbnailWidth = 160;
// A pixel of the thumbnail has changed when it moved by more than the noise does.
constexpr int kPixelChange = 18;

} // namespace

cv::Mat AutoCapture::thumbnail(const cv::Mat &frame)
{
    cv::Mat grey;
    if (frame.channels() == 3)
        cv::cvtColor(frame, grey, cv::COLOR_BGR2GRAY);
    else if (frame.channels() == 4)
        cv::cvtColor(frame, grey, cv::COLOR_BGRA2GRAY);
    else
        grey = frame;
    const double factor = double(kThumbnailWidth) / std::max(1, grey.cols);
    cv::Mat small;
    cv::resize(grey, small, cv::Size(kThumbnailWidth, std::max(1, int(grey.rows * factor))), 0, 0,
               cv::INTER_AREA);
    cv::GaussianBlur(small, small, cv::Size(3, 3), 0);
    return small;
}

double AutoCapture::changed(const cv::Mat &a, const cv::Mat &b)
{
    if (a.empty() || b.empty() || a.size() != b.size())
        return 1.0;
    cv::Mat diff;
    cv::absdiff(a, b, diff);
    return double(cv::countNonZero(diff > kPixelChange)) / double(diff.total());
}

void AutoCapture::reset()
{
    m_lastTaken.release();
    m_stillSince = -1;
}

bool AutoCapture::offer(const cv::Mat &frame, std::int64_t ms, const std::function<bool()> &pageFound)
{
    const cv::Mat current = thumbnail(frame);
    const bool moving = changed(current, m_previous) > m_settings.moving;
    m_previous = current;
    if (moving || m_stillSince < 0) {
        m_stillSince = ms;
        return false;
    }
    if (ms - m_stillSince < m_settings.stillMs)
        return false;
    if (!m_lastTaken.empty() && changed(current, m_lastTaken) <= m_settings.different)
        return false;
    if (!pageFound())
        return false;
    m_lastTaken = current;
    return true;
}

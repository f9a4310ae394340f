#pragma once

#include <opencv2/core.hpp>

struct Pix;

// A Leptonica picture copied from an 8-bit grey OpenCV one, owned for its lifetime.
//
// Threads: a value of the thread that made it.
class PixImage
{
public:
    PixImage(const cv::Mat &grey, int ppi);
    ~PixImage();
    PixImage(const PixImage &) = delete;
    PixImage &operator=(const PixImage &) = delete;

    Pix *get() const { return m_pix; }

private:
    Pix *m_pix = nullptr;
};

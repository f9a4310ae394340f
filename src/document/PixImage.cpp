#include "document/PixImage.h"

#include <leptonica/allheaders.h>
#include <new>

PixImage::PixImage(const cv::Mat &grey, int ppi)
{
    CV_Assert(grey.type() == CV_8UC1);
    m_pix = pixCreate(grey.cols, grey.rows, 8);
    if (!m_pix)
        throw std::bad_alloc();
    pixSetResolution(m_pix, ppi, ppi);
    l_uint32 *data = pixGetData(m_pix);
    const int wpl = pixGetWpl(m_pix);
    for (int y = 0; y < grey.rows; ++y) {
        const uchar *row = grey.ptr<uchar>(y);
        l_uint32 *line = data + size_t(y) * size_t(wpl);
        for (int x = 0; x < grey.cols; ++x)
            SET_DATA_BYTE(line, x, row[x]);
    }
}

PixImage::~PixImage()
{
    pixDestroy(&m_pix);
}

#include "sources/photograph/PictureScaler.h"

#include <algorithm>
#include <cstring>

PictureScaler::PictureScaler(const QSize &source, const QSize &target, QImage::Format format)
    : m_source(source)
    , m_target(target)
{
    if (source.isEmpty() || target.isEmpty() || target.width() > source.width()
        || target.height() > source.height())
        return;
    m_image = QImage(target, format);
    if (m_image.isNull())
        return;
    m_column.resize(source.width());
    for (int x = 0; x < source.width(); ++x)
        m_column[x] = int(qint64(x) * target.width() / source.width());
    m_sum.fill(0, target.width() * 4);
    m_count.fill(0, target.width());
    for (int x = 0; x < source.width(); ++x)
        ++m_count[m_column[x]];
}

qint64 PictureScaler::memoryFor(const QSize &source, const QSize &target)
{
    return qint64(target.width()) * target.height() * 4 + qint64(target.width()) * (4 * 8 + 4)
        + qint64(source.width()) * 4;
}

void PictureScaler::addRow(const uchar *pixels)
{
    if (!isValid() || m_rowsTaken >= m_source.height())
        return;
    const int row = int(qint64(m_rowsTaken) * m_target.height() / m_source.height());
    if (row != m_targetRow) {
        flushRow();
        m_targetRow = row;
    }
    ++m_rowsTaken;
    ++m_rowsGathered;
    if (m_target.width() == m_source.width() && m_target.height() == m_source.height()) {
        std::memcpy(m_image.scanLine(row), pixels, size_t(m_source.width()) * 4);
        m_rowsGathered = 0;
        m_targetRow = row + 1;
        return;
    }
    std::uint64_t *sum = m_sum.data();
    const int *column = m_column.constData();
    for (int x = 0; x < m_source.width(); ++x) {
        std::uint64_t *s = sum + column[x] * 4;
        const uchar *p = pixels + x * 4;
        s[0] += p[0];
        s[1] += p[1];
        s[2] += p[2];
        s[3] += p[3];
    }
}

void PictureScaler::flushRow()
{
    if (m_rowsGathered == 0 || m_targetRow >= m_target.height())
        return;
    uchar *out = m_image.scanLine(m_targetRow);
    std::uint64_t *sum = m_sum.data();
    for (int x = 0; x < m_target.width(); ++x) {
        const std::uint64_t n = std::uint64_t(m_count[x]) * std::uint64_t(m_rowsGathered);
        for (int c = 0; c < 4; ++c) {
            out[x * 4 + c] = uchar(n ? (sum[x * 4 + c] + n / 2) / n : 0);
            sum[x * 4 + c] = 0;
        }
    }
    m_rowsGathered = 0;
}

QImage PictureScaler::finish(QRgb fill)
{
    if (!isValid())
        return QImage();
    flushRow();
    // The first target row no source row reached.
    int filledTo = m_target.height();
    if (m_rowsTaken < m_source.height())
        filledTo = m_rowsTaken == 0
            ? 0
            : int(qint64(m_rowsTaken - 1) * m_target.height() / m_source.height()) + 1;
    for (int y = filledTo; y < m_target.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        std::fill(line, line + m_target.width(), fill);
    }
    QImage result = m_image;
    m_image = QImage();
    return result;
}

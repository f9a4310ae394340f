#pragma once

#include <QImage>
#include <QSize>
#include <QVector>

#include <cstdint>

// Scales a picture down while its rows arrive from a decoder, one row at a time, so that only
// the scaled picture and one row of sums are ever held: each target pixel is the average of the
// source pixels its area covers (a box filter). Rows are 4-byte pixels in the order B, G, R, X
// (or A), the layout of QImage::Format_RGB32 and Format_ARGB32 in memory.
//
// A target as large as the source copies the rows; a target larger than the source is not what
// this is for (the caller decodes at the source size and scales up afterwards).
//
// Threads: one thread at a time; the decoders use one per picture.
class PictureScaler
{
public:
    // `source` rows of `source.width()` pixels will arrive, top to bottom; the result is
    // `target` large, in `format` (RGB32 or ARGB32). An allocation that fails leaves the
    // scaler invalid.
    PictureScaler(const QSize &source, const QSize &target, QImage::Format format);

    bool isValid() const { return !m_image.isNull(); }
    // Bytes held while scaling (the target picture and the sums).
    static qint64 memoryFor(const QSize &source, const QSize &target);

    // Takes the next source row (source.width() pixels).
    void addRow(const uchar *pixels);
    // Rows taken so far.
    int rowsTaken() const { return m_rowsTaken; }
    // The target rows no source row reached (a picture cut short) are filled with `fill`, then
    // the picture is handed out; the scaler is spent afterwards.
    QImage finish(QRgb fill);

private:
    void flushRow();

    QSize m_source;
    QSize m_target;
    QImage m_image;
    QVector<int> m_column;        // target column of each source column
    QVector<std::uint64_t> m_sum; // B, G, R, A sums of the target row being gathered
    QVector<std::uint32_t> m_count;
    int m_rowsTaken = 0;
    int m_targetRow = 0; // the target row being gathered
    int m_rowsGathered = 0;
};

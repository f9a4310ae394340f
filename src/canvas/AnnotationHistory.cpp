#include "canvas/AnnotationHistory.h"

#include "common/Logging.h"

#include <QTransform>

#include <cstring>
#include <utility>

namespace {

constexpr int BytesPerPixel = 4; // the layer is 32-bit premultiplied ARGB

bool rowsDiffer(const uchar *a, const uchar *b, int width)
{
    return std::memcmp(a, b, std::size_t(width) * BytesPerPixel) != 0;
}

// Whether every pixel of `picture` is fully transparent (all bytes zero).
bool transparent(const QImage &picture)
{
    const std::size_t rowBytes = std::size_t(picture.width()) * BytesPerPixel;
    if (rowBytes == 0)
        return true;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *row = picture.constScanLine(y);
        if (row[0] != 0 || std::memcmp(row, row + 1, rowBytes - 1) != 0)
            return false;
    }
    return true;
}

// The part `rect` of `picture`, or no picture when that part is transparent.
QImage keptPart(const QImage &picture, const QRect &rect)
{
    QImage part = picture.copy(rect);
    return transparent(part) ? QImage() : part;
}

} // namespace

QRect AnnotationHistory::changedRect(const QImage &before, const QImage &after)
{
    if (before.isNull() || (!after.isNull() && after.size() != before.size()))
        return QRect();
    const int w = before.width();
    const std::vector<uchar> zeros(after.isNull() ? std::size_t(w) * BytesPerPixel : 0, 0);
    auto rowOf = [&](int y) { return after.isNull() ? zeros.data() : after.constScanLine(y); };

    int top = -1;
    int bottom = -1;
    for (int y = 0; y < before.height(); ++y) {
        if (rowsDiffer(before.constScanLine(y), rowOf(y), w)) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    if (top < 0)
        return QRect();
    int left = w;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const auto *a = reinterpret_cast<const quint32 *>(before.constScanLine(y));
        const auto *b = reinterpret_cast<const quint32 *>(rowOf(y));
        for (int x = 0; x < left; ++x) {
            if (a[x] != b[x]) {
                left = x;
                break;
            }
        }
        for (int x = w - 1; x > right; --x) {
            if (a[x] != b[x]) {
                right = x;
                break;
            }
        }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect AnnotationHistory::turned(const QRect &rect, const QSize &layerSize, int quarterTurns)
{
    QRect r = rect;
    QSize size = layerSize;
    for (int i = 0; i < ((quarterTurns % 4) + 4) % 4; ++i) {
        // One clockwise quarter turn takes pixel (x, y) of a W x H layer to (H - 1 - y, x).
        r = QRect(size.height() - r.y() - r.height(), r.x(), r.height(), r.width());
        size.transpose();
    }
    return r;
}

std::size_t AnnotationHistory::costOf(const Step &step)
{
    return sizeof(Step) + std::size_t(step.before.sizeInBytes()) + std::size_t(step.after.sizeInBytes());
}

void AnnotationHistory::recordLayer(const QImage &before, const QImage &after, int quarterTurns,
                                    bool dirtyBefore, bool dirtyAfter)
{
    const QRect rect = changedRect(before, after);
    if (rect.isNull())
        return;
    Step step;
    step.rect = rect;
    step.quarterTurns = quarterTurns;
    step.layerSize = before.size();
    step.before = keptPart(before, rect);
    step.after = keptPart(after, rect);
    step.dirtyBefore = dirtyBefore;
    step.dirtyAfter = dirtyAfter;
    push(std::move(step));
}

void AnnotationHistory::recordCleared(const QImage &layer, int quarterTurns, bool dirtyBefore)
{
    const QRect rect = changedRect(layer, QImage());
    if (rect.isNull())
        return; // nothing was drawn: erasing it changes nothing worth a step
    Step step;
    step.rect = rect;
    step.quarterTurns = quarterTurns;
    step.layerSize = layer.size();
    step.before = layer.copy(rect);
    step.dirtyBefore = dirtyBefore;
    step.dirtyAfter = false;
    push(std::move(step));
}

void AnnotationHistory::recordBackground(const QColor &before, const QColor &after)
{
    if (before == after)
        return;
    Step step;
    step.background = true;
    step.backgroundBefore = before;
    step.backgroundAfter = after;
    push(std::move(step));
}

void AnnotationHistory::push(Step step)
{
    dropUndone();
    step.bytes = costOf(step);
    if (step.bytes > BYTE_BOUND) {
        qCInfo(lcCanvas) << "a drawing step of" << step.bytes
                         << "bytes exceeds the history's bound; history cleared";
        m_done.clear();
        m_bytes = 0;
        return;
    }
    while (!m_done.empty() && m_bytes + step.bytes > BYTE_BOUND) {
        m_bytes -= m_done.front().bytes;
        m_done.pop_front();
    }
    m_bytes += step.bytes;
    m_done.push_back(std::move(step));
}

void AnnotationHistory::dropUndone()
{
    for (const Step &s : m_undone)
        m_bytes -= s.bytes;
    m_undone.clear();
}

void AnnotationHistory::clear()
{
    m_done.clear();
    m_undone.clear();
    m_bytes = 0;
    ++m_generation;
}

void AnnotationHistory::apply(const Step &step, const QImage &picture, QImage &layer, int quarterTurns)
{
    const int delta = ((quarterTurns - step.quarterTurns) % 4 + 4) % 4;
    const QRect target = turned(step.rect, step.layerSize, delta);
    if (layer.isNull() || !layer.rect().contains(target)) {
        qCWarning(lcCanvas) << "drawing step outside the layer skipped:" << target << layer.size();
        return;
    }
    QImage part = picture;
    if (!part.isNull() && delta != 0)
        part = part.transformed(QTransform().rotate(90 * delta), Qt::FastTransformation);
    if (!part.isNull() && part.format() != layer.format())
        part = part.convertToFormat(layer.format());
    const std::size_t rowBytes = std::size_t(target.width()) * BytesPerPixel;
    for (int y = 0; y < target.height(); ++y) {
        uchar *row = layer.scanLine(target.y() + y) + std::size_t(target.x()) * BytesPerPixel;
        if (part.isNull())
            std::memset(row, 0, rowBytes);
        else
            std::memcpy(row, part.constScanLine(y), rowBytes);
    }
}

AnnotationHistory::Applied AnnotationHistory::undo(QImage &layer, int quarterTurns, bool &dirty)
{
    Applied applied;
    if (m_done.empty())
        return applied;
    Step step = std::move(m_done.back());
    m_done.pop_back();
    if (step.background) {
        applied.background = step.backgroundBefore;
    } else {
        apply(step, step.before, layer, quarterTurns);
        dirty = step.dirtyBefore;
    }
    applied.done = true;
    m_undone.push_back(std::move(step));
    return applied;
}

AnnotationHistory::Applied AnnotationHistory::redo(QImage &layer, int quarterTurns, bool &dirty)
{
    Applied applied;
    if (m_undone.empty())
        return applied;
    Step step = std::move(m_undone.back());
    m_undone.pop_back();
    if (step.background) {
        applied.background = step.backgroundAfter;
    } else {
        apply(step, step.after, layer, quarterTurns);
        dirty = step.dirtyAfter;
    }
    applied.done = true;
    m_done.push_back(std::move(step));
    return applied;
}

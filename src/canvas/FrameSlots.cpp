#include "canvas/FrameSlots.h"

#include "common/Logging.h"

#include <QDebug>

#include <cstdint>
#include <cstdlib>
#include <limits>

FrameSlots::~FrameSlots()
{
    for (STREAM_FRAME_DATA &s : m_slots) {
        std::free(s.buffer);
        s.buffer = nullptr;
    }
}

std::size_t FrameSlots::frameBytes(int width, int height, bool alpha)
{
    if (width <= 0 || height <= 0)
        return 0;
    const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height) * (alpha ? 4u : 3u);
    if (bytes > std::uint64_t(std::numeric_limits<std::ptrdiff_t>::max() / 2))
        return 0;
    return std::size_t(bytes);
}

bool FrameSlots::adjStreamFrameData(STREAM_FRAME_DATA *pSFD, int width, int height, bool flip, bool alpha,
                                    const Allocator &allocate)
{
    if (!pSFD) {
        qCDebug(lcTrace) << "null pSFD";
        return false;
    }
    if (width != pSFD->width || height != pSFD->height || alpha != pSFD->alpha || !pSFD->buffer) {
        qCDebug(lcTrace).nospace() << "adjStreamFrameData(), size " << width << "x" << height
                                   << ", aplha =" << alpha;
        const std::uint64_t wanted = std::uint64_t(qMax(width, 0)) * std::uint64_t(qMax(height, 0));
        const std::uint64_t held = std::uint64_t(pSFD->allocWidth) * std::uint64_t(pSFD->allocHeight);
        if (pSFD->buffer && held < wanted) {
            std::free(pSFD->buffer);
            pSFD->buffer = nullptr;
            pSFD->allocWidth = 0;
            pSFD->allocHeight = 0;
        }
        if (!pSFD->buffer) {
            // Always room for 4-byte pixels, whatever the frame's layout.
            const std::size_t bytes = frameBytes(width, height, true);
            void *block = bytes ? allocate(bytes) : nullptr;
            if (block) {
                pSFD->buffer = static_cast<unsigned char *>(block);
                pSFD->allocWidth = width;
                pSFD->allocHeight = height;
            } else {
                qCDebug(lcTrace) << "allocate buffer fail";
            }
        }
    }
    pSFD->width = width;
    pSFD->height = height;
    pSFD->flip = flip;
    pSFD->alpha = alpha;
    return pSFD->buffer != nullptr;
}

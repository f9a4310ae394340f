#include "sources/media/MediaFramework.h"

#include "common/Logging.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/JpegDecoderElement.h"
#include "sources/media/MappedMemoryAllocator.h"

#include <gst/gst.h>

bool MediaFramework::initialize()
{
    GError *error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        qCCritical(lcMedia) << "GStreamer cannot start:" << (error ? error->message : "unknown reason");
        g_clear_error(&error);
        return false;
    }
    MappedMemoryAllocator::installAsDefault();
    if (!GrabberElement::registerElement()) {
        qCCritical(lcMedia) << "the frame grabber element cannot be registered";
        return false;
    }
    if (!JpegDecoderElement::registerElement()) {
        qCCritical(lcMedia) << "the JPEG decoder element cannot be registered";
        return false;
    }
    return true;
}

void MediaFramework::shutdown()
{
    if (gst_is_initialized())
        gst_deinit();
}

#include "sources/media/MediaFramework.h"

#include "common/Logging.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/JpegDecoderElement.h"
#include "sources/media/MappedMemoryAllocator.h"

#include <gst/gst.h>

bool MediaFramework::initialize()
{
    // When v4l2src stops, GStreamer 1.22 hands the camera's buffers back to the driver as
    // orphans if the driver allows it (every videobuf2 driver, uvcvideo included), and the
    // element then never finalizes: each stop of a camera pipeline would keep the element,
    // its buffer pool and a descriptor on the device for the rest of the process, and a
    // camera plugged in again would come back under a new node number. Draining the buffers
    // at the stop instead is what v4l2src did before orphaning existed; this variable asks
    // for it (a value the user set stays).
    g_setenv("GST_V4L2_FORCE_DRAIN", "1", FALSE);
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

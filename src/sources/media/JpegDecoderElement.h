#pragma once

#include "sources/media/GstRef.h"

// The GStreamer element that decodes camera JPEGs straight into the grabber's layout: an
// application-private GstBaseTransform ("doccamjpegdec") taking image/jpeg with a width and
// a height and giving video/x-raw,format=BGRx of that size, framerate and pixel aspect passed
// through. It decodes with JpegFrameDecoder into buffers of a pool agreed with downstream (a
// GstVideoBufferPool unless downstream offers its own), so in the steady state a frame costs
// no allocation. A pool of its own takes its memory from MappedMemoryAllocator.
//
// With "max-width" and "max-height" set, a picture larger than that box is scaled down while it
// is decoded (libjpeg's scaling, to the smallest eighth of each side that still covers the
// picture's fit into the box), and the source caps carry the scaled size: a film of huge
// frames reaches the canvas at a size it can show, and no full-size frame is ever made.
//
// It takes the frames JpegFrameDecoder takes. A frame it cannot decode whole (corrupt, cut
// short, of another size or kind than the stream's) is dropped, counted in the read-only
// "frames-dropped" property and logged on the element's debug category; the first drop and
// then every power of two also post a warning on the bus. "frames-decoded" counts the rest.
// Which frames go to this element at all is decided by JpegDecodeBranch.
//
// While the live path is measured, each frame is stamped as it enters (common/FrameArrival).
//
// Threads: registerElement() and create() run on the GUI thread (or a test's main thread).
// Frames are decoded on the streaming thread; the counters are atomic and read from anywhere.
class JpegDecoderElement
{
public:
    static constexpr const char *FACTORY_NAME = "doccamjpegdec";

    // Registers the element type with GStreamer, for this process only. Repeating it is
    // harmless. GStreamer must be initialised.
    static bool registerElement();

    // A new decoder element; null if the type is not registered.
    static GstRef<GstElement> create(const char *name);

    // The element's counters; 0 for any other element.
    static guint64 framesDecoded(GstElement *element);
    static guint64 framesDropped(GstElement *element);
};

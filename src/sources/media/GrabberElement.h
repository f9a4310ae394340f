#pragma once

#include "sources/media/GstRef.h"

#include <memory>

class DirectShowTransformFilter;

// The GStreamer element that hosts a DirectShowTransformFilter: an application-private
// in-place GstBaseTransform ("doccamgrabber") whose "sink" and "src" pads are the filter's
// input and output pins. Its caps are decided once, when the filter is attached:
// video/x-raw,format=BGRx for preview and film, image/jpeg for record. Negotiated caps are put
// to the filter's CheckInputType (refusal fails the negotiation) and SetMediaType; each buffer
// goes through Transform, and S_FALSE drops it.
//
// Threads: registerElement() and create() run on the GUI thread (or a test's main thread).
// The filter pointer and the mode caps are written once before the element is linked and
// are read under the element's object lock by negotiation and by the streaming thread.
class GrabberElement
{
public:
    static constexpr const char *FACTORY_NAME = "doccamgrabber";

    // Registers the element type with GStreamer, for this process only. Repeating it is
    // harmless. GStreamer must be initialised (MediaFramework::initialize()).
    static bool registerElement();

    // A new grabber element holding one reference on the filter; null if the type is not
    // registered.
    static GstRef<GstElement> create(std::shared_ptr<DirectShowTransformFilter> filter, const char *name);

    // The filter a grabber element hosts, or null for any other element.
    static std::shared_ptr<DirectShowTransformFilter> filter(GstElement *element);
};

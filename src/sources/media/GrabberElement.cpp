#include "sources/media/GrabberElement.h"

#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/MediaSample.h"

#include <gst/base/gstbasetransform.h>

// The element itself follows the usual GObject layout; its C++ state lives in one heap
// block owned by the instance, created in init and destroyed in finalize.
namespace {

struct GrabberState
{
    std::shared_ptr<DirectShowTransformFilter> filter;
    GstRef<GstCaps> modeCaps;
};

} // namespace

struct DoccamGrabber
{
    GstBaseTransform parent;
    GrabberState *state;
};

struct DoccamGrabberClass
{
    GstBaseTransformClass parent_class;
};

GST_DEBUG_CATEGORY_STATIC(doccam_grabber_debug);
#define GST_CAT_DEFAULT doccam_grabber_debug

G_DEFINE_TYPE(DoccamGrabber, doccam_grabber, GST_TYPE_BASE_TRANSFORM)

#define DOCCAM_TYPE_GRABBER (doccam_grabber_get_type())
#define DOCCAM_GRABBER(obj) (G_TYPE_CHECK_INSTANCE_CAST((obj), DOCCAM_TYPE_GRABBER, DoccamGrabber))
#define DOCCAM_IS_GRABBER(obj) (G_TYPE_CHECK_INSTANCE_TYPE((obj), DOCCAM_TYPE_GRABBER))

#define GRABBER_FRAME_CAPS                                                                                   \
    "video/x-raw, format = (string) BGRx, "                                                                  \
    "width = (int) [ 1, max ], height = (int) [ 1, max ]"
#define GRABBER_RECORD_CAPS "image/jpeg, width = (int) [ 1, max ], height = (int) [ 1, max ]"

static GstStaticPadTemplate doccam_grabber_sink_template = GST_STATIC_PAD_TEMPLATE(
    "sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS(GRABBER_FRAME_CAPS "; " GRABBER_RECORD_CAPS));

static GstStaticPadTemplate doccam_grabber_src_template = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(GRABBER_FRAME_CAPS "; " GRABBER_RECORD_CAPS));

namespace {

std::shared_ptr<DirectShowTransformFilter> lockedFilter(DoccamGrabber *self)
{
    GST_OBJECT_LOCK(self);
    std::shared_ptr<DirectShowTransformFilter> filter = self->state->filter;
    GST_OBJECT_UNLOCK(self);
    return filter;
}

} // namespace

static GstCaps *doccam_grabber_transform_caps(GstBaseTransform *trans, GstPadDirection, GstCaps *caps,
                                              GstCaps *filter)
{
    DoccamGrabber *self = DOCCAM_GRABBER(trans);
    GST_OBJECT_LOCK(self);
    GstRef<GstCaps> allowed = self->state->modeCaps;
    GST_OBJECT_UNLOCK(self);
    // Without a filter the element accepts nothing: it could not judge a single frame.
    if (!allowed)
        return gst_caps_new_empty();

    GstCaps *result = gst_caps_intersect_full(caps, allowed.get(), GST_CAPS_INTERSECT_FIRST);
    if (filter) {
        GstCaps *filtered = gst_caps_intersect_full(filter, result, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(result);
        result = filtered;
    }
    GST_DEBUG_OBJECT(self, "transformed %" GST_PTR_FORMAT " into %" GST_PTR_FORMAT, caps, result);
    return result;
}

static gboolean doccam_grabber_set_caps(GstBaseTransform *trans, GstCaps *incaps, GstCaps *outcaps)
{
    DoccamGrabber *self = DOCCAM_GRABBER(trans);
    const std::shared_ptr<DirectShowTransformFilter> filter = lockedFilter(self);
    if (!filter) {
        GST_ERROR_OBJECT(self, "no grabber filter attached; caps %" GST_PTR_FORMAT " refused", incaps);
        return FALSE;
    }
    const MediaType inType = MediaType::fromCaps(incaps);
    if (filter->CheckInputType(inType) != S_OK) {
        GST_ERROR_OBJECT(self, "grabber in mode %d refuses caps %" GST_PTR_FORMAT, filter->mode(), incaps);
        return FALSE;
    }
    filter->SetMediaType(PinDirection::Input, inType);
    filter->SetMediaType(PinDirection::Output, MediaType::fromCaps(outcaps));
    GST_INFO_OBJECT(self, "frames of %d x %d", filter->width(), filter->height());
    return TRUE;
}

static GstFlowReturn doccam_grabber_transform_ip(GstBaseTransform *trans, GstBuffer *buffer)
{
    DoccamGrabber *self = DOCCAM_GRABBER(trans);
    const std::shared_ptr<DirectShowTransformFilter> filter = lockedFilter(self);
    if (!filter) {
        GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, (nullptr), ("no grabber filter attached"));
        return GST_FLOW_NOT_NEGOTIATED;
    }
    MediaSample sample(buffer);
    const HRESULT hr = filter->Transform(sample);
    if (hr == S_FALSE) {
        GST_LOG_OBJECT(self, "buffer %" GST_PTR_FORMAT " dropped", buffer);
        return GST_BASE_TRANSFORM_FLOW_DROPPED;
    }
    return GST_FLOW_OK;
}

static void doccam_grabber_finalize(GObject *object)
{
    DoccamGrabber *self = DOCCAM_GRABBER(object);
    delete self->state;
    self->state = nullptr;
    G_OBJECT_CLASS(doccam_grabber_parent_class)->finalize(object);
}

static void doccam_grabber_class_init(DoccamGrabberClass *klass)
{
    GObjectClass *gobjectClass = G_OBJECT_CLASS(klass);
    GstElementClass *elementClass = GST_ELEMENT_CLASS(klass);
    GstBaseTransformClass *transformClass = GST_BASE_TRANSFORM_CLASS(klass);

    GST_DEBUG_CATEGORY_INIT(doccam_grabber_debug, GrabberElement::FACTORY_NAME, 0,
                            "Document camera frame grabber");

    gobjectClass->finalize = doccam_grabber_finalize;

    gst_element_class_set_static_metadata(elementClass, "Frame grabber", "Filter/Effect/Video",
                                          "Hands frames to the document camera's canvas and puts "
                                          "its processed pictures into recordings",
                                          "Quillmore");
    gst_element_class_add_static_pad_template(elementClass, &doccam_grabber_sink_template);
    gst_element_class_add_static_pad_template(elementClass, &doccam_grabber_src_template);

    transformClass->transform_caps = GST_DEBUG_FUNCPTR(doccam_grabber_transform_caps);
    transformClass->set_caps = GST_DEBUG_FUNCPTR(doccam_grabber_set_caps);
    transformClass->transform_ip = GST_DEBUG_FUNCPTR(doccam_grabber_transform_ip);
    transformClass->passthrough_on_same_caps = FALSE;
    transformClass->transform_ip_on_passthrough = FALSE;
}

static void doccam_grabber_init(DoccamGrabber *self)
{
    self->state = new GrabberState;
    // The sink writes its processed frame back into the buffer: in place, never passthrough.
    gst_base_transform_set_in_place(GST_BASE_TRANSFORM(self), TRUE);
    gst_base_transform_set_passthrough(GST_BASE_TRANSFORM(self), FALSE);
}

bool GrabberElement::registerElement()
{
    return gst_element_register(nullptr, FACTORY_NAME, GST_RANK_NONE, DOCCAM_TYPE_GRABBER);
}

GstRef<GstElement> GrabberElement::create(std::shared_ptr<DirectShowTransformFilter> filter, const char *name)
{
    GstRef<GstElement> element(gst_element_factory_make(FACTORY_NAME, name));
    if (!element || !DOCCAM_IS_GRABBER(element.get()))
        return {};
    DoccamGrabber *self = DOCCAM_GRABBER(element.get());
    GstRef<GstCaps> caps;
    if (filter) {
        const bool record = filter->mode() == DirectShowTransformFilter::MODE_RECORD;
        caps = GstRef<GstCaps>(gst_caps_from_string(record ? GRABBER_RECORD_CAPS : GRABBER_FRAME_CAPS));
    }
    GST_OBJECT_LOCK(self);
    self->state->filter = std::move(filter);
    self->state->modeCaps = caps;
    GST_OBJECT_UNLOCK(self);
    return element;
}

std::shared_ptr<DirectShowTransformFilter> GrabberElement::filter(GstElement *element)
{
    if (!element || !DOCCAM_IS_GRABBER(element))
        return {};
    return lockedFilter(DOCCAM_GRABBER(element));
}

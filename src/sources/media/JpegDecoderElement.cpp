#include "sources/media/JpegDecoderElement.h"

#include "common/FrameArrival.h"
#include "sources/media/JpegFrameDecoder.h"
#include "sources/media/MappedMemoryAllocator.h"

#include <gst/base/gstbasetransform.h>
#include <gst/video/gstvideopool.h>
#include <gst/video/video.h>

#include <atomic>

// The element follows the usual GObject layout; its C++ state lives in one heap block owned
// by the instance, created in init and destroyed in finalize.
namespace {

// Buffers the pool keeps ready: one being filled while the grabber still holds the last.
constexpr guint MIN_POOL_BUFFERS = 2;

struct DecoderState
{
    JpegFrameDecoder decoder; // streaming thread only
    GstVideoInfo outInfo{};   // streaming thread only (set_caps and transform)
    int eighths = 8;          // streaming thread only (set_caps and transform)
    std::atomic<guint64> decoded{0};
    std::atomic<guint64> dropped{0};
    // The box larger pictures are scaled down towards while they are decoded; 0: none.
    std::atomic<int> maxWidth{0};
    std::atomic<int> maxHeight{0};
};

enum { PROP_0, PROP_FRAMES_DECODED, PROP_FRAMES_DROPPED, PROP_MAX_WIDTH, PROP_MAX_HEIGHT };

const char *outcomeText(JpegFrameDecoder::Outcome outcome)
{
    switch (outcome) {
    case JpegFrameDecoder::Outcome::Unreadable:
        return "no JPEG header";
    case JpegFrameDecoder::Outcome::Unsupported:
        return "a kind of JPEG the stream did not start with";
    case JpegFrameDecoder::Outcome::WrongSize:
        return "a frame of another size";
    case JpegFrameDecoder::Outcome::Corrupt:
        return "corrupt or cut short";
    case JpegFrameDecoder::Outcome::Decoded:
        break;
    }
    return "decoded";
}

} // namespace

struct DoccamJpegDec
{
    GstBaseTransform parent;
    DecoderState *state;
};

struct DoccamJpegDecClass
{
    GstBaseTransformClass parent_class;
};

GST_DEBUG_CATEGORY_STATIC(doccam_jpegdec_debug);
#define GST_CAT_DEFAULT doccam_jpegdec_debug

G_DEFINE_TYPE(DoccamJpegDec, doccam_jpegdec, GST_TYPE_BASE_TRANSFORM)

#define DOCCAM_TYPE_JPEGDEC (doccam_jpegdec_get_type())
#define DOCCAM_JPEGDEC(obj) (G_TYPE_CHECK_INSTANCE_CAST((obj), DOCCAM_TYPE_JPEGDEC, DoccamJpegDec))
#define DOCCAM_IS_JPEGDEC(obj) (G_TYPE_CHECK_INSTANCE_TYPE((obj), DOCCAM_TYPE_JPEGDEC))

static GstStaticPadTemplate doccam_jpegdec_sink_template = GST_STATIC_PAD_TEMPLATE(
    "sink", GST_PAD_SINK, GST_PAD_ALWAYS,
    GST_STATIC_CAPS("image/jpeg, width = (int) [ 1, max ], height = (int) [ 1, max ]"));

static GstStaticPadTemplate doccam_jpegdec_src_template = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS,
    GST_STATIC_CAPS("video/x-raw, format = (string) BGRx, "
                    "width = (int) [ 1, max ], height = (int) [ 1, max ]"));

// image/jpeg and BGRx caps map onto each other field for field; the frame keeps its size.
static GstCaps *doccam_jpegdec_transform_caps(GstBaseTransform *trans, GstPadDirection direction,
                                              GstCaps *caps, GstCaps *filter)
{
    const bool towardsSource = direction == GST_PAD_SINK;
    const char *from = towardsSource ? "image/jpeg" : "video/x-raw";
    GstCaps *result = gst_caps_new_empty();
    if (gst_caps_is_any(caps)) {
        GstPad *other = towardsSource ? GST_BASE_TRANSFORM_SRC_PAD(trans)
                                      : GST_BASE_TRANSFORM_SINK_PAD(trans);
        gst_caps_unref(result);
        result = gst_pad_get_pad_template_caps(other);
    }
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure *in = gst_caps_get_structure(caps, i);
        if (!gst_structure_has_name(in, from))
            continue;
        if (!towardsSource && gst_structure_has_field(in, "format")) {
            GValue bgrx = G_VALUE_INIT;
            g_value_init(&bgrx, G_TYPE_STRING);
            g_value_set_static_string(&bgrx, "BGRx");
            const bool takesBgrx = gst_value_can_intersect(gst_structure_get_value(in, "format"), &bgrx);
            g_value_unset(&bgrx);
            if (!takesBgrx)
                continue;
        }
        GstStructure *out = towardsSource
            ? gst_structure_new("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr)
            : gst_structure_new_empty("image/jpeg");
        for (const char *field : {"width", "height", "framerate", "pixel-aspect-ratio"}) {
            if (const GValue *value = gst_structure_get_value(in, field))
                gst_structure_set_value(out, field, value);
        }
        const DecoderState *state = DOCCAM_JPEGDEC(trans)->state;
        const int boxWidth = state->maxWidth.load(std::memory_order_relaxed);
        const int boxHeight = state->maxHeight.load(std::memory_order_relaxed);
        int width = 0, height = 0;
        if (boxWidth > 0 && boxHeight > 0) {
            if (towardsSource && gst_structure_get_int(in, "width", &width)
                && gst_structure_get_int(in, "height", &height)) {
                // A picture larger than the box comes out as libjpeg scales it while decoding.
                const int eighths = JpegFrameDecoder::scaleToCover(width, height, boxWidth, boxHeight);
                gst_structure_set(out, "width", G_TYPE_INT, JpegFrameDecoder::scaledLength(width, eighths),
                                  "height", G_TYPE_INT, JpegFrameDecoder::scaledLength(height, eighths),
                                  nullptr);
            } else if (!towardsSource) {
                // Many picture sizes decode to a given scaled size.
                gst_structure_remove_fields(out, "width", "height", nullptr);
            }
        }
        if (!gst_structure_has_field(out, "width"))
            gst_structure_set(out, "width", GST_TYPE_INT_RANGE, 1, G_MAXINT, nullptr);
        if (!gst_structure_has_field(out, "height"))
            gst_structure_set(out, "height", GST_TYPE_INT_RANGE, 1, G_MAXINT, nullptr);
        result = gst_caps_merge_structure(result, out);
    }
    if (filter) {
        GstCaps *filtered = gst_caps_intersect_full(filter, result, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(result);
        result = filtered;
    }
    GST_DEBUG_OBJECT(trans, "transformed %" GST_PTR_FORMAT " into %" GST_PTR_FORMAT, caps, result);
    return result;
}

static gboolean doccam_jpegdec_set_caps(GstBaseTransform *trans, GstCaps *incaps, GstCaps *outcaps)
{
    DoccamJpegDec *self = DOCCAM_JPEGDEC(trans);
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, outcaps) || GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGRx) {
        GST_ERROR_OBJECT(self, "cannot give %" GST_PTR_FORMAT, outcaps);
        return FALSE;
    }
    self->state->outInfo = info;
    // The scale follows from the two sizes: the largest that gives the output size (8 eighths
    // when they agree; a tiny picture has the same size at several scales).
    self->state->eighths = 8;
    const GstStructure *in = gst_caps_get_size(incaps) > 0 ? gst_caps_get_structure(incaps, 0) : nullptr;
    int width = 0, height = 0;
    if (in && gst_structure_get_int(in, "width", &width) && gst_structure_get_int(in, "height", &height)) {
        for (int m = 8; m >= 1; --m) {
            if (JpegFrameDecoder::scaledLength(width, m) == GST_VIDEO_INFO_WIDTH(&info)
                && JpegFrameDecoder::scaledLength(height, m) == GST_VIDEO_INFO_HEIGHT(&info)) {
                self->state->eighths = m;
                break;
            }
        }
    }
    GST_INFO_OBJECT(self, "frames of %d x %d from %" GST_PTR_FORMAT, GST_VIDEO_INFO_WIDTH(&info),
                    GST_VIDEO_INFO_HEIGHT(&info), incaps);
    return TRUE;
}

static gboolean doccam_jpegdec_transform_size(GstBaseTransform *trans, GstPadDirection direction, GstCaps *,
                                              gsize, GstCaps *othercaps, gsize *othersize)
{
    if (direction != GST_PAD_SINK)
        return FALSE; // a JPEG's size does not follow from the picture's
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, othercaps)) {
        GST_WARNING_OBJECT(trans, "no frame size in %" GST_PTR_FORMAT, othercaps);
        return FALSE;
    }
    *othersize = GST_VIDEO_INFO_SIZE(&info);
    return TRUE;
}

// Downstream's pool when it offers one, else a video pool of our own; either way with video
// metadata when downstream reads it. The base class then configures the pool for the caps.
static gboolean doccam_jpegdec_decide_allocation(GstBaseTransform *trans, GstQuery *query)
{
    GstCaps *outcaps = nullptr;
    gst_query_parse_allocation(query, &outcaps, nullptr);
    GstVideoInfo info;
    if (!outcaps || !gst_video_info_from_caps(&info, outcaps)) {
        GST_ERROR_OBJECT(trans, "no frame layout in the allocation query");
        return FALSE;
    }
    GstBufferPool *pool = nullptr;
    guint size = 0, min = 0, max = 0;
    const bool offered = gst_query_get_n_allocation_pools(query) > 0;
    if (offered)
        gst_query_parse_nth_allocation_pool(query, 0, &pool, &size, &min, &max);
    bool ownPool = false;
    if (!pool) {
        pool = gst_video_buffer_pool_new();
        ownPool = true;
        GST_DEBUG_OBJECT(trans, "downstream offers no pool; using a video buffer pool");
    }
    // A pool of our own gets mapped memory, unless downstream asked for an allocator of its own.
    GstAllocator *offeredAllocator = nullptr;
    GstAllocationParams params;
    gst_allocation_params_init(&params);
    const bool allocatorOffered = gst_query_get_n_allocation_params(query) > 0;
    if (allocatorOffered)
        gst_query_parse_nth_allocation_param(query, 0, &offeredAllocator, &params);
    if (ownPool && !offeredAllocator) {
        GstAllocator *mapped = MappedMemoryAllocator::get();
        if (allocatorOffered)
            gst_query_set_nth_allocation_param(query, 0, mapped, &params);
        else
            gst_query_add_allocation_param(query, mapped, &params);
        gst_object_unref(mapped);
    }
    if (offeredAllocator)
        gst_object_unref(offeredAllocator);
    size = MAX(size, guint(GST_VIDEO_INFO_SIZE(&info)));
    min = MAX(min, MIN_POOL_BUFFERS);
    if (max != 0)
        max = MAX(max, min);

    GstStructure *config = gst_buffer_pool_get_config(pool);
    gst_buffer_pool_config_set_params(config, outcaps, size, min, max);
    if (gst_query_find_allocation_meta(query, GST_VIDEO_META_API_TYPE, nullptr)
        && gst_buffer_pool_has_option(pool, GST_BUFFER_POOL_OPTION_VIDEO_META))
        gst_buffer_pool_config_add_option(config, GST_BUFFER_POOL_OPTION_VIDEO_META);
    if (!gst_buffer_pool_set_config(pool, config))
        GST_DEBUG_OBJECT(trans, "the pool adjusts its configuration");

    if (offered)
        gst_query_set_nth_allocation_pool(query, 0, pool, size, min, max);
    else
        gst_query_add_allocation_pool(query, pool, size, min, max);
    gst_object_unref(pool);
    return GST_BASE_TRANSFORM_CLASS(doccam_jpegdec_parent_class)->decide_allocation(trans, query);
}

// A frame enters the element: stamped while the live path is measured (FrameArrival).
static GstFlowReturn doccam_jpegdec_submit_input_buffer(GstBaseTransform *trans, gboolean discont,
                                                        GstBuffer *input)
{
    if (FrameArrival::measuring())
        FrameArrival::stampEntry();
    return GST_BASE_TRANSFORM_CLASS(doccam_jpegdec_parent_class)->submit_input_buffer(trans, discont, input);
}

static GstFlowReturn doccam_jpegdec_transform(GstBaseTransform *trans, GstBuffer *inbuf, GstBuffer *outbuf)
{
    DoccamJpegDec *self = DOCCAM_JPEGDEC(trans);
    DecoderState *state = self->state;
    GstMapInfo in = GST_MAP_INFO_INIT;
    if (!gst_buffer_map(inbuf, &in, GST_MAP_READ)) {
        GST_ELEMENT_ERROR(self, RESOURCE, READ, (nullptr), ("cannot read a JPEG frame"));
        return GST_FLOW_ERROR;
    }
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &state->outInfo, outbuf, GST_MAP_WRITE)) {
        gst_buffer_unmap(inbuf, &in);
        GST_ELEMENT_ERROR(self, RESOURCE, WRITE, (nullptr), ("cannot write a decoded frame"));
        return GST_FLOW_ERROR;
    }
    const JpegFrameDecoder::Outcome outcome = state->decoder.decode(
        in.data, in.size, static_cast<uint8_t *>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
        GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), GST_VIDEO_FRAME_WIDTH(&frame),
        GST_VIDEO_FRAME_HEIGHT(&frame), state->eighths);
    gst_video_frame_unmap(&frame);
    gst_buffer_unmap(inbuf, &in);

    if (outcome == JpegFrameDecoder::Outcome::Decoded) {
        state->decoded.fetch_add(1, std::memory_order_relaxed);
        return GST_FLOW_OK;
    }
    const guint64 dropped = state->dropped.fetch_add(1, std::memory_order_relaxed) + 1;
    const QByteArray detail = state->decoder.lastMessage();
    GST_WARNING_OBJECT(self, "frame %" GST_PTR_FORMAT " dropped (%" G_GUINT64_FORMAT " so far): %s: %s",
                       inbuf, dropped, outcomeText(outcome), detail.constData());
    if ((dropped & (dropped - 1)) == 0)
        GST_ELEMENT_WARNING(self, STREAM, DECODE,
                            ("JPEG frame dropped (%" G_GUINT64_FORMAT " so far)", dropped),
                            ("%s: %s", outcomeText(outcome), detail.constData()));
    return GST_BASE_TRANSFORM_FLOW_DROPPED;
}

static void doccam_jpegdec_get_property(GObject *object, guint id, GValue *value, GParamSpec *pspec)
{
    DoccamJpegDec *self = DOCCAM_JPEGDEC(object);
    switch (id) {
    case PROP_FRAMES_DECODED:
        g_value_set_uint64(value, self->state->decoded.load(std::memory_order_relaxed));
        break;
    case PROP_FRAMES_DROPPED:
        g_value_set_uint64(value, self->state->dropped.load(std::memory_order_relaxed));
        break;
    case PROP_MAX_WIDTH:
        g_value_set_int(value, self->state->maxWidth.load(std::memory_order_relaxed));
        break;
    case PROP_MAX_HEIGHT:
        g_value_set_int(value, self->state->maxHeight.load(std::memory_order_relaxed));
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
        break;
    }
}

static void doccam_jpegdec_set_property(GObject *object, guint id, const GValue *value, GParamSpec *pspec)
{
    DoccamJpegDec *self = DOCCAM_JPEGDEC(object);
    switch (id) {
    case PROP_MAX_WIDTH:
        self->state->maxWidth.store(g_value_get_int(value), std::memory_order_relaxed);
        break;
    case PROP_MAX_HEIGHT:
        self->state->maxHeight.store(g_value_get_int(value), std::memory_order_relaxed);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
        break;
    }
}

static void doccam_jpegdec_finalize(GObject *object)
{
    DoccamJpegDec *self = DOCCAM_JPEGDEC(object);
    delete self->state;
    self->state = nullptr;
    G_OBJECT_CLASS(doccam_jpegdec_parent_class)->finalize(object);
}

static void doccam_jpegdec_class_init(DoccamJpegDecClass *klass)
{
    GObjectClass *gobjectClass = G_OBJECT_CLASS(klass);
    GstElementClass *elementClass = GST_ELEMENT_CLASS(klass);
    GstBaseTransformClass *transformClass = GST_BASE_TRANSFORM_CLASS(klass);

    GST_DEBUG_CATEGORY_INIT(doccam_jpegdec_debug, JpegDecoderElement::FACTORY_NAME, 0,
                            "Document camera JPEG decoder");

    gobjectClass->finalize = doccam_jpegdec_finalize;
    gobjectClass->get_property = doccam_jpegdec_get_property;
    gobjectClass->set_property = doccam_jpegdec_set_property;
    const auto flags = GParamFlags(G_PARAM_READABLE | G_PARAM_STATIC_STRINGS);
    g_object_class_install_property(gobjectClass, PROP_FRAMES_DECODED,
                                    g_param_spec_uint64("frames-decoded", "Frames decoded",
                                                        "Frames decoded and passed on", 0, G_MAXUINT64, 0,
                                                        flags));
    g_object_class_install_property(
        gobjectClass, PROP_FRAMES_DROPPED,
        g_param_spec_uint64("frames-dropped", "Frames dropped",
                            "Corrupt, cut short or unexpected frames that were not passed on", 0, G_MAXUINT64,
                            0, flags));

    const auto writable = GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS | GST_PARAM_MUTABLE_READY);
    g_object_class_install_property(
        gobjectClass, PROP_MAX_WIDTH,
        g_param_spec_int("max-width", "Largest width",
                         "Pictures wider or higher than the largest size are scaled down while they are "
                         "decoded, to the smallest eighth of their size that still covers it (0: no limit)",
                         0, G_MAXINT, 0, writable));
    g_object_class_install_property(gobjectClass, PROP_MAX_HEIGHT,
                                    g_param_spec_int("max-height", "Largest height",
                                                     "See max-width (0: no limit)", 0, G_MAXINT, 0,
                                                     writable));

    gst_element_class_set_static_metadata(elementClass, "Camera JPEG decoder", "Codec/Decoder/Image",
                                          "Decodes camera JPEG frames straight into BGRx", "Quillmore");
    gst_element_class_add_static_pad_template(elementClass, &doccam_jpegdec_sink_template);
    gst_element_class_add_static_pad_template(elementClass, &doccam_jpegdec_src_template);

    transformClass->transform_caps = GST_DEBUG_FUNCPTR(doccam_jpegdec_transform_caps);
    transformClass->set_caps = GST_DEBUG_FUNCPTR(doccam_jpegdec_set_caps);
    transformClass->transform_size = GST_DEBUG_FUNCPTR(doccam_jpegdec_transform_size);
    transformClass->decide_allocation = GST_DEBUG_FUNCPTR(doccam_jpegdec_decide_allocation);
    transformClass->submit_input_buffer = GST_DEBUG_FUNCPTR(doccam_jpegdec_submit_input_buffer);
    transformClass->transform = GST_DEBUG_FUNCPTR(doccam_jpegdec_transform);
    transformClass->passthrough_on_same_caps = FALSE;
}

static void doccam_jpegdec_init(DoccamJpegDec *self)
{
    self->state = new DecoderState;
    gst_video_info_init(&self->state->outInfo);
    // Late frames of a film are not worth decoding.
    gst_base_transform_set_qos_enabled(GST_BASE_TRANSFORM(self), TRUE);
}

bool JpegDecoderElement::registerElement()
{
    return gst_element_register(nullptr, FACTORY_NAME, GST_RANK_NONE, DOCCAM_TYPE_JPEGDEC);
}

GstRef<GstElement> JpegDecoderElement::create(const char *name)
{
    GstRef<GstElement> element(gst_element_factory_make(FACTORY_NAME, name));
    if (!element || !DOCCAM_IS_JPEGDEC(element.get()))
        return {};
    return element;
}

guint64 JpegDecoderElement::framesDecoded(GstElement *element)
{
    if (!element || !DOCCAM_IS_JPEGDEC(element))
        return 0;
    return DOCCAM_JPEGDEC(element)->state->decoded.load(std::memory_order_relaxed);
}

guint64 JpegDecoderElement::framesDropped(GstElement *element)
{
    if (!element || !DOCCAM_IS_JPEGDEC(element))
        return 0;
    return DOCCAM_JPEGDEC(element)->state->dropped.load(std::memory_order_relaxed);
}

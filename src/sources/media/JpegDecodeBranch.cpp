#include "sources/media/JpegDecodeBranch.h"

#include "common/FrameArrival.h"
#include "common/Logging.h"
#include "sources/media/GstBufferMapping.h"
#include "sources/media/GstRef.h"
#include "sources/media/JpegDecoderElement.h"

#include <vector>

JpegDecodeBranch::JpegDecodeBranch(GstBin *bin, GstElement *next, const char *decoderName,
                                   const char *converterName, int maxWidth, int maxHeight)
    : m_decoderName(decoderName)
    , m_converterName(converterName)
    , m_maxWidth(maxWidth)
    , m_maxHeight(maxHeight)
{
    g_weak_ref_init(&m_bin, bin);
    g_weak_ref_init(&m_next, next);
}

JpegDecodeBranch::~JpegDecodeBranch()
{
    g_weak_ref_clear(&m_bin);
    g_weak_ref_clear(&m_next);
}

void JpegDecodeBranch::destroy(gpointer self)
{
    delete static_cast<JpegDecodeBranch *>(self);
}

bool JpegDecodeBranch::attach(GstBin *bin, GstPad *jpegOutput, GstElement *next, const char *decoderName,
                              const char *converterName, int maxWidth, int maxHeight)
{
    if (!bin || !jpegOutput || !next || gst_pad_is_linked(jpegOutput))
        return false;
    auto *branch = new JpegDecodeBranch(bin, next, decoderName, converterName, maxWidth, maxHeight);
    return gst_pad_add_probe(jpegOutput, GST_PAD_PROBE_TYPE_BUFFER, &JpegDecodeBranch::onFrame, branch,
                             &JpegDecodeBranch::destroy)
        != 0;
}

JpegDecodeBranch::Choice JpegDecodeBranch::choose(const JpegFrameDecoder::Header &header, const GstCaps *caps,
                                                  QByteArray *why)
{
    const QByteArray size = QByteArray::number(header.width) + " x " + QByteArray::number(header.height);
    switch (header.outcome) {
    case JpegFrameDecoder::Outcome::Decoded:
        break;
    case JpegFrameDecoder::Outcome::Unsupported:
        *why = "the first frame is " + header.description;
        return Choice::Fallback;
    default:
        *why = "no JPEG header: " + header.description;
        return Choice::Undecided;
    }
    int width = 0, height = 0;
    const GstStructure *s = caps && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
    if (!s || !gst_structure_get_int(s, "width", &width) || !gst_structure_get_int(s, "height", &height)) {
        *why = "the stream does not say its frame size";
        return Choice::Fallback;
    }
    if (width != header.width || height != header.height) {
        *why = "the first frame is " + size + ", the stream says " + QByteArray::number(width) + " x "
            + QByteArray::number(height);
        return Choice::Fallback;
    }
    *why = "the first frame is " + header.description + ", " + size;
    return Choice::Direct;
}

GstPadProbeReturn JpegDecodeBranch::onDecoderInput(GstPad *, GstPadProbeInfo *, gpointer)
{
    if (FrameArrival::measuring())
        FrameArrival::stampEntry();
    return GST_PAD_PROBE_OK;
}

GstPadProbeReturn JpegDecodeBranch::onFrame(GstPad *pad, GstPadProbeInfo *info, gpointer self)
{
    auto *branch = static_cast<JpegDecodeBranch *>(self);
    if (branch->m_failed || GST_PAD_IS_FLUSHING(pad))
        return GST_PAD_PROBE_DROP;

    JpegFrameDecoder::Header header;
    {
        GstBufferMapping map(GST_PAD_PROBE_INFO_BUFFER(info), GST_MAP_READ);
        if (map.isMapped()) {
            JpegFrameDecoder inspector;
            header = inspector.inspect(map.data(), map.size());
        }
    }
    GstRef<GstCaps> caps(gst_pad_get_current_caps(pad));
    QByteArray why;
    Choice choice = choose(header, caps.get(), &why);
    if (choice == Choice::Undecided) {
        if (++branch->m_unreadable < MAX_UNREADABLE) {
            qCDebug(lcMedia) << "JPEG frame dropped before the decoder is chosen:" << why;
            return GST_PAD_PROBE_DROP;
        }
        choice = Choice::Fallback;
        why = "no frame header could be read in " + QByteArray::number(branch->m_unreadable) + " frames";
    }
    if (choice == Choice::Direct)
        qCInfo(lcMedia).noquote() << "JPEG frames are decoded straight into BGRx:" << why;
    else
        qCInfo(lcMedia).noquote() << "JPEG frames are decoded by jpegdec and videoconvert:" << why;
    if (!branch->build(pad, choice)) {
        branch->m_failed = true;
        qCWarning(lcMedia) << "the JPEG decoding elements cannot be linked; no frame is decoded";
        return GST_PAD_PROBE_DROP;
    }
    return GST_PAD_PROBE_REMOVE; // the frame goes on into the linked decoder
}

bool JpegDecodeBranch::build(GstPad *jpegOutput, Choice choice)
{
    GstRef<GstElement> bin(static_cast<GstElement *>(g_weak_ref_get(&m_bin)));
    GstRef<GstElement> next(static_cast<GstElement *>(g_weak_ref_get(&m_next)));
    if (!bin || !next)
        return false;

    std::vector<GstRef<GstElement>> chain;
    if (choice == Choice::Direct) {
        chain.push_back(JpegDecoderElement::create(m_decoderName.constData()));
        if (chain.back() && m_maxWidth > 0 && m_maxHeight > 0)
            g_object_set(chain.back().get(), "max-width", m_maxWidth, "max-height", m_maxHeight, nullptr);
    } else {
        chain.emplace_back(gst_element_factory_make("jpegdec", m_decoderName.constData()));
        chain.emplace_back(gst_element_factory_make("videoconvert", m_converterName.constData()));
    }
    std::vector<GstElement *> added;
    auto undo = [&]() {
        for (GstElement *e : added) {
            gst_element_set_state(e, GST_STATE_NULL);
            gst_bin_remove(GST_BIN(bin.get()), e);
        }
    };
    for (const GstRef<GstElement> &e : chain) {
        if (!e || !gst_bin_add(GST_BIN(bin.get()), e.get())) {
            undo();
            return false;
        }
        added.push_back(e.get());
    }
    GstElement *previous = nullptr;
    for (GstElement *e : added) {
        if (previous && !gst_element_link(previous, e)) {
            undo();
            return false;
        }
        previous = e;
    }
    GstRef<GstPad> decoderInput(gst_element_get_static_pad(added.front(), "sink"));
    if (!gst_element_link(added.back(), next.get())
        || gst_pad_link(jpegOutput, decoderInput.get()) != GST_PAD_LINK_OK) {
        undo();
        return false;
    }
    // The app's decoder stamps the frames it takes itself while the live path is measured;
    // jpegdec is told by a probe.
    if (choice == Choice::Fallback)
        gst_pad_add_probe(decoderInput.get(), GST_PAD_PROBE_TYPE_BUFFER, &JpegDecodeBranch::onDecoderInput,
                          nullptr, nullptr);
    // Downstream first, so each element already runs when the one before it pushes.
    for (auto it = added.rbegin(); it != added.rend(); ++it)
        gst_element_sync_state_with_parent(*it);
    return true;
}

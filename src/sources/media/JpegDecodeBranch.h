#pragma once

#include "sources/media/JpegFrameDecoder.h"

#include <QByteArray>

#include <gst/gst.h>

// The decoding step between a pad that carries JPEG frames (the camera's preview queue, a
// film's Motion JPEG stream) and the grabber, which takes BGRx. Which decoder does the work is
// settled by the first frame: a frame's kind (progressive or not, sampling, colour space,
// sample depth) is in its header, not in the caps. When JpegFrameDecoder takes the frame and
// its size agrees with the caps, the app's own decoder element decodes straight into BGRx;
// otherwise jpegdec and videoconvert do, as GStreamer would on its own. The choice holds for
// the life of the graph: a camera does not change the kind of JPEG it sends, and a film's
// stream was written by one encoder.
//
// The pad stays unlinked until then; the events before the first frame (stream start, caps,
// segment) wait on it and go out once the chosen elements are linked. Frames whose header
// cannot be read (cameras send such at start) are dropped until one can; after
// MAX_UNREADABLE of them in a row the fallback takes the stream as it is. While the live path
// is measured, a probe on jpegdec's input stamps the frames it takes, as the app's own decoder
// does itself (common/FrameArrival).
//
// Threads: attach() runs on the GUI thread before the pipeline runs. The choice runs once, on
// the streaming thread that pushes the first frame; it adds the chosen elements to the bin,
// links them and brings them to the bin's state. The probe owns its state and frees it when
// it is removed.
class JpegDecodeBranch
{
public:
    enum class Choice { Undecided, Direct, Fallback };
    static constexpr int MAX_UNREADABLE = 30;

    // Decodes what leaves `jpegOutput` (a source pad of an element in `bin`, not linked) into
    // `next` (an element in `bin`). The decoder is named `decoderName`, the fallback's
    // converter `converterName`. With a box (`maxWidth` x `maxHeight`, both above 0) the app's
    // own decoder scales larger pictures down towards it while decoding.
    static bool attach(GstBin *bin, GstPad *jpegOutput, GstElement *next, const char *decoderName,
                       const char *converterName, int maxWidth = 0, int maxHeight = 0);

    // The choice for a first frame with this header under these caps (null: none known), and
    // why, in words for the log.
    static Choice choose(const JpegFrameDecoder::Header &header, const GstCaps *caps, QByteArray *why);

private:
    JpegDecodeBranch(GstBin *bin, GstElement *next, const char *decoderName, const char *converterName,
                     int maxWidth, int maxHeight);
    ~JpegDecodeBranch();
    static GstPadProbeReturn onFrame(GstPad *pad, GstPadProbeInfo *info, gpointer self);
    static GstPadProbeReturn onDecoderInput(GstPad *pad, GstPadProbeInfo *info, gpointer);
    static void destroy(gpointer self);
    bool build(GstPad *jpegOutput, Choice choice);

    // Weak: the pad that holds the probe belongs to the bin, which must not be kept alive by it.
    GWeakRef m_bin;
    GWeakRef m_next;
    QByteArray m_decoderName;
    QByteArray m_converterName;
    int m_maxWidth = 0;
    int m_maxHeight = 0;
    int m_unreadable = 0;
    bool m_failed = false;
};

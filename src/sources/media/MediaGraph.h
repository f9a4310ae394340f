#pragma once

#include "sources/media/GstRef.h"

#include <QtGlobal>

#include <vector>

// One pad of an element as the sources look at it.
struct MediaPad
{
    GstRef<GstPad> pad;
    GstPadDirection direction = GST_PAD_SINK;
    bool linked = false;
    GstRef<GstCaps> firstCaps; // the first structure of the pad's caps; null when it has none
};

// A media graph: one GStreamer pipeline and the operations the live and film sources build
// their graphs with. Elements are added under names and owned by the pipeline; linking
// inserts the converters a connection needs. Times are GStreamer's nanoseconds and volumes the
// volume element's linear factor; a source that counts otherwise converts at its own boundary.
//
// Destroying the graph takes the pipeline to NULL and drops every reference it holds.
//
// Threads: GUI thread only (or a test's main thread). The pipeline's streaming threads never
// call into this object.
class MediaGraph
{
public:
    explicit MediaGraph(const char *name);
    ~MediaGraph();
    MediaGraph(const MediaGraph &) = delete;
    MediaGraph &operator=(const MediaGraph &) = delete;

    bool isValid() const { return static_cast<bool>(m_pipeline); }
    GstElement *pipeline() const { return m_pipeline.get(); }
    GstRef<GstBus> bus() const;

    // Makes an element of the factory and adds it under the name (a taken name gets " 0001",
    // " 0002", ... appended). Returns the element, owned by the pipeline, or null.
    GstElement *addElement(const char *factory, const char *name);
    // Adds an element made elsewhere; the pipeline takes its own reference.
    bool addElement(GstElement *element, const char *name);
    GstElement *element(const char *name) const;

    // Connects the first unconnected output pin of from to the first unconnected (or a newly
    // requested) input pin of to, inserting converters when the two do not agree.
    bool connect(GstElement *from, GstElement *to);
    bool connect(GstPad *output, GstElement *to);

    bool run();
    bool pause();
    bool stop();
    // Waits, at most timeoutMs, for a state change in progress; returns the state reached.
    GstState waitForState(int timeoutMs) const;

    // Times in nanoseconds; -1 when not known.
    bool seek(qint64 positionNs);
    qint64 duration() const;
    qint64 position() const;

    // Sets the linear factor (1 full, 0 silent) of a `volume` element; false for other elements.
    static bool setVolume(GstElement *volumeElement, double factor);

    // The element's pads in the order they were added, with their first caps.
    static std::vector<MediaPad> pads(GstElement *element);
    // The first pad of the direction that has no peer; null when there is none.
    static GstRef<GstPad> firstUnlinkedPad(GstElement *element, GstPadDirection direction);

private:
    bool setState(GstState state);
    bool linkThrough(GstPad *output, const std::vector<const char *> &converters, GstElement *to);

    GstRef<GstElement> m_pipeline;
};

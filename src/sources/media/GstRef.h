#pragma once

#include <gst/gst.h>

#include <utility>

// Owning reference to a GStreamer object. Exactly one reference is held and dropped by the
// destructor, so a graph torn down leaves no reference behind.
//
// Floating references (a freshly made element) are sunk on adoption, so the owner always holds
// a full reference whether or not the object is later put into a bin (the bin then takes its
// own); full references returned by GStreamer are taken over without another one. Borrowed
// pointers are wrapped with GstRef<T>::borrow(), which takes a new reference.
//
// Threads: a GstRef is a plain value; GStreamer's reference counts are atomic, so distinct
// GstRef objects may point at the same object from different threads.
template<typename T>
struct GstRefTraits;

// A floating reference (a freshly made element or pad) becomes the owner's full reference;
// a full reference (what the get_ functions return) is taken over as it is.
template<typename T>
T *sinkFloating(T *p)
{
    if (g_object_is_floating(p))
        gst_object_ref_sink(p);
    return p;
}

template<>
struct GstRefTraits<GstElement>
{
    static void unref(GstElement *p) { gst_object_unref(p); }
    static GstElement *ref(GstElement *p) { return static_cast<GstElement *>(gst_object_ref(p)); }
    static GstElement *adopt(GstElement *p) { return sinkFloating(p); }
};
template<>
struct GstRefTraits<GstBus>
{
    static void unref(GstBus *p) { gst_object_unref(p); }
    static GstBus *ref(GstBus *p) { return static_cast<GstBus *>(gst_object_ref(p)); }
    static GstBus *adopt(GstBus *p) { return sinkFloating(p); }
};
template<>
struct GstRefTraits<GstPad>
{
    static void unref(GstPad *p) { gst_object_unref(p); }
    static GstPad *ref(GstPad *p) { return static_cast<GstPad *>(gst_object_ref(p)); }
    static GstPad *adopt(GstPad *p) { return sinkFloating(p); }
};
template<>
struct GstRefTraits<GstObject>
{
    static void unref(GstObject *p) { gst_object_unref(p); }
    static GstObject *ref(GstObject *p) { return static_cast<GstObject *>(gst_object_ref(p)); }
    static GstObject *adopt(GstObject *p) { return sinkFloating(p); }
};
template<>
struct GstRefTraits<GstCaps>
{
    static void unref(GstCaps *p) { gst_caps_unref(p); }
    static GstCaps *ref(GstCaps *p) { return gst_caps_ref(p); }
    static GstCaps *adopt(GstCaps *p) { return p; }
};
template<>
struct GstRefTraits<GstMessage>
{
    static void unref(GstMessage *p) { gst_message_unref(p); }
    static GstMessage *ref(GstMessage *p) { return gst_message_ref(p); }
    static GstMessage *adopt(GstMessage *p) { return p; }
};
template<>
struct GstRefTraits<GstSample>
{
    static void unref(GstSample *p) { gst_sample_unref(p); }
    static GstSample *ref(GstSample *p) { return gst_sample_ref(p); }
    static GstSample *adopt(GstSample *p) { return p; }
};
template<>
struct GstRefTraits<GstBuffer>
{
    static void unref(GstBuffer *p) { gst_buffer_unref(p); }
    static GstBuffer *ref(GstBuffer *p) { return gst_buffer_ref(p); }
    static GstBuffer *adopt(GstBuffer *p) { return p; }
};
template<>
struct GstRefTraits<GstEvent>
{
    static void unref(GstEvent *p) { gst_event_unref(p); }
    static GstEvent *ref(GstEvent *p) { return gst_event_ref(p); }
    static GstEvent *adopt(GstEvent *p) { return p; }
};
template<>
struct GstRefTraits<GstQuery>
{
    static void unref(GstQuery *p) { gst_query_unref(p); }
    static GstQuery *ref(GstQuery *p) { return gst_query_ref(p); }
    static GstQuery *adopt(GstQuery *p) { return p; }
};
template<>
struct GstRefTraits<GstIterator>
{
    static void unref(GstIterator *p) { gst_iterator_free(p); }
    static GstIterator *ref(GstIterator *p) { return gst_iterator_copy(p); }
    static GstIterator *adopt(GstIterator *p) { return p; }
};
template<>
struct GstRefTraits<GstDevice>
{
    static void unref(GstDevice *p) { gst_object_unref(p); }
    static GstDevice *ref(GstDevice *p) { return static_cast<GstDevice *>(gst_object_ref(p)); }
    static GstDevice *adopt(GstDevice *p) { return sinkFloating(p); }
};
template<>
struct GstRefTraits<GstDeviceMonitor>
{
    static void unref(GstDeviceMonitor *p) { gst_object_unref(p); }
    static GstDeviceMonitor *ref(GstDeviceMonitor *p)
    {
        return static_cast<GstDeviceMonitor *>(gst_object_ref(p));
    }
    static GstDeviceMonitor *adopt(GstDeviceMonitor *p) { return sinkFloating(p); }
};
template<>
struct GstRefTraits<GstStructure>
{
    static void unref(GstStructure *p) { gst_structure_free(p); }
    static GstStructure *ref(GstStructure *p) { return gst_structure_copy(p); }
    static GstStructure *adopt(GstStructure *p) { return p; }
};

template<typename T>
class GstRef
{
public:
    GstRef() = default;
    // Takes over the reference the caller owns (transfer full or floating).
    explicit GstRef(T *owned)
        : m_ptr(owned ? GstRefTraits<T>::adopt(owned) : nullptr)
    { }
    // Takes a new reference on an object the caller only borrows.
    static GstRef borrow(T *borrowed)
    {
        GstRef r;
        r.m_ptr = borrowed ? GstRefTraits<T>::ref(borrowed) : nullptr;
        return r;
    }

    GstRef(const GstRef &other)
        : m_ptr(other.m_ptr ? GstRefTraits<T>::ref(other.m_ptr) : nullptr)
    { }
    GstRef(GstRef &&other) noexcept
        : m_ptr(std::exchange(other.m_ptr, nullptr))
    { }
    GstRef &operator=(GstRef other) noexcept
    {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }
    ~GstRef() { reset(); }

    void reset()
    {
        if (T *p = std::exchange(m_ptr, nullptr))
            GstRefTraits<T>::unref(p);
    }
    // Gives the reference back to the caller.
    T *release() { return std::exchange(m_ptr, nullptr); }

    T *get() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    bool operator==(const GstRef &other) const { return m_ptr == other.m_ptr; }
    bool operator!=(const GstRef &other) const { return m_ptr != other.m_ptr; }

private:
    T *m_ptr = nullptr;
};

#pragma once
// Owning handles for the GStreamer and GLib objects the camera uses: each
// releases its object exactly once, whatever path leaves the scope.

#include <gst/gst.h>
#include <gst/video/video.h>

#include <QString>

#include <memory>

namespace orv::gst {

struct ObjectUnref {
    void operator()(gpointer p) const { gst_object_unref(p); }
};
struct CapsUnref {
    void operator()(GstCaps *p) const { gst_caps_unref(p); }
};
struct SampleUnref {
    void operator()(GstSample *p) const { gst_sample_unref(p); }
};
struct MessageUnref {
    void operator()(GstMessage *p) const { gst_message_unref(p); }
};
struct StructureFree {
    void operator()(GstStructure *p) const { gst_structure_free(p); }
};
struct ErrorFree {
    void operator()(GError *p) const { g_error_free(p); }
};
struct GFree {
    void operator()(gpointer p) const { g_free(p); }
};
struct DeviceListFree {
    void operator()(GList *p) const { g_list_free_full(p, gst_object_unref); }
};

template<typename T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;
using ElementPtr = ObjectPtr<GstElement>;
using BusPtr = ObjectPtr<GstBus>;
using PadPtr = ObjectPtr<GstPad>;
using DevicePtr = ObjectPtr<GstDevice>;
using MonitorPtr = ObjectPtr<GstDeviceMonitor>;
using CapsPtr = std::unique_ptr<GstCaps, CapsUnref>;
using SamplePtr = std::unique_ptr<GstSample, SampleUnref>;
using MessagePtr = std::unique_ptr<GstMessage, MessageUnref>;
using StructurePtr = std::unique_ptr<GstStructure, StructureFree>;
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;
using CharPtr = std::unique_ptr<gchar, GFree>;
using DeviceListPtr = std::unique_ptr<GList, DeviceListFree>;

// A new reference to an object the caller does not own.
template<typename T>
ObjectPtr<T> Ref(T *object)
{
    return ObjectPtr<T>(object ? static_cast<T *>(gst_object_ref(object)) : nullptr);
}

// A new element from a factory, its floating reference sunk so the handle
// owns it (a bin takes its own reference when the element is added).
inline ElementPtr MakeElement(const char *factory, const char *name = nullptr)
{
    GstElement *e = gst_element_factory_make(factory, name);
    return ElementPtr(e ? static_cast<GstElement *>(gst_object_ref_sink(e)) : nullptr);
}

// Initialises GStreamer once per process; false (with the reason) when the
// library cannot start. Later calls return the first result.
bool EnsureInitialised(QString *error = nullptr);

}  // namespace orv::gst

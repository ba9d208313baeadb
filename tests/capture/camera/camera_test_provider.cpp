#include "tests/capture/camera/camera_test_provider.h"

#include <gst/gst.h>

#include <mutex>

#include "capture/camera/camera_gst.h"

// GObject types of the test provider and its devices. "Other Cam" shows
// blue, "Kestra USB Shot" red, the Google adapter green, so a test can tell
// which camera a graph opened.
struct OrvTestCamera {
    GstDevice parent;
    gchar *description;  // a gst-launch description of the source
};
struct OrvTestCameraClass {
    GstDeviceClass parent_class;
};
struct OrvTestProvider {
    GstDeviceProvider parent;
};
struct OrvTestProviderClass {
    GstDeviceProviderClass parent_class;
};

G_DEFINE_TYPE(OrvTestCamera, orv_test_camera, GST_TYPE_DEVICE)
G_DEFINE_TYPE(OrvTestProvider, orv_test_provider, GST_TYPE_DEVICE_PROVIDER)

namespace {

using namespace orv;

// The gate of the held camera made last; the weak reference lets the test
// reach it from any thread without keeping the pipeline alive.
GWeakRef &HeldGate()
{
    static GWeakRef gate;
    return gate;
}

GstElement *CreateElement(GstDevice *device, const gchar *name)
{
    auto *self = reinterpret_cast<OrvTestCamera *>(device);
    GError *raw = nullptr;
    GstElement *bin = gst_parse_bin_from_description(self->description, TRUE, &raw);
    gst::ErrorPtr error(raw);
    if (!bin)
        return nullptr;
    if (GstElement *gate = gst_bin_get_by_name(GST_BIN(bin), "gate")) {
        g_weak_ref_set(&HeldGate(), gate);
        gst_object_unref(gate);
    }
    if (name)
        gst_object_set_name(GST_OBJECT(bin), name);
    return bin;
}

void FinalizeCamera(GObject *object)
{
    g_free(reinterpret_cast<OrvTestCamera *>(object)->description);
    G_OBJECT_CLASS(orv_test_camera_parent_class)->finalize(object);
}

GstDevice *NewCamera(const QString &name, const char *description, const char *node, bool jpeg = false)
{
    GstCaps *caps = gst_caps_new_empty();
    const std::vector<QSize> &sizes = jpeg ? test::JpegCameraSizes() : test::TestCameraSizes();
    for (const QSize &size : sizes) {
        GstStructure *s = jpeg ? gst_structure_new_empty("image/jpeg")
                               : gst_structure_new("video/x-raw", "format", G_TYPE_STRING, "BGR", nullptr);
        gst_structure_set(s, "width", G_TYPE_INT, size.width(), "height", G_TYPE_INT, size.height(), nullptr);
        gst_caps_append_structure(caps, s);
    }
    GstStructure *props =
        node ? gst_structure_new("test-camera", "device.path", G_TYPE_STRING, node, nullptr) : nullptr;
    auto *device = static_cast<OrvTestCamera *>(g_object_new(orv_test_camera_get_type(), "display-name",
                                                             name.toUtf8().constData(), "device-class", "Video/Source",
                                                             "caps", caps, "properties", props, nullptr));
    gst_caps_unref(caps);
    if (props)
        gst_structure_free(props);
    device->description = g_strdup(description);
    return GST_DEVICE(device);
}

// A live videotestsrc held to the offered sizes, so that, like a camera, it
// runs at the first of them unless a size is forced.
QByteArray Source(const char *pattern, const std::vector<QSize> &sizes = test::TestCameraSizes())
{
    QByteArray caps;
    for (const QSize &size : sizes)
        caps += QByteArray(caps.isEmpty() ? "" : "; ") + "video/x-raw,format=BGR,width="
            + QByteArray::number(size.width()) + ",height=" + QByteArray::number(size.height());
    return QByteArray("videotestsrc is-live=true pattern=") + pattern + " ! capsfilter caps=\"" + caps + "\"";
}

GList *Probe(GstDeviceProvider *)
{
    const QStringList &names = test::TestCameraNames();
    const QByteArray failing =
        Source("smpte") + " ! identity error-after=" + QByteArray::number(test::kFailingCameraFrames);
    const QByteArray broken = QByteArray("v4l2src device=") + test::kBrokenCameraNode;
    GList *list = nullptr;
    list = g_list_append(list, NewCamera(names[0], Source("green").constData(), nullptr));
    list = g_list_append(list, NewCamera(names[1], Source("blue").constData(), nullptr));
    list = g_list_append(list, NewCamera(names[2], Source("red").constData(), test::kSnapshotCameraNode));
    list = g_list_append(list, NewCamera(names[3], failing.constData(), nullptr));
    list = g_list_append(list, NewCamera(names[4], broken.constData(), test::kBrokenCameraNode));
    // A camera that sends JPEG only.
    const QByteArray jpeg = Source("red", test::JpegCameraSizes()) + " ! jpegenc ! capsfilter caps=image/jpeg";
    list = g_list_append(list, NewCamera(names[5], jpeg.constData(), nullptr, true));
    // Starts, but its frames stop at the closed valve until the test opens it.
    const QByteArray held = Source("blue") + " ! valve name=gate drop=true";
    list = g_list_append(list, NewCamera(names[6], held.constData(), nullptr));
    return list;
}

gboolean PluginInit(GstPlugin *plugin)
{
    return gst_device_provider_register(plugin, "orvalintestcameras", GST_RANK_PRIMARY, orv_test_provider_get_type());
}

}  // namespace

static void orv_test_camera_class_init(OrvTestCameraClass *klass)
{
    GST_DEVICE_CLASS(klass)->create_element = &CreateElement;
    G_OBJECT_CLASS(klass)->finalize = &FinalizeCamera;
}

static void orv_test_camera_init(OrvTestCamera *)
{
}

static void orv_test_provider_class_init(OrvTestProviderClass *klass)
{
    GstDeviceProviderClass *provider = GST_DEVICE_PROVIDER_CLASS(klass);
    provider->probe = &Probe;
    gst_device_provider_class_set_static_metadata(provider, "Orvalin test cameras", "Source/Video",
                                                  "Test cameras backed by videotestsrc", "Orvalin tests");
}

static void orv_test_provider_init(OrvTestProvider *)
{
}

namespace orv::test {

void RegisterTestCameraProvider()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gst::EnsureInitialised();
        gst_plugin_register_static(GST_VERSION_MAJOR, GST_VERSION_MINOR, "orvalintestcameras",
                                   "Test cameras for the Orvalin tests", &PluginInit, "1.0", "LGPL", "orvalin",
                                   "orvalin", "https://example.invalid/orvalin");
    });
    SetTestCamerasListed(true);
}

void OpenHeldCameraGate()
{
    if (auto *gate = static_cast<GstElement *>(g_weak_ref_get(&HeldGate()))) {
        g_object_set(gate, "drop", FALSE, nullptr);
        gst_object_unref(gate);
    }
}

void SetTestCamerasListed(bool listed)
{
    // Device monitors take only providers ranked marginal or above.
    if (GstDeviceProviderFactory *factory = gst_device_provider_factory_find("orvalintestcameras")) {
        gst_plugin_feature_set_rank(GST_PLUGIN_FEATURE(factory), listed ? GST_RANK_PRIMARY : GST_RANK_NONE);
        gst_object_unref(factory);
    }
}

}  // namespace orv::test

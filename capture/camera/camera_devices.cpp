#include "capture/camera/camera_devices.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace orv {

namespace {

// Sizes offered for a range of widths and heights (test patterns, drivers
// that scale): the usual camera sizes.
constexpr std::array<QSize, 15> kCommonSizes{{
    {160, 120},
    {320, 240},
    {352, 288},
    {640, 360},
    {640, 480},
    {800, 600},
    {1024, 768},
    {1280, 720},
    {1280, 960},
    {1280, 1024},
    {1600, 1200},
    {1920, 1080},
    {2048, 1536},
    {2592, 1944},
    {3840, 2160},
}};

bool InRange(const GValue *v, int n)
{
    if (G_VALUE_HOLDS_INT(v))
        return g_value_get_int(v) == n;
    if (GST_VALUE_HOLDS_INT_RANGE(v)) {
        const int step = std::max(1, gst_value_get_int_range_step(v));
        return n >= gst_value_get_int_range_min(v) && n <= gst_value_get_int_range_max(v)
            && (n - gst_value_get_int_range_min(v)) % step == 0;
    }
    if (GST_VALUE_HOLDS_LIST(v)) {
        for (guint i = 0; i < gst_value_list_get_size(v); ++i)
            if (InRange(gst_value_list_get_value(v, i), n))
                return true;
    }
    return false;
}

// The plain values of a width or height field (fixed or listed).
void FixedValues(const GValue *v, std::vector<int> &out)
{
    if (G_VALUE_HOLDS_INT(v)) {
        out.push_back(g_value_get_int(v));
    } else if (GST_VALUE_HOLDS_LIST(v)) {
        for (guint i = 0; i < gst_value_list_get_size(v); ++i)
            FixedValues(gst_value_list_get_value(v, i), out);
    }
}

void StructureSizes(const GstStructure *s, std::vector<QSize> &out)
{
    const GValue *w = gst_structure_get_value(s, "width");
    const GValue *h = gst_structure_get_value(s, "height");
    if (!w || !h)
        return;
    std::vector<int> ws;
    std::vector<int> hs;
    FixedValues(w, ws);
    FixedValues(h, hs);
    if (!ws.empty() && !hs.empty()) {
        for (int x : ws)
            for (int y : hs)
                if (x > 0 && y > 0)
                    out.emplace_back(x, y);
        return;
    }
    for (const QSize &size : kCommonSizes)
        if (InRange(w, size.width()) && InRange(h, size.height()))
            out.push_back(size);
}

bool StructureOffers(const GstStructure *s, QSize size)
{
    const GValue *w = gst_structure_get_value(s, "width");
    const GValue *h = gst_structure_get_value(s, "height");
    return w && h && InRange(w, size.width()) && InRange(h, size.height());
}

}  // namespace

std::optional<TestPatternSetting> ParseTestCamera(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([A-Za-z0-9-]+)(?::(\\d{1,5})x(\\d{1,5}))?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    TestPatternSetting setting;
    setting.pattern = m.captured(1);
    if (m.hasCaptured(2)) {
        const int w = m.captured(2).toInt();
        const int h = m.captured(3).toInt();
        if (w < 1 || h < 1)
            return std::nullopt;
        setting.size = QSize(w, h);
    }
    return setting;
}

std::optional<TestPatternSetting> TestCameraFromEnvironment()
{
    const QString value = qEnvironmentVariable(kTestCameraVariable);
    if (value.isEmpty())
        return std::nullopt;
    return ParseTestCamera(value);
}

bool IsKnownTestPattern(const QString &pattern)
{
    if (!gst::EnsureInitialised())
        return false;
    gst::ElementPtr src = gst::MakeElement("videotestsrc");
    if (!src)
        return false;
    GParamSpec *pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(src.get()), "pattern");
    if (!pspec || !G_IS_PARAM_SPEC_ENUM(pspec))
        return false;
    const QByteArray nick = pattern.toUtf8();
    return g_enum_get_value_by_nick(G_PARAM_SPEC_ENUM(pspec)->enum_class, nick.constData()) != nullptr;
}

bool IsListedCameraName(const QString &name)
{
    return !name.startsWith(QLatin1String("Google"));
}

int ChooseDefaultCamera(const QStringList &names, int current)
{
    if (current >= 0 && current < names.size())
        return current;
    for (int i = 0; i < names.size(); ++i)
        if (names[i].startsWith(QLatin1String(kDefaultCameraPrefix)))
            return i;
    return names.isEmpty() ? -1 : 0;
}

CameraListing ListCameras(const std::optional<TestPatternSetting> &testPattern)
{
    CameraListing listing;
    if (!gst::EnsureInitialised()) {
        listing.monitorCreated = false;
        return listing;
    }
    gst::MonitorPtr monitor(gst_device_monitor_new());
    if (!monitor) {
        listing.monitorCreated = false;
    } else {
        gst_device_monitor_add_filter(monitor.get(), "Video/Source", nullptr);
        // Without a start the monitor probes each provider once.
        gst::DeviceListPtr devices(gst_device_monitor_get_devices(monitor.get()));
        for (GList *item = devices.get(); item; item = item->next) {
            auto *device = static_cast<GstDevice *>(item->data);
            gst::CharPtr name(gst_device_get_display_name(device));
            const QString text = QString::fromUtf8(name.get());
            if (!IsListedCameraName(text))
                continue;
            listing.cameras.push_back(CameraDevice{text, gst::Ref(device), std::nullopt});
        }
    }
    if (testPattern) {
        if (IsKnownTestPattern(testPattern->pattern))
            listing.cameras.push_back(CameraDevice{QString::fromLatin1(kTestCameraName), nullptr, testPattern});
        else
            qWarning("%s: unknown test pattern \"%s\"", kTestCameraVariable, qPrintable(testPattern->pattern));
    }
    return listing;
}

QString DeviceNode(const CameraDevice &camera)
{
    if (!camera.device)
        return {};
    gst::StructurePtr props(gst_device_get_properties(camera.device.get()));
    if (!props)
        return {};
    for (const char *key : {"device.path", "api.v4l2.path"}) {
        const gchar *path = gst_structure_get_string(props.get(), key);
        if (path && *path)
            return QString::fromUtf8(path);
    }
    return {};
}

std::vector<QSize> OfferedSizes(const GstCaps *caps)
{
    std::vector<QSize> sizes;
    if (!caps)
        return sizes;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i)
        StructureSizes(gst_caps_get_structure(caps, i), sizes);
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) {
        const qint64 areaA = qint64(a.width()) * a.height();
        const qint64 areaB = qint64(b.width()) * b.height();
        return areaA != areaB ? areaA < areaB : a.width() < b.width();
    });
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

QSize CapsFrameSize(const GstCaps *caps)
{
    if (!caps || gst_caps_get_size(caps) == 0)
        return {};
    const GstStructure *s = gst_caps_get_structure(caps, 0);
    int width = 0;
    int height = 0;
    if (!gst_structure_get_int(s, "width", &width) || !gst_structure_get_int(s, "height", &height))
        return {};
    return {width, height};
}

bool OfferedOnlyAsJpeg(const GstCaps *caps, QSize size)
{
    if (!caps)
        return false;
    bool jpeg = false;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure *s = gst_caps_get_structure(caps, i);
        if (!StructureOffers(s, size))
            continue;
        if (gst_structure_has_name(s, "image/jpeg"))
            jpeg = true;
        else if (gst_structure_has_name(s, "video/x-raw"))
            return false;
    }
    return jpeg;
}

bool NeedsJpegDecoder(const GstCaps *caps, QSize forced)
{
    if (!caps)
        return false;
    if (forced.isValid())
        return OfferedOnlyAsJpeg(caps, forced);
    bool jpeg = false;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure *s = gst_caps_get_structure(caps, i);
        if (gst_structure_has_name(s, "video/x-raw"))
            return false;
        jpeg = jpeg || gst_structure_has_name(s, "image/jpeg");
    }
    return jpeg;
}

gst::CapsPtr CameraCaps(const CameraDevice &camera)
{
    if (camera.device)
        return gst::CapsPtr(gst_device_get_caps(camera.device.get()));
    if (!camera.testPattern)
        return nullptr;
    gst::ElementPtr src = gst::MakeElement("videotestsrc");
    if (!src)
        return nullptr;
    gst::PadPtr pad(gst_element_get_static_pad(src.get(), "src"));
    return gst::CapsPtr(pad ? gst_pad_query_caps(pad.get(), nullptr) : nullptr);
}

gst::ElementPtr CreateCameraSource(const CameraDevice &camera)
{
    if (camera.device) {
        GstElement *e = gst_device_create_element(camera.device.get(), nullptr);
        return gst::ElementPtr(e ? static_cast<GstElement *>(gst_object_ref_sink(e)) : nullptr);
    }
    if (!camera.testPattern)
        return nullptr;
    gst::ElementPtr src = gst::MakeElement("videotestsrc");
    if (!src)
        return nullptr;
    // A live source, like a camera: frames at its own pace, none while paused.
    g_object_set(src.get(), "is-live", TRUE, nullptr);
    gst_util_set_object_arg(G_OBJECT(src.get()), "pattern", camera.testPattern->pattern.toUtf8().constData());
    return src;
}

}  // namespace orv

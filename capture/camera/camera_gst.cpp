#include "capture/camera/camera_gst.h"

namespace orv::gst {

namespace {

struct InitResult {
    bool ok = false;
    QString error;
};

InitResult Initialise()
{
    GError *raw = nullptr;
    InitResult result;
    result.ok = gst_init_check(nullptr, nullptr, &raw);
    ErrorPtr error(raw);
    if (error)
        result.error = QString::fromUtf8(error->message);
    return result;
}

}  // namespace

bool EnsureInitialised(QString *error)
{
    // Computed once, read-only afterwards (thread-safe static).
    static const InitResult result = Initialise();
    if (error)
        *error = result.error;
    return result.ok;
}

}  // namespace orv::gst

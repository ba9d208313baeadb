#pragma once
// Happens-before edges that ThreadSanitizer cannot see: GStreamer starts and
// stops its streaming threads through GLib's uninstrumented thread pool, so
// the ordering between a graph's setup or teardown on the UI thread and its
// callbacks is invisible to it. The annotations state that ordering; they
// compile to nothing in other builds.

#if defined(__SANITIZE_THREAD__)
#define ORV_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ORV_TSAN 1
#endif
#endif

#ifdef ORV_TSAN
#include <sanitizer/tsan_interface.h>
#endif

namespace orv {

// Everything this thread did so far happens before a later TsanAcquire(p).
inline void TsanRelease([[maybe_unused]] void *p)
{
#ifdef ORV_TSAN
    __tsan_release(p);
#endif
}

inline void TsanAcquire([[maybe_unused]] void *p)
{
#ifdef ORV_TSAN
    __tsan_acquire(p);
#endif
}

// A callback on a streaming thread: ordered after the setup, and before the
// teardown, that annotate the same address.
class TsanCallbackScope {
public:
    explicit TsanCallbackScope(void *p) :
        p_(p)
    {
        TsanAcquire(p_);
    }
    ~TsanCallbackScope() { TsanRelease(p_); }
    TsanCallbackScope(const TsanCallbackScope &) = delete;
    TsanCallbackScope &operator=(const TsanCallbackScope &) = delete;

private:
    void *p_;
};

}  // namespace orv

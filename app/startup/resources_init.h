#pragma once

namespace orv {

// Registers the artwork compiled into the static library (a static library's
// resources are not registered by themselves).
void InitResources();

}  // namespace orv

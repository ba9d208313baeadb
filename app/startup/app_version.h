#pragma once

namespace orv {

inline constexpr const char *kAppName = "Orvalin";
// The project's version, as the build states it once.
const char *AppVersion();

}  // namespace orv

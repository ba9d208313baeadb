#pragma once

namespace orv {

inline constexpr const char *kAppName = "Orvalin";
inline constexpr const char *kAppVersion = "1.07.1";

}  // namespace orv

#pragma once

namespace orv {

// How much each measurement label shows.
enum class LabelMode { ItemNumberOnly = 0, Summary = 1, Details = 2 };

}  // namespace orv

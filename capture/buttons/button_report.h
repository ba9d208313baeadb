#pragma once
// The button device's input report as the monitor judges it: first byte the
// report id (0 for unnumbered reports), a press is 00 01.

#include <cstdint>
#include <span>
#include <vector>

namespace orv {

// hidraw leaves out the id byte of unnumbered reports; put the 0 back so a
// report reads the same whichever way the device numbers it.
std::vector<std::uint8_t> NormaliseButtonReport(std::span<const std::uint8_t> delivered, bool numberedReports);

bool IsButtonPress(std::span<const std::uint8_t> report);

}  // namespace orv

#pragma once
// What the button monitor needs from a HID report descriptor: the length of
// the longest input report and whether reports are numbered.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orv {

struct HidInputReportLayout {
    // Bytes of the longest input report plus the report-id byte, which is
    // counted even for unnumbered reports (where it reads 0); 0 without input.
    std::uint16_t inputReportByteLength = 0;
    bool numberedReports = false;
};

// nullopt for a truncated or malformed descriptor, or one whose reports are
// longer than a 16-bit length can state.
std::optional<HidInputReportLayout> ParseHidReportDescriptor(std::span<const std::uint8_t> descriptor);

// The descriptor of a hidraw node ("/dev/hidraw3") as sysfs shows it under
// sysfsRoot; empty when it cannot be read.
std::vector<std::uint8_t> ReadHidrawReportDescriptor(const std::filesystem::path &sysfsRoot,
                                                     const std::string &hidrawPath);

}  // namespace orv

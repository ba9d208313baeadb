#pragma once
// The HID layer the button monitor reads through: a backend that lists and
// opens devices, and a connection that reads input reports with a bounded
// wait. The real backend is hidapi (hidraw); tests substitute a fake.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orv {

struct HidDeviceInfo {
    std::string path;
    // Bytes of the longest input report with its report-id byte (0 for
    // unnumbered reports), as the device's capabilities state it; 0 unknown.
    std::uint16_t inputReportByteLength = 0;
    // Whether the device numbers its reports: only then does a read deliver
    // the report-id byte itself.
    bool numberedReports = false;
};

class HidConnection {
public:
    virtual ~HidConnection() = default;
    // Reads one input report as the device delivers it, waiting at most
    // timeout. Returns the bytes read, 0 when the wait ran out, -1 when the
    // device failed (unplugged).
    virtual int Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) = 0;
};

// Used from the UI thread (Enumerate) and the reader thread (Open) alike.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Present devices with these identifiers in the system's order; nullopt
    // when the list of devices cannot be had at all.
    virtual std::optional<std::vector<HidDeviceInfo>> Enumerate(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // nullptr when the device cannot be opened for reading.
    virtual std::unique_ptr<HidConnection> Open(const std::string &path) = 0;
};

// hidapi on hidraw; report lengths come from the report descriptor that the
// kernel exposes under sysfsRoot.
std::shared_ptr<HidBackend> MakeHidapiBackend(std::filesystem::path sysfsRoot = "/sys");

}  // namespace orv

#include "capture/buttons/hid_report_descriptor.h"

#include <algorithm>
#include <fstream>
#include <map>

namespace orv {
namespace {

// Item tags as they appear in the prefix byte with the size bits cleared.
constexpr std::uint8_t kInput = 0x80;
constexpr std::uint8_t kReportSize = 0x74;
constexpr std::uint8_t kReportId = 0x84;
constexpr std::uint8_t kReportCount = 0x94;
constexpr std::uint8_t kPush = 0xA4;
constexpr std::uint8_t kPop = 0xB4;
constexpr std::uint8_t kLongItem = 0xFE;

struct Globals {
    std::uint64_t reportSize = 0;
    std::uint64_t reportCount = 0;
    std::uint32_t reportId = 0;
};

// Far beyond any report that fits a 16-bit length; keeps sums from overflowing.
constexpr std::uint64_t kBitCap = 8ull * 0x10000;

}  // namespace

std::optional<HidInputReportLayout> ParseHidReportDescriptor(std::span<const std::uint8_t> descriptor)
{
    Globals globals;
    std::vector<Globals> stack;
    std::map<std::uint32_t, std::uint64_t> inputBits;  // by report id
    bool numbered = false;

    std::size_t i = 0;
    while (i < descriptor.size()) {
        const std::uint8_t prefix = descriptor[i];
        if (prefix == kLongItem) {
            if (i + 1 >= descriptor.size())
                return std::nullopt;
            i += 3 + descriptor[i + 1];
            if (i > descriptor.size())
                return std::nullopt;
            continue;
        }
        const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (i + 1 + size > descriptor.size())
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t b = 0; b < size; ++b)
            value |= static_cast<std::uint32_t>(descriptor[i + 1 + b]) << (8 * b);
        i += 1 + size;

        switch (prefix & 0xFC) {
        case kReportSize: globals.reportSize = value; break;
        case kReportCount: globals.reportCount = value; break;
        case kReportId:
            globals.reportId = value;
            numbered = true;
            break;
        case kPush: stack.push_back(globals); break;
        case kPop:
            if (stack.empty())
                return std::nullopt;
            globals = stack.back();
            stack.pop_back();
            break;
        case kInput: {
            auto &bits = inputBits[globals.reportId];
            bits = std::min(kBitCap, bits + std::min(kBitCap, globals.reportSize * globals.reportCount));
            break;
        }
        default: break;
        }
    }

    HidInputReportLayout layout;
    layout.numberedReports = numbered;
    std::uint64_t longest = 0;
    for (const auto &[id, bits] : inputBits)
        longest = std::max(longest, (bits + 7) / 8);
    if (longest == 0)
        return layout;
    if (longest + 1 > 0xFFFF)
        return std::nullopt;
    layout.inputReportByteLength = static_cast<std::uint16_t>(longest + 1);
    return layout;
}

std::vector<std::uint8_t> ReadHidrawReportDescriptor(const std::filesystem::path &sysfsRoot,
                                                     const std::string &hidrawPath)
{
    const std::string node = std::filesystem::path(hidrawPath).filename().string();
    if (node.rfind("hidraw", 0) != 0)
        return {};
    std::ifstream in(sysfsRoot / "class" / "hidraw" / node / "device" / "report_descriptor", std::ios::binary);
    if (!in)
        return {};
    // The kernel caps descriptors at 4096 bytes; read no more than that.
    std::vector<std::uint8_t> bytes(4096);
    in.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace orv

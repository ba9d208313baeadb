#include "capture/snapshot_key/snapshot_sysfs.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <system_error>

namespace orv {
namespace fs = std::filesystem;

namespace {

bool IsUnder(const fs::path &path, const fs::path &dir)
{
    const auto [d, p] = std::mismatch(dir.begin(), dir.end(), path.begin(), path.end());
    return d == dir.end() && p != path.end();
}

std::optional<int> NodeNumber(const std::string &name, std::string_view prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    int number = 0;
    const char *first = name.data() + prefix.size();
    const char *last = name.data() + name.size();
    const auto [end, ec] = std::from_chars(first, last, number);
    if (ec != std::errc() || end != last)
        return std::nullopt;
    return number;
}

// The nearest ancestor below root that is a USB device (not one of its interfaces).
std::optional<fs::path> UsbDeviceOf(fs::path dir, const fs::path &root)
{
    std::error_code ec;
    while (IsUnder(dir, root)) {
        if (fs::exists(dir / "idVendor", ec) && fs::exists(dir / "busnum", ec))
            return dir;
        dir = dir.parent_path();
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> FindCameraInputNodes(const fs::path &sysfsRoot, const std::string &videoNode,
                                              const fs::path &devRoot)
{
    const std::string videoName = fs::path(videoNode).filename().string();
    if (!NodeNumber(videoName, "video"))
        return {};
    std::error_code ec;
    const fs::path root = fs::canonical(sysfsRoot, ec);
    if (ec)
        return {};
    const fs::path video = fs::canonical(root / "class" / "video4linux" / videoName, ec);
    if (ec)
        return {};
    const auto usbDevice = UsbDeviceOf(video.parent_path(), root);
    if (!usbDevice)
        return {};

    std::vector<std::pair<int, std::string>> found;
    for (fs::directory_iterator it(root / "class" / "input", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const auto number = NodeNumber(name, "event");
        if (!number)
            continue;
        std::error_code linkError;
        const fs::path event = fs::canonical(it->path(), linkError);
        if (!linkError && IsUnder(event, *usbDevice))
            found.emplace_back(*number, (devRoot / "input" / name).string());
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> nodes;
    for (auto &[number, node] : found)
        nodes.push_back(std::move(node));
    return nodes;
}

}  // namespace orv

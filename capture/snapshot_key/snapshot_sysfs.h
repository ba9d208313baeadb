#pragma once
// Finds the input devices that belong to a camera's USB device, from the
// camera's video node, by walking sysfs (under a root so tests can build one).

#include <filesystem>
#include <string>
#include <vector>

namespace orv {

// Event nodes (devRoot/input/eventN, in N's order) of every input device under
// the USB device that owns videoNode ("/dev/video0"). Empty when the node is
// not a USB camera's or nothing belongs to it.
std::vector<std::string> FindCameraInputNodes(const std::filesystem::path &sysfsRoot, const std::string &videoNode,
                                              const std::filesystem::path &devRoot = "/dev");

}  // namespace orv

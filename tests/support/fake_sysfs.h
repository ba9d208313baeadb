#pragma once
// A sysfs tree in a temporary folder, laid out as the kernel does for a UVC
// camera: the video node and the key's input device under the camera's
// interface, class entries as links into the device tree.

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

namespace orv::test {

class FakeSysfs {
public:
    FakeSysfs() : root_(dir_.path().toStdString()) {}

    const std::filesystem::path &root() const { return root_; }

    // A USB device at bus port "port" (e.g. "1-2"); returns its folder.
    std::filesystem::path UsbDevice(const std::string &port)
    {
        const auto device = root_ / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1" / port;
        std::filesystem::create_directories(device);
        std::ofstream(device / "idVendor") << "1a2b\n";
        std::ofstream(device / "busnum") << "1\n";
        return device;
    }
    void Video(const std::filesystem::path &usbDevice, int n)
    {
        const auto node = usbDevice / (usbDevice.filename().string() + ":1.0") / "video4linux" / ("video" + std::to_string(n));
        std::filesystem::create_directories(node);
        Link(node, "video4linux", "video" + std::to_string(n));
    }
    void Input(const std::filesystem::path &parent, int input, int event)
    {
        const auto node = parent / "input" / ("input" + std::to_string(input)) / ("event" + std::to_string(event));
        std::filesystem::create_directories(node);
        Link(node, "input", "event" + std::to_string(event));
    }

private:
    void Link(const std::filesystem::path &target, const std::string &cls, const std::string &name)
    {
        std::filesystem::create_directories(root_ / "class" / cls);
        std::filesystem::create_directory_symlink(target, root_ / "class" / cls / name);
    }

    QTemporaryDir dir_;
    std::filesystem::path root_;
};

}  // namespace orv::test

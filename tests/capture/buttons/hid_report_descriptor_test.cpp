#include "capture/buttons/hid_report_descriptor.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using namespace orv;

using Bytes = std::vector<std::uint8_t>;

TEST(HidReportDescriptor, LongestInputReportAndNumbering)
{
    struct Case {
        const char *name;
        Bytes descriptor;
        std::optional<HidInputReportLayout> expected;
    };
    const Case cases[] = {
        {"two unnumbered bytes",
         {0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x15, 0x00, 0x25, 0x01, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0xC0},
         HidInputReportLayout{3, false}},
        {"bits round up",
         {0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x75, 0x05, 0x95, 0x01, 0x81, 0x01, 0x75, 0x01, 0x81, 0x02},
         HidInputReportLayout{3, false}},
        {"numbered: the longest report counts",
         {0x85, 0x01, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0x85, 0x02, 0x95, 0x04, 0x81, 0x02},
         HidInputReportLayout{5, true}},
        {"output and feature items ignored",
         {0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x95, 0x20, 0x91, 0x02, 0xB1, 0x02},
         HidInputReportLayout{2, false}},
        {"push and pop restore the globals",
         {0x75, 0x08, 0x95, 0x01, 0xA4, 0x95, 0x10, 0xB1, 0x02, 0xB4, 0x81, 0x02},
         HidInputReportLayout{2, false}},
        {"4-byte data and long items",
         {0x77, 0x08, 0x00, 0x00, 0x00, 0x97, 0x03, 0x00, 0x00, 0x00, 0xFE, 0x01, 0x10, 0xAA, 0x81, 0x02},
         HidInputReportLayout{4, false}},
        {"no input", {0x75, 0x08, 0x95, 0x01, 0x91, 0x02}, HidInputReportLayout{0, false}},
        {"empty", {}, HidInputReportLayout{0, false}},
        {"truncated item", {0x75, 0x08, 0x96, 0x01}, std::nullopt},
        {"truncated long item", {0x75, 0x08, 0xFE, 0x05, 0x10, 0x00}, std::nullopt},
        {"pop without push", {0xB4}, std::nullopt},
        {"hostile length",
         {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0x81, 0x02},
         std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto layout = ParseHidReportDescriptor(c.descriptor);
        ASSERT_EQ(layout.has_value(), c.expected.has_value());
        if (layout) {
            EXPECT_EQ(layout->inputReportByteLength, c.expected->inputReportByteLength);
            EXPECT_EQ(layout->numberedReports, c.expected->numberedReports);
        }
    }
}

TEST(HidReportDescriptor, ReadFromTheHidrawNodesSysfsEntry)
{
    QTemporaryDir root;
    const std::filesystem::path sys = root.path().toStdString();
    const auto device = sys / "devices" / "usb1" / "1-2" / "0003:19AB:1010.0004";
    std::filesystem::create_directories(device);
    std::filesystem::create_directories(sys / "class" / "hidraw" / "hidraw3");
    std::filesystem::create_directory_symlink(device, sys / "class" / "hidraw" / "hidraw3" / "device");
    const Bytes bytes{0x75, 0x08, 0x95, 0x02, 0x81, 0x02};
    std::ofstream(device / "report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    EXPECT_EQ(ReadHidrawReportDescriptor(sys, "/dev/hidraw3"), bytes);
    EXPECT_TRUE(ReadHidrawReportDescriptor(sys, "/dev/hidraw9").empty());
    EXPECT_TRUE(ReadHidrawReportDescriptor(sys, "/dev/../etc/passwd").empty());
}

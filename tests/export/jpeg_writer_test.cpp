#include "export/jpeg_writer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

using namespace orv;

namespace {

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Bottom-up BGR rows of a grey ramp, padding bytes set to a marker value.
std::vector<std::uint8_t> Rows(int w, int h)
{
    const std::size_t stride = PaddedRowBytes(w);
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(h), 0xEE);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x)
            rows[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(y * 255 / h);
    return rows;
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The payload of the first segment with the given marker, empty when absent.
QByteArray Segment(const QByteArray &jpeg, unsigned char marker)
{
    qsizetype i = 2;
    while (i + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[i]) == 0xFF) {
        const auto m = static_cast<unsigned char>(jpeg[i + 1]);
        const int len = (static_cast<unsigned char>(jpeg[i + 2]) << 8) | static_cast<unsigned char>(jpeg[i + 3]);
        if (m == marker)
            return jpeg.mid(i + 4, len - 2);
        if (m == 0xDA)
            break;
        i += 2 + len;
    }
    return {};
}

}  // namespace

TEST(JpegWriter, RowBytes)
{
    EXPECT_EQ(PaddedRowBytes(1), 4u);
    EXPECT_EQ(PaddedRowBytes(3), 12u);
    EXPECT_EQ(PaddedRowBytes(4), 12u);
    EXPECT_EQ(PaddedRowBytes(642), 1928u);
    EXPECT_EQ(PaddedRowBytes(0), 0u);
}

TEST(JpegWriter, BaselineOfTheGivenQualityWithoutResolution)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto rows = Rows(33, 17);
    const QString q50 = dir.filePath("q50.jpg");
    const QString q100 = dir.filePath("q100.jpg");
    ASSERT_EQ(JpegWriter(q50, 50, 33, 17, rows), 0);
    ASSERT_EQ(JpegWriter(q100, 100, 33, 17, rows), 0);
    const QByteArray a = ReadAll(q50);
    const QByteArray b = ReadAll(q100);

    // Baseline frame with three components.
    const QByteArray sof = Segment(a, 0xC0);
    ASSERT_EQ(sof.size(), 6 + 3 * 3);
    EXPECT_EQ(static_cast<unsigned char>(sof[5]), 3);
    EXPECT_TRUE(Segment(a, 0xC2).isEmpty());
    // Quality 50 keeps the standard luminance table (first entry 16); 100 makes it all ones.
    EXPECT_EQ(static_cast<unsigned char>(Segment(a, 0xDB)[1]), 16);
    EXPECT_EQ(static_cast<unsigned char>(Segment(b, 0xDB)[1]), 1);
    // JFIF header with the library's default density: no unit, 1:1.
    const QByteArray jfif = Segment(a, 0xE0);
    ASSERT_GE(jfif.size(), 12);
    EXPECT_EQ(jfif.left(5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(jfif.mid(7, 5).toHex(), QByteArray("0000010001"));

    // Decodes to the size given, top of the image from the last buffer row.
    QImage img;
    ASSERT_TRUE(img.loadFromData(b));
    EXPECT_EQ(img.size(), QSize(33, 17));
    EXPECT_GT(qGray(img.pixel(16, 0)), 200);
    EXPECT_LT(qGray(img.pixel(16, 16)), 30);
}

TEST(JpegWriter, FullDiskIsAnErrorResult)
{
    FilePtr full(std::fopen("/dev/full", "wb"));
    if (!full)
        GTEST_SKIP() << "/dev/full not available";
    // Large enough to overflow every buffer on the way.
    const auto rows = Rows(400, 300);
    EXPECT_EQ(JpegWriteStream(full.get(), 100, 400, 300, rows), -1);
    // The process goes on and the writer still works.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(JpegWriter(dir.filePath("after.jpg"), 50, 400, 300, rows), 0);
}

TEST(JpegWriter, BadTargetsAndArgumentsFailCleanly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto rows = Rows(8, 8);
    EXPECT_EQ(JpegWriter(dir.filePath("no/such/dir/x.jpg"), 50, 8, 8, rows), -1);
    EXPECT_EQ(JpegWriter(dir.path(), 50, 8, 8, rows), -1);
    // The buffer must hold height padded rows.
    const std::span<const std::uint8_t> shortRows(rows.data(), rows.size() - 1);
    EXPECT_EQ(JpegWriter(dir.filePath("short.jpg"), 50, 8, 8, shortRows), -1);
    EXPECT_EQ(JpegWriter(dir.filePath("zero.jpg"), 50, 0, 8, rows), -1);
    EXPECT_EQ(JpegWriter(dir.filePath("neg.jpg"), 50, 8, -1, rows), -1);
    EXPECT_EQ(JpegWriteStream(nullptr, 50, 8, 8, rows), -1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());

    // A library error after the file was opened leaves the old file as it was.
    const QString keep = dir.filePath("keep.jpg");
    {
        QFile f(keep);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    const auto wide = Rows(70000, 1);
    EXPECT_EQ(JpegWriter(keep, 50, 70000, 1, wide), -1);
    EXPECT_EQ(ReadAll(keep), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.jpg"});
}

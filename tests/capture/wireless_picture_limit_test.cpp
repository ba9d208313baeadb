// Wireless frames are held to the one image size limit: a real picture of any
// size within it decodes, a frame header claiming more decodes nothing.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "capture/wireless_picture.h"
#include "core/image_limit.h"

namespace orv {
namespace {

QByteArray Jpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// The JPEG with its frame header stating size instead.
QByteArray Claiming(QByteArray jpeg, QSize size)
{
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return {};
    jpeg[sof + 5] = char(size.height() >> 8);
    jpeg[sof + 6] = char(size.height() & 0xFF);
    jpeg[sof + 7] = char(size.width() >> 8);
    jpeg[sof + 8] = char(size.width() & 0xFF);
    return jpeg;
}

TEST(WirelessPictureLimit, FramesAreDecodedUpToTheImageSizeLimit)
{
    const QByteArray small = Jpeg({16, 8});
    const struct {
        const char *what;
        QByteArray frame;
        QSize natural;  // invalid: refused
    } cases[] = {
        {"wider than the microscope's sensor", Jpeg({9000, 2}), {9000, 2}},
        {"taller", Jpeg({2, 9000}), {2, 9000}},
        {"claiming more pixels than the limit", Claiming(small, {20000, 10001}), {}},
        {"claiming the longest side by the most rows", Claiming(small, {kMaxImageSide, 60000}), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.frame.isEmpty());
        const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t *>(c.frame.constData()),
                                                  std::size_t(c.frame.size()));
        QSize natural;
        const QImage picture = DecodePicture(bytes, QSize(), &natural);
        EXPECT_EQ(picture.isNull(), !c.natural.isValid());
        EXPECT_EQ(natural, c.natural);
        if (!picture.isNull()) {
            EXPECT_EQ(picture.size(), c.natural);
        }
    }
}

}  // namespace
}  // namespace orv

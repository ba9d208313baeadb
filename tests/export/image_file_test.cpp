#include "export/image_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

using namespace orv;

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

std::uint32_t Le32(const QByteArray &b, int at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::uint16_t Le16(const QByteArray &b, int at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

// Each pixel's colour encodes its position.
QImage PositionImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(10 + x, 100 + y, 200 + x + y));
    return img;
}

// Top half red, bottom half blue: survives JPEG compression.
QImage TwoBands(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return img;
}

// Detail everywhere, so most of a JPEG of it is scan data.
QImage NoiseImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 gen(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, static_cast<QRgb>(gen()));
    return img;
}

bool IsJpeg(const QByteArray &b)
{
    return b.startsWith("\xFF\xD8");
}

}  // namespace

TEST(ImageFile, BmpLayoutOfAThreePixelWideImage)
{
    const QByteArray bmp = BuildBmpFile(PositionImage(3, 2));
    ASSERT_EQ(bmp.size(), 54 + 12 * 2);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(Le32(bmp, 2), 78u);
    EXPECT_EQ(Le32(bmp, 6), 0u);
    EXPECT_EQ(Le32(bmp, 10), 54u);
    EXPECT_EQ(Le32(bmp, 14), 40u);
    EXPECT_EQ(Le32(bmp, 18), 3u);
    EXPECT_EQ(Le32(bmp, 22), 2u);
    EXPECT_EQ(Le16(bmp, 26), 1u);
    EXPECT_EQ(Le16(bmp, 28), 24u);
    EXPECT_EQ(bmp.mid(30, 24), QByteArray(24, '\0'));
    // First row in the file is the bottom row (y = 1): blue, green, red.
    const QByteArray bottom = bmp.mid(54, 12);
    EXPECT_EQ(bottom.toHex(' '), QByteArray("c9 65 0a ca 65 0b cb 65 0c 00 00 00"));
    const QByteArray top = bmp.mid(66, 12);
    EXPECT_EQ(top.toHex(' '), QByteArray("c8 64 0a c9 64 0b ca 64 0c 00 00 00"));

    EXPECT_EQ(BuildBmpFile(PositionImage(4, 1)).size(), 54 + 12);
    EXPECT_EQ(BuildBmpFile(PositionImage(5, 3)).size(), 54 + 16 * 3);
    EXPECT_TRUE(BuildBmpFile(QImage()).isEmpty());
}

TEST(ImageFile, WrittenBmpLoadsBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage img = PositionImage(7, 5);
    const QString path = dir.filePath("a.bmp");
    ASSERT_TRUE(WriteImageFile(path, "bmp", img, img.size(), {}));
    EXPECT_EQ(QFileInfo(path).size(), 54 + 24 * 5);
    const LoadedImage loaded = LoadImageFile(path);
    ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
    EXPECT_EQ(loaded.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(loaded.image, img);
}

TEST(ImageFile, JpegForEveryJpegExtensionInAnyCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage img = TwoBands(37, 22);
    const QString jpg = dir.filePath("x.jpg");
    ASSERT_TRUE(WriteImageFile(jpg, FileExtension(jpg), img, img.size(), {}));
    const QByteArray jpeg = ReadAll(jpg);
    ASSERT_TRUE(IsJpeg(jpeg));

    const LoadedImage back = LoadImageFile(jpg);
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    EXPECT_EQ(back.image.size(), QSize(37, 22));
    // The top of the image stays on top.
    const QColor top = back.image.pixelColor(18, 2);
    const QColor bottom = back.image.pixelColor(18, 19);
    EXPECT_GT(top.red(), 200);
    EXPECT_LT(top.blue(), 60);
    EXPECT_GT(bottom.blue(), 200);
    EXPECT_LT(bottom.red(), 60);

    // The name's case does not change the content.
    for (const char *name : {"y.JPG", "y.jpeg", "y.Jpeg", "y.Jpg", "y.JPEG"}) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(WriteImageFile(path, FileExtension(path), img, img.size(), {})) << name;
        EXPECT_EQ(ReadAll(path), jpeg) << name;
    }
    // Anything else gets the BMP bytes under the given name.
    for (const char *name : {"x.bmp", "x.BMP", "x.jpgx", "x.png", "noext"}) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(WriteImageFile(path, FileExtension(path), img, img.size(), {})) << name;
        EXPECT_EQ(ReadAll(path), BuildBmpFile(img)) << name;
    }
    // No image to write: nothing written.
    EXPECT_FALSE(WriteImageFile(dir.filePath("null.bmp"), "bmp", QImage(), QSize(), {}));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("null.bmp")));
}

TEST(ImageFile, OnePixelRedLinesStayRedInAJpeg)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Lines on odd rows and columns, as measurement lines fall anywhere.
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    for (int x = 0; x < 64; ++x)
        img.setPixel(x, 21, qRgb(255, 0, 0));
    for (int y = 0; y < 48; ++y)
        img.setPixel(37, y, qRgb(255, 0, 0));
    const QString path = dir.filePath("lines.jpg");
    ASSERT_TRUE(WriteImageFile(path, "jpg", img, img.size(), {}));
    const LoadedImage back = LoadImageFile(path);
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    int worst = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb want = img.pixel(x, y), got = back.image.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(want) - qRed(got)), std::abs(qGreen(want) - qGreen(got)),
                              std::abs(qBlue(want) - qBlue(got))});
        }
    }
    // Halved colour resolution turns the lines pink (green and blue near 128).
    EXPECT_LT(worst, 48);
    const QColor line = back.image.pixelColor(10, 21);
    EXPECT_GT(line.red(), 220);
    EXPECT_LT(line.green(), 48);
    EXPECT_LT(line.blue(), 48);
}

TEST(ImageFile, CameraFrameMarkerGoesToTheSnapshot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString gotPath, gotExt;
    const SnapshotSaver saver = [&](const QString &p, const QString &e, QString *) {
        gotPath = p;
        gotExt = e;
        return true;
    };
    const QString path = dir.filePath("cam.jpg");
    const QImage composite = PositionImage(2, 2);
    EXPECT_TRUE(WriteImageFile(path, "jpg", composite, QSize(2, 2), saver));
    EXPECT_EQ(gotPath, path);
    EXPECT_EQ(gotExt, "jpg");
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(WriteImageFile(path, "jpg", composite, QSize(2, 2), {}));

    // A real 2 x 3 image is not the marker.
    gotPath.clear();
    EXPECT_TRUE(WriteImageFile(path, "bmp", PositionImage(2, 3), QSize(2, 3), saver));
    EXPECT_TRUE(gotPath.isEmpty());
}

TEST(ImageFile, FailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("keep.jpg");
    ASSERT_TRUE(WriteAll(path, "old contents"));
    // Wider than the JPEG format allows: the library fails after the file was opened.
    const QImage wide(70000, 1, QImage::Format_RGB32);
    EXPECT_FALSE(WriteImageFile(path, "jpg", wide, wide.size(), {}));
    EXPECT_EQ(ReadAll(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.jpg"});

    EXPECT_FALSE(WriteImageFile(dir.filePath("missing/x.bmp"), "bmp", PositionImage(3, 3),
                                QSize(3, 3), {}));
}

TEST(ImageFile, UndecodableFilesGiveAnError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(LoadImageFile(dir.filePath("absent.jpg")).ok());
    EXPECT_FALSE(LoadImageFile(dir.path()).ok());

    const QString empty = dir.filePath("empty.bmp");
    ASSERT_TRUE(WriteAll(empty, {}));
    EXPECT_FALSE(LoadImageFile(empty).ok());

    const QString text = dir.filePath("text.jpg");
    ASSERT_TRUE(WriteAll(text, "this is no picture at all\n"));
    const LoadedImage bad = LoadImageFile(text);
    EXPECT_FALSE(bad.ok());
    EXPECT_FALSE(bad.error.isEmpty());

    // Cut files of each written format, and a PNG. A JPEG cut in its scan
    // data would otherwise decode with the rest filled grey.
    const QImage img = NoiseImage(320, 240);
    const QString jpg = dir.filePath("whole.jpg");
    ASSERT_TRUE(WriteImageFile(jpg, "jpg", img, img.size(), {}));
    const QByteArray jpeg = ReadAll(jpg);
    for (qsizetype keep : {qsizetype(2), qsizetype(100), jpeg.size() / 2, jpeg.size() - 2}) {
        const QString cut = dir.filePath("cut.jpg");
        ASSERT_TRUE(WriteAll(cut, jpeg.left(keep)));
        EXPECT_FALSE(LoadImageFile(cut).ok()) << keep;
    }
    // Bytes after the end marker do not matter.
    const QString tail = dir.filePath("tail.jpg");
    ASSERT_TRUE(WriteAll(tail, jpeg + QByteArray(7, '\0')));
    EXPECT_TRUE(LoadImageFile(tail).ok());

    const QByteArray bmp = BuildBmpFile(img);
    const QString cutBmp = dir.filePath("cut.bmp");
    ASSERT_TRUE(WriteAll(cutBmp, bmp.left(40)));
    EXPECT_FALSE(LoadImageFile(cutBmp).ok());

    QByteArray png;
    QBuffer buf(&png);
    ASSERT_TRUE(buf.open(QIODevice::WriteOnly));
    ASSERT_TRUE(img.save(&buf, "PNG"));
    const QString cutPng = dir.filePath("cut.png");
    ASSERT_TRUE(WriteAll(cutPng, png.left(png.size() / 2)));
    EXPECT_FALSE(LoadImageFile(cutPng).ok());
}

TEST(ImageFile, JpegMarkerWalk)
{
    // Markers inside segments and stuffed bytes in scan data are not the end.
    const QByteArray app = QByteArray("\xFF\xD8\xFF\xE1\x00\x06\xFF\xD9\x00\x00", 10);
    EXPECT_FALSE(JpegDataComplete(app));
    EXPECT_TRUE(JpegDataComplete(app + QByteArray("\xFF\xD9", 2)));
    const QByteArray scan = QByteArray("\xFF\xD8\xFF\xDA\x00\x02\x12\xFF\x00\xFF\xD3\x34", 12);
    EXPECT_FALSE(JpegDataComplete(scan));
    EXPECT_TRUE(JpegDataComplete(scan + QByteArray("\xFF\xFF\xD9", 3)));
    // A length running past the end.
    EXPECT_FALSE(JpegDataComplete(QByteArray("\xFF\xD8\xFF\xE0\x40\x00", 6)));
    // Not JPEG: left to the decoders.
    EXPECT_TRUE(JpegDataComplete("BM"));
}

TEST(ImageFile, WorkFileNames)
{
    EXPECT_EQ(WorkFilePath("/tmp"), "/tmp/Orvalin_Workfile.jpg");
    EXPECT_EQ(WorkFilePath("/tmp/"), "/tmp/Orvalin_Workfile.jpg");
    EXPECT_EQ(WorkFilePath("/var/tmp//", kWorkFileBmpName), "/var/tmp/Orvalin_Workfile.bmp");
    EXPECT_EQ(WorkFilePath("/"), "/Orvalin_Workfile.jpg");

    EXPECT_EQ(FileExtension("/a.b/c.tar.jpg"), "jpg");
    EXPECT_EQ(FileExtension("/a.b/c"), "");
    EXPECT_EQ(FileExtension("c."), "");
    EXPECT_EQ(WithDefaultExtension("/a.b/c", "bmp"), "/a.b/c.bmp");
    EXPECT_EQ(WithDefaultExtension("/a/c.JPG", "bmp"), "/a/c.JPG");
}

namespace {
// A JPEG of one colour; cheap to encode and decode even when large.
QByteArray Encoded(QSize size, const char *format)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(90, 140, 200));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format, 50);
    return bytes;
}

QByteArray PlainJpeg(QSize size)
{
    return Encoded(size, "JPG");
}

// The same JPEG with the frame header claiming another size.
QByteArray WithFrameSize(QByteArray jpeg, int width, int height)
{
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return {};
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height & 0xFF);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width & 0xFF);
    return jpeg;
}
}  // namespace

TEST(ImageFile, LargeImagesLoadUpToThePixelLimit)
{
    // Over Qt's default reader limit of 128 MiB as 32-bit pixels.
    const LoadedImage big = DecodeImageData(PlainJpeg({6000, 6000}));
    ASSERT_TRUE(big.ok()) << big.error.toStdString();
    EXPECT_EQ(big.image.size(), QSize(6000, 6000));
    EXPECT_GE(MaxImagePixels(), qint64(6000) * 6000);
    EXPECT_LE(MaxImagePixels(), kMaxImagePixels);

    const QByteArray small = PlainJpeg({40, 30});
    const struct {
        QByteArray data;
        qint64 maxPixels;
        bool ok;
        QSize refusedSize;
    } cases[] = {
        {small, 1200, true, {}},
        {small, 1199, false, {40, 30}},
        {WithFrameSize(small, 60000, 50000), MaxImagePixels(), false, {60000, 50000}},
        {WithFrameSize(small, 20000, 10001), kMaxImagePixels, false, {20000, 10001}},
        // Few pixels, but a side longer than any picture path takes.
        {Encoded({kMaxImageSide, 1}, "PNG"), kMaxImagePixels, true, {}},
        {Encoded({kMaxImageSide + 1, 1}, "PNG"), kMaxImagePixels, false, {kMaxImageSide + 1, 1}},
    };
    for (const auto &c : cases) {
        const LoadedImage got = DecodeImageData(c.data, c.maxPixels);
        EXPECT_EQ(got.ok(), c.ok) << c.maxPixels;
        EXPECT_EQ(got.tooLarge, !c.ok) << c.maxPixels;
        EXPECT_EQ(got.size, c.refusedSize) << c.maxPixels;
    }
    // Files that are not images are not "too large".
    for (const QByteArray &data : {QByteArray(), QByteArray("plain text"), small.left(small.size() / 2)})
        EXPECT_FALSE(DecodeImageData(data).tooLarge);
}

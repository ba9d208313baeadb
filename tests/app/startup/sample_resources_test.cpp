// The bundled sample image and the scale file that calibrates it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "calib/scale_file.h"

namespace orv::test {
namespace {

QString ResourcesDir()
{
    const QString env = qEnvironmentVariable("ORVALIN_RESOURCES");
    if (!env.isEmpty())
        return env;
    return QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../resources"));
}

TEST(SampleResources, CellScaleFileCalibratesTheSampleImage)
{
    const QDir dir(ResourcesDir());
    QImageReader reader(dir.filePath("cell.png"));
    ASSERT_TRUE(reader.canRead());
    EXPECT_EQ(reader.size(), QSize(550, 660));

    const QString path = dir.filePath("cell.sst");
    const ScaleSetting s = LoadScaleSetting(path);
    EXPECT_EQ(s.hPixel, "100");
    EXPECT_EQ(s.hValue, "10.7");
    EXPECT_EQ(s.vPixel, "100");
    EXPECT_EQ(s.vValue, "10.7");
    EXPECT_EQ(s.unit, std::string(kUnitMicroJa));
    EXPECT_EQ(s.link, kLinkSync);
    const ScaleFactors f = s.Factors();
    EXPECT_DOUBLE_EQ(f.sx, 0.107);
    EXPECT_DOUBLE_EQ(f.sy, 0.107);
    // The bars start inside the image.
    EXPECT_TRUE(QRect(0, 0, 550, 660).contains(s.hStart));

    // On disk the unit is in code page 932 ("μm" = 83 CA 6D), lines end in CR LF.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains(QByteArray("unit=\x83\xCA"
                                          "m\r\n")));
    EXPECT_FALSE(bytes.contains("\xCE\xBC"));

    // The calibration page lists it under its name.
    const std::vector<QString> names = FillScaleFileList(dir.absolutePath(), Language::English);
    EXPECT_NE(std::find(names.begin(), names.end(), QStringLiteral("cell")), names.end());
}

}  // namespace
}  // namespace orv::test

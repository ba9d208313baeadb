// The artwork draws the same whatever fonts are installed or the locale picks.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include "app/startup/resources_init.h"

namespace orv::test {
namespace {

QImage Render(const QString &path, QSize size)
{
    QSvgRenderer svg(path);
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    svg.render(&p);
    return img;
}

TEST(Artwork, NoPictureDependsOnAFont)
{
    InitResources();
    int pictures = 0;
    QDirIterator it(QStringLiteral(":/"), {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        ++pictures;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        QXmlStreamReader xml(&f);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            EXPECT_NE(xml.name(), QLatin1String("text")) << path.toStdString();
            EXPECT_NE(xml.name(), QLatin1String("tspan")) << path.toStdString();
            EXPECT_FALSE(xml.attributes().hasAttribute(QStringLiteral("font-family"))) << path.toStdString();
        }
        EXPECT_FALSE(xml.hasError()) << path.toStdString();
    }
    EXPECT_GT(pictures, 40);
}

TEST(Artwork, LogoStillShowsItsLettering)
{
    InitResources();
    const QImage logo = Render(QStringLiteral(":/orvalin/logo.svg"), QSize(110, 36));
    // Light pixels right of the emblem, on the dark ground.
    int light = 0;
    for (int y = 8; y < 28; ++y)
        for (int x = 36; x < 100; ++x)
            light += qGray(logo.pixel(x, y)) > 180;
    EXPECT_GT(light, 150);
    EXPECT_LT(light, 20 * 64 / 2);
}

}  // namespace
}  // namespace orv::test

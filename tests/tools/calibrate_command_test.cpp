// orvalin-calibrate run as a separate process on images the test draws.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

#include "comma_locale.h"
#include "synthetic_ruler.h"

using orv::test::RulerFormat;
using orv::test::SyntheticRuler;

namespace {

struct ToolRun {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun Calibrate(const QStringList &args, const QByteArray &lang = "C", const QByteArray &all = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("LC_ALL");
    env.remove("LC_MESSAGES");
    env.insert("LANG", QString::fromLatin1(lang));
    if (!all.isEmpty())
        env.insert("LC_ALL", QString::fromLatin1(all));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVALIN_CALIBRATE), args);
    ToolRun r;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

class CalibrateCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ruler_.pitch = 13.71;
        ruler_.ticks = 70;
        ruler_.angleDeg = 88.5;  // near vertical
        ruler_.format = RulerFormat::Jpeg75;
        image_ = dir_.filePath("ruler.png");
        ASSERT_TRUE(ruler_.draw(4).save(image_));
        blank_ = dir_.filePath("blank.png");
        ASSERT_TRUE(orv::test::DrawBlank(320, 240, 4).save(blank_));
    }

    QTemporaryDir dir_;
    SyntheticRuler ruler_;
    QString image_;
    QString blank_;
};

}  // namespace

TEST_F(CalibrateCommand, PrintsTheFitAsOneJsonObject)
{
    const ToolRun r = Calibrate({image_, "--spacing", "10", "--unit", "um"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QJsonParseError error{};
    const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    const double ppd = o.value("pixels_per_division").toDouble();
    EXPECT_LE(std::abs(ppd - ruler_.pitch) / ruler_.pitch, 5e-4);
    EXPECT_GT(o.value("u_pixels_per_division").toDouble(), 0.0);
    EXPECT_EQ(o.value("ticks").toInt(), ruler_.ticks);
    EXPECT_NEAR(o.value("angle_deg").toDouble(), ruler_.angleDeg, 0.1);
    EXPECT_LT(o.value("residual_px").toDouble(), 0.2);
    EXPECT_NEAR(o.value("length_per_pixel").toDouble(), 10.0 / ppd, 1e-9);
    EXPECT_EQ(o.value("unit").toString(), "um");
    EXPECT_EQ(o.size(), 7);
}

TEST_F(CalibrateCommand, NumbersKeepTheirDecimalPointUnderADecimalCommaLocale)
{
    // The locale (and LOCPATH when it had to be built) passes to the tool.
    const orv::test::CommaDecimalLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma available";
    const ToolRun r = Calibrate({image_, "--spacing", "2.5", "--unit", "um"}, "C", "de_DE.UTF-8");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QJsonParseError error{};
    const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    EXPECT_LE(std::abs(o.value("pixels_per_division").toDouble() - ruler_.pitch) / ruler_.pitch, 5e-4);
}

TEST_F(CalibrateCommand, LineRestrictsTheSearch)
{
    // The ruler runs down the middle of its image; a line off to the side finds nothing.
    const QImage img(image_);
    const QString along = QString("%1,20,%1,%2").arg(img.width() / 2.0).arg(img.height() - 20);
    const ToolRun on = Calibrate({image_, "--spacing=0.01", "--unit=mm", "--line", along});
    EXPECT_EQ(on.code, 0) << on.err.toStdString();
    const ToolRun off = Calibrate({image_, "--spacing", "10", "--unit", "um", "--line", "2,20,2,400"});
    EXPECT_EQ(off.code, 2);
}

TEST_F(CalibrateCommand, NoRulerGivesTheReasonAndExitCode2)
{
    const ToolRun en = Calibrate({blank_, "--spacing", "10", "--unit", "um"});
    EXPECT_EQ(en.code, 2);
    EXPECT_TRUE(en.out.isEmpty());
    EXPECT_TRUE(en.err.startsWith("No ruler found: ")) << en.err.toStdString();
    const ToolRun ja = Calibrate({blank_, "--spacing", "10", "--unit", "um"}, "ja_JP.UTF-8");
    EXPECT_EQ(ja.code, 2);
    EXPECT_TRUE(QString::fromUtf8(ja.err).startsWith(QStringLiteral("定規が見つかりません"))) << ja.err.toStdString();
}

TEST_F(CalibrateCommand, BadArgumentsExit1WithUsage)
{
    const QStringList cases[] = {
        {},
        {image_},
        {image_, "--spacing", "10"},
        {image_, "--unit", "um"},
        {image_, "--spacing", "0", "--unit", "um"},
        {image_, "--spacing", "-3", "--unit", "um"},
        {image_, "--spacing", "10abc", "--unit", "um"},
        {image_, "--spacing", "nan", "--unit", "um"},
        {image_, "--spacing", "10", "--unit", ""},
        {image_, "--spacing", "10", "--unit", "um", "--line", "1,2,3"},
        {image_, "--spacing", "10", "--unit", "um", "--line", "1,2,3,x"},
        {image_, "--spacing", "10", "--unit", "um", "--depth", "3"},
        {image_, image_, "--spacing", "10", "--unit", "um"},
        {image_, "--spacing", "10", "--unit"},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun r = Calibrate(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains("usage: orvalin-calibrate IMAGE")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    // A file that is not an image: a message, no crash.
    const ToolRun missing = Calibrate({dir_.filePath("none.png"), "--spacing", "10", "--unit", "um"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}

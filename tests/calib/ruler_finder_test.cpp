#include "calib/ruler_finder.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPointF>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "synthetic_ruler.h"

using namespace orv;
using orv::test::RulerFormat;
using orv::test::SyntheticRuler;

namespace {

double RelativeError(const RulerResult &r, const SyntheticRuler &s)
{
    return (r.pixelsPerDivision - s.pitch) / s.pitch;
}

double AngleGap(double a, double b)
{
    return std::abs(std::remainder(a - b, 180.0));
}

struct AccuracyCase {
    const char *name;
    SyntheticRuler ruler;
};

SyntheticRuler Ruler(double pitch, int ticks, double angle, RulerFormat f, bool light = false, double width = 3.0,
                     double blur = 1.0)
{
    SyntheticRuler r;
    r.pitch = pitch;
    r.ticks = ticks;
    r.angleDeg = angle;
    r.format = f;
    r.lightTicks = light;
    r.tickWidth = width;
    r.blur = blur;
    return r;
}

}  // namespace

TEST(RulerFinder, PitchWithinFiveHundredthsOfAPercentPerKindOfImage)
{
    const AccuracyCase cases[] = {
        {"level", Ruler(10.37, 80, 0.0, RulerFormat::Raw)},
        {"fine pitch", Ruler(5.21, 120, 0.0, RulerFormat::Png, false, 2.0, 0.7)},
        {"coarse pitch", Ruler(39.61, 50, 0.0, RulerFormat::Png, false, 4.0, 1.5)},
        {"tilted +10", Ruler(12.83, 90, 10.0, RulerFormat::Raw)},
        {"tilted -7.5", Ruler(17.44, 70, -7.5, RulerFormat::Png)},
        {"vertical", Ruler(8.66, 100, 90.0, RulerFormat::Raw)},
        {"near vertical", Ruler(14.05, 60, 83.0, RulerFormat::Jpeg75)},
        {"jpeg level", Ruler(11.11, 70, 0.0, RulerFormat::Jpeg75)},
        {"jpeg tilted", Ruler(7.93, 110, -4.0, RulerFormat::Jpeg75)},
        {"light ticks", Ruler(9.58, 80, 3.0, RulerFormat::Png, true)},
        {"light ticks jpeg", Ruler(21.7, 60, -2.0, RulerFormat::Jpeg75, true, 3.5, 1.3)},
    };
    for (const AccuracyCase &c : cases) {
        SCOPED_TRACE(c.name);
        const RulerResult r = RulerFinder().find(c.ruler.draw(7));
        ASSERT_TRUE(r.found()) << RulerFailureText(r, Language::English);
        EXPECT_LE(std::abs(RelativeError(r, c.ruler)), 5e-4) << r.pixelsPerDivision;
        EXPECT_EQ(r.ticks, c.ruler.ticks);
        EXPECT_EQ(r.span(), c.ruler.ticks - 1);
        EXPECT_LT(AngleGap(r.angleDeg, c.ruler.angleDeg), 0.1) << r.angleDeg;
        EXPECT_GT(r.uPixelsPerDivision, 0.0);
        EXPECT_LT(r.residualPx, 0.2);
    }
}

// Random rulers over every range the finder is held to: the pitch is right
// and the stated uncertainty covers the error as a standard uncertainty should.
TEST(RulerFinder, StatedUncertaintyIsHonestOverRandomRulers)
{
    constexpr int kCases = 100;
    int within3u = 0;
    double worst = 0.0;
    for (int seed = 1; seed <= kCases; ++seed) {
        const SyntheticRuler s = SyntheticRuler::Random(static_cast<std::uint32_t>(seed));
        const RulerResult r = RulerFinder().find(s.draw(static_cast<std::uint32_t>(seed)));
        ASSERT_TRUE(r.found()) << s.describe() << ": " << RulerFailureText(r, Language::English);
        const double err = r.pixelsPerDivision - s.pitch;
        worst = std::max(worst, std::abs(err / s.pitch));
        EXPECT_LE(std::abs(err / s.pitch), 5e-4) << s.describe();
        // An end tick has a neighbour on one side only and may be dropped as an outlier.
        EXPECT_LE(r.ticks, s.ticks) << seed << " " << s.describe();
        EXPECT_GE(r.ticks, s.ticks - 2) << seed << " " << s.describe();
        if (std::abs(err) <= 3.0 * r.uPixelsPerDivision)
            ++within3u;
        else
            std::printf("seed %d outside 3u: %s err %.3g u %.3g\n", seed, s.describe().c_str(), err, r.uPixelsPerDivision);
    }
    EXPECT_GE(within3u, kCases * 95 / 100);
    std::printf("worst relative pitch error %.2e, %d of %d within 3u\n", worst, within3u, kCases);
}

TEST(RulerFinder, MissingOrExtraTicksKeepTheNumbering)
{
    SyntheticRuler s = Ruler(12.37, 60, 4.0, RulerFormat::Png);
    const RulerResult clean = RulerFinder().find(s.draw(3));
    ASSERT_TRUE(clean.found());
    s.missingTick = 23;
    const RulerResult missing = RulerFinder().find(s.draw(3));
    ASSERT_TRUE(missing.found());
    EXPECT_EQ(missing.ticks, 59);
    EXPECT_EQ(missing.span(), 59);
    EXPECT_LE(std::abs(RelativeError(missing, s)), 5e-4);

    // A blot as dark as a tick halfway between two ticks is no tick.
    s.missingTick = -1;
    QImage blotted = s.draw(3).convertToFormat(QImage::Format_RGB32);
    {
        QPainter p(&blotted);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        const QPointF mid = 0.5 * (clean.tickPositions[30] + clean.tickPositions[31]);
        p.drawEllipse(mid, 1.5, clean.tickHalfLength);
    }
    const RulerResult extra = RulerFinder().find(blotted);
    ASSERT_TRUE(extra.found());
    EXPECT_EQ(extra.ticks, 60);
    EXPECT_EQ(extra.span(), 59);
    EXPECT_LE(std::abs(RelativeError(extra, s)), 5e-4);
}

TEST(RulerFinder, TickPositionsLieOnTheDrawnTicks)
{
    const SyntheticRuler s = Ruler(15.2, 60, -6.0, RulerFormat::Raw);
    const RulerResult r = RulerFinder().find(s.draw(5));
    ASSERT_TRUE(r.found());
    ASSERT_EQ(r.tickPositions.size(), r.tickNumbers.size());
    const double rad = r.angleDeg * std::numbers::pi / 180.0;
    const QPointF u(std::cos(rad), std::sin(rad));
    const QPointF first = r.tickPositions.front();
    for (std::size_t i = 0; i < r.tickPositions.size(); ++i) {
        const QPointF d = r.tickPositions[i] - first;
        const double along = d.x() * u.x() + d.y() * u.y();
        EXPECT_NEAR(std::abs(along), (r.tickNumbers[i] - r.tickNumbers[0]) * s.pitch, 0.1) << i;
    }
}

TEST(RulerFinder, AlongALineMatchesTheWholeImageSearch)
{
    SyntheticRuler s = Ruler(9.77, 70, 0.0, RulerFormat::Png);
    s.canvasWidth = 800;
    s.canvasHeight = 400;
    const QImage img = s.draw(11);
    const RulerResult whole = RulerFinder().find(img);
    ASSERT_TRUE(whole.found());
    const QPointF a = whole.tickPositions.front();
    const QPointF b = whole.tickPositions.back();
    const RulerResult along = RulerFinder().findAlong(img, a, b);
    ASSERT_TRUE(along.found()) << RulerFailureText(along, Language::English);
    EXPECT_LE(std::abs(RelativeError(along, s)), 5e-4);
    // Far from the ruler there is nothing to find.
    const RulerResult off = RulerFinder().findAlong(img, QPointF(20, 380), QPointF(780, 380));
    EXPECT_EQ(off.failure, RulerFailure::NoTicks);
}

TEST(RulerFinder, EachFailureHasItsReason)
{
    struct Case {
        const char *name;
        QImage image;
        RulerFailure expected;
    };
    SyntheticRuler shortRuler = Ruler(11.3, 5, 0.0, RulerFormat::Png);
    shortRuler.canvasWidth = 400;
    shortRuler.canvasHeight = 200;
    SyntheticRuler burnt = Ruler(11.3, 60, 0.0, RulerFormat::Png);
    burnt.gain = 6.0;
    const SyntheticRuler strip = Ruler(11.3, 60, 0.0, RulerFormat::Raw);
    const Case cases[] = {
        {"no ticks", test::DrawBlank(640, 480, 2), RulerFailure::NoTicks},
        {"too short", shortRuler.draw(2), RulerFailure::TooShort},
        {"saturated", burnt.draw(2), RulerFailure::Saturated},
        {"one pixel wide", strip.draw(2).copy(300, 0, 1, 100), RulerFailure::ImageTooSmall},
        {"one pixel high", strip.draw(2).copy(0, 64, 600, 1), RulerFailure::ImageTooSmall},
        {"null", QImage(), RulerFailure::ImageTooSmall},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RulerResult r = RulerFinder().find(c.image);
        EXPECT_EQ(r.failure, c.expected);
        EXPECT_FALSE(RulerFailureText(r, Language::English).empty());
        EXPECT_NE(RulerFailureText(r, Language::English), RulerFailureText(r, Language::Japanese));
    }
    const RulerResult shortOne = RulerFinder().find(shortRuler.draw(2));
    EXPECT_EQ(shortOne.detailA, 5);
    EXPECT_NE(RulerFailureText(shortOne, Language::English).find("(5 ticks"), std::string::npos);
    EXPECT_EQ(RulerFinder().findAlong(strip.draw(2), QPointF(10, 10), QPointF(15, 10)).failure,
              RulerFailure::LineTooShort);
}

TEST(RulerFinder, AnyPixelFormatAndShapeGivesAnAnswer)
{
    const SyntheticRuler s = Ruler(10.91, 60, 1.5, RulerFormat::Raw);
    const QImage grey = s.draw(8);
    QImage black(300, 200, QImage::Format_Grayscale8);
    black.fill(0);
    enum Expect { Ruler, Either, NoRuler, TooSmall, Saturated };
    struct Case {
        const char *name;
        QImage image;
        Expect expect;
    };
    const Case cases[] = {
        {"16-bit grey", grey.convertToFormat(QImage::Format_Grayscale16), Ruler},
        {"colour with alpha", grey.convertToFormat(QImage::Format_ARGB32), Ruler},
        {"indexed", grey.convertToFormat(QImage::Format_Indexed8), Ruler},
        {"mono", grey.convertToFormat(QImage::Format_Mono), Either},
        {"thin strip across the ticks", grey.copy(0, grey.height() / 2, grey.width(), 5), Either},
        {"four by four", grey.copy(0, 0, 4, 4), NoRuler},
        {"three high", grey.copy(0, 0, 400, 3), TooSmall},
        {"black", black, Saturated},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RulerResult r = RulerFinder().find(c.image);
        switch (c.expect) {
        case Ruler:
            ASSERT_TRUE(r.found()) << RulerFailureText(r, Language::English);
            EXPECT_LE(std::abs(RelativeError(r, s)), 5e-4);
            break;
        case Either:
            EXPECT_NE(r.found(), !RulerFailureText(r, Language::English).empty());
            break;
        case NoRuler:
            EXPECT_EQ(r.failure, RulerFailure::NoTicks);
            break;
        case TooSmall:
            EXPECT_EQ(r.failure, RulerFailure::ImageTooSmall);
            break;
        case Saturated:
            EXPECT_EQ(r.failure, RulerFailure::Saturated);
            break;
        }
    }
}

#include "measure/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>

using namespace orv;

TEST(GeometryTest, TruncationIsTowardZeroAndOutOfRangeIsIntMin)
{
    EXPECT_EQ(TruncateToInt(-1.7), -1);
    EXPECT_EQ(TruncateToInt(1.7), 1);
    EXPECT_EQ(TruncateToInt(2147483647.9), INT_MAX);
    EXPECT_EQ(TruncateToInt(-2147483648.9), INT_MIN);
    EXPECT_EQ(TruncateToInt(2147483648.0), INT_MIN);
    EXPECT_EQ(TruncateToInt(-1e300), INT_MIN);
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), INT_MIN);
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::infinity()), INT_MIN);
}

TEST(GeometryTest, PixelDistanceTruncatesAndSaturates)
{
    EXPECT_EQ(PixelDistance({0, 0}, {3, 4}), 5u);
    EXPECT_EQ(PixelDistance({3, 4}, {0, 0}), 5u);
    EXPECT_EQ(PixelDistance({0, 0}, {1, 1}), 1u);
    EXPECT_EQ(PixelDistance({-5, 0}, {5, 0}), 10u);
    // 32-bit extremes: the difference needs 33 bits.
    EXPECT_EQ(PixelDistance({INT_MIN, 0}, {INT_MAX, 0}), 4294967295u);
    EXPECT_EQ(PixelDistance({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}), UINT_MAX);
}

TEST(GeometryTest, SegmentDistanceHorizontalVerticalAndSlanted)
{
    EXPECT_EQ(SegmentDistance({0, 0}, {10, 0}, {5, 3}), 3);
    EXPECT_EQ(SegmentDistance({10, 0}, {0, 0}, {5, -3}), 3);
    EXPECT_EQ(SegmentDistance({0, 0}, {10, 0}, {15, 0}), 5);   // nearer end
    EXPECT_EQ(SegmentDistance({0, 0}, {10, 0}, {-3, 4}), 5);
    EXPECT_EQ(SegmentDistance({0, 0}, {0, 10}, {3, 5}), 3);
    EXPECT_EQ(SegmentDistance({0, 10}, {0, 0}, {3, 14}), 5);
    // A single point counts as a vertical segment.
    EXPECT_EQ(SegmentDistance({2, 2}, {2, 2}, {5, 2}), 3);
    EXPECT_EQ(SegmentDistance({2, 2}, {2, 2}, {2, 9}), 7);
    // Slanted: outside the bounding box gives 999, even when close to the line.
    EXPECT_EQ(SegmentDistance({0, 0}, {10, 10}, {15, 5}), 999);
    EXPECT_EQ(SegmentDistance({0, 0}, {10, 10}, {11, 11}), 999);
    // Inside (bounds included): distance to the foot, truncated (sqrt 50).
    EXPECT_EQ(SegmentDistance({0, 0}, {10, 10}, {0, 10}), 7);
    EXPECT_EQ(SegmentDistance({10, 10}, {0, 0}, {10, 0}), 7);
    EXPECT_EQ(SegmentDistance({0, 0}, {10, 10}, {4, 4}), 0);
}

TEST(GeometryTest, PerpendicularFoot)
{
    EXPECT_EQ(PerpendicularFoot({5, 0}, {5, 10}, {1, 7}), QPoint(5, 7));
    EXPECT_EQ(PerpendicularFoot({0, 4}, {10, 4}, {3, -8}), QPoint(3, 4));
    EXPECT_EQ(PerpendicularFoot({0, 0}, {2, 1}, {0, 5}), QPoint(2, 1));
    // -1.5 truncates to -1, not -2.
    EXPECT_EQ(PerpendicularFoot({0, 0}, {1, 1}, {-3, 0}), QPoint(-1, -1));
    // y comes from the untruncated x: x = 1.6, y = 3.2.
    EXPECT_EQ(PerpendicularFoot({0, 0}, {1, 2}, {0, 4}), QPoint(1, 3));
}

TEST(GeometryTest, ParallelThroughCutsAtTheImageBorders)
{
    // Vertical base: the parallel is drawn at the measured point's x.
    ParallelLine v = ParallelThrough({5, 0}, {5, 10}, {40, 7});
    EXPECT_EQ(v.foot, QPoint(5, 7));
    EXPECT_EQ(v.start, QPoint(40, 0));
    EXPECT_EQ(v.end, QPoint(40, 2000));

    ParallelLine h = ParallelThrough({0, 4}, {10, 4}, {3, 30});
    EXPECT_EQ(h.foot, QPoint(3, 4));
    EXPECT_EQ(h.start, QPoint(0, 30));
    EXPECT_EQ(h.end, QPoint(2000, 30));

    // Falling slope: from the y axis to the x axis.
    ParallelLine down = ParallelThrough({0, 10}, {10, 0}, {5, 20});
    EXPECT_EQ(down.start, QPoint(0, 25));
    EXPECT_EQ(down.end, QPoint(25, 0));
    EXPECT_EQ(down.foot, PerpendicularFoot({0, 10}, {10, 0}, {5, 20}));

    // Rising slope: from y = 2000 to the x axis, truncated toward zero.
    ParallelLine up = ParallelThrough({0, 0}, {10, 3}, {0, 1});
    EXPECT_EQ(up.start, QPoint(6663, 2000));
    EXPECT_EQ(up.end, QPoint(-3, 0));
}

TEST(GeometryTest, LineIntersection)
{
    EXPECT_EQ(LineIntersection({0, 0}, {10, 10}, {0, 10}, {10, 0}), QPoint(5, 5));
    // One line vertical, either way round.
    EXPECT_EQ(LineIntersection({3, 0}, {3, 10}, {0, 0}, {10, 5}), QPoint(3, 1));
    EXPECT_EQ(LineIntersection({0, 0}, {10, 5}, {3, 0}, {3, 10}), QPoint(3, 1));
    // (-1.5, -1.5) truncates toward zero.
    EXPECT_EQ(LineIntersection({0, 0}, {1, 1}, {0, -3}, {1, -4}), QPoint(-1, -1));

    EXPECT_FALSE(LineIntersection({1, 0}, {1, 9}, {4, 2}, {4, 7}).has_value());
    EXPECT_FALSE(LineIntersection({0, 0}, {2, 2}, {0, 1}, {3, 4}).has_value());
    EXPECT_FALSE(LineIntersection({0, 5}, {9, 5}, {0, 8}, {4, 8}).has_value());

    // Nearly parallel: the crossing lies far outside the 32-bit range.
    auto far = LineIntersection({0, 0}, {1000000, 1}, {0, 1}, {999999, 2});
    ASSERT_TRUE(far.has_value());
    EXPECT_EQ(far->x(), INT_MIN);
}

TEST(GeometryTest, CircleThroughThreePoints)
{
    // Generic case: both bisector slopes non-zero.
    auto c = CircleFrom3Points({0, 10}, {10, 0}, {0, -10});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(0, 0));
    EXPECT_EQ(c->radius, 10);

    // p2-p3 horizontal: its bisector is x = mx2.
    c = CircleFrom3Points({0, 10}, {10, 0}, {-10, 0});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(0, 0));

    // p2-p3 vertical: y = my2 truncated (-0.5 gives 0, floor would give -1).
    c = CircleFrom3Points({-10, 0}, {0, 9}, {0, -10});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(0, 0));
    EXPECT_EQ(c->radius, 10);

    // p1-p2 horizontal, then p1-p2 vertical.
    c = CircleFrom3Points({-10, 0}, {10, 0}, {0, 10});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(0, 0));
    c = CircleFrom3Points({0, 10}, {0, -10}, {10, 0});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(0, 0));
    EXPECT_EQ(c->radius, 10);

    // Centre (6.5, 9.5) truncates to (6, 9); the radius is measured from p1
    // to the truncated centre: sqrt 37 gives 6.
    c = CircleFrom3Points({0, 10}, {7, 3}, {13, 10});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(6, 9));
    EXPECT_EQ(c->radius, 6);
}

TEST(GeometryTest, CircleSpecialCases)
{
    // A third point never set: the circle on p1-p2 as diameter, integer halves.
    auto c = CircleFrom3Points({10, 10}, {21, 10}, {0, 0});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(15, 10));
    EXPECT_EQ(c->radius, 5);
    c = CircleFrom3Points({-5, -3}, {0, 0}, {0, 0});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(-2, -1));
    EXPECT_EQ(c->radius, 2);
    c = CircleFrom3Points({INT_MAX, INT_MAX}, {INT_MAX - 2, INT_MAX}, {0, 0});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center, QPoint(INT_MAX - 1, INT_MAX));

    // Collinear: slanted, vertical, horizontal.
    EXPECT_FALSE(CircleFrom3Points({1, 1}, {2, 2}, {3, 3}).has_value());
    EXPECT_FALSE(CircleFrom3Points({5, 0}, {5, 5}, {5, 9}).has_value());
    EXPECT_FALSE(CircleFrom3Points({0, 5}, {3, 5}, {7, 5}).has_value());

    // Almost collinear: a centre outside the 32-bit range becomes INT_MIN.
    c = CircleFrom3Points({1, 0}, {2000000000, 1}, {-2000000000, -1});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->center.x(), INT_MIN);
    EXPECT_GE(c->radius, 0);
}

TEST(GeometryTest, ArcLengthTakesTheShorterArcWithTheWholeRadius)
{
    EXPECT_NEAR(ArcLength({10, 0}, {0, 10}, {0, 0}), std::numbers::pi / 2 * 10, 1e-9);
    EXPECT_NEAR(ArcLength({0, 10}, {10, 0}, {0, 0}), std::numbers::pi / 2 * 10, 1e-9);
    // Across the +-pi seam: the short way round, radius sqrt 101.
    EXPECT_NEAR(ArcLength({-10, 1}, {-10, -1}, {0, 0}), 2 * std::atan2(1.0, 10.0) * std::sqrt(101.0), 1e-9);
    // The radius is p's distance from the centre, not truncated: sqrt 2.
    EXPECT_NEAR(ArcLength({1, 1}, {-1, 1}, {0, 0}), std::numbers::pi / 2 * std::sqrt(2.0), 1e-9);
    // A centre between pixels: a half turn about (0.5, 0) on radius 2.5.
    EXPECT_NEAR(ArcLength({3, 0}, {-2, 0}, QPointF(0.5, 0)), std::numbers::pi * 2.5, 1e-9);
    EXPECT_DOUBLE_EQ(ArcLength({5, 5}, {5, 5}, {0, 0}), 0.0);
}

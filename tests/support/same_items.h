#pragma once
// Every field of two measurement lists compared one by one (ids aside: each
// list gives its own).

#include <gtest/gtest.h>

#include "measure/measure_item.h"

namespace orv::test {

inline void ExpectSameItems(const MeasureList &a, const MeasureList &b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        const MeasureItem &x = a.at(i), &y = b.at(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(x.kind, y.kind);
        ASSERT_EQ(x.points.size(), y.points.size());
        for (std::size_t p = 0; p < x.points.size(); ++p) {
            EXPECT_EQ(x.points[p].pos, y.points[p].pos);
            EXPECT_EQ(x.points[p].foot, y.points[p].foot);
            EXPECT_EQ(x.points[p].lineStart, y.points[p].lineStart);
            EXPECT_EQ(x.points[p].lineEnd, y.points[p].lineEnd);
        }
        ASSERT_EQ(x.subResults.size(), y.subResults.size());
        for (std::size_t r = 0; r < x.subResults.size(); ++r) {
            EXPECT_EQ(x.subResults[r].text, y.subResults[r].text);
            EXPECT_EQ(x.subResults[r].labelBox, y.subResults[r].labelBox);
            EXPECT_EQ(x.subResults[r].row, y.subResults[r].row);
            EXPECT_EQ(x.subResults[r].pos, y.subResults[r].pos);
            EXPECT_EQ(x.subResults[r].kind, y.subResults[r].kind);
        }
        EXPECT_EQ(x.center, y.center);
        EXPECT_EQ(x.center2, y.center2);
        EXPECT_EQ(x.radius, y.radius);
        EXPECT_EQ(x.radius2, y.radius2);
        EXPECT_EQ(x.text, y.text);
        EXPECT_EQ(x.labelBox, y.labelBox);
        EXPECT_EQ(x.row, y.row);
        EXPECT_EQ(x.number, y.number);
        EXPECT_EQ(x.value, y.value);  // doubles survive JSON exactly
        EXPECT_EQ(x.arcStart, y.arcStart);
        EXPECT_EQ(x.arcStop, y.arcStop);
        EXPECT_EQ(x.unit, y.unit);
        EXPECT_EQ(x.lineWidth, y.lineWidth);
        EXPECT_EQ(x.lineColor, y.lineColor);
        EXPECT_EQ(x.fontSize, y.fontSize);
        EXPECT_EQ(x.fontColor, y.fontColor);
        EXPECT_EQ(x.backColor, y.backColor);
        EXPECT_EQ(x.backMode, y.backMode);
    }
}

}  // namespace orv::test

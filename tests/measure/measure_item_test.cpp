#include "measure/measure_item.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {
MeasureItem *AddItem(MeasureList &list, int row, int listedSubs)
{
    auto item = NewMeasureItem();
    item->kind = KindPerpendicular;
    item->row = row;
    for (int i = 0; i < listedSubs; ++i)
        AppendSubResult(*item, "x", KindPerpendicularPart, row + 1 + i, {});
    MeasureItem *raw = item.get();
    raw->number = list.Append(std::move(item));
    return raw;
}
}  // namespace

TEST(MeasureKinds, PointCountsAndNames)
{
    for (std::uint32_t k : {0u, 1u, 12u, 17u, 18u, 20u, 21u, 999u})
        EXPECT_EQ(PointCountForKind(k), 1) << k;
    EXPECT_EQ(PointCountForKind(KindDistanceCircles), 6);
    EXPECT_EQ(PointCountForKind(KindAngle2Lines), 4);
    for (std::uint32_t k : {5u, 6u, 7u, 8u, 14u})
        EXPECT_EQ(PointCountForKind(k), -1) << k;
    EXPECT_STREQ(KindName(0, Language::English), "Unkown");
    EXPECT_STREQ(KindName(15, Language::English), " * Radius");
    EXPECT_STREQ(KindName(11, Language::Japanese), "角度-２線分");
    EXPECT_STREQ(KindName(40, Language::English), "Unkown");
}

TEST(MeasureList, RemovalShiftsRowsAndChoosesTheNextItem)
{
    MeasureList list;
    MeasureItem *a = AddItem(list, 0, 0);
    MeasureItem *b = AddItem(list, 1, 2);   // rows 1, 2, 3
    MeasureItem *c = AddItem(list, 4, 1);   // rows 4, 5
    MeasureItem *d = AddItem(list, 6, 0);
    b->subResults.push_back({"removed", {}, -1, {}, KindPerpendicularPart});

    EXPECT_EQ(list.FindByRow(3), b);
    EXPECT_EQ(list.FindByRow(5), c);
    EXPECT_EQ(list.FindByRow(7), nullptr);

    EXPECT_EQ(list.Remove(b), c);
    EXPECT_EQ(a->row, 0);
    EXPECT_EQ(c->row, 1);
    EXPECT_EQ(c->subResults[0].row, 2);
    EXPECT_EQ(d->row, 3);

    EXPECT_EQ(list.Remove(d), a);  // the last one: select the first
    EXPECT_EQ(list.Remove(a), c);
    EXPECT_EQ(list.Remove(c), nullptr);
    EXPECT_TRUE(list.empty());
}

TEST(MeasureList, PointersStayValidWhileOthersComeAndGo)
{
    MeasureList list;
    MeasureItem *first = AddItem(list, 0, 0);
    for (int i = 1; i < 100; ++i)
        AddItem(list, i, 0);
    first->value = 42;
    list.Remove(&list.at(50));
    EXPECT_EQ(list.front(), first);
    EXPECT_EQ(first->value, 42);
    EXPECT_EQ(list.Append(NewMeasureItem()), 100);
}

TEST(MeasureItem, SetPointAtFollowsTheClickOrder)
{
    EXPECT_EQ(SetPointAt(nullptr, 0, {}), -1);
    auto item = NewMeasureItem();
    EXPECT_EQ(SetPointAt(item.get(), 0, {1, 1}), 1);
    EXPECT_EQ(SetPointAt(item.get(), 1, {2, 2}), 1);   // appended
    EXPECT_EQ(SetPointAt(item.get(), 1, {3, 3}), 1);   // overwritten
    ASSERT_EQ(item->points.size(), 2u);
    EXPECT_EQ(item->points[1].pos, QPoint(3, 3));
    EXPECT_EQ(SetPointAt(item.get(), 5, {9, 9}), 5);
    ASSERT_EQ(item->points.size(), 3u);
    EXPECT_EQ(item->points[2].pos, QPoint(9, 9));
}

TEST(MeasureItem, CloneIsDeepAndUnlisted)
{
    auto item = NewMeasureItem();
    item->kind = KindPerpendicular;
    item->row = 3;
    item->number = 2;
    item->labelBox = {1, 2, 3, 4};
    AppendPoint(*item, {1, 2});
    AppendSubResult(*item, "1.00um", KindPerpendicularPart, 4, {1, 2}).labelBox = {5, 6, 7, 8};
    auto copy = CloneMeasureItem(*item);
    EXPECT_EQ(copy->row, -1);
    EXPECT_EQ(copy->number, -1);
    EXPECT_EQ(copy->labelBox, item->labelBox);
    ASSERT_EQ(copy->subResults.size(), 1u);
    EXPECT_EQ(copy->subResults[0].text, "1.00um");
    EXPECT_EQ(copy->subResults[0].labelBox, (LabelBox{5, 6, 7, 8}));
    copy->points[0].pos = {7, 7};
    EXPECT_EQ(item->points[0].pos, QPoint(1, 2));
}

TEST(MeasureItem, LongTextsAreCutToTheRecordBuffer)
{
    auto item = NewMeasureItem();
    const auto &s = AppendSubResult(*item, std::string(300, 'a'), KindRadius, -1, {});
    EXPECT_EQ(s.text.size(), kMaxTextBytes);
    // A two-byte character across the limit goes whole.
    const auto &w = AppendSubResult(*item, std::string(254, 'a') + "\u03bc" + "b", KindRadius, -1, {});
    EXPECT_EQ(w.text, std::string(254, 'a'));
}

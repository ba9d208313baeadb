#include "measure/measure_item.h"

#include <algorithm>
#include <array>

namespace orv {
namespace {

struct KindNames {
    const char *english;
    const char *japanese;
};

constexpr std::array<KindNames, 21> kKindNames{{
    {"Unkown", "未定義"},
    {"StandardScale", "標準スケール"},
    {"Distance - Between 2 points", "距離-2点間"},
    {"Distance - Arc", "距離-円弧"},
    {"Distance - Circle to Circle", "距離-円"},
    {"Distance - Perpendicular Line", "距離-垂線"},
    {"Distance - Broken Line", "距離-折線"},
    {"Distance - Parallel Line", "距離-平行線"},
    {"Area - Polygon", "面積-多角形"},
    {"Area - Circle", "面積-円"},
    {"Angle - Included Angle between 3 Points", "角度-3点挟角"},
    {"Angle - Included Angle between 2 Lines", "角度-２線分"},
    {"Text", "文字列"},
    {"Standard Line", "基準線"},
    {"Standard Parallel Line", "基準平行線"},
    {" * Radius", "★半径"},
    {" * Circumference", "★円周"},
    {" - Perpendicular Line", "■垂線"},
    {" - Parallel Line", "■平行線"},
    {"Angle - Included Angle between 3 Points(type 2)", "角度-3点挟角2"},
    {" * Diameter", "★直径"},
}};

}  // namespace

std::string CutToRecord(std::string text)
{
    if (text.size() <= kMaxTextBytes)
        return text;
    std::size_t n = kMaxTextBytes;
    // Back up over continuation bytes to the start of the cut character.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    text.resize(n);
    return text;
}

std::unique_ptr<MeasureItem> NewMeasureItem()
{
    return std::make_unique<MeasureItem>();
}

void AppendPoint(MeasureItem &item, QPoint pos, QPoint foot)
{
    MeasurePoint p;
    p.pos = pos;
    p.foot = foot;
    item.points.push_back(p);
}

int SetPointAt(MeasureItem *item, int index, QPoint pos)
{
    if (!item)
        return -1;
    if (index == 0 && item->points.empty()) {
        AppendPoint(*item, pos);
        return 1;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= item->points.size()) {
        AppendPoint(*item, pos);
        return index;
    }
    item->points[static_cast<std::size_t>(index)].pos = pos;
    return index;
}

SubResult &AppendSubResult(MeasureItem &item, const std::string &text, int kind, int row, QPoint pos)
{
    SubResult s;
    s.text = CutToRecord(text);
    s.kind = kind;
    s.row = row;
    s.pos = pos;
    item.subResults.push_back(std::move(s));
    return item.subResults.back();
}

std::unique_ptr<MeasureItem> CloneMeasureItem(const MeasureItem &item)
{
    auto copy = std::make_unique<MeasureItem>(item);
    copy->row = -1;
    copy->number = -1;
    copy->id = kNoItem;
    return copy;
}

int PointCountForKind(std::uint32_t kind)
{
    switch (kind) {
    case KindDistance2Points:
    case KindStandardLine:
    case KindRadius:
    case KindCircumference:
        return 2;
    case KindDistanceArc:
    case KindAreaCircle:
    case KindAngle3Points:
    case KindAngle3PointsType2:
        return 3;
    case KindDistanceCircles:
        return 6;
    case KindAngle2Lines:
        return 4;
    case KindPerpendicular:
    case KindBrokenLine:
    case KindParallel:
    case KindAreaPolygon:
    case KindStandardParallel:
        return -1;
    default:
        return 1;
    }
}

const char *KindName(std::uint32_t kind, Language lang)
{
    const KindNames &n = kKindNames[kind < kKindNames.size() ? kind : 0];
    return lang == Language::English ? n.english : n.japanese;
}

int MeasureList::Append(std::unique_ptr<MeasureItem> item)
{
    item->id = ++lastId_;
    items_.push_back(std::move(item));
    return static_cast<int>(items_.size());
}

int MeasureList::IndexOf(const MeasureItem *item) const
{
    auto it = std::find_if(items_.begin(), items_.end(),
                           [item](const auto &p) { return p.get() == item; });
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

std::unique_ptr<MeasureItem> MeasureList::Take(const MeasureItem *item)
{
    const int i = IndexOf(item);
    if (i < 0)
        return nullptr;
    auto owned = std::move(items_[static_cast<std::size_t>(i)]);
    items_.erase(items_.begin() + i);
    return owned;
}

MeasureItem *MeasureList::Remove(const MeasureItem *item)
{
    const int i = IndexOf(item);
    if (i < 0)
        return nullptr;
    const auto rows = 1 + std::count_if(item->subResults.begin(), item->subResults.end(),
                                        [](const SubResult &s) { return s.row >= 0; });
    for (std::size_t k = static_cast<std::size_t>(i); k < items_.size(); ++k) {
        MeasureItem &m = *items_[k];
        m.row -= static_cast<int>(rows);
        for (SubResult &s : m.subResults)
            s.row -= static_cast<int>(rows);
    }
    items_.erase(items_.begin() + i);
    if (items_.empty())
        return nullptr;
    const auto next = static_cast<std::size_t>(i) < items_.size() ? static_cast<std::size_t>(i) : 0;
    return items_[next].get();
}

void MeasureList::Clear()
{
    items_.clear();
}

void MeasureList::Restore(Items items)
{
    items_ = std::move(items);
    for (const auto &item : items_)
        lastId_ = std::max(lastId_, item->id);
}

MeasureItem *MeasureList::Find(ItemId id) const
{
    if (id == kNoItem)
        return nullptr;
    auto it = std::find_if(items_.begin(), items_.end(), [id](const auto &p) { return p->id == id; });
    return it == items_.end() ? nullptr : it->get();
}

MeasureItem *MeasureList::FindByRow(int row) const
{
    for (const auto &p : items_) {
        if (p->row == row)
            return p.get();
        for (const SubResult &s : p->subResults)
            if (s.row == row)
                return p.get();
    }
    return nullptr;
}

}  // namespace orv

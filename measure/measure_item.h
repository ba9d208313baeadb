#pragma once
// Measurement records and the ordered list that owns them.

#include <QPoint>
#include <QPointF>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "measure/color_ref.h"
#include "measure/language.h"

namespace orv {

enum MeasureKind : std::uint32_t {
    KindUndefined = 0,
    KindStandardScale = 1,
    KindDistance2Points = 2,
    KindDistanceArc = 3,
    KindDistanceCircles = 4,
    KindPerpendicular = 5,
    KindBrokenLine = 6,
    KindParallel = 7,
    KindAreaPolygon = 8,
    KindAreaCircle = 9,
    KindAngle3Points = 10,
    KindAngle2Lines = 11,
    KindText = 12,
    KindStandardLine = 13,
    KindStandardParallel = 14,
    KindRadius = 15,
    KindCircumference = 16,
    KindPerpendicularPart = 17,
    KindParallelPart = 18,
    KindAngle3PointsType2 = 19,
    KindDiameter = 20,
};

// Label box in image pixels. bottom == 0: not placed; bottom == -1: to be re-measured.
struct LabelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const LabelBox &) const = default;
};

struct MeasurePoint {
    QPoint pos;
    // Derived (derive.h): feet / parallel ends (kinds 5, 7, 14) or arc S, M, E (kind 3, first point).
    QPoint foot;
    QPoint lineStart;
    QPoint lineEnd;
    bool operator==(const MeasurePoint &) const = default;
};

struct SubResult {
    std::string text;  // UTF-8
    LabelBox labelBox;
    int row = -1;      // negative: not listed
    QPoint pos;        // the item point this line belongs to
    int kind = KindUndefined;
    // Standard uncertainty of each number the text shows (two for an h / v pair).
    std::vector<double> uncertainty = {};
    bool operator==(const SubResult &) const = default;
};

// Derived geometry in full precision, which values are taken from; the
// integer fields of the item are what is drawn, hit and saved.
struct ExactGeometry {
    QPointF center;   // circle centre (kinds 3, 4, 9) or vertex (kind 11)
    QPointF center2;  // second circle (kind 4)
    double radius = 0.0;
    double radius2 = 0.0;
    std::vector<QPointF> feet;  // per point: foot of its perpendicular (kinds 5, 7, 14)
    bool operator==(const ExactGeometry &) const = default;
};

// A listed item's identity: given by the list on Append, never given again by
// that list. kNoItem for an item that was never listed (a copy being edited).
using ItemId = std::uint64_t;
inline constexpr ItemId kNoItem = 0;

struct MeasureItem {
    ItemId id = kNoItem;
    MeasureKind kind = KindUndefined;
    std::vector<MeasurePoint> points;
    // Callers that must survive appends refer to sub-results by index.
    std::vector<SubResult> subResults;
    QPoint center;
    QPoint center2;
    int radius = 0;
    int radius2 = 0;
    ExactGeometry exact;
    std::string text;  // kind 12, UTF-8
    LabelBox labelBox;
    int row = 0;
    int number = 0;
    double value = 0.0;
    double uncertainty = 0.0;  // standard uncertainty of value
    double arcStart = 0.0;
    double arcStop = 0.0;
    int unit = 0;
    int lineWidth = 0;
    ColorRef lineColor = 0;
    int fontSize = 0;
    ColorRef fontColor = 0;
    ColorRef backColor = 0;
    std::uint32_t backMode = 0;  // 0 opaque, non-zero transparent
    bool operator==(const MeasureItem &) const = default;
};

// Maximum stored text length in bytes (the record's fixed buffers hold 255 + NUL).
inline constexpr std::size_t kMaxTextBytes = 255;
// Cuts UTF-8 text to kMaxTextBytes without splitting a character.
std::string CutToRecord(std::string text);

std::unique_ptr<MeasureItem> NewMeasureItem();

void AppendPoint(MeasureItem &item, QPoint pos, QPoint foot = {});
// Returns the index written (1 for a first point at index 0), -1 for no item.
int SetPointAt(MeasureItem *item, int index, QPoint pos);
SubResult &AppendSubResult(MeasureItem &item, const std::string &text, int kind, int row, QPoint pos);
// Deep copy with row and number -1 and no id.
std::unique_ptr<MeasureItem> CloneMeasureItem(const MeasureItem &item);

// -1 for kinds finished by double click.
int PointCountForKind(std::uint32_t kind);
const char *KindName(std::uint32_t kind, Language lang);

// The ordered list of measurements. Items are heap-allocated singly, so pointers
// to them stay valid for as long as they remain in the list.
class MeasureList {
public:
    using Items = std::vector<std::unique_ptr<MeasureItem>>;

    // Appends and returns the 1-based position; the item gets a new id.
    int Append(std::unique_ptr<MeasureItem> item);
    // Removes (and frees) the item, shifting the rows of the following items;
    // returns the item to select next or nullptr.
    MeasureItem *Remove(const MeasureItem *item);
    // Takes the item out without freeing it or touching rows.
    std::unique_ptr<MeasureItem> Take(const MeasureItem *item);
    // Ids are not given again after a Clear either.
    void Clear();
    // Replaces every item by items that keep their ids (an earlier state of
    // this list coming back); ids are still never given twice.
    void Restore(Items items);

    MeasureItem *FindByRow(int row) const;
    // nullptr for kNoItem and for an id no longer listed.
    MeasureItem *Find(ItemId id) const;
    int IndexOf(const MeasureItem *item) const;  // -1 when absent
    bool Contains(const MeasureItem *item) const { return IndexOf(item) >= 0; }

    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    MeasureItem &at(std::size_t i) const { return *items_[i]; }
    MeasureItem *front() const { return items_.empty() ? nullptr : items_.front().get(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    Items items_;
    ItemId lastId_ = kNoItem;
};

}  // namespace orv

#include "document/document_state.h"

#include <algorithm>

namespace orv {
namespace {

template <class T>
bool SamePart(const std::shared_ptr<const T> &a, const std::shared_ptr<const T> &b)
{
    if (a == b)
        return true;
    return a && b && *a == *b;
}

// The attributes as a state holds them: without the zoom.
DrawAttribute WithoutZoom(DrawAttribute attributes)
{
    attributes.zoomText.clear();
    return attributes;
}

// The label as it was before when it was only marked to be measured again.
void UnmarkLabel(LabelBox &box, const LabelBox &before)
{
    if (box.bottom == -1 && before.bottom > 0 && box.left == before.left && box.top == before.top &&
        box.right == before.right)
        box.bottom = before.bottom;
}

bool SameButForMarks(const MeasureItem &item, const MeasureItem &before)
{
    if (item.subResults.size() != before.subResults.size())
        return false;
    MeasureItem unmarked = item;
    UnmarkLabel(unmarked.labelBox, before.labelBox);
    for (std::size_t i = 0; i < unmarked.subResults.size(); ++i)
        UnmarkLabel(unmarked.subResults[i].labelBox, before.subResults[i].labelBox);
    return unmarked == before;
}

}  // namespace

bool DocumentState::ChangesFrom(const DocumentState &before) const
{
    const auto same = [](const auto &a, const auto &b) { return a == b || SameButForMarks(*a, *b); };
    return !(std::equal(items.begin(), items.end(), before.items.begin(), before.items.end(), same) &&
             SamePart(rows, before.rows) && SamePart(calibration, before.calibration) &&
             SamePart(attributes, before.attributes));
}

bool DocumentState::SameAs(const DocumentState &other) const
{
    const auto sameItem = [](const auto &a, const auto &b) { return SamePart(a, b); };
    return std::equal(items.begin(), items.end(), other.items.begin(), other.items.end(), sameItem) &&
           SamePart(rows, other.rows) && SamePart(calibration, other.calibration) &&
           SamePart(attributes, other.attributes);
}

DocumentState::Items CaptureItems(const MeasureList &list, const DocumentState *previous)
{
    DocumentState::Items out;
    out.reserve(list.size());
    // Items keep their list order, and ids only grow along it: one walk finds
    // the previous copy of each item.
    std::size_t j = 0;
    for (const auto &live : list) {
        std::shared_ptr<const MeasureItem> copy;
        if (previous) {
            const DocumentState::Items &before = previous->items;
            while (j < before.size() && before[j]->id < live->id)
                ++j;
            if (j < before.size() && *before[j] == *live)
                copy = before[j];
        }
        out.push_back(copy ? std::move(copy) : std::make_shared<const MeasureItem>(*live));
    }
    return out;
}

std::shared_ptr<const std::vector<ResultRow>> CaptureRows(const ResultsTable &table,
                                                          const DocumentState *previous)
{
    if (previous && previous->rows && *previous->rows == table.rows())
        return previous->rows;
    return std::make_shared<const std::vector<ResultRow>>(table.rows());
}

std::shared_ptr<const Calibration> CaptureCalibration(const Calibration &calibration,
                                                      const DocumentState *previous)
{
    if (previous && previous->calibration && *previous->calibration == calibration)
        return previous->calibration;
    return std::make_shared<const Calibration>(calibration);
}

std::shared_ptr<const DrawAttribute> CaptureAttributes(const DrawAttribute &attributes,
                                                       const DocumentState *previous)
{
    DrawAttribute held = WithoutZoom(attributes);
    if (previous && previous->attributes && *previous->attributes == held)
        return previous->attributes;
    return std::make_shared<const DrawAttribute>(std::move(held));
}

DocumentState CaptureState(const MeasureDocument &doc, const DocumentState *previous)
{
    return DocumentState{CaptureItems(doc.list(), previous), CaptureRows(doc.results(), previous),
                         CaptureCalibration(doc.calibration(), previous),
                         CaptureAttributes(doc.drawAttribute(), previous)};
}

DocumentSelection CaptureSelection(const MeasureDocument &doc)
{
    return DocumentSelection{doc.selectedId(), doc.results().selectedRow(),
                             doc.results().focusedRow()};
}

}  // namespace orv

#pragma once
// The parts of the measurement document a step can change, held so that an
// earlier state can come back: the listed items, their rows, the calibration
// and the draw attributes. Parts equal to those of the previous state are
// shared with it, so a step that moves one of 500 items copies one item.

#include <memory>
#include <vector>

#include "document/measure_document.h"

namespace orv {

// The selection that goes with a state; selecting alone is no step.
struct DocumentSelection {
    ItemId item = kNoItem;
    int selectedRow = -1;
    int focusedRow = -1;
    bool operator==(const DocumentSelection &) const = default;
};

struct DocumentState {
    using Items = std::vector<std::shared_ptr<const MeasureItem>>;

    Items items;
    std::shared_ptr<const std::vector<ResultRow>> rows;
    std::shared_ptr<const Calibration> calibration;
    // The zoom is left out: it belongs to the view.
    std::shared_ptr<const DrawAttribute> attributes;

    // Same contents, part by part.
    bool SameAs(const DocumentState &other) const;
    // What a user would see changed from before: as SameAs, except that a
    // placed label only marked to be measured again (a recomputation of
    // unchanged values does that) changes nothing.
    bool ChangesFrom(const DocumentState &before) const;
};

// Copies of the live parts; whatever equals a part of previous (may be null)
// is shared with it instead of copied.
DocumentState::Items CaptureItems(const MeasureList &list, const DocumentState *previous);
std::shared_ptr<const std::vector<ResultRow>> CaptureRows(const ResultsTable &table,
                                                          const DocumentState *previous);
std::shared_ptr<const Calibration> CaptureCalibration(const Calibration &calibration,
                                                      const DocumentState *previous);
std::shared_ptr<const DrawAttribute> CaptureAttributes(const DrawAttribute &attributes,
                                                       const DocumentState *previous);
DocumentState CaptureState(const MeasureDocument &doc, const DocumentState *previous);

DocumentSelection CaptureSelection(const MeasureDocument &doc);

}  // namespace orv

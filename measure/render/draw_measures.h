#pragma once
// Drawing of the measurement list into the composite: every item with its
// geometry, markers, label and sub-result labels, then the item being placed
// or dragged. Drawing changes no item: it returns the label boxes it placed,
// which the caller hands to ApplyPlacedLabels.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <map>
#include <optional>
#include <vector>

#include "measure/label_mode.h"
#include "measure/language.h"
#include "measure/measure_item.h"

namespace orv {

struct MeasureDrawOptions {
    // A value below 0 draws no labels at all.
    LabelMode labelMode = LabelMode::Details;
    // Label font face (the draw attributes' face name).
    QString faceName = QStringLiteral("Arial");
    // Language of the unit suffixes in labels.
    Language suffixLanguage = Language::English;
    const MeasureItem *selectedItem = nullptr;
    // Selection marks show only while the Measure or Option page is current.
    bool selectionShown = false;

    bool isSelected(const MeasureItem &item) const { return selectionShown && &item == selectedItem; }
};

// Label text of an item: "No.%d", or "No.%d  <value><suffix>" (two blanks).
QString MeasureLabelText(const MeasureItem &item, LabelMode mode, Language suffixLanguage);
// Detail label of the k-th sub-result of a kind 5 or 7 item: "No.%d_%d %s".
QString SubResultLabelText(const MeasureItem &item, int k, const SubResult &sub);

// Draws the text with its top left at (x, y) in the painter's font and the
// item's label colours; returns (x, y, x + text width, y + fontSize).
LabelBox DrawMeasureLabel(QPainter &p, const MeasureItem &item, int x, int y, const QString &text);

// The label boxes of one item after a drawing that placed or re-measured some
// of them (a selected item's unplaced box, the point labels in detail mode).
struct PlacedLabel {
    std::size_t index = 0;  // the item's position in the list
    LabelBox box;
    // Every sub-result's box; empty when none of them changed.
    std::vector<LabelBox> subResults;
};

// Takes over the boxes a drawing placed.
void ApplyPlacedLabel(MeasureItem &item, const PlacedLabel &placed);
void ApplyPlacedLabels(MeasureList &list, const std::vector<PlacedLabel> &placed);

// The label fonts of one face by size: making a font costs more than most
// drawings of an item do.
class LabelFontCache {
public:
    explicit LabelFontCache(QString face);
    const QFont &get(int fontSize);

private:
    QString face_;
    std::map<int, QFont> fonts_;
};

// One item of the list, complete with its label: the unit the whole-list
// drawing repeats. `labelFont` is the item's label font (MakeLabelFont).
// Returns the boxes it placed (index 0), none when every box stays.
std::optional<PlacedLabel> DrawListedMeasure(QPainter &p, const MeasureItem &item,
                                             const MeasureDrawOptions &opts, const QFont &labelFont);
std::optional<PlacedLabel> DrawListedMeasure(QPainter &p, const MeasureItem &item,
                                             const MeasureDrawOptions &opts);

// The item being placed or the clone being dragged: geometry and marks, no label.
void DrawEditMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts);

// The whole list in order, then the edit item (if any) over it. Returns the
// label boxes placed, by list position.
std::vector<PlacedLabel> DrawAllMeasures(QPainter &p, const MeasureList &list, const MeasureItem *editItem,
                                         const MeasureDrawOptions &opts);
std::vector<PlacedLabel> DrawAllMeasures(QImage &composite, const MeasureList &list,
                                         const MeasureItem *editItem, const MeasureDrawOptions &opts);

}  // namespace orv

#pragma once
// Drawing of the measurement list into the composite: every item with its
// geometry, markers, label and sub-result labels, then the item being placed
// or dragged. Drawing changes no item: the label boxes come from the layout
// (label_layout.h), which the model takes over before drawing.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

#include <map>
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
    // The image drawn on: labels are kept wholly inside it where they fit.
    // Empty: labels stay where their anchors and boxes put them.
    QSize imageSize;
    // Value labels add the expanded uncertainty ("10.70 ± 0.09um").
    bool showUncertainty = false;

    bool isSelected(const MeasureItem &item) const { return selectionShown && &item == selectedItem; }
};

// Label text of an item: "No.%d", or "No.%d  <value><suffix>" (two blanks);
// with the uncertainty "No.%d  <value> ± <U><suffix>" where the value has one.
QString MeasureLabelText(const MeasureItem &item, LabelMode mode, Language suffixLanguage,
                         bool withUncertainty = false);
// Detail label of the k-th sub-result of a kind 5 or 7 item: "No.%d_%d %s".
QString SubResultLabelText(const MeasureItem &item, int k, const SubResult &sub);

// Draws the text with its top left at (x, y) in the painter's font and the
// item's label colours; returns (x, y, x + text width, y + fontSize).
LabelBox DrawMeasureLabel(QPainter &p, const MeasureItem &item, int x, int y, const QString &text);

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
void DrawListedMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts, const QFont &labelFont);
void DrawListedMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts);

// The item being placed or the clone being dragged: geometry and marks, no label.
void DrawEditMeasure(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts);

// The whole list in order, then the edit item (if any) over it.
void DrawAllMeasures(QPainter &p, const MeasureList &list, const MeasureItem *editItem,
                     const MeasureDrawOptions &opts);
void DrawAllMeasures(QImage &composite, const MeasureList &list, const MeasureItem *editItem,
                     const MeasureDrawOptions &opts);

}  // namespace orv

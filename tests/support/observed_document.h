#pragma once
// Everything an undoable step may change in a document, copied out so that two
// moments compare with == and print what differs.

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "document/calibration_edit.h"
#include "document/measure_document.h"

namespace orv::test {

struct Observed {
    std::vector<MeasureItem> items;
    std::vector<ResultRow> rows;
    ItemId selected = kNoItem;
    int selectedRow = -1;
    Calibration calibration;
    DrawAttribute attributes;
    bool operator==(const Observed &) const = default;
};

// What differs shows as ids, numbers, rows, labels, values and the selection.
inline void PrintTo(const Observed &o, std::ostream *os)
{
    *os << "items";
    for (const MeasureItem &item : o.items)
        *os << " #" << item.id << " n" << item.number << " r" << item.row << " v" << item.value << " label "
            << item.labelBox.left << "," << item.labelBox.top << "," << item.labelBox.bottom;
    *os << " rows " << o.rows.size() << " selected #" << o.selected << " row " << o.selectedRow << " hPixel "
        << o.calibration.setting.hPixel << " link " << o.calibration.setting.link;
}

inline Observed Observe(const MeasureDocument &doc)
{
    Observed o;
    for (const auto &item : doc.list())
        o.items.push_back(*item);
    o.rows = doc.results().rows();
    o.selected = doc.selectedId();
    o.selectedRow = doc.results().selectedRow();
    o.calibration = doc.calibration();
    o.attributes = doc.drawAttribute();
    return o;
}

// The texts the Scale page's fields show for the document's calibration.
inline CalibrationTexts TextsOf(const MeasureDocument &doc)
{
    const ScaleSetting &s = doc.calibration().setting;
    const StandardScale &st = doc.calibration().standard;
    return {.hPixel = s.hPixel,
            .hValue = s.hValue,
            .vPixel = s.vPixel,
            .vValue = s.vValue,
            .unit = s.unit,
            .link = s.link,
            .standardLength = st.length,
            .standardUnit = st.lengthUnit,
            .show = st.show != 0,
            .transparent = st.transparent != 0,
            .thickness = st.thickness,
            .fontSizeText = st.fontSizeText};
}

}  // namespace orv::test

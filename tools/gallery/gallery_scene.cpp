#include "tools/gallery/gallery_scene.h"

#include <QPainter>

#include <memory>
#include <string>
#include <vector>

#include "calib/draw_attribute.h"
#include "measure/measure_item.h"
#include "measure/render/draw_measures.h"
#include "measure/render/gdi_font.h"
#include "calib/scale_bars.h"
#include "calib/scale_setting.h"
#include "calib/standard_scale.h"
#include "measure/values.h"

namespace orv {
namespace {

constexpr int kCellW = 280;
constexpr int kCellH = 240;
constexpr int kColumns = 5;
constexpr int kRows = 3;
constexpr int kTop = 140;  // room for the scale bars
constexpr int kPanelH = kRows * kCellH + 30;
constexpr Language kLang = Language::English;

struct Cell {
    MeasureKind kind;
    const char *caption;
    std::vector<QPoint> points;
};

const std::vector<Cell> &Cells()
{
    static const std::vector<Cell> cells = {
        {KindDistance2Points, "2 distance (opaque label)", {{40, 60}, {220, 160}}},
        {KindDistanceArc, "3 arc", {{40, 180}, {140, 60}, {240, 170}}},
        {KindDistanceCircles, "4 circle to circle", {{30, 80}, {80, 30}, {130, 80}, {160, 160}, {210, 110}, {260, 160}}},
        {KindPerpendicular, "5 perpendicular (2nd removed)", {{30, 210}, {250, 210}, {80, 80}, {150, 120}, {220, 60}}},
        {KindBrokenLine, "6 broken line", {{30, 200}, {90, 60}, {160, 180}, {240, 50}}},
        {KindParallel, "7 parallel", {{30, 210}, {250, 170}, {80, 80}, {200, 60}}},
        {KindAreaPolygon, "8 polygon (width 2)", {{50, 60}, {220, 50}, {240, 190}, {120, 210}, {40, 150}}},
        {KindAreaCircle, "9 circle", {{60, 130}, {140, 50}, {220, 130}}},
        {KindAngle3Points, "10 angle", {{230, 60}, {60, 180}, {240, 190}}},
        {KindAngle2Lines, "11 two lines", {{30, 40}, {130, 90}, {30, 210}, {130, 160}}},
        {KindAngle2Lines, "11 parallel lines", {{30, 60}, {230, 100}, {30, 160}, {230, 200}}},
        {KindText, "12 text", {{40, 100}}},
        {KindStandardLine, "13 standard line", {{30, 150}, {250, 90}}},
        {KindStandardParallel, "14 standard parallels", {{30, 210}, {250, 210}, {100, 110}, {200, 60}}},
        {KindAngle3PointsType2, "19 angle type 2", {{230, 60}, {60, 180}, {240, 190}}},
    };
    return cells;
}

ScaleSetting GalleryCalibration()
{
    ScaleSetting s = ScaleSetting::Defaults(kLang);
    s.hPixel = "100";
    s.hValue = "25";
    s.vPixel = "100";
    s.vValue = "25";
    s.hStart = QPoint(300, 60);
    s.vStart = QPoint(1200, 20);
    return s;
}

// Places an item as the pointer interaction would: appended, its value
// computed and its rows listed.
void PlaceItem(MeasureList &list, const Cell &cell, QPoint origin, const DrawAttribute &attr,
               const ScaleFactors &factors, int &nextRow)
{
    auto item = NewMeasureItem();
    item->kind = cell.kind;
    attr.copyTo(*item);
    for (QPoint q : cell.points)
        AppendPoint(*item, q + origin);
    if (cell.kind == KindText)
        item->text = "Sample TEXT";
    if (cell.kind == KindDistance2Points)
        item->backMode = 0;
    if (cell.kind == KindAreaPolygon)
        item->lineWidth = 2;

    MeasureItem *placed = item.get();
    placed->number = list.Append(std::move(item));
    ComputeMeasureValue(*placed, factors, kLang);
    placed->row = nextRow++;
    for (SubResult &sub : placed->subResults) {
        sub.row = nextRow++;
        if (placed->kind == KindPerpendicular || placed->kind == KindParallel)
            sub.labelBox.bottom = -1;
    }
    if (placed->kind == KindPerpendicular && placed->subResults.size() >= 2)
        placed->subResults[1].row = -1;  // removed by the user
}

MeasureList BuildPanel(QPoint origin, const ScaleFactors &factors)
{
    DrawAttribute attr;
    MeasureList list;
    int row = 0;
    const auto &cells = Cells();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const QPoint cellOrigin = origin + QPoint(static_cast<int>(i % kColumns) * kCellW,
                                                  static_cast<int>(i / kColumns) * kCellH);
        PlaceItem(list, cells[i], cellOrigin, attr, factors, row);
    }
    return list;
}

void DrawGrid(QPainter &p, QPoint origin, const char *title)
{
    p.setPen(QColor(110, 110, 110));
    p.setFont(MakeCellFont(QStringLiteral("Arial"), 13, 0));
    const auto &cells = Cells();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const QRect cell(origin.x() + static_cast<int>(i % kColumns) * kCellW,
                         origin.y() + static_cast<int>(i / kColumns) * kCellH, kCellW - 1, kCellH - 1);
        p.drawRect(cell);
        p.setPen(QColor(200, 200, 200));
        p.drawText(cell.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(cells[i].caption));
        p.setPen(QColor(110, 110, 110));
    }
    p.setPen(Qt::white);
    p.drawText(QPoint(origin.x(), origin.y() - 8), QString::fromUtf8(title));
}

}  // namespace

QImage RenderGallery(LabelMode mode)
{
    QImage image(kColumns * kCellW, kTop + 2 * kPanelH, QImage::Format_RGB32);
    image.fill(QColor(88, 92, 100));

    const ScaleSetting calibration = GalleryCalibration();
    StandardScale scale = StandardScale::Defaults(kLang, calibration);
    scale.show = 1;
    scale.length = "20";
    scale.updatePixelLength(calibration);
    const ScaleFactors factors = calibration.Factors();

    const QPoint plain(0, kTop + 20);
    const QPoint marked(0, kTop + kPanelH + 20);
    MeasureList unselected = BuildPanel(plain, factors);
    MeasureList selected = BuildPanel(marked, factors);

    QPainter p(&image);
    DrawGrid(p, plain, "unselected");
    DrawGrid(p, marked, "each item selected");
    DrawScaleBars(p, scale, calibration, true);

    MeasureDrawOptions opts;
    opts.labelMode = mode;
    opts.suffixLanguage = kLang;
    DrawAllMeasures(p, unselected, nullptr, opts);

    // One selected item at a time: each item drawn as the selected one.
    opts.selectionShown = true;
    for (const auto &item : selected) {
        opts.selectedItem = item.get();
        DrawListedMeasure(p, *item, opts);
    }
    return image;
}

}  // namespace orv

#include "app/pages/measure/tool_table.h"

namespace orv {

const std::array<ToolInfo, kToolCount> &ToolTable()
{
    using G = ToolGroup;
    static const std::array<ToolInfo, kToolCount> table{{
        {1011, KindDistance2Points, G::Distance, 0, 0, "Distance - Between 2 points", "距離－２点間", "2点間",
         "distance_2points"},
        {1012, KindDistanceArc, G::Distance, 0, 1, "Distance - Arc", "距離－円弧", "円弧", "distance_arc"},
        {1013, KindDistanceCircles, G::Distance, 0, 2, "Distance - Circle to Circle", "距離－２円間", "2円間",
         "distance_circles"},
        {1014, KindPerpendicular, G::Distance, 1, 0, "Distance - Perpendicular Line", "距離－垂線", "垂線長",
         "distance_perpendicular"},
        {1015, KindBrokenLine, G::Distance, 1, 1, "Distance - Broken Line", "距離－折線", "折線長",
         "distance_broken_line"},
        {1016, KindParallel, G::Distance, 1, 2, "Distance - Parallel Line", "距離－平行線", "平行線間",
         "distance_parallel"},
        {1017, KindAreaPolygon, G::Area, 2, 0, "Area - Polygon", "面積－多角形", "多角形", "area_polygon"},
        {1018, KindAreaCircle, G::Area, 2, 1, "Area - Circle", "面積－円", "円", "area_circle"},
        {1019, KindAngle3Points, G::Angle, 3, 0, "Angle - Included Angle between 3 Points", "角度－３点挟角", "3点角度",
         "angle_3points"},
        {1020, KindAngle2Lines, G::Angle, 3, 1, "Angle - Included Angle between 2 Lines", "角度－２線分挟角", "4点角度",
         "angle_2lines"},
        {1021, KindText, G::Others, 4, 0, "Text", "文字列", "文字", "text"},
        {1022, KindStandardLine, G::Others, 4, 1, "Standard Line", "基準線", "基準線", "standard_line"},
        {1023, KindStandardParallel, G::Others, 4, 2, "Standard Parallel Line", "基準平行線", "基準平行",
         "standard_parallel"},
        {1024, KindAngle3PointsType2, G::Angle, 3, 2, "Angle - Included Angle between 3 Points(type 2)",
         "角度－３点挟角２", "3点角度", "angle_3points_type2"},
    }};
    return table;
}

int ToolIndexForKind(int kind)
{
    if (kind == KindUndefined)
        return -1;
    const auto &table = ToolTable();
    for (int i = 0; i < kToolCount; ++i) {
        if (static_cast<int>(table[i].kind) == kind)
            return i;
    }
    return 0;
}

const char *ToolTooltip(const ToolInfo &tool, Language lang)
{
    return lang == Language::English ? tool.english : tool.japanese;
}

const char *ToolGroupCaption(ToolGroup group, Language lang)
{
    const bool en = lang == Language::English;
    switch (group) {
    case ToolGroup::Distance: return en ? "Distance" : "距離";
    case ToolGroup::Area: return en ? "Area" : "面積";
    case ToolGroup::Angle: return en ? "Angle" : "角度";
    case ToolGroup::Others: break;
    }
    return en ? "Others" : "その他";
}

const char *ToolFaceSuffix(ToolFace face)
{
    switch (face) {
    case ToolFace::Pressed: return "_pressed.svg";
    case ToolFace::Disabled: return "_disabled.svg";
    case ToolFace::Normal: break;
    }
    return "_normal.svg";
}

}  // namespace orv

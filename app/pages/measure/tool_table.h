#pragma once
// The fourteen tools of the Measure page: control, kind, group, texts and artwork.

#include <array>

#include "measure/language.h"
#include "measure/measure_item.h"

namespace orv {

enum class ToolGroup { Distance, Area, Angle, Others };

struct ToolInfo {
    int controlId;  // 1011 to 1024
    MeasureKind kind;
    ToolGroup group;
    int row;  // place on the page: row and column of the grid
    int column;
    const char *english;   // tooltip with English texts
    const char *japanese;  // tooltip with Japanese texts
    const char *label;     // short Japanese name of the button
    const char *art;       // base name of the faces under :/tools/
};

inline constexpr int kToolCount = 14;

// In control id order.
const std::array<ToolInfo, kToolCount> &ToolTable();

// Index into ToolTable() of the button that shows a kind: -1 for no tool (0),
// 0 (the first button) for a kind that has no button.
int ToolIndexForKind(int kind);

const char *ToolTooltip(const ToolInfo &tool, Language lang);
const char *ToolGroupCaption(ToolGroup group, Language lang);

// Resource paths of a tool's faces.
enum class ToolFace { Normal, Pressed, Disabled };
const char *ToolFaceSuffix(ToolFace face);

}  // namespace orv

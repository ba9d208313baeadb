#pragma once
// States of the image view and of the pointer interaction over it.

#include <type_traits>

#include "document/view_geometry.h"

namespace orv {

// What the view has to do before it can show the composite.
enum class ViewState : int {
    NoImage = 0,     // no image: the view ignores the mouse
    UpToDate = 1,    // the composite is current
    Rebuild = 2,     // rebuild the composite before showing it
    ScrollOnly = 3,  // the overview scrolled: only stretch the visible part
};

// The pointer interaction's current drag.
enum class DragMode : int {
    Idle = 0,
    StandardScale = 1,
    HBarEnd = 2,
    VBarEnd = 3,
    HBar = 4,
    VBar = 5,
    Measure = 6,
    Point = 7,
    Placing = 8,
};
inline constexpr int kDragModeCount = 9;

// The number behind a state (a table index, or a code a test or file sees).
template<typename E>
constexpr auto ToUnderlying(E e) noexcept
{
    return static_cast<std::underlying_type_t<E>>(e);
}

// The calibration drags: the bars and the standard scale.
constexpr bool IsCalibDrag(DragMode mode)
{
    return mode >= DragMode::StandardScale && mode <= DragMode::VBar;
}

}  // namespace orv

#pragma once
// The view interface without any widget: geometry and page set by the test,
// every repaint, question and page notification counted or recorded.

#include <optional>
#include <vector>

#include "app/interaction/interaction_view.h"
#include "app/pages/page_index.h"

namespace orv::test {

class FakeInteractionView final : public InteractionView {
public:
    FakeInteractionView()
    {
        geo.size = {320, 240};
        geo.imageSize = {320, 240};
    }

    const ViewGeometry &geometry() const override { return geo; }
    ViewState viewState() const override { return state; }
    int currentPage() const override { return page; }
    int currentTool() const override { return tool; }

    Qt::CursorShape rememberedCursor() const override { return cursor; }
    void setRememberedCursor(Qt::CursorShape shape) override { cursor = shape; }
    void forgetCursor() override { cursor = Qt::BlankCursor; }

    void rebuild() override { ++rebuilds; }
    void rebuildEditLayer() override { ++editLayerRebuilds; }
    void repaint() override { ++repaints; }
    void refreshToolButtons() override { ++toolRefreshes; }
    DragMode dragMode() const override { return mode; }
    void setDragMode(DragMode m) override { mode = m; }

    bool askYesNo(const QString &, const QString &) override
    {
        ++questions;
        return yes;
    }
    std::optional<QString> askText() override
    {
        ++questions;
        return text;
    }

    void showAttributes(const MeasureItem &item) override { shown.push_back(item.id); }

    ViewGeometry geo;
    ViewState state = ViewState::UpToDate;
    int page = PageMeasure;
    int tool = KindDistance2Points;
    Qt::CursorShape cursor = Qt::BlankCursor;
    DragMode mode = DragMode::Idle;
    int rebuilds = 0;
    int editLayerRebuilds = 0;
    int repaints = 0;
    int toolRefreshes = 0;
    int questions = 0;
    bool yes = true;
    std::optional<QString> text;
    std::vector<ItemId> shown;
};

}  // namespace orv::test

#pragma once
// The main window as the pointer handlers see it: its view geometry, cursor,
// repaints, questions and the page an edit reports to.

#include "app/interaction/interaction_view.h"

namespace orv {

class MainWindow;

class WindowInteractionView final : public InteractionView {
public:
    explicit WindowInteractionView(MainWindow &mainWindow) :
        mainWindow_(mainWindow)
    {
    }

    const ViewGeometry &geometry() const override;
    ViewState viewState() const override;
    int currentPage() const override;
    int currentTool() const override;

    Qt::CursorShape rememberedCursor() const override;
    void setRememberedCursor(Qt::CursorShape shape) override;
    void forgetCursor() override;

    void rebuild() override;
    void rebuildEditLayer() override;
    void repaint() override;
    void refreshToolButtons() override;
    DragMode dragMode() const override;
    void setDragMode(DragMode mode) override;

    bool askYesNo(const QString &english, const QString &japanese) override;
    std::optional<QString> askText() override;

    void showAttributes(const MeasureItem &item) override;

private:
    MainWindow &mainWindow_;
};

}  // namespace orv

#pragma once
// The live picture as the pointer handlers see it. The live view hands them
// frame pixels (its own mapping does the scaling and the black bars), so
// their view is the frame at 100 %, and it measures as the Measure page does.

#include <QPointer>
#include <QWidget>

#include <functional>

#include "app/interaction/interaction_view.h"

namespace orv {

class UiPrompter;

class LiveInteractionView final : public InteractionView {
public:
    struct Hooks {
        std::function<int()> tool;         // the kind the live tool chooser names
        std::function<void()> redraw;      // the live drawing changed
        std::function<Language()> language;
    };

    LiveInteractionView(QWidget *widget, UiPrompter &prompter, Hooks hooks);

    // The frame the pointer works on; an empty size takes no pointer.
    void SetFrameSize(QSize size);

    const ViewGeometry &geometry() const override { return geometry_; }
    ViewState viewState() const override;
    int currentPage() const override;
    int currentTool() const override;

    Qt::CursorShape rememberedCursor() const override { return cursor_; }
    void setRememberedCursor(Qt::CursorShape shape) override;
    void forgetCursor() override { cursor_ = Qt::BlankCursor; }

    void rebuild() override;
    void rebuildEditLayer() override;
    void repaint() override;
    void refreshToolButtons() override { }
    DragMode dragMode() const override { return dragMode_; }
    void setDragMode(DragMode mode) override { dragMode_ = mode; }

    bool askYesNo(const QString &english, const QString &japanese) override;
    // No text tool on the live picture.
    std::optional<QString> askText() override { return std::nullopt; }
    void showAttributes(const MeasureItem &) override { }

private:
    QPointer<QWidget> widget_;
    UiPrompter &prompter_;
    Hooks hooks_;
    ViewGeometry geometry_;
    DragMode dragMode_ = DragMode::Idle;
    Qt::CursorShape cursor_ = Qt::BlankCursor;
};

}  // namespace orv

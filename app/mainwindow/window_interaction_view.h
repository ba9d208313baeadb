#pragma once
// The main window as the pointer handlers see it: its view geometry, cursor,
// repaints, questions and the page an edit reports to.

#include <QPointer>
#include <QWidget>

#include <optional>

#include "app/interaction/interaction_view.h"

namespace orv {

class MeasurePage;
class OptionsPage;

// What the adapter asks of the main window itself: the window keeps the view
// state and does the composing, and its questions go out in its language.
// Declared here so the adapter needs none of the window's fields.
class InteractionWindow {
public:
    virtual const ViewGeometry &view() const = 0;
    virtual ViewState viewState() const = 0;
    virtual int currentTab() const = 0;
    virtual void RebuildView() = 0;
    virtual void RebuildEditLayer() = 0;
    virtual void UpdateView() = 0;
    virtual void RefreshToolButtons() = 0;
    virtual bool AskYesNo(const QString &english, const QString &japanese) = 0;
    virtual std::optional<QString> AskText() = 0;

protected:
    ~InteractionWindow() = default;
};

class WindowInteractionView final : public InteractionView {
public:
    // The widgets belong to the window; each may go before this does.
    WindowInteractionView(InteractionWindow &mainWindow, QWidget *imageView, MeasurePage *measurePage,
                          OptionsPage *optionsPage);

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
    InteractionWindow &mainWindow_;
    QPointer<QWidget> imageView_;
    QPointer<MeasurePage> measurePage_;
    QPointer<OptionsPage> optionsPage_;
    DragMode dragMode_ = DragMode::Idle;
    // The cursor the last hover chose; Qt::BlankCursor stands for none.
    Qt::CursorShape cursor_ = Qt::BlankCursor;
};

}  // namespace orv

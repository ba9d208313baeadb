// The pointer handlers' view of the main window, on a window of its own: the
// drag mode and the cursor it keeps, and widgets that go before it does.
#include <gtest/gtest.h>

#include <QWidget>

#include <memory>

#include "app/mainwindow/window_interaction_view.h"
#include "measure/measure_item.h"

namespace orv::test {
namespace {

class BareWindow final : public InteractionWindow {
public:
    const ViewGeometry &view() const override { return geometry; }
    ViewState viewState() const override { return ViewState::UpToDate; }
    int currentTab() const override { return 0; }
    void RebuildView() override { }
    void RebuildEditLayer() override { }
    void UpdateView() override { }
    void RefreshToolButtons() override { }
    bool AskYesNo(const QString &, const QString &) override { return false; }
    std::optional<QString> AskText() override { return std::nullopt; }

    ViewGeometry geometry;
};

TEST(WindowInteractionView, RemembersTheCursorAndShowsItOverTheView)
{
    BareWindow window;
    QWidget frame;
    QWidget imageView(&frame);
    WindowInteractionView adapter(window, &imageView, nullptr, nullptr);
    struct Step {
        Qt::CursorShape shape;
        bool shown;
    };
    for (const Step &s : {Step{Qt::SizeAllCursor, true}, Step{Qt::CrossCursor, true}, Step{Qt::BlankCursor, false}}) {
        adapter.setRememberedCursor(s.shape);
        EXPECT_EQ(adapter.rememberedCursor(), s.shape);
        EXPECT_EQ(imageView.testAttribute(Qt::WA_SetCursor), s.shown) << s.shape;
        if (s.shown) {
            EXPECT_EQ(imageView.cursor().shape(), s.shape);
        }
    }
    // Forgetting keeps what the view shows.
    adapter.setRememberedCursor(Qt::SizeAllCursor);
    adapter.forgetCursor();
    EXPECT_EQ(adapter.rememberedCursor(), Qt::BlankCursor);
    EXPECT_EQ(imageView.cursor().shape(), Qt::SizeAllCursor);
}

TEST(WindowInteractionView, OutlivesTheWidgetsItReportsTo)
{
    BareWindow window;
    auto imageView = std::make_unique<QWidget>();
    WindowInteractionView adapter(window, imageView.get(), nullptr, nullptr);
    adapter.setDragMode(DragMode::Point);
    imageView.reset();
    // The window takes its view down first; a last hover still lands.
    adapter.setRememberedCursor(Qt::CrossCursor);
    EXPECT_EQ(adapter.rememberedCursor(), Qt::CrossCursor);
    EXPECT_EQ(adapter.dragMode(), DragMode::Point);
    EXPECT_EQ(adapter.currentTool(), static_cast<int>(KindUndefined));
    MeasureItem item;
    adapter.showAttributes(item);
}

}  // namespace
}  // namespace orv::test

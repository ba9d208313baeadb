// The image view with a host of its own: it paints through the host and hands
// each pointer event over in device pixels, whatever window owns it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <optional>
#include <string>
#include <vector>

#include "app/interaction/pointer_interaction.h"
#include "app/view/image_view.h"
#include "app/view/image_view_host.h"
#include "document/measure_document.h"
#include "tests/app/interaction/fake_interaction_view.h"

namespace orv::test {
namespace {

struct Handed {
    std::string kind;
    QPoint pos;
};

// Stands for the handler of the idle drag mode: notes what reaches it.
class NotingHandler final : public ViewPointerHandler {
public:
    explicit NotingHandler(std::vector<Handed> &log) :
        log_(log)
    {
    }
    void press(InteractionContext &, QPoint p) override { log_.push_back({"press", p}); }
    void move(InteractionContext &, QPoint p) override { log_.push_back({"move", p}); }
    void release(InteractionContext &, QPoint p) override { log_.push_back({"release", p}); }
    void doubleClick(InteractionContext &, QPoint p) override { log_.push_back({"doubleClick", p}); }
    void rightPress(InteractionContext &, QPoint p) override { log_.push_back({"rightPress", p}); }

private:
    std::vector<Handed> &log_;
};

class FakeViewHost final : public ImageViewHost {
public:
    explicit FakeViewHost(PointerInteraction &pointer) :
        pointer_(pointer)
    {
    }
    void PaintView(QPainter &painter) override
    {
        ++paints;
        painter.fillRect(QRect(0, 0, 40, 30), Qt::red);
    }
    PointerInteraction &pointer() const override { return pointer_; }
    qreal viewPixelRatio() const override { return ratio; }
    void FollowViewRatio() override { }

    qreal ratio = 1.0;
    int paints = 0;

private:
    PointerInteraction &pointer_;
};

class ImageViewAlone : public ::testing::Test {
protected:
    void SetUp() override
    {
        QImage still(320, 240, QImage::Format_RGB32);
        still.fill(Qt::white);
        doc.SetImage(still, ImageOrigin::File);
        pointer.setHandler(DragMode::Idle, std::make_unique<NotingHandler>(handed));
        widget.resize(40, 30);
    }

    void Send(QEvent::Type type, Qt::MouseButton button, QPointF pos)
    {
        QMouseEvent event(type, pos, widget.mapToGlobal(pos), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                          Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }

    MeasureDocument doc{Language::English, Language::English};
    FakeInteractionView view;
    PointerInteraction pointer{doc, view};
    std::vector<Handed> handed;
    FakeViewHost host{pointer};
    ImageView widget{host, nullptr};
};

struct PointerCase {
    const char *name;
    qreal ratio;
    QEvent::Type type;
    Qt::MouseButton button;
    QPointF pos;  // window pixels
    std::optional<Handed> expected;
};

TEST_F(ImageViewAlone, HandsEachButtonToItsHandlerInDevicePixels)
{
    const std::vector<PointerCase> cases = {
        {"left press", 1.0, QEvent::MouseButtonPress, Qt::LeftButton, {10, 20}, Handed{"press", {10, 20}}},
        {"left press at 1.5", 1.5, QEvent::MouseButtonPress, Qt::LeftButton, {11, 21}, Handed{"press", {16, 31}}},
        {"right press", 2.0, QEvent::MouseButtonPress, Qt::RightButton, {5, 7}, Handed{"rightPress", {10, 14}}},
        {"middle press", 1.0, QEvent::MouseButtonPress, Qt::MiddleButton, {5, 7}, std::nullopt},
        {"move, rounded down", 1.25, QEvent::MouseMove, Qt::NoButton, {3.5, 7.9}, Handed{"move", {4, 9}}},
        {"left release", 2.0, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 6}, Handed{"release", {10, 12}}},
        {"right release", 2.0, QEvent::MouseButtonRelease, Qt::RightButton, {5, 6}, std::nullopt},
        {"left double click", 1.5, QEvent::MouseButtonDblClick, Qt::LeftButton, {2, 2}, Handed{"doubleClick", {3, 3}}},
        {"right double click", 1.5, QEvent::MouseButtonDblClick, Qt::RightButton, {2, 2}, Handed{"rightPress", {3, 3}}},
    };
    for (const PointerCase &c : cases) {
        SCOPED_TRACE(c.name);
        handed.clear();
        host.ratio = c.ratio;
        Send(c.type, c.button, c.pos);
        if (!c.expected) {
            EXPECT_TRUE(handed.empty());
            continue;
        }
        ASSERT_EQ(handed.size(), 1u);
        EXPECT_EQ(handed[0].kind, c.expected->kind);
        EXPECT_EQ(handed[0].pos, c.expected->pos);
    }
}

TEST_F(ImageViewAlone, PaintsWhatItsHostPaintsAndForgetsTheCursorOnLeaving)
{
    const QImage shown = widget.grab().toImage();
    EXPECT_GE(host.paints, 1);
    EXPECT_EQ(shown.pixelColor(20, 15), QColor(Qt::red));

    view.cursor = Qt::CrossCursor;
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
    EXPECT_EQ(view.cursor, Qt::BlankCursor);
}

}  // namespace
}  // namespace orv::test

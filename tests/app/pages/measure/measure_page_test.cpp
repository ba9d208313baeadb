// The Measure page: tool choice, the current tool's button, tooltips and
// captions in both languages, disabled buttons, and the button faces.
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTest>
#include <QToolTip>

#include <memory>

#include "app/pages/measure/measure_page.h"
#include "app/pages/measure/tool_button.h"
#include "tests/app/interaction/interaction_fixture.h"

namespace orv::test {
namespace {

LocaleSource ToolLocale(const char *user, bool marker = false)
{
    LocaleSource src;
    src.systemLanguage = [] { return std::string("ja"); };
    src.userLanguage = [user] { return std::string(user); };
    src.englishMarker = [marker] { return marker; };
    return src;
}

class MeasurePageTest : public ::testing::Test {
protected:
    MeasurePage &MakePage(const char *user = "en", bool marker = false)
    {
        page = std::make_unique<MeasurePage>(nullptr, ToolLocale(user, marker));
        page->show();
        page->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        return *page;
    }

    std::unique_ptr<MeasurePage> page;
};

// The tooltip a hover over the button shows.
QString HoverTooltip(QWidget *w)
{
    const QPoint local = w->rect().center();
    QHelpEvent help(QEvent::ToolTip, local, w->mapToGlobal(local));
    QCoreApplication::sendEvent(w, &help);
    const QString text = QToolTip::text();
    QToolTip::hideText();
    return text;
}

QImage RenderFace(const QString &path)
{
    QImage img(50, 42, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QSvgRenderer svg(path);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(0, 0, 50, 42));
    return img;
}

// Share of pixels of a saturated colour (the drawing's ink and points).
double ColouredShare(const QImage &img)
{
    int coloured = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (QColor(img.pixel(x, y)).hsvSaturation() > 100)
                ++coloured;
    return double(coloured) / (img.width() * img.height());
}

TEST_F(MeasurePageTest, StartsWithTheTwoPointDistanceShownPressed)
{
    auto &p = MakePage();
    EXPECT_EQ(p.currentTool(), KindDistance2Points);
    p.ToolSelect();
    ToolButton *first = p.button(1011);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isChecked());
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(first->currentFace(), ToolFace::Pressed);
    for (ToolButton *b : p.buttons()) {
        if (b != first) {
            EXPECT_EQ(b->currentFace(), ToolFace::Normal) << b->objectName().toStdString();
        }
    }
}

TEST_F(MeasurePageTest, ClickingAButtonChoosesItsKind)
{
    auto &p = MakePage();
    QSignalSpy chosen(&p, &MeasurePage::toolChosen);
    const std::pair<int, int> clicks[] = {
        {1021, KindText}, {1024, KindAngle3PointsType2}, {1016, KindParallel}, {1018, KindAreaCircle}};
    for (auto [id, kind] : clicks) {
        QTest::mouseClick(p.button(id), Qt::LeftButton);
        EXPECT_EQ(p.currentTool(), kind);
        EXPECT_TRUE(p.button(id)->isChecked());
        EXPECT_EQ(p.button(id)->currentFace(), ToolFace::Pressed);
    }
    ASSERT_EQ(chosen.count(), 4);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), KindText);
    // Only the last choice shows as the current tool.
    EXPECT_FALSE(p.button(1021)->isChecked());
    EXPECT_EQ(p.button(1021)->currentFace(), ToolFace::Normal);
}

TEST_F(MeasurePageTest, EveryButtonMapsToItsKindAndBack)
{
    auto &p = MakePage();
    for (const ToolInfo &tool : ToolTable()) {
        QTest::mouseClick(p.button(tool.controlId), Qt::LeftButton);
        ASSERT_EQ(p.currentTool(), tool.kind);
        p.setCurrentTool(KindDistanceArc);
        p.ToolSelect();
        p.setCurrentTool(tool.kind);
        p.ToolSelect();
        EXPECT_TRUE(p.button(tool.controlId)->isChecked()) << tool.controlId;
        EXPECT_EQ(p.currentTool(), tool.kind);
    }
}

TEST_F(MeasurePageTest, ToolSelectWithoutToolOrWithAKindWithoutButton)
{
    auto &p = MakePage();
    QTest::mouseClick(p.button(1022), Qt::LeftButton);

    p.setCurrentTool(KindUndefined);
    p.ToolSelect();
    EXPECT_EQ(p.currentTool(), KindDistance2Points);
    EXPECT_TRUE(p.button(1011)->isChecked());

    QTest::mouseClick(p.button(1022), Qt::LeftButton);
    p.setCurrentTool(KindRadius);
    p.ToolSelect();
    EXPECT_TRUE(p.button(1011)->isChecked());
    EXPECT_EQ(p.currentTool(), KindRadius);
}

// The view recomposes (and shows the current tool again) at any time, also
// between the press and the release on another button: the click must count.
TEST_F(MeasurePageTest, ToolSelectDuringAPressKeepsTheClick)
{
    auto &p = MakePage();
    p.ToolSelect();
    QTest::mousePress(p.button(1013), Qt::LeftButton);
    p.ToolSelect();
    QTest::mouseRelease(p.button(1013), Qt::LeftButton);
    EXPECT_EQ(p.currentTool(), KindDistanceCircles);
    p.ToolSelect();
    EXPECT_TRUE(p.button(1013)->isChecked());
    EXPECT_TRUE(p.button(1013)->hasFocus());
}

TEST_F(MeasurePageTest, DisabledButtonsChooseNothing)
{
    auto &p = MakePage();
    p.EnableToolButtons(false);
    for (ToolButton *b : p.buttons()) {
        EXPECT_FALSE(b->isEnabled());
        EXPECT_EQ(b->currentFace(), ToolFace::Disabled);
    }
    QTest::mouseClick(p.button(1017), Qt::LeftButton);
    EXPECT_EQ(p.currentTool(), KindDistance2Points);

    p.EnableToolButtons(true);
    QTest::mouseClick(p.button(1017), Qt::LeftButton);
    EXPECT_EQ(p.currentTool(), KindAreaPolygon);
}

TEST_F(MeasurePageTest, KeysPressNoButton)
{
    auto &p = MakePage();
    p.button(1013)->setFocus();
    QTest::keyClick(p.button(1013), Qt::Key_Space);
    QTest::keyClick(p.button(1013), Qt::Key_Return);
    QTest::keyClick(p.button(1013), Qt::Key_Tab);
    EXPECT_EQ(p.currentTool(), KindDistance2Points);
    EXPECT_FALSE(p.button(1013)->isChecked());
    EXPECT_TRUE(p.button(1013)->hasFocus());
}

TEST_F(MeasurePageTest, EnglishTooltipsAndCaptions)
{
    auto &p = MakePage("en");
    EXPECT_EQ(p.language(), Language::English);
    EXPECT_EQ(HoverTooltip(p.button(1024)), "Angle - Included Angle between 3 Points(type 2)");
    EXPECT_EQ(HoverTooltip(p.button(1011)), "Distance - Between 2 points");
    EXPECT_EQ(HoverTooltip(p.button(1023)), "Standard Parallel Line");
    EXPECT_EQ(p.groupCaption(ToolGroup::Distance)->text(), "Distance");
    EXPECT_EQ(p.groupCaption(ToolGroup::Area)->text(), "Area");
    EXPECT_EQ(p.groupCaption(ToolGroup::Angle)->text(), "Angle");
    EXPECT_EQ(p.groupCaption(ToolGroup::Others)->text(), "Others");
}

TEST_F(MeasurePageTest, JapaneseTooltipsAndCaptions)
{
    auto &p = MakePage("ja");
    EXPECT_EQ(p.language(), Language::Japanese);
    EXPECT_EQ(HoverTooltip(p.button(1024)), QString::fromUtf8("角度－３点挟角２"));
    EXPECT_EQ(HoverTooltip(p.button(1020)), QString::fromUtf8("角度－２線分挟角"));
    EXPECT_EQ(HoverTooltip(p.button(1021)), QString::fromUtf8("文字列"));
    EXPECT_EQ(p.groupCaption(ToolGroup::Distance)->text(), QString::fromUtf8("距離"));
    EXPECT_EQ(p.groupCaption(ToolGroup::Others)->text(), QString::fromUtf8("その他"));
}

TEST_F(MeasurePageTest, MarkerFileMakesAJapanesePageEnglish)
{
    auto &p = MakePage("ja", true);
    EXPECT_EQ(p.language(), Language::English);
    EXPECT_EQ(HoverTooltip(p.button(1012)), "Distance - Arc");
    EXPECT_EQ(p.groupCaption(ToolGroup::Angle)->text(), "Angle");
}

TEST_F(MeasurePageTest, ButtonsHaveReadableNamesAndFaces)
{
    auto &p = MakePage();
    EXPECT_EQ(p.findChild<ToolButton *>("tool_distance_2points"), p.button(1011));
    EXPECT_EQ(p.findChild<ToolButton *>("tool_angle_3points_type2"), p.button(1024));
    EXPECT_EQ(p.button(1010), nullptr);
    for (ToolButton *b : p.buttons())
        EXPECT_TRUE(b->facesValid()) << b->objectName().toStdString();
}

TEST_F(MeasurePageTest, HitTestLooksAtTheSelectedMeasurementOnly)
{
    auto &p = MakePage();
    auto item = NewMeasureItem();
    item->kind = KindDistance2Points;
    AppendPoint(*item, {10, 10});
    AppendPoint(*item, {110, 10});
    EXPECT_FALSE(p.HitTestMeasure(nullptr, {12, 10}));
    const MeasureHit onPoint = p.HitTestMeasure(item.get(), {112, 11});
    ASSERT_TRUE(onPoint);
    EXPECT_EQ(onPoint.code, 1);
    const MeasureHit onStroke = p.HitTestMeasure(item.get(), {60, 15});
    ASSERT_TRUE(onStroke);
    EXPECT_EQ(onStroke.code, HitStroke);
    EXPECT_FALSE(p.HitTestMeasure(item.get(), {60, 40}));
}

// In the main window: the button chosen decides what clicks on the image place.
class ToolButtonsInTheWindow : public InteractionTest { };

TEST_F(ToolButtonsInTheWindow, TheChosenButtonDecidesWhatAClickPlaces)
{
    MeasurePage *tools = PartsOf(*mainWindow).measurePage;
    EXPECT_TRUE(tools->button(1011)->isChecked());
    EXPECT_TRUE(tools->button(1011)->isEnabled());
    Click({20, 20});
    Click({80, 20});
    ASSERT_EQ(list().size(), 1u);
    EXPECT_EQ(list().at(0).kind, KindDistance2Points);

    QTest::mouseClick(tools->button(1021), Qt::LeftButton);
    prompter.texts.push_back(QStringLiteral("Note"));
    ClearSelection();
    Click({100, 100});
    EXPECT_EQ(prompter.textRequests, 1);
    ASSERT_EQ(list().size(), 2u);
    EXPECT_EQ(list().at(1).kind, KindText);
    // Each composition shows the chosen tool again.
    Paint();
    EXPECT_TRUE(tools->button(1021)->isChecked());
    EXPECT_EQ(tools->currentTool(), KindText);
}

// Each tool has three real faces: the pressed one differs from the normal one,
// the disabled one is grey, and the drawings differ from tool to tool.
TEST(ToolFaces, ThreeDistinctFacesPerTool)
{
    std::vector<QImage> normals;
    for (const ToolInfo &tool : ToolTable()) {
        const QString base = QStringLiteral(":/tools/%1").arg(QLatin1String(tool.art));
        const QImage normal = RenderFace(base + ToolFaceSuffix(ToolFace::Normal));
        const QImage pressed = RenderFace(base + ToolFaceSuffix(ToolFace::Pressed));
        const QImage disabled = RenderFace(base + ToolFaceSuffix(ToolFace::Disabled));
        EXPECT_NE(normal, pressed) << tool.art;
        EXPECT_NE(normal, disabled) << tool.art;
        EXPECT_GT(ColouredShare(normal), 0.02) << tool.art;
        EXPECT_EQ(ColouredShare(disabled), 0.0) << tool.art;
        for (const QImage &other : normals)
            EXPECT_NE(normal, other) << tool.art;
        normals.push_back(normal);
    }
}

// What the button paints is the face of its state.
TEST_F(MeasurePageTest, ButtonPaintsTheFaceOfItsState)
{
    auto &p = MakePage();
    ToolButton *b = p.button(1014);
    const QString base = QStringLiteral(":/tools/distance_perpendicular");
    // The rounded corners show the page behind them: compare the inside.
    const QRect inside(4, 4, 42, 34);
    auto painted = [b, inside] {
        return b->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied).copy(inside);
    };
    auto face = [&](ToolFace f) {
        QImage img(b->size(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QSvgRenderer svg(base + ToolFaceSuffix(f));
        QPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(img.rect()));
        return img.copy(inside);
    };
    p.button(1011)->setFocus();
    EXPECT_EQ(painted(), face(ToolFace::Normal));
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(painted(), face(ToolFace::Pressed));
    p.EnableToolButtons(false);
    EXPECT_EQ(painted(), face(ToolFace::Disabled));
}

}  // namespace
}  // namespace orv::test

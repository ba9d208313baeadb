// The calibration editor without any widget: what lies under a point at any
// zoom and scroll, drag ends, typed values and the page's choices, each one
// step that undoes exactly, and the signals the page's fields follow.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "observed_document.h"

#include "document/calibration_edit.h"
#include "document/document_history.h"
#include "document/measure_document.h"

namespace orv {
namespace {

using test::Observe;
using test::Observed;

// A still, the default calibration (bars (10, 10)-(110, 10) and (10, 10)-(10, 110),
// 100 px = 100 um, standard scale 200 um from (20, 20)) and a distance from
// (0, 0) to (30, 40); history starts here.
class Scene {
public:
    Scene()
    {
        doc.SetImage(QImage(400, 300, QImage::Format_RGB32), ImageOrigin::File);
        Calibration &c = doc.editCalibration();
        c.bars = CalibrationBars::Build(c.setting);
        c.standard.updatePixelLength(c.setting);
        auto item = NewMeasureItem();
        item->kind = KindDistance2Points;
        AppendPoint(*item, {0, 0});
        AppendPoint(*item, {30, 40});
        doc.BeginEdit(std::move(item));
        distance = doc.ListEditItem()->id;
        doc.ClearSelection();
        doc.ClearHistory();
        QObject::connect(&edit(), &CalibrationEdit::rescaled, [this] { ++rescales; });
    }

    CalibrationEdit &edit() { return doc.calibrationEdit(); }
    const ScaleSetting &setting() const { return doc.calibration().setting; }
    const StandardScale &standard() const { return doc.calibration().standard; }
    const CalibrationBars &bars() const { return doc.calibration().bars; }
    double DistanceValue() const { return doc.Find(distance)->value; }

    CalibrationTexts Texts() const { return test::TextsOf(doc); }

    MeasureDocument doc{Language::English, Language::English};
    ItemId distance = kNoItem;
    int rescales = 0;
};

TEST(CalibrationEdit, HitTestFindsEndsBodiesAndTheStandardScaleAtAnyZoomAndScroll)
{
    struct Point {
        QPoint image;
        int grip;
    };
    // Grip radius 5; the start shared by both bars belongs to neither.
    const Point points[] = {
        {{112, 12}, GripHBarEnd},       {{60, 14}, GripHBarBody}, {{8, 108}, GripVBarEnd}, {{6, 60}, GripVBarBody},
        {{150, 24}, GripStandardScale}, {{10, 10}, GripNone},     {{12, 12}, GripNone},    {{60, 4}, GripNone},
        {{226, 20}, GripNone},          {{300, 200}, GripNone},
    };
    struct Geometry {
        const char *name;
        int zoomX, zoomY;
        QPoint scroll;
    };
    const Geometry geometries[] = {
        {"as it is", 100, 100, {0, 0}},
        {"zoomed in and scrolled", 200, 200, {100, 40}},
        {"zoomed out", 50, 50, {0, 0}},
        {"stretched across, scrolled down", 400, 100, {0, 30}},
    };
    for (const Geometry &g : geometries) {
        Scene t;
        ViewGeometry &geo = t.doc.zoom().layout();
        geo.zoomX = g.zoomX;
        geo.zoomY = g.zoomY;
        geo.scroll = g.scroll;
        const Calibration &c = t.doc.calibration();
        for (const Point &p : points) {
            SCOPED_TRACE(testing::Message() << g.name << " at " << p.image.x() << "," << p.image.y());
            const QPoint view = geo.ImageToView(p.image);
            // The table's points are ones the view shows exactly.
            ASSERT_EQ(geo.ViewToImage(view), p.image);
            for (const ScaleBarHit hit : {t.edit().HitTest(p.image), t.edit().HitTestView(view)}) {
                EXPECT_EQ(hit.grip, p.grip);
                const MeasureItem *bar = p.grip == GripNone           ? nullptr
                    : p.grip == GripStandardScale                     ? &t.edit().standardScaleRecord()
                    : p.grip == GripVBarEnd || p.grip == GripVBarBody ? &c.bars.vertical
                                                                      : &c.bars.horizontal;
                EXPECT_EQ(hit.bar, bar);
            }
        }
    }
}

TEST(CalibrationEdit, TheStandardScaleRecordIsTheScaleAsDrawn)
{
    Scene t;
    t.edit().SetStandardThickness(2);
    const ScaleBarHit hit = t.edit().HitTest({150, 24});
    ASSERT_EQ(hit.grip, GripStandardScale);
    ASSERT_EQ(hit.bar->points.size(), 2u);
    EXPECT_EQ(hit.bar->points[0].pos, t.standard().position);
    EXPECT_EQ(hit.bar->points[1].pos, t.standard().position + QPoint(t.standard().pixelLength, 0));
    EXPECT_EQ(hit.bar->lineWidth, 3);
    EXPECT_EQ(hit.bar->lineColor, t.standard().lineColor);
    // A drag holding the record sees it where the scale went.
    t.edit().MoveStandardScale({70, 90});
    EXPECT_EQ(hit.bar->points[1].pos, QPoint(70 + t.standard().pixelLength, 90));
    // Bars without points are hit nowhere.
    t.doc.editCalibration().bars.horizontal.points.clear();
    EXPECT_FALSE(t.edit().HitTest({112, 12}));
}

TEST(CalibrationEdit, AHitTestTakesTypedValuesFirst)
{
    Scene t;
    // What the page does when asked: its typed value, then the bar it moves.
    QObject::connect(&t.edit(), &CalibrationEdit::typedValuesWanted, [&t] {
        CalibrationTexts typed = t.Texts();
        typed.hValue = "0";
        t.edit().ApplyTypedValues(typed);
        t.edit().MoveHorizontalBar({10, 200});
    });
    EXPECT_EQ(t.edit().HitTest({60, 200}).grip, GripHBarBody);
    EXPECT_EQ(t.setting().hValue, "1");
}

TEST(CalibrationEdit, ADraggedBarEndShowsItsLengthWithoutAStep)
{
    Scene t;
    std::vector<std::pair<int, int>> shown;
    QObject::connect(&t.edit(), &CalibrationEdit::dragLengthChanged,
                     [&](int grip, int length) { shown.emplace_back(grip, length); });
    t.edit().ShowBarDragLength(GripHBarEnd, 77);
    t.edit().ShowBarDragLength(GripVBarEnd, 33);
    EXPECT_EQ(t.setting().hPixel, "77");
    EXPECT_EQ(t.setting().vPixel, "33");
    EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{GripHBarEnd, 77}, {GripVBarEnd, 33}}));
    EXPECT_EQ(t.doc.history().stack().count(), 0);
    EXPECT_EQ(t.rescales, 0);
}

struct EditCase {
    const char *name;
    std::function<void(Scene &)> act;
    std::function<void(Scene &)> check;
    // The scale changed: every value recomputed.
    bool rescales;
    // What comes before the step and is no step of its own.
    std::function<void(Scene &)> prepare = [](Scene &) {};
};

TEST(CalibrationEdit, EachChangeIsOneStepThatUndoesExactly)
{
    const std::vector<EditCase> cases = {
        {"a horizontal bar end dragged",
         [](Scene &t) {
             t.edit().EndHorizontalBarDrag({30, 40}, 150);
         },
         [](Scene &t) {
             EXPECT_EQ(t.setting().hPixel, "150");
             EXPECT_EQ(t.setting().vPixel, "100");
             EXPECT_EQ(t.bars().horizontal.points.at(0).pos, QPoint(30, 40));
             EXPECT_EQ(t.bars().horizontal.points.at(1).pos, QPoint(180, 40));
             // 200 um at 150 px per 100 um.
             EXPECT_EQ(t.standard().pixelLength, 300);
             EXPECT_NEAR(t.DistanceValue(), std::hypot(30.0 * 100 / 150, 40.0), 1e-9);
         },
         true},
        {"a vertical bar end dragged under Sync",
         [](Scene &t) {
             t.edit().EndVerticalBarDrag({5, 6}, 60);
         },
         [](Scene &t) {
             EXPECT_EQ(t.setting().vPixel, "60");
             EXPECT_EQ(t.setting().hPixel, "60");
             EXPECT_EQ(t.bars().vertical.points.at(1).pos, QPoint(5, 66));
             EXPECT_EQ(t.bars().horizontal.points.at(1).pos, QPoint(70, 10));
         },
         true, [](Scene &t) { t.edit().SetLink(kLinkSync); }},
        {"the horizontal bar moved",
         [](Scene &t) {
             t.edit().MoveHorizontalBar({0, 300});
         },
         [](Scene &t) {
             EXPECT_EQ(t.setting().hStart, QPoint(0, 300));
             EXPECT_EQ(t.bars().horizontal.points.at(1).pos, QPoint(100, 300));
             EXPECT_EQ(t.setting().hPixel, "100");
         },
         false},
        {"the vertical bar moved",
         [](Scene &t) {
             t.edit().MoveVerticalBar({400, 0});
         },
         [](Scene &t) { EXPECT_EQ(t.bars().vertical.points.at(1).pos, QPoint(400, 100)); }, false},
        {"the standard scale moved",
         [](Scene &t) {
             t.edit().MoveStandardScale({70, 90});
         },
         [](Scene &t) { EXPECT_EQ(t.standard().position, QPoint(70, 90)); }, false},
        {"a unit chosen", [](Scene &t) { t.edit().SetUnit("mm"); },
         [](Scene &t) {
             EXPECT_EQ(t.setting().unit, "mm");
             EXPECT_EQ(t.doc.results().text(t.doc.Find(t.distance)->row, ColumnUnit), "mm");
         },
         true},
        {"Sync.", [](Scene &t) { t.edit().SetLink(kLinkSync); },
         [](Scene &t) {
             EXPECT_EQ(t.setting().link, kLinkSync);
             EXPECT_EQ(t.setting().vPixel, "150");
             EXPECT_EQ(t.bars().vertical.points.at(1).pos, QPoint(10, 160));
         },
         true,
         [](Scene &t) {
             t.edit().EndHorizontalBarDrag({10, 10}, 150);
         }},
        {"Async.", [](Scene &t) { t.edit().SetLink(kLinkAsync); },
         [](Scene &t) { EXPECT_EQ(t.setting().link, kLinkAsync); }, false,
         [](Scene &t) { t.edit().SetLink(kLinkSync); }},
        {"a standard scale unit chosen", [](Scene &t) { t.edit().SetStandardUnit("mm"); },
         [](Scene &t) { EXPECT_EQ(t.standard().pixelLength, 200 * 1000); }, true},
        {"a thickness beyond the list", [](Scene &t) { t.edit().SetStandardThickness(9); },
         [](Scene &t) { EXPECT_EQ(t.standard().thickness, "5"); }, false},
        {"a font size", [](Scene &t) { t.edit().SetStandardFontSize(14); },
         [](Scene &t) {
             EXPECT_EQ(t.standard().fontSize, 30);
             EXPECT_EQ(t.standard().fontSizeText, "30");
         },
         false},
        {"a back colour", [](Scene &t) { t.edit().SetStandardColor(StandardColor::Back, 0x00123456); },
         [](Scene &t) {
             EXPECT_EQ(t.edit().standardColor(StandardColor::Back), 0x00123456u);
             EXPECT_EQ(t.standard().lineColor, kScaleLineColor);
         },
         false},
        {"the standard scale shown",
         [](Scene &t) {
             CalibrationTexts texts = t.Texts();
             texts.show = true;
             t.edit().ApplyTexts(texts);
         },
         [](Scene &t) { EXPECT_EQ(t.standard().show, 1); }, false},
        {"a scale file read",
         [](Scene &t) {
             ScaleSetting s;
             s.hPixel = "50";
             s.hStart = {20, 30};
             t.edit().ReplaceScaleSetting(s);
         },
         [](Scene &t) {
             EXPECT_EQ(t.bars().horizontal.points.at(1).pos, QPoint(70, 30));
             EXPECT_EQ(t.standard().pixelLength, 100);
             EXPECT_NEAR(t.DistanceValue(), std::hypot(60.0, 40.0), 1e-9);
         },
         true},
    };
    for (const EditCase &c : cases) {
        SCOPED_TRACE(c.name);
        Scene t;
        c.prepare(t);
        t.doc.ClearHistory();
        t.rescales = 0;
        const Observed before = Observe(t.doc);
        c.act(t);
        c.check(t);
        EXPECT_EQ(t.rescales, c.rescales ? 1 : 0);
        const Observed after = Observe(t.doc);
        ASSERT_NE(after, before);
        EXPECT_EQ(t.doc.history().stack().count(), 1);

        ASSERT_TRUE(t.doc.Undo());
        EXPECT_EQ(Observe(t.doc), before);
        ASSERT_TRUE(t.doc.Redo());
        EXPECT_EQ(Observe(t.doc), after);
    }
}

TEST(CalibrationEdit, TypedValuesAreValidatedAsOneStep)
{
    struct Case {
        const char *name;
        std::function<void(CalibrationTexts &)> type;
        TypedValue which;
        bool replaced;
        const char *hValue;
        const char *vValue;
        const char *standardLength;
        bool sync = false;
    };
    const Case cases[] = {
        {"both scales typed",
         [](CalibrationTexts &x) {
             x.hValue = "50";
             x.vValue = "25";
         },
         TypedValue::All, false, "50", "25", "200"},
        {"too small everywhere",
         [](CalibrationTexts &x) {
             x.hValue = "0";
             x.vValue = "-3";
             x.standardLength = "abc";
         },
         TypedValue::All, true, "1", "1", "1"},
        {"a fraction stays", [](CalibrationTexts &x) { x.hValue = ".5"; }, TypedValue::All, false, ".5", "100", "200"},
        {"the horizontal field left",
         [](CalibrationTexts &x) {
             x.hValue = "0";
             x.vValue = "0";
         },
         TypedValue::HValue, true, "1", "0", "200"},
        {"the vertical field left",
         [](CalibrationTexts &x) {
             x.hValue = "0";
             x.vValue = "0";
         },
         TypedValue::VValue, true, "0", "1", "200"},
        {"under Sync the horizontal value is copied", [](CalibrationTexts &x) { x.hValue = "40"; }, TypedValue::HValue,
         false, "40", "40", "200", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Scene t;
        if (c.sync)
            t.edit().SetLink(kLinkSync);
        t.doc.ClearHistory();
        t.rescales = 0;
        const Observed before = Observe(t.doc);
        CalibrationTexts typed = t.Texts();
        c.type(typed);
        EXPECT_EQ(t.edit().ApplyTypedValues(typed, c.which), c.replaced);
        EXPECT_EQ(t.setting().hValue, c.hValue);
        EXPECT_EQ(t.setting().vValue, c.vValue);
        EXPECT_EQ(t.standard().length, c.standardLength);
        EXPECT_EQ(t.rescales, 1);
        // Values follow the committed scale.
        const double sx = std::stod(t.setting().hValue) / 100;
        const double sy = std::stod(t.setting().vValue) / 100;
        EXPECT_NEAR(t.DistanceValue(), std::hypot(30 * sx, 40 * sy), 1e-9);
        EXPECT_EQ(t.doc.history().stack().count(), 1);
        ASSERT_TRUE(t.doc.Undo());
        EXPECT_EQ(Observe(t.doc), before);
    }
}

TEST(CalibrationEdit, WhatChangesNothingIsNoStep)
{
    const std::vector<std::pair<const char *, std::function<void(Scene &)>>> cases = {
        {"a bar put back where it was",
         [](Scene &t) {
             t.edit().MoveHorizontalBar({10, 10});
         }},
        {"the same colour", [](Scene &t) { t.edit().SetStandardColor(StandardColor::Line, kScaleLineColor); }},
        {"the values as they are", [](Scene &t) { t.edit().ApplyTypedValues(t.Texts()); }},
        {"a hit test",
         [](Scene &t) {
             t.edit().HitTest({112, 12});
         }},
    };
    for (const auto &[name, act] : cases) {
        SCOPED_TRACE(name);
        Scene t;
        const Calibration before = t.doc.calibration();
        act(t);
        EXPECT_EQ(t.doc.calibration(), before);
        EXPECT_FALSE(t.doc.CanUndo());
    }
}

// A dragged bar is as good as its two ends, a typed count is exact unless
// stated otherwise, and a scale file does not touch the click's uncertainty.
TEST(CalibrationEdit, PixelCountUncertaintyFollowsHowTheScaleWasMade)
{
    struct Case {
        const char *name;
        std::function<void(Scene &)> act;
        double hU, vU, click;
    };
    const double bar = kBarPixelUncertainty;
    const double click = kDefaultClickUncertainty;
    const Case cases[] = {
        {"horizontal bar dragged", [](Scene &t) { t.edit().EndHorizontalBarDrag({10, 10}, 150); }, bar, 0, click},
        {"vertical bar dragged under Sync",
         [](Scene &t) {
             t.edit().SetLink(kLinkSync);
             t.edit().EndVerticalBarDrag({10, 10}, 150);
         },
         bar, bar, click},
        {"pixel count typed after a drag",
         [](Scene &t) {
             t.edit().EndHorizontalBarDrag({10, 10}, 150);
             t.edit().EndVerticalBarDrag({10, 10}, 90);
             CalibrationTexts typed = t.Texts();
             typed.hPixel = "120";
             t.edit().ApplyTypedValues(typed);
         },
         0, bar, click},
        {"stated, then a scale file",
         [](Scene &t) {
             t.edit().SetUncertainties(0.5, 1.5, 2.5);
             ScaleSetting file;
             file.hPixelU = 0.125;
             t.edit().ReplaceScaleSetting(file);
         },
         0.125, 0, 0.5},
        {"stated under Sync: one scale", [](Scene &t) {
             t.edit().SetLink(kLinkSync);
             t.edit().SetUncertainties(-1, 1.5, 2.5);
         },
         1.5, 1.5, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Scene t;
        c.act(t);
        EXPECT_DOUBLE_EQ(t.setting().hPixelU, c.hU);
        EXPECT_DOUBLE_EQ(t.setting().vPixelU, c.vU);
        EXPECT_DOUBLE_EQ(t.setting().clickU, c.click);
    }
}

TEST(CalibrationEdit, StatedUncertaintiesReachEveryValueAsOneStep)
{
    Scene t;
    const double before = t.doc.Find(t.distance)->uncertainty;
    // 50 px from (0, 0) to (30, 40) at 1 um per pixel.
    EXPECT_NEAR(before, std::sqrt(2.0) * kDefaultClickUncertainty, 1e-9);
    t.edit().SetUncertainties(0.5, 1.0, 2.0);
    // Each end 0.5 px along the line; 1 % of sx and 2 % of sy, independent.
    const double expected = std::sqrt(2 * 0.25 + std::pow(900.0 / 50 * 0.01, 2) + std::pow(1600.0 / 50 * 0.02, 2));
    EXPECT_NEAR(t.doc.Find(t.distance)->uncertainty, expected, 1e-6);
    EXPECT_EQ(t.rescales, 1);
    ASSERT_TRUE(t.doc.Undo());
    EXPECT_DOUBLE_EQ(t.doc.Find(t.distance)->uncertainty, before);
    EXPECT_FALSE(t.doc.CanUndo());
}

}  // namespace
}  // namespace orv

// The image size a calibration was made at: taken from the still when its
// pixel counts or lengths change there, kept by everything else, and put back
// by undo.
#include <gtest/gtest.h>

#include <functional>

#include "document/calibration_edit.h"
#include "document/measure_document.h"
#include "observed_document.h"

namespace orv {
namespace {

const QSize kFileSize{1280, 960};
const QSize kStill{400, 300};

TEST(CalibrationMadeAt, ChangesOnTheStillTakeItsSizeOthersKeepTheCalibrations)
{
    struct Case {
        const char *name;
        std::function<void(MeasureDocument &)> change;
        QSize madeAt;
    };
    const Case cases[] = {
        {"horizontal length typed",
         [](MeasureDocument &d) {
             CalibrationTexts t = test::TextsOf(d);
             t.hValue = "50";
             d.calibrationEdit().ApplyTypedValues(t);
         },
         kStill},
        {"vertical length typed",
         [](MeasureDocument &d) {
             CalibrationTexts t = test::TextsOf(d);
             t.vValue = "70";
             d.calibrationEdit().ApplyTypedValues(t, TypedValue::VValue);
         },
         kStill},
        {"fields left unchanged",
         [](MeasureDocument &d) { d.calibrationEdit().ApplyTypedValues(test::TextsOf(d)); }, kFileSize},
        {"standard length typed",
         [](MeasureDocument &d) {
             CalibrationTexts t = test::TextsOf(d);
             t.standardLength = "500";
             d.calibrationEdit().ApplyTypedValues(t);
         },
         kFileSize},
        {"horizontal bar end dragged", [](MeasureDocument &d) { d.calibrationEdit().EndHorizontalBarDrag({10, 10}, 150); },
         kStill},
        {"vertical bar end dragged", [](MeasureDocument &d) { d.calibrationEdit().EndVerticalBarDrag({10, 10}, 90); },
         kStill},
        {"bar moved", [](MeasureDocument &d) { d.calibrationEdit().MoveHorizontalBar({30, 40}); }, kFileSize},
        {"unit chosen", [](MeasureDocument &d) { d.calibrationEdit().SetUnit("mm"); }, kFileSize},
        {"another file read",
         [](MeasureDocument &d) {
             ScaleSetting s;
             s.madeAt = QSize(800, 600);
             d.calibrationEdit().ReplaceScaleSetting(s);
         },
         QSize(800, 600)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MeasureDocument doc{Language::English, Language::English};
        doc.SetImage(QImage(kStill, QImage::Format_RGB32), ImageOrigin::File);
        ScaleSetting file;
        file.madeAt = kFileSize;
        doc.calibrationEdit().ReplaceScaleSetting(file);
        doc.ClearHistory();

        c.change(doc);
        EXPECT_EQ(doc.calibration().setting.madeAt, c.madeAt);
        if (doc.Undo()) {
            EXPECT_EQ(doc.calibration().setting.madeAt, kFileSize);
        }
    }
}

TEST(CalibrationMadeAt, WithoutAStillNothingIsTaken)
{
    MeasureDocument doc{Language::English, Language::English};
    doc.editCalibration().setting.madeAt = kFileSize;
    CalibrationTexts t = test::TextsOf(doc);
    t.hValue = "50";
    doc.calibrationEdit().ApplyTypedValues(t);
    EXPECT_EQ(doc.calibration().setting.hValue, "50");
    EXPECT_EQ(doc.calibration().setting.madeAt, kFileSize);
}

TEST(CalibrationMadeAt, ANewStillHasNoCameraUntilToldSo)
{
    MeasureDocument doc{Language::English, Language::English};
    int told = 0;
    QObject::connect(&doc, &MeasureDocument::stillCameraChanged, [&] { ++told; });
    doc.SetImage(QImage(kStill, QImage::Format_RGB32), ImageOrigin::File);
    doc.SetStillCamera("Kestra");
    EXPECT_EQ(told, 1);
    doc.SetOrigin(ImageOrigin::WirelessFrame);
    EXPECT_EQ(doc.stillCamera(), "Kestra");
    doc.SetImage(QImage(kStill, QImage::Format_RGB32), ImageOrigin::File);
    EXPECT_TRUE(doc.stillCamera().isEmpty());
    doc.SetStillCamera("Kestra");
    doc.LoadSession(doc.CaptureSession());
    EXPECT_TRUE(doc.stillCamera().isEmpty());
}

}  // namespace
}  // namespace orv

#include "document/calibration_edit.h"

#include <algorithm>
#include <cmath>

#include "calib/draw_attribute.h"
#include "document/document_history.h"
#include "document/measure_document.h"
#include "measure/geometry.h"

namespace orv {
namespace {

// Grip radius in image pixels.
constexpr unsigned kGrip = 5;

// A point within the grip radius of the start is never a hit on that bar, so
// at the shared corner of the default bars neither bar is hit.
int BarGrip(const MeasureItem &bar, QPoint q, int endGrip, int bodyGrip)
{
    if (bar.points.size() < 2)
        return GripNone;
    const QPoint a = bar.points[0].pos;
    const QPoint b = bar.points[1].pos;
    if (PixelDistance(q, a) < kGrip)
        return GripNone;
    if (PixelDistance(q, b) < kGrip)
        return endGrip;
    if (SegmentDistance(a, b, q) < static_cast<int>(kGrip))
        return bodyGrip;
    return GripNone;
}

QPoint StandardScaleEnd(const StandardScale &s)
{
    return QPoint(s.position.x() + s.pixelLength, s.position.y());
}

}  // namespace

CalibrationEdit::CalibrationEdit(MeasureDocument &doc) :
    doc_(doc)
{
}

void CalibrationEdit::RequestTypedValues()
{
    emit typedValuesWanted();
}

ScaleBarHit CalibrationEdit::HitTestView(QPoint viewPoint)
{
    return HitTest(doc_.zoom().geometry().ViewToImage(viewPoint));
}

ScaleBarHit CalibrationEdit::HitTest(QPoint q)
{
    // A press on the image ends the typing on the page.
    RequestTypedValues();

    Calibration &c = doc_.editCalibration();
    if (const int grip = BarGrip(c.bars.horizontal, q, GripHBarEnd, GripHBarBody))
        return {&c.bars.horizontal, grip};
    if (const int grip = BarGrip(c.bars.vertical, q, GripVBarEnd, GripVBarBody))
        return {&c.bars.vertical, grip};

    // The standard scale answers whether it is shown or not.
    const StandardScale &s = c.standard;
    const QPoint end = StandardScaleEnd(s);
    if (SegmentDistance(s.position, end, q) < static_cast<int>(kGrip)) {
        standardRecord_ = MeasureItem{};
        standardRecord_.kind = KindStandardScale;
        AppendPoint(standardRecord_, s.position);
        AppendPoint(standardRecord_, end);
        standardRecord_.lineWidth = s.penWidth();
        standardRecord_.lineColor = s.lineColor;
        return {&standardRecord_, GripStandardScale};
    }
    return {};
}

void CalibrationEdit::ShowBarDragLength(int grip, int viewLength)
{
    ScaleSetting &s = doc_.editCalibration().setting;
    (grip == GripVBarEnd ? s.vPixel : s.hPixel) = std::to_string(viewLength);
    emit dragLengthChanged(grip, viewLength);
}

void CalibrationEdit::Rescale()
{
    Calibration &c = doc_.editCalibration();
    doc_.RecomputeAll();
    c.standard.updatePixelLength(c.setting);
    doc_.CalibrationEdited();
    emit rescaled();
}

void CalibrationEdit::EndHorizontalBarDrag(QPoint start, int length)
{
    const DocumentStep step(doc_);
    Calibration &c = doc_.editCalibration();
    SetHorizontalBarEnd(c.setting, start, length);
    NoteMadeOnImage();
    c.bars.Update(c.setting);
    Rescale();
}

void CalibrationEdit::EndVerticalBarDrag(QPoint start, int length)
{
    const DocumentStep step(doc_);
    Calibration &c = doc_.editCalibration();
    SetVerticalBarEnd(c.setting, start, length);
    NoteMadeOnImage();
    c.bars.Update(c.setting);
    Rescale();
}

void CalibrationEdit::MoveHorizontalBar(QPoint start)
{
    const DocumentStep step(doc_);
    Calibration &c = doc_.editCalibration();
    c.setting.hStart = start;
    c.bars.Update(c.setting);
    doc_.CalibrationEdited();
}

void CalibrationEdit::MoveVerticalBar(QPoint start)
{
    const DocumentStep step(doc_);
    Calibration &c = doc_.editCalibration();
    c.setting.vStart = start;
    c.bars.Update(c.setting);
    doc_.CalibrationEdited();
}

void CalibrationEdit::MoveStandardScale(QPoint position)
{
    const DocumentStep step(doc_);
    StandardScale &s = doc_.editCalibration().standard;
    s.position = position;
    // The record a drag holds follows, so its overlay ends where the scale is.
    if (standardRecord_.points.size() >= 2) {
        standardRecord_.points[0].pos = position;
        standardRecord_.points[1].pos = StandardScaleEnd(s);
    }
    doc_.CalibrationEdited();
}

void CalibrationEdit::NoteMadeOnImage()
{
    if (doc_.hasImage())
        doc_.editCalibration().setting.madeAt = doc_.image().size();
}

void CalibrationEdit::TakeTypedTexts(const CalibrationTexts &t)
{
    Calibration &c = doc_.editCalibration();
    // A typed pixel count is taken as exact.
    if (t.hPixel != c.setting.hPixel)
        c.setting.hPixelU = 0.0;
    if (t.vPixel != c.setting.vPixel)
        c.setting.vPixelU = 0.0;
    const bool rescaled = c.setting.hPixel != t.hPixel || c.setting.hValue != t.hValue || c.setting.vPixel != t.vPixel
        || c.setting.vValue != t.vValue;
    c.setting.hPixel = t.hPixel;
    c.setting.hValue = t.hValue;
    c.setting.vPixel = t.vPixel;
    c.setting.vValue = t.vValue;
    c.setting.unit = t.unit;
    c.setting.link = t.link;
    c.standard.length = t.standardLength;
    c.standard.lengthUnit = t.standardUnit;
    c.standard.show = t.show ? 1 : 0;
    c.standard.transparent = t.transparent ? 1 : 0;
    c.standard.thickness = t.thickness;
    c.standard.fontSizeText = t.fontSizeText;
    if (rescaled)
        NoteMadeOnImage();
}

bool CalibrationEdit::ApplyTypedValues(const CalibrationTexts &texts, TypedValue which)
{
    // Values, rows and drawing change as one step.
    const DocumentStep step(doc_);
    TakeTypedTexts(texts);
    Calibration &c = doc_.editCalibration();
    bool replaced = false;
    switch (which) {
    case TypedValue::All:
        replaced = CommitValues(c.setting);
        replaced = ApplyMinimumValue(c.standard.length) || replaced;
        break;
    case TypedValue::HValue: replaced = CommitHValue(c.setting); break;
    case TypedValue::VValue: replaced = CommitVValue(c.setting); break;
    }
    Rescale();
    return replaced;
}

void CalibrationEdit::ApplyTexts(const CalibrationTexts &texts)
{
    const DocumentStep step(doc_);
    TakeTypedTexts(texts);
    doc_.CalibrationEdited();
}

void CalibrationEdit::SetUnit(const std::string &unit)
{
    const DocumentStep step(doc_);
    doc_.editCalibration().setting.unit = unit;
    Rescale();
}

void CalibrationEdit::SetLink(int link)
{
    const DocumentStep step(doc_);
    Calibration &c = doc_.editCalibration();
    if (link != kLinkSync) {
        // A step of its own: the link can be taken back.
        SwitchToAsync(c.setting);
        doc_.CalibrationEdited();
        return;
    }
    SwitchToSync(c.setting);
    c.bars.Update(c.setting);
    Rescale();
}

void CalibrationEdit::SetStandardUnit(const std::string &unit)
{
    const DocumentStep step(doc_);
    doc_.editCalibration().standard.lengthUnit = unit;
    Rescale();
}

void CalibrationEdit::SetStandardThickness(int index)
{
    const DocumentStep step(doc_);
    doc_.editCalibration().standard.thickness = std::to_string(std::clamp(index, 0, 4) + 1);
    doc_.CalibrationEdited();
}

void CalibrationEdit::SetStandardFontSize(int index)
{
    const DocumentStep step(doc_);
    StandardScale &s = doc_.editCalibration().standard;
    s.fontSize = FontSizeAt(index);
    s.fontSizeText = std::to_string(s.fontSize);
    doc_.CalibrationEdited();
}

ColorRef CalibrationEdit::standardColor(StandardColor which) const
{
    const StandardScale &s = doc_.calibration().standard;
    switch (which) {
    case StandardColor::Font: return s.fontColor;
    case StandardColor::Back: return s.backColor;
    case StandardColor::Line: break;
    }
    return s.lineColor;
}

void CalibrationEdit::SetStandardColor(StandardColor which, ColorRef color)
{
    const DocumentStep step(doc_);
    StandardScale &s = doc_.editCalibration().standard;
    switch (which) {
    case StandardColor::Font: s.fontColor = color; break;
    case StandardColor::Back: s.backColor = color; break;
    case StandardColor::Line: s.lineColor = color; break;
    }
    doc_.CalibrationEdited();
}

void CalibrationEdit::ReplaceScaleSetting(const ScaleSetting &setting)
{
    const DocumentStep step(doc_);
    Calibration &c = doc_.editCalibration();
    // Scale files hold no click uncertainty: the user's stays.
    const double click = c.setting.clickU;
    c.setting = setting;
    c.setting.clickU = click;
    c.bars.Update(c.setting);
    Rescale();
}

void CalibrationEdit::SetUncertainties(double click, double hPixelU, double vPixelU)
{
    auto usable = [](double u) { return std::isfinite(u) && u > 0 ? u : 0.0; };
    ScaleSetting next = doc_.calibration().setting;
    next.clickU = usable(click);
    next.hPixelU = usable(hPixelU);
    next.vPixelU = next.link == kLinkSync ? next.hPixelU : usable(vPixelU);
    if (next == doc_.calibration().setting)
        return;
    const DocumentStep step(doc_);
    doc_.editCalibration().setting = next;
    Rescale();
}

}  // namespace orv

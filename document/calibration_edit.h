#pragma once
// Every change of the document's calibration the Scale page and the pointer
// offer: which bar lies under a point, the end of a bar or standard scale
// drag, typed values and the choices of the page's lists. Each change is one
// step of the document's history, recomputes what depends on it and says so
// by the document's calibrationChanged(); the page's fields only show the
// result. No widgets.

#include <QObject>
#include <QPoint>

#include <string>

#include "calib/scale_setting.h"
#include "document/scale_grip.h"
#include "measure/color_ref.h"
#include "measure/measure_item.h"

namespace orv {

class MeasureDocument;

// The calibration's texts as the Scale page's fields hold them, typed or not.
struct CalibrationTexts {
    std::string hPixel;
    std::string hValue;
    std::string vPixel;
    std::string vValue;
    std::string unit;
    int link = kLinkAsync;
    std::string standardLength;
    std::string standardUnit;
    bool show = false;
    bool transparent = true;
    std::string thickness;
    std::string fontSizeText;
};

// Which typed value a commit validates: both scale values and the standard
// length, or one scale value as its field is left.
enum class TypedValue { All, HValue, VValue };

enum class StandardColor { Font, Back, Line };

class CalibrationEdit : public QObject {
    Q_OBJECT

public:
    explicit CalibrationEdit(MeasureDocument &doc);

    // --- hit tests (views holding typed values apply them first) ---------------------
    // Which bar or the standard scale lies under an image point.
    ScaleBarHit HitTest(QPoint imagePoint);
    // The same for a view point, through the document's view geometry.
    ScaleBarHit HitTestView(QPoint viewPoint);
    // The standard scale as a draggable record (rebuilt by each hit on it).
    const MeasureItem &standardScaleRecord() const { return standardRecord_; }
    // Asks the views for typed values not yet applied (typedValuesWanted()).
    void RequestTypedValues();

    // --- drags (positions and lengths in image pixels) --------------------------------
    // While a bar end is dragged: its provisional length in view pixels
    // becomes the pixel count shown; no step, the drag's end makes one.
    void ShowBarDragLength(int grip, int viewLength);
    // End of a drag of a bar's end point; under Sync both pixel counts follow.
    void EndHorizontalBarDrag(QPoint start, int length);
    void EndVerticalBarDrag(QPoint start, int length);
    // End of a drag of a bar's body or of the standard scale.
    void MoveHorizontalBar(QPoint start);
    void MoveVerticalBar(QPoint start);
    void MoveStandardScale(QPoint position);

    // --- typed values ----------------------------------------------------------------
    // Typed texts count at once for values computed now; no step.
    void TakeTypedTexts(const CalibrationTexts &texts);
    // Takes the texts and validates `which` (too small becomes the smallest
    // value); true when a value was replaced.
    bool ApplyTypedValues(const CalibrationTexts &texts, TypedValue which = TypedValue::All);
    // Takes the texts as they are (a check box of the page was clicked).
    void ApplyTexts(const CalibrationTexts &texts);

    // --- the page's choices ------------------------------------------------------------
    void SetUnit(const std::string &unit);
    // kLinkSync copies the horizontal scale to the vertical one.
    void SetLink(int link);
    void SetStandardUnit(const std::string &unit);
    // A position of the thickness list (1 to 5).
    void SetStandardThickness(int index);
    // A position of the font size list.
    void SetStandardFontSize(int index);
    ColorRef standardColor(StandardColor which) const;
    void SetStandardColor(StandardColor which, ColorRef color);
    // A scale file read or the defaults: the bars and the values follow. The
    // setting's madeAt is taken as given.
    void ReplaceScaleSetting(const ScaleSetting &setting);
    // The inputs' standard uncertainties in pixels (negative or not finite
    // reads 0); under Sync the vertical takes the horizontal's. One step.
    void SetUncertainties(double click, double hPixelU, double vPixelU);

signals:
    // Views apply what was typed and not yet applied (ApplyTypedValues).
    void typedValuesWanted();
    // A bar end is being dragged; its provisional pixel count is in the setting.
    void dragLengthChanged(int grip, int viewLength);
    // The scale changed and every value was recomputed: it may be saved.
    void rescaled();

private:
    // The standard scale, the values and the view follow the scale (inside a step).
    void Rescale();
    // Pixel counts or lengths changed on the still: the calibration is its size's.
    void NoteMadeOnImage();

    MeasureDocument &doc_;
    MeasureItem standardRecord_;
};

}  // namespace orv

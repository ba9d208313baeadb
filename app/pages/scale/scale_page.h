#pragma once
// The Scale page: holds the calibration, the two calibration bars and the
// standard scale, shows them, and applies every change at once (values
// recomputed, view recomposed). Its key filter keeps the value fields numeric.

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/interaction/scale_grip.h"
#include "app/pages/window_environment.h"
#include "calib/scale_setting.h"
#include "calib/standard_scale.h"
#include "measure/language.h"
#include "measure/measure_item.h"
#include "measure/values.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orv {

class PageHost;
class MeasureDocument;

// The page's widgets (owned by Qt's parent tree).
struct ScalePageControls {
    QGroupBox *calibGroup = nullptr;
    QComboBox *scaleFileList = nullptr;
    QPushButton *saveButton = nullptr;
    QLineEdit *hPixel = nullptr;
    QLineEdit *hValue = nullptr;
    QLineEdit *vPixel = nullptr;
    QLineEdit *vValue = nullptr;
    QComboBox *unit = nullptr;
    QLabel *linkHeading = nullptr;
    QRadioButton *sync = nullptr;
    QRadioButton *async = nullptr;
    QButtonGroup *linkGroup = nullptr;
    QGroupBox *standardGroup = nullptr;
    QLineEdit *standardLength = nullptr;
    QComboBox *standardUnit = nullptr;
    QCheckBox *show = nullptr;
    QPushButton *fontColor = nullptr;
    QLabel *fontSizeLabel = nullptr;
    QComboBox *fontSize = nullptr;
    QPushButton *backColor = nullptr;
    QCheckBox *transparent = nullptr;
    QPushButton *lineColor = nullptr;
    QLabel *thicknessLabel = nullptr;
    QComboBox *thickness = nullptr;
};

class ScalePage : public QWidget {
    Q_OBJECT

public:
    // Initialises at once (the page's window is created with the object): the
    // language from the locale, the document's calibration to the defaults
    // (bars and standard scale included) and the scale file list of the
    // environment's start directory. The page edits doc's calibration.
    explicit ScalePage(MeasureDocument &doc, QWidget *parent = nullptr, const WindowEnvironment &env = {});
    ~ScalePage() override;

    // Set by the main window right after it created the page.
    void SetOwner(PageHost *owner) { owner_ = owner; }
    PageHost *owner() const { return owner_; }

    Language language() const { return lang_; }
    // Language of value texts: English when this page or the main window switched.
    Language textLanguage() const;
    const QString &startDirectory() const { return startDir_; }
    const ScalePageControls &controls() const { return ui_; }

    // The document's calibration as last taken from or shown in the controls.
    const ScaleSetting &scaleSetting() const { return setting_; }
    const StandardScale &standardScale() const { return standard_; }
    const CalibrationBars &bars() const { return bars_; }
    const MeasureItem &horizontalBar() const { return bars_.horizontal; }
    const MeasureItem &verticalBar() const { return bars_.vertical; }
    // The standard scale as a draggable record (rebuilt by each hit).
    const MeasureItem &standardScaleRecord() const { return standardRecord_; }
    // Length per pixel as the fields show it now (typed texts count).
    ScaleFactors Factors();

    // 1 after an image was loaded, 0 at start-up and when it is discarded.
    void EnableCalibControls(bool enable);

    // Which bar lies under a view point (relative to the view origin).
    ScaleBarHit HitTestScaleBars(QPoint viewPoint);
    // The same for a point already in image pixels.
    ScaleBarHit HitTestScaleBarsAtImage(QPoint imagePoint);

    // Validates and applies every typed value.
    void CommitScaleEdits();
    bool hasPendingEdit() const { return !pendingEdit_.isNull(); }

    // Values under the document's calibration (the fields are taken first).
    void ComputeMeasureValue(MeasureItem &item);
    // Every measurement recomputed and its rows rewritten; enables Save.
    void RecomputeAllMeasures();

    // --- calibration drags (positions and lengths in image pixels) ----------------
    // While a bar end is dragged: the provisional length in view pixels shown
    // in the pixel field, the scale file name cleared.
    void ShowDragLength(int grip, int viewLength);
    // End of a drag of a bar's end point; under Sync both pixel counts follow.
    void EndHorizontalBarDrag(QPoint start, int length);
    void EndVerticalBarDrag(QPoint start, int length);
    // End of a drag of a bar's body or of the standard scale.
    void MoveHorizontalBar(QPoint start);
    void MoveVerticalBar(QPoint start);
    void MoveStandardScale(QPoint position);
    // The main window is closing: the bar records give up their points.
    void FreeScaleBars();

    // --- scale files -----------------------------------------------------------------
    // As choosing list entry index (0: the defaults; -1: none chosen).
    void ChooseScaleFile(int index);
    // Reads a file into the calibration and shows it (the caller recomputes).
    void LoadScaleSetting(const QString &path);
    // The document's calibration was replaced as a whole (a measurement file
    // was opened): the fields show it, no scale file is named, and a typed
    // value not yet applied is dropped.
    void ShowDocumentCalibration();
    // Writes the calibration as the fields show it; false when it failed.
    bool SaveScaleSetting(const QString &path, QString *reason = nullptr);
    // The Save button: the save dialog, the write, the refilled list.
    void OnSave();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void ApplyEnglishCaptions();
    void ConnectHandlers();
    void InstallFilters();
    void Initialise();

    // Controls -> fields and back.
    void TakeControls();
    void ShowFields();
    void FillScaleFileList();
    void UpdateVValueEnabled();
    void UpdateStandardPixels();
    // Tells the document the calibration changed (the view recomposes).
    void Recompose();
    void ShowMinimumValueMessage();
    void RememberName();
    QString NameFor(const ScaleSetting &setting) const;
    // After a bar's length changed: bars, fields, values and view follow.
    void ApplyBarLength();

    // Key and mouse filter; true when the event is consumed.
    bool FilterKey(QWidget *receiver, const QKeyEvent &event);
    static bool KeyPasses(const QKeyEvent &event);

    // Handlers of the page's controls.
    void OnUnitChosen(int index);
    void OnSync();
    void OnAsync();
    // Leaving a value field; commit is CommitHValue or CommitVValue.
    void OnValueFocusLost(bool (*commit)(ScaleSetting &));
    void OnStandardUnitChosen(int index);
    void OnShowOrTransparent();
    void OnThicknessChosen(int index);
    void OnFontSizeChosen(int index);
    void OnChooseColor(ColorRef &color);

    MeasureDocument &doc_;
    PageHost *owner_ = nullptr;
    Language lang_ = Language::Japanese;
    QString startDir_;
    std::shared_ptr<UiPrompter> prompter_;
    ScalePageControls ui_;

    // The document's, edited in place.
    ScaleSetting &setting_;
    StandardScale &standard_;
    CalibrationBars &bars_;
    MeasureItem standardRecord_;
    QString scaleFileName_;
    // The list entries chosen or saved, latest last, with the setting each
    // gave: a state put back shows the name that went with its setting.
    std::vector<std::pair<ScaleSetting, QString>> names_;

    // The widget that received the last key press; cleared by each commit.
    QPointer<QWidget> pendingEdit_;
    // Focus changes caused by disabling the controls are not edits.
    bool enabling_ = false;
    bool controlsEnabled_ = true;
};

}  // namespace orv

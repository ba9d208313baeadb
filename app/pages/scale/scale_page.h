#pragma once
// The Scale page: shows the document's calibration, the two calibration bars
// and the standard scale, and hands every change to the document's
// calibration editor, refreshing its fields when the calibration changed.
// Its key filter keeps the value fields numeric.

#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/pages/window_environment.h"
#include "calib/scale_setting.h"
#include "calib/standard_scale.h"
#include "document/calibration_edit.h"
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
    QPushButton *fromRuler = nullptr;
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
    // Under the calibration: the scale file chosen for a camera's still, and
    // a calibration made at another image size.
    QLabel *cameraScaleNote = nullptr;
    QLabel *sizeWarning = nullptr;
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
    // Length per pixel as the fields show it now (typed texts count).
    ScaleFactors Factors();

    // 1 after an image was loaded, 0 at start-up and when it is discarded.
    void EnableCalibControls(bool enable);

    // Validates and applies every typed value.
    void CommitScaleEdits();
    bool hasPendingEdit() const { return !pendingEdit_.isNull(); }

    // Values under the document's calibration (the fields are taken first).
    void ComputeMeasureValue(MeasureItem &item);
    // Every measurement recomputed and its rows rewritten; enables Save.
    void RecomputeAllMeasures();

    // The main window is closing: the bar records give up their points.
    void FreeScaleBars();

    // --- scale files -----------------------------------------------------------------
    // As choosing list entry index (0: the defaults; -1: none chosen).
    void ChooseScaleFile(int index);
    // Reads a file into the calibration; values and fields follow.
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
    CalibrationTexts Texts() const;
    void TakeControls();
    void ShowFields();
    void FillScaleFileList();
    void UpdateVValueEnabled();
    void UpdateStandardPixels();
    void ShowMinimumValueMessage();
    void RememberName();
    QString NameFor(const ScaleSetting &setting) const;
    // The calibration changed: the fields show it.
    void ShowCalibration();

    // Scales by camera (scale_page_camera.cpp). A still came from a camera:
    // the scale file last applied to that camera's stills at this size is
    // chosen again.
    void FollowStillCamera();
    // A scale file (empty: the defaults) was chosen for the still: the index
    // notes it for the still's camera. Returns the size the file was made at
    // (this image's when the index does not know).
    QSize NoteScaleChosen(const QString &name);
    // The calibration was saved as path: the index notes its size and camera.
    void NoteScaleSaved(const QString &path);
    void ShowScaleNotes();

    // Key and mouse filter; true when the event is consumed.
    bool FilterKey(QWidget *receiver, const QKeyEvent &event);
    static bool KeyPasses(const QKeyEvent &event);

    // Handlers of the page's controls.
    void OnUnitChosen(int index);
    void OnSync();
    void OnAsync();
    // Leaving a value field.
    void OnValueFocusLost(TypedValue which);
    void OnStandardUnitChosen(int index);
    void OnShowOrTransparent();
    void OnThicknessChosen(int index);
    void OnFontSizeChosen(int index);
    void OnChooseColor(StandardColor which);
    // "From Ruler...": the ruler dialog; its Accept is one calibration step.
    void OnFromRuler();

    MeasureDocument &doc_;
    PageHost *owner_ = nullptr;
    Language lang_ = Language::Japanese;
    QString startDir_;
    std::shared_ptr<UiPrompter> prompter_;
    ScalePageControls ui_;

    // The document's: set up at start, otherwise changed through edit_.
    ScaleSetting &setting_;
    StandardScale &standard_;
    CalibrationBars &bars_;
    CalibrationEdit &edit_;
    QString scaleFileName_;
    // The scale file the index names for the still's camera and size.
    QString cameraScale_;
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

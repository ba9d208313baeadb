#pragma once
// The Option page: the draw attributes new measurements take (and the
// selected measurement follows), the label mode, the draw setting files and
// the view's zoom choice, with a sample box in the current attributes.

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

#include "app/pages/window_environment.h"
#include "calib/draw_attribute.h"
#include "measure/language.h"
#include "measure/measure_item.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace orv {

class PageHost;
class MeasureDocument;
class AttributeSample;
class UncertaintyOptions;

// The page's widgets (owned by Qt's parent tree).
struct OptionsPageControls {
    QLabel *labelModeHeading = nullptr;
    QRadioButton *numberOnly = nullptr;
    QRadioButton *summary = nullptr;
    QRadioButton *details = nullptr;
    QButtonGroup *labelModeGroup = nullptr;
    QGroupBox *attributeGroup = nullptr;
    QComboBox *drawFileList = nullptr;
    QPushButton *saveButton = nullptr;
    QPushButton *fontColor = nullptr;
    QLabel *fontSizeLabel = nullptr;
    QComboBox *fontSize = nullptr;
    QPushButton *backColor = nullptr;
    QCheckBox *transparent = nullptr;
    QPushButton *lineColor = nullptr;
    QLabel *lineWidthLabel = nullptr;
    QComboBox *lineWidth = nullptr;
    QLabel *zoomLabel = nullptr;
    QComboBox *zoom = nullptr;
    QLabel *percentLabel = nullptr;
    AttributeSample *sample = nullptr;
    UncertaintyOptions *uncertainty = nullptr;
};

class OptionsPage : public QWidget {
    Q_OBJECT

public:
    // Initialises at once: the language from the locale, the document's
    // attributes to the defaults, label mode 2, the sample box and the draw
    // file list of the environment's start directory. No file is read. The
    // page edits doc's draw attributes.
    explicit OptionsPage(MeasureDocument &doc, QWidget *parent = nullptr, const WindowEnvironment &env = {});
    ~OptionsPage() override;

    // Set by the main window right after it created the page.
    void SetOwner(PageHost *owner) { owner_ = owner; }
    PageHost *owner() const { return owner_; }
    Language language() const { return lang_; }
    const QString &startDirectory() const { return startDir_; }
    const OptionsPageControls &controls() const { return ui_; }

    // The attributes as the page shows them (the controls are taken first).
    const DrawAttribute &drawAttribute();
    LabelMode labelMode() const { return attr_.labelMode; }

    // Enables or disables the page's controls together; enabling shows zoom
    // "100". Save is disabled either way.
    void EnableOptionControls(bool enable);
    // The document's label mode or zoom text was replaced as a whole (a
    // measurement file was opened): the page shows them.
    void ShowDocumentAttributes();
    // Shows a measurement's six attributes on the page (nothing for nullptr).
    void ShowRecordAttributes(const MeasureItem *item);
    // The sample box follows the page (called by each view composition).
    void RedrawSample();

    // As choosing entry index of the draw file list (0 or -1: the defaults).
    void ChooseDrawFile(int index);
    // The Save button: the save dialog, the folder check, the write, the list.
    void OnSave();
    // As choosing position index of the zoom list (6: "Fit").
    void ChooseZoom(int index);
    // As clicking the radio button of a label mode.
    void ChooseLabelMode(LabelMode mode);

protected:
    // Keys have no effect on the page (no typing into its lists), except in
    // the uncertainty boxes.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void ApplyEnglishCaptions();
    void Initialise();
    void FillDrawFileList();

    // Controls -> fields and back.
    void TakeControls();
    void ShowFields();

    // Sets the attribute in the selected measurement (if any) and marks its
    // label for re-measuring.
    void ApplyToSelection(const std::function<void(MeasureItem &)> &set);
    // Tells the document the attributes changed (the view recomposes); the sample follows.
    void Recompose();

    void OnChooseColor(ColorRef &color, const std::function<void(MeasureItem &)> &apply);
    void OnTransparent();
    void OnLineWidthChosen(int index);
    void OnFontSizeChosen(int index);

    MeasureDocument &doc_;
    PageHost *owner_ = nullptr;
    Language lang_ = Language::Japanese;
    QString startDir_;
    std::shared_ptr<UiPrompter> prompter_;
    // The document's, edited in place.
    DrawAttribute &attr_;
    OptionsPageControls ui_;
};

// Marks a measurement's label layout for re-measuring: the sub-result labels
// of perpendicular and parallel measurements, the item's own label otherwise.
// A label never placed stays at its anchor.
void MarkLabelLayout(MeasureItem &item);

}  // namespace orv

// Handlers of the Scale page's controls: each hands its change to the
// document's calibration editor; the fields follow the document's signals.
#include "app/pages/scale/scale_page.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/dialogs/ui_prompter.h"
#include "app/pages/scale/ruler_dialog.h"
#include "calib/ruler_scale.h"
#include "calib/draw_attribute.h"
#include "document/measure_document.h"

namespace orv {

void ScalePage::ConnectHandlers()
{
    auto &u = ui_;
    connect(u.scaleFileList, &QComboBox::activated, this, [this](int i) { ChooseScaleFile(i); });
    connect(u.saveButton, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(u.unit, &QComboBox::activated, this, [this](int i) { OnUnitChosen(i); });
    connect(u.sync, &QRadioButton::clicked, this, [this] { OnSync(); });
    connect(u.async, &QRadioButton::clicked, this, [this] { OnAsync(); });
    connect(u.standardUnit, &QComboBox::activated, this, [this](int i) { OnStandardUnitChosen(i); });
    connect(u.show, &QCheckBox::clicked, this, [this] { OnShowOrTransparent(); });
    connect(u.transparent, &QCheckBox::clicked, this, [this] { OnShowOrTransparent(); });
    connect(u.thickness, &QComboBox::activated, this, [this](int i) { OnThicknessChosen(i); });
    connect(u.fontSize, &QComboBox::activated, this, [this](int i) { OnFontSizeChosen(i); });
    connect(u.fontColor, &QPushButton::clicked, this, [this] { OnChooseColor(StandardColor::Font); });
    connect(u.backColor, &QPushButton::clicked, this, [this] { OnChooseColor(StandardColor::Back); });
    connect(u.lineColor, &QPushButton::clicked, this, [this] { OnChooseColor(StandardColor::Line); });
    connect(u.fromRuler, &QPushButton::clicked, this, [this] { OnFromRuler(); });

    // The fields show the calibration however it changed: here, by a drag on
    // the image or as a file read.
    connect(&doc_, &MeasureDocument::calibrationChanged, this, &ScalePage::ShowCalibration);
    connect(&edit_, &CalibrationEdit::rescaled, this, [this] { ui_.saveButton->setEnabled(true); });
    // While a bar end is dragged its length shows; it is no file's any more.
    connect(&edit_, &CalibrationEdit::dragLengthChanged, this, [this] {
        scaleFileName_.clear();
        ShowFields();
    });
    // A press on the image takes what was typed first.
    connect(&edit_, &CalibrationEdit::typedValuesWanted, this, [this] {
        if (hasPendingEdit())
            CommitScaleEdits();
    });
    // A new still: a camera's brings back that camera's scale file; any
    // other is measured against the calibration as it is.
    connect(&doc_, &MeasureDocument::stillCameraChanged, this, &ScalePage::FollowStillCamera);
    connect(&doc_, &MeasureDocument::imageChanged, this, [this] {
        if (doc_.stillCamera().isEmpty())
            cameraScale_.clear();
        ShowScaleNotes();
    });
    // An undone or redone step: the fields show the calibration it put back.
    connect(&doc_, &MeasureDocument::restored, this, [this] {
        pendingEdit_.clear();
        scaleFileName_ = NameFor(setting_);
        ShowFields();
        UpdateVValueEnabled();
    });
}

void ScalePage::OnUnitChosen(int index)
{
    edit_.SetUnit(std::string(UnitTextAt(index, lang_)));
}

void ScalePage::OnSync()
{
    edit_.SetLink(kLinkSync);
}

void ScalePage::OnAsync()
{
    edit_.SetLink(kLinkAsync);
}

void ScalePage::OnValueFocusLost(TypedValue which)
{
    scaleFileName_ = ui_.scaleFileList->currentText();
    if (edit_.ApplyTypedValues(Texts(), which))
        ShowMinimumValueMessage();
}

void ScalePage::OnStandardUnitChosen(int index)
{
    edit_.SetStandardUnit(std::string(UnitTextAt(index, lang_)));
}

void ScalePage::OnShowOrTransparent()
{
    scaleFileName_ = ui_.scaleFileList->currentText();
    edit_.ApplyTexts(Texts());
}

void ScalePage::OnThicknessChosen(int index)
{
    edit_.SetStandardThickness(index);
}

void ScalePage::OnFontSizeChosen(int index)
{
    edit_.SetStandardFontSize(index);
}

void ScalePage::OnChooseColor(StandardColor which)
{
    const auto chosen = prompter_->chooseColor(window(), ToQColor(edit_.standardColor(which)));
    if (chosen)
        edit_.SetStandardColor(which, FromQColor(*chosen));
}

void ScalePage::OnFromRuler()
{
    if (hasPendingEdit())
        CommitScaleEdits();
    RulerDialog dialog(doc_.image(), lang_, setting_.unit, setting_.link, prompter_, window());
    if (prompter_->runDialog(dialog) != QDialog::Accepted || !dialog.rulerResult().found())
        return;
    ScaleSetting next = ScaleFromRuler(setting_, dialog.rulerResult(), dialog.spacing(), dialog.unitText());
    next.madeAt = doc_.image().size();  // measured on this image
    if (next == setting_)
        return;
    // The calibration is no longer the listed file's.
    scaleFileName_.clear();
    edit_.ReplaceScaleSetting(next);
}

}  // namespace orv

// Handlers of the Scale page's controls. Each takes or changes the fields,
// shows them, recomputes what depends on the change and recomposes the view.
#include "app/pages/scale/scale_page.h"

#include <algorithm>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/dialogs/ui_prompter.h"
#include "calib/draw_attribute.h"
#include "document/document_history.h"
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
    connect(u.fontColor, &QPushButton::clicked, this, [this] { OnChooseColor(standard_.fontColor); });
    connect(u.backColor, &QPushButton::clicked, this, [this] { OnChooseColor(standard_.backColor); });
    connect(u.lineColor, &QPushButton::clicked, this, [this] { OnChooseColor(standard_.lineColor); });
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
    const DocumentStep step(doc_);
    setting_.unit = std::string(UnitTextAt(index, lang_));
    ShowFields();
    RecomputeAllMeasures();
    UpdateStandardPixels();
    Recompose();
}

void ScalePage::OnSync()
{
    SwitchToSync(setting_);
    bars_.Update(setting_);
    ShowFields();
    UpdateVValueEnabled();
    RecomputeAllMeasures();
    Recompose();
}

void ScalePage::OnAsync()
{
    SwitchToAsync(setting_);
    ShowFields();
    UpdateVValueEnabled();
    // A step of its own: the link can be taken back.
    Recompose();
}

void ScalePage::OnValueFocusLost(bool (*commit)(ScaleSetting &))
{
    const DocumentStep step(doc_);
    TakeControls();
    const bool replaced = commit(setting_);
    ShowFields();
    if (replaced)
        ShowMinimumValueMessage();
    RecomputeAllMeasures();
    UpdateStandardPixels();
    Recompose();
}

void ScalePage::OnStandardUnitChosen(int index)
{
    standard_.lengthUnit = std::string(UnitTextAt(index, lang_));
    UpdateStandardPixels();
    ShowFields();
    RecomputeAllMeasures();
    Recompose();
}

void ScalePage::OnShowOrTransparent()
{
    TakeControls();
    Recompose();
}

void ScalePage::OnThicknessChosen(int index)
{
    standard_.thickness = std::to_string(std::clamp(index, 0, 4) + 1);
    ShowFields();
    Recompose();
}

void ScalePage::OnFontSizeChosen(int index)
{
    standard_.fontSize = FontSizeAt(index);
    standard_.fontSizeText = std::to_string(standard_.fontSize);
    ShowFields();
    Recompose();
}

void ScalePage::OnChooseColor(ColorRef &color)
{
    const auto chosen = prompter_->chooseColor(window(), ToQColor(color));
    if (!chosen)
        return;
    color = FromQColor(*chosen);
    Recompose();
}

}  // namespace orv

// The Scale page: start-up, the exchange between controls and fields, and the
// apply step every calibration change ends with.
#include "app/pages/scale/scale_page.h"

#include <initializer_list>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "app/dialogs/ui_prompter.h"
#include "document/measure_document.h"

namespace orv {
namespace {

void SetEditText(QLineEdit *edit, const std::string &text)
{
    // Rewriting an unchanged text would move the caret of the field being typed in.
    const QString t = QString::fromStdString(text);
    if (edit->text() != t)
        edit->setText(t);
}

void SetComboText(QComboBox *combo, const QString &text)
{
    if (combo->currentText() != text) {
        const QSignalBlocker block(combo);
        combo->setEditText(text);
    }
}

std::string Text(const QLineEdit *edit)
{
    return edit->text().toStdString();
}
std::string Text(const QComboBox *combo)
{
    return combo->currentText().toStdString();
}

}  // namespace

ScalePage::ScalePage(MeasureDocument &doc, QWidget *parent, const WindowEnvironment &env) :
    QWidget(parent),
    doc_(doc),
    lang_(PageLanguage(env.locale)),
    startDir_(env.startDir),
    prompter_(env.prompter),
    setting_(doc.editCalibration().setting),
    standard_(doc.editCalibration().standard),
    bars_(doc.editCalibration().bars),
    edit_(doc.calibrationEdit())
{
    setObjectName(QStringLiteral("scalePage"));
    // Values the page object starts with; Initialise() completes them.
    setting_ = ScaleSetting{};
    standard_ = StandardScale{};

    BuildControls();
    Initialise();
    ConnectHandlers();
    InstallFilters();
}

ScalePage::~ScalePage() = default;

void ScalePage::Initialise()
{
    if (lang_ == Language::English) {
        ApplyEnglishCaptions();
        setting_.unit = std::string(kUnitMicroEn);
        standard_.lengthUnit = std::string(kUnitMicroEn);
    }
    setting_.hStart = QPoint(10, 10);
    setting_.vStart = QPoint(10, 10);
    standard_.faceName = "Arial";
    standard_.fontSize = 16;
    standard_.fontSizeText = "16";
    standard_.fontColor = kScaleFontColor;
    standard_.backColor = kScaleBackColor;
    standard_.lineColor = kScaleLineColor;
    ShowFields();

    bars_ = CalibrationBars::Build(setting_);
    standard_.position = QPoint(20, 20);
    UpdateStandardPixels();

    FillScaleFileList();
    ui_.scaleFileList->setCurrentIndex(0);
    scaleFileName_ = ui_.scaleFileList->currentText();
    UpdateVValueEnabled();
    RememberName();
}

void ScalePage::RememberName()
{
    // A few names are enough for the steps a user takes back.
    constexpr std::size_t kNames = 64;
    if (names_.size() >= kNames)
        names_.erase(names_.begin());
    names_.emplace_back(setting_, scaleFileName_);
}

QString ScalePage::NameFor(const ScaleSetting &setting) const
{
    for (auto it = names_.rbegin(); it != names_.rend(); ++it)
        if (it->first == setting)
            return it->second;
    return QString();
}

Language ScalePage::textLanguage() const
{
    if (lang_ == Language::English || doc_.results().textLanguage() == Language::English)
        return Language::English;
    return Language::Japanese;
}

CalibrationTexts ScalePage::Texts() const
{
    const auto &u = ui_;
    CalibrationTexts t;
    t.hPixel = Text(u.hPixel);
    t.hValue = Text(u.hValue);
    t.vPixel = Text(u.vPixel);
    t.vValue = Text(u.vValue);
    t.unit = Text(u.unit);
    if (u.sync->isChecked())
        t.link = kLinkSync;
    else if (u.async->isChecked())
        t.link = kLinkAsync;
    else
        t.link = setting_.link;
    t.standardLength = Text(u.standardLength);
    t.standardUnit = Text(u.standardUnit);
    t.show = u.show->isChecked();
    t.transparent = u.transparent->isChecked();
    t.thickness = Text(u.thickness);
    t.fontSizeText = Text(u.fontSize);
    return t;
}

void ScalePage::TakeControls()
{
    edit_.TakeTypedTexts(Texts());
    scaleFileName_ = ui_.scaleFileList->currentText();
}

void ScalePage::ShowCalibration()
{
    ShowFields();
    UpdateVValueEnabled();
}

void ScalePage::ShowFields()
{
    auto &u = ui_;
    SetEditText(u.hPixel, setting_.hPixel);
    SetEditText(u.hValue, setting_.hValue);
    SetEditText(u.vPixel, setting_.vPixel);
    SetEditText(u.vValue, setting_.vValue);
    SetComboText(u.unit, QString::fromStdString(setting_.unit));
    {
        const QSignalBlocker block(u.linkGroup);
        (setting_.link == kLinkSync ? u.sync : u.async)->setChecked(true);
    }
    SetEditText(u.standardLength, standard_.length);
    SetComboText(u.standardUnit, QString::fromStdString(standard_.lengthUnit));
    u.show->setChecked(standard_.show != 0);
    u.transparent->setChecked(standard_.transparent != 0);
    SetComboText(u.thickness, QString::fromStdString(standard_.thickness));
    SetComboText(u.fontSize, QString::fromStdString(standard_.fontSizeText));
    SetComboText(u.scaleFileList, scaleFileName_);
    ShowScaleNotes();
}

ScaleFactors ScalePage::Factors()
{
    TakeControls();
    return setting_.Factors();
}

void ScalePage::UpdateVValueEnabled()
{
    ui_.vValue->setEnabled(controlsEnabled_ && setting_.link == kLinkAsync);
}

void ScalePage::UpdateStandardPixels()
{
    standard_.updatePixelLength(setting_);
}

void ScalePage::EnableCalibControls(bool enable)
{
    auto &u = ui_;
    enabling_ = true;
    for (QWidget *w : std::initializer_list<QWidget *>{
             u.fontColor, u.backColor, u.lineColor, u.hPixel, u.hValue, u.vPixel, u.vValue, u.standardLength, u.unit,
             u.thickness, u.fontSize, u.scaleFileList, u.standardUnit, u.transparent, u.show, u.sync, u.async,
             u.fromRuler})
        w->setEnabled(enable);
    controlsEnabled_ = enable;
    if (enable) {
        pendingEdit_.clear();
        UpdateVValueEnabled();
    }
    u.saveButton->setEnabled(false);
    enabling_ = false;
}

void ScalePage::ShowMinimumValueMessage()
{
    const QString text = lang_ == Language::English ? QStringLiteral("The smallest value is set to avoid errors.")
                                                    : QStringLiteral("エラー回避のため最低値を設定しました。");
    prompter_->message(window(), text, QStringLiteral("Orvalin"), UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
}

void ScalePage::CommitScaleEdits()
{
    // Cleared first: the message below may run a nested event loop.
    pendingEdit_.clear();
    scaleFileName_ = ui_.scaleFileList->currentText();
    if (edit_.ApplyTypedValues(Texts()))
        ShowMinimumValueMessage();
}

void ScalePage::ComputeMeasureValue(MeasureItem &item)
{
    TakeControls();
    doc_.ComputeValue(item);
}

void ScalePage::RecomputeAllMeasures()
{
    TakeControls();
    doc_.RecomputeAll();
    ui_.saveButton->setEnabled(true);
}

void ScalePage::FreeScaleBars()
{
    bars_.horizontal.points.clear();
    bars_.vertical.points.clear();
}

}  // namespace orv

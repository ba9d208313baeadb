// The option page's handlers: attributes, label mode, zoom and draw setting files.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include "app/dialogs/save_failure.h"
#include "app/dialogs/ui_prompter.h"
#include "app/pages/options/options_page.h"
#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "calib/draw_file.h"
#include "calib/setting_files.h"
#include "document/document_history.h"
#include "document/measure_document.h"

namespace orv {
namespace {

constexpr int kZoomSteps[] = {50, 75, 100, 150, 200, 300};
constexpr int kFitPosition = 6;

}  // namespace

void OptionsPage::ApplyToSelection(const std::function<void(MeasureItem &)> &set)
{
    if (!owner_)
        return;
    if (MeasureItem *item = doc_.selectedItem()) {
        set(*item);
        MarkLabelLayout(*item);
    }
}

void OptionsPage::Recompose()
{
    doc_.AttributesEdited();
    RedrawSample();
}

void OptionsPage::OnChooseColor(ColorRef &color, const std::function<void(MeasureItem &)> &apply)
{
    TakeControls();
    const auto chosen = prompter_->chooseColor(window(), ToQColor(color));
    // Opened after the chooser's own event loop.
    const DocumentStep step(doc_);
    if (chosen) {
        color = FromQColor(*chosen);
        ApplyToSelection(apply);
        ui_.saveButton->setEnabled(true);
    }
    Recompose();
}

void OptionsPage::OnTransparent()
{
    const DocumentStep step(doc_);
    TakeControls();
    ApplyToSelection([this](MeasureItem &m) { m.backMode = static_cast<std::uint32_t>(attr_.transparent); });
    ui_.saveButton->setEnabled(true);
    Recompose();
}

void OptionsPage::OnLineWidthChosen(int index)
{
    const DocumentStep step(doc_);
    TakeControls();
    if (index < 0 || index > 4)
        return;
    attr_.lineWidthText = std::to_string(index + 1);
    ShowFields();
    ApplyToSelection([this](MeasureItem &m) { m.lineWidth = attr_.lineWidth(); });
    ui_.saveButton->setEnabled(true);
    Recompose();
}

void OptionsPage::OnFontSizeChosen(int index)
{
    const DocumentStep step(doc_);
    TakeControls();
    if (index < 0 || index >= kFontSizeCount)
        return;
    attr_.fontSize = FontSizeAt(index);
    attr_.fontSizeText = std::to_string(attr_.fontSize);
    ShowFields();
    ApplyToSelection([this](MeasureItem &m) { m.fontSize = attr_.fontSize; });
    ui_.saveButton->setEnabled(true);
    Recompose();
}

void OptionsPage::ChooseLabelMode(LabelMode mode)
{
    const DocumentStep step(doc_);
    TakeControls();
    attr_.labelMode = mode;
    ShowFields();
    if (owner_) {
        for (const auto &item : doc_.list()) {
            if (item->labelBox.bottom != 0)
                item->labelBox.bottom = -1;
            for (SubResult &sub : item->subResults) {
                if (sub.labelBox.bottom != 0)
                    sub.labelBox.bottom = -1;
            }
        }
    }
    Recompose();
}

void OptionsPage::ChooseZoom(int index)
{
    const DocumentStep step(doc_);
    TakeControls();
    int zoom = 0;
    if (index >= 0 && index < kFitPosition)
        zoom = kZoomSteps[index];
    else if (index == kFitPosition && owner_)
        zoom = owner_->FitZoom();
    else
        return;
    // An image far larger than the screen would fit at 0 %, which maps nothing.
    if (zoom < 1)
        zoom = 1;
    attr_.zoomText = std::to_string(zoom);
    ShowFields();
    if (owner_) {
        owner_->SetZoom(zoom, zoom);
        owner_->LayoutView();
    }
    Recompose();
}

void OptionsPage::ChooseDrawFile(int index)
{
    const DocumentStep step(doc_);
    TakeControls();
    if (index <= 0 || index >= ui_.drawFileList->count()) {
        attr_.resetFileAttributes();
        attr_.drawFileName = DefaultEntryText(lang_).toStdString();
    } else {
        const QString entry = ui_.drawFileList->itemText(index);
        attr_.drawFileName = entry.toStdString();
        ShowFields();
        LoadDrawSetting(DrawFilePath(startDir_, entry), attr_);
    }
    ShowFields();
    ui_.saveButton->setEnabled(false);
    if (owner_) {
        if (MeasureItem *item = doc_.selectedItem()) {
            attr_.copyTo(*item);
            MarkLabelLayout(*item);
        }
    }
    Recompose();
}

void OptionsPage::OnSave()
{
    const bool english = lang_ == Language::English;
    QString path =
        prompter_->saveFile(window(), english ? QStringLiteral("Save As") : QStringLiteral("名前を付けて保存"),
                            startDir_, QStringLiteral("DrawSetting Files (*.drw);;All Files (*)"));
    if (!path.isEmpty()) {
        // The dialog's default extension.
        if (QFileInfo(path).suffix().isEmpty())
            path += QLatin1String(kDrawFileExt);
        // Draw settings live beside the program's start directory only.
        const QString folder = QDir::cleanPath(QFileInfo(path).absolutePath());
        if (folder != QDir::cleanPath(startDir_)) {
            prompter_->message(window(), QStringLiteral("保存フォルダーは移動できません。"), QStringLiteral("Orvalin"),
                               UiPrompter::Buttons::Ok);
            return;
        }
        TakeControls();
        QString reason;
        if (!SaveDrawSetting(path, attr_, &reason)) {
            // The list would otherwise show the name as if the file had been written.
            prompter_->message(window(),
                               SaveFailureText(english ? QStringLiteral("The draw setting file could not be saved.")
                                                       : QStringLiteral("描画設定ファイルを保存できませんでした。"),
                                               path, reason),
                               QStringLiteral("Orvalin"), UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
            return;
        }
        FillDrawFileList();
        attr_.drawFileName = SettingFileTitle(path).toStdString();
        ShowFields();
    }
    ui_.saveButton->setEnabled(false);
}

}  // namespace orv

// The scale file list of the Scale page and its Save button.
#include "app/pages/scale/scale_page.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/dialogs/save_failure.h"
#include "app/dialogs/ui_prompter.h"
#include "calib/scale_file.h"
#include "calib/setting_files.h"

namespace orv {

void ScalePage::FillScaleFileList()
{
    QComboBox *list = ui_.scaleFileList;
    const QSignalBlocker block(list);
    list->clear();
    for (const QString &name : orv::FillScaleFileList(startDir_, lang_))
        list->addItem(name);
}

void ScalePage::ChooseScaleFile(int index)
{
    if (index <= 0 || index >= ui_.scaleFileList->count()) {
        scaleFileName_ = DefaultEntryText(lang_);
        NoteScaleChosen(QString());
        edit_.ReplaceScaleSetting(DefaultScaleSetting(lang_));
    } else {
        scaleFileName_ = ui_.scaleFileList->itemText(index);
        ShowFields();
        ScaleSetting chosen = orv::LoadScaleSetting(ScaleFilePath(startDir_, scaleFileName_));
        chosen.madeAt = NoteScaleChosen(scaleFileName_);
        TakeControls();
        edit_.ReplaceScaleSetting(chosen);
    }
    RememberName();
}

void ScalePage::LoadScaleSetting(const QString &path)
{
    TakeControls();
    edit_.ReplaceScaleSetting(orv::LoadScaleSetting(path));
}

void ScalePage::ShowDocumentCalibration()
{
    pendingEdit_.clear();
    scaleFileName_.clear();
    ShowFields();
    UpdateVValueEnabled();
}

bool ScalePage::SaveScaleSetting(const QString &path, QString *reason)
{
    TakeControls();
    return orv::SaveScaleSetting(path, setting_, reason);
}

void ScalePage::OnSave()
{
    const bool english = lang_ == Language::English;
    QString path =
        prompter_->saveFile(window(), english ? QStringLiteral("Save As") : QStringLiteral("名前を付けて保存"),
                            startDir_, QStringLiteral("ScaleSetting Files (*.sst);;All Files (*)"));
    if (!path.isEmpty()) {
        // The dialog's default extension.
        if (QFileInfo(path).suffix().isEmpty())
            path += QLatin1String(kScaleFileExt);
        QString reason;
        if (SaveScaleSetting(path, &reason)) {
            FillScaleFileList();
            scaleFileName_ = SettingFileTitle(path);
            NoteScaleSaved(path);
            ShowFields();
            RememberName();
        } else {
            // The list would otherwise show the name as if the file had been written.
            prompter_->message(window(),
                               SaveFailureText(english ? QStringLiteral("The scale setting file could not be saved.")
                                                       : QStringLiteral("スケール設定ファイルを保存できませんでした。"),
                                               path, reason),
                               QStringLiteral("Orvalin"), UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
        }
    }
    ui_.saveButton->setEnabled(false);
}

}  // namespace orv

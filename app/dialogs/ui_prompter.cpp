#include "app/dialogs/ui_prompter.h"

#include <QColorDialog>
#include <QDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

#include "app/dialogs/about_dialog.h"
#include "app/dialogs/text_input_dialog.h"

namespace orv {
namespace {

QMessageBox::Icon ToQtIcon(UiPrompter::Icon icon)
{
    switch (icon) {
    case UiPrompter::Icon::Information: return QMessageBox::Information;
    case UiPrompter::Icon::Warning: return QMessageBox::Warning;
    case UiPrompter::Icon::Error: return QMessageBox::Critical;
    case UiPrompter::Icon::Question: return QMessageBox::Question;
    case UiPrompter::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The real dialogs.
class QtPrompter final : public UiPrompter {
public:
    explicit QtPrompter(LocaleSource inputLocale) :
        inputLocale_(std::move(inputLocale))
    {
    }

    Answer message(QWidget *parent, const QString &text, const QString &caption, Buttons buttons, Icon icon) override
    {
        QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::NoButton, parent);
        switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        }
        switch (box.exec()) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
    }

    QString openFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }

    QString saveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                     QString *selectedFilter) override
    {
        // The overwrite question is the dialog's own; default extensions are
        // applied by the callers, which know them.
        return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter);
    }

    std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) override
    {
        const QColor c = QColorDialog::getColor(initial, parent);
        if (!c.isValid())
            return std::nullopt;
        return c;
    }

    std::optional<QString> inputText(QWidget *parent, const QString &initial) override
    {
        TextInputDialog dlg(inputLocale_, parent);
        dlg.setText(initial);
        if (dlg.exec() != QDialog::Accepted)
            return std::nullopt;
        return dlg.text();
    }

    bool openDocument(const QUrl &url) override { return QDesktopServices::openUrl(url); }

    void about(QWidget *parent, Language language) override
    {
        AboutDialog box(language, parent);
        box.exec();
    }

private:
    LocaleSource inputLocale_;
};

}  // namespace

int UiPrompter::runDialog(QDialog &dialog)
{
    return dialog.exec();
}

std::shared_ptr<UiPrompter> MakeDialogPrompter(LocaleSource inputLocale)
{
    return std::make_shared<QtPrompter>(std::move(inputLocale));
}

}  // namespace orv

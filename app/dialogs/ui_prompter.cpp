#include "app/dialogs/ui_prompter.h"

#include <QColorDialog>
#include <QDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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
        QMessageBox box(ToQtIcon(icon), QString(caption).remove(QLatin1String("[*]")), text, QMessageBox::NoButton,
                        parent);
        QAbstractButton *restore = nullptr;
        QAbstractButton *discard = nullptr;
        switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::SaveDiscardCancel:
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Save);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case Buttons::RestoreDiscard:
            // Qt has no standard Restore button: the label follows the window's language.
            restore = box.addButton(MainWindowLanguage(inputLocale_) == Language::English
                                        ? QStringLiteral("&Restore")
                                        : QStringLiteral("復元(&R)"),
                                    QMessageBox::AcceptRole);
            discard = box.addButton(QMessageBox::Discard);
            box.setDefaultButton(qobject_cast<QPushButton *>(restore));
            break;
        }
        const int result = box.exec();
        if (restore) {
            // Closed without an answer: nothing is given up.
            if (box.clickedButton() == restore)
                return Answer::Restore;
            return box.clickedButton() == discard ? Answer::Discard : Answer::Cancel;
        }
        switch (result) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Save: return Answer::Save;
        case QMessageBox::Discard: return Answer::Discard;
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

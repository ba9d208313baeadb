#pragma once
// The one seam through which windows ask the user anything: message boxes,
// questions, file and colour choosers, the text input dialog, and opening a
// document in the desktop's application, the about box. Each window gets its
// prompter from its owner (see WindowEnvironment); tests hand in a scripted one.

#include <QColor>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

#include "measure/language.h"

class QDialog;
class QWidget;

namespace orv {

class UiPrompter {
public:
    // SaveDiscardCancel: before unsaved work is closed; RestoreDiscard: work
    // found after a crash.
    enum class Buttons { Ok, OkCancel, YesNo, SaveDiscardCancel, RestoreDiscard };
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Answer { Ok, Cancel, Yes, No, Save, Discard, Restore };

    virtual ~UiPrompter() = default;

    // A caption's "[*]" (the window title's modified mark) is not shown.
    // Closing the box without a button answers No or Cancel.
    virtual Answer message(QWidget *parent, const QString &text, const QString &caption, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None) = 0;
    // Filters in Qt form: "Name (*.a *.b);;...". Empty result: cancelled.
    virtual QString openFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) = 0;
    // *selectedFilter (when given) gets the filter chosen when the name was
    // accepted; left as it was when the chooser does not say.
    virtual QString saveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                             QString *selectedFilter = nullptr) = 0;
    virtual std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) = 0;
    // The text input dialog; nullopt when cancelled.
    virtual std::optional<QString> inputText(QWidget *parent, const QString &initial) = 0;
    // Hands the document to the desktop's application for its type; false
    // when nothing could be started for it.
    virtual bool openDocument(const QUrl &url) = 0;
    // The about box, in the asking window's language.
    virtual void about(QWidget *parent, Language language) = 0;
    // Runs one of the windows' own dialogs modally; its result code
    // (QDialog::Accepted or Rejected). Tests work the dialog's widgets instead.
    virtual int runDialog(QDialog &dialog);
};

// The real dialogs; the text input dialog decides its language from inputLocale.
std::shared_ptr<UiPrompter> MakeDialogPrompter(LocaleSource inputLocale = LocaleSource::FromPlatform());

}  // namespace orv

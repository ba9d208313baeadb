#include "app/dialogs/text_input_dialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "measure/measure_item.h"

namespace orv {

TextInputDialog::TextInputDialog(const LocaleSource &locale, QWidget *parent) :
    QDialog(parent),
    language_(PageLanguage(locale))
{
    setObjectName("TextInputDialog");
    const bool english = language_ == Language::English;
    setWindowTitle(english ? QStringLiteral("Input Text") : QStringLiteral("文字列を入力してください。"));
    edit_ = new QLineEdit(this);
    edit_->setObjectName("edit1005");
    // The record holds 255 bytes; longer input is cut where it is stored.
    edit_->setMaxLength(static_cast<int>(kMaxTextBytes));
    edit_->setMinimumWidth(260);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    cancel_ =
        buttons->addButton(english ? QStringLiteral("Cancel") : QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel_->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &TextInputDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TextInputDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
}

void TextInputDialog::setText(const QString &text)
{
    text_ = text;
    edit_->setText(text);
}

void TextInputDialog::accept()
{
    text_ = edit_->text();
    QDialog::accept();
}

void TextInputDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edit_->setFocus(Qt::OtherFocusReason);
}

}  // namespace orv

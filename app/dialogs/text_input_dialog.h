#pragma once
// The text input dialog of the Text tool.

#include <QDialog>
#include <QString>

#include "measure/language.h"

class QLineEdit;
class QPushButton;

namespace orv {

class TextInputDialog : public QDialog {
    Q_OBJECT

public:
    explicit TextInputDialog(const LocaleSource &locale, QWidget *parent = nullptr);

    Language language() const { return language_; }
    // The text taken from the edit when the dialog ended with OK.
    QString text() const { return text_; }
    void setText(const QString &text);
    QLineEdit *edit() const { return edit_; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Language language_;
    QString text_;
    QLineEdit *edit_ = nullptr;
    QPushButton *cancel_ = nullptr;
};

}  // namespace orv

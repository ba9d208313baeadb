#pragma once
// The about box, reached from the window menu, in the window's language.

#include <QDialog>

#include "measure/language.h"

namespace orv {

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(Language language = Language::Japanese, QWidget *parent = nullptr);
};

}  // namespace orv

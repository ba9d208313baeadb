#pragma once
// The about box, reached from the window menu, in the window's language.

#include <QDialog>

#include "measure/language.h"

namespace orv {

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(Language language = Language::Japanese, QWidget *parent = nullptr);
};

}  // namespace orv

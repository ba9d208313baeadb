#pragma once
// The about box, reached from the window menu.

#include <QDialog>

namespace orv {

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};

}  // namespace orv

#pragma once
// The stream format dialog of the Output Setting button: the frame sizes the
// camera offers; the chosen one becomes the desired size and the camera is
// rebuilt with it in the same place.

#include <QDialog>
#include <QSize>

#include <vector>

#include "measure/language.h"

class QListWidget;

namespace orv {

class CameraGraph;

class CameraFormatDialog : public QDialog {
    Q_OBJECT

public:
    // sizes as the camera offers them; current is selected when listed.
    CameraFormatDialog(const std::vector<QSize> &sizes, QSize current, Language language, QWidget *parent = nullptr);

    // The selected size (invalid when nothing is selected).
    QSize chosenSize() const;
    QListWidget *sizeList() const { return list_; }

private:
    std::vector<QSize> sizes_;
    QListWidget *list_ = nullptr;
};

// The whole Output Setting step: shows the dialog over the open camera's
// sizes and, on OK with a size, rebuilds the camera at it. Returns whether
// the camera runs afterwards; frameSize receives its frame size. Without a
// camera nothing is shown and false is returned.
bool ShowFormatProperties(CameraGraph &graph, QWidget *parent, Language language, QSize *frameSize);

}  // namespace orv

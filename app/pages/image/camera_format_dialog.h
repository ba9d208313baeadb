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

// How the Output Setting step left the camera.
enum class FormatOutcome {
    NoCamera,    // nothing was shown
    Kept,        // nothing chosen: the camera runs as it did
    Rebuilding,  // the graph's openFinished tells how the rebuild ended
    Failed,      // the rebuild could not start (its message was given)
};

// The whole Output Setting step: shows the dialog over the open camera's
// sizes and, on OK with a size, starts rebuilding the camera at it.
FormatOutcome ShowFormatProperties(CameraGraph &graph, QWidget *parent, Language language);

}  // namespace orv

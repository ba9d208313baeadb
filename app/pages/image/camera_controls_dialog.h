#pragma once
// The camera settings dialog of the Image Setting button: one editor per
// video control the camera offers (slider and number, check box, menu or
// button), with the control's range and default; every change is applied to
// the camera at once.

#include <QDialog>

#include <cstdint>
#include <memory>
#include <vector>

#include "capture/camera/camera_controls.h"
#include "capture/device_access.h"
#include "measure/language.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace orv {

class CameraGraph;
class UiPrompter;

class CameraControlsDialog : public QDialog {
    Q_OBJECT

public:
    CameraControlsDialog(std::unique_ptr<ControlDevice> device, Language language, QWidget *parent = nullptr);
    ~CameraControlsDialog() override;

    int controlCount() const { return static_cast<int>(rows_.size()); }
    // The editor of a control (a QSpinBox, QCheckBox, QComboBox or
    // QPushButton), null when the camera does not offer it.
    QWidget *editor(std::uint32_t id) const;
    QSlider *slider(std::uint32_t id) const;

public slots:
    // Sets every writable control to its default.
    void ResetToDefaults();

private:
    struct Row {
        CameraControl control;
        QLabel *label = nullptr;
        QSlider *slider = nullptr;
        QSpinBox *spin = nullptr;
        QCheckBox *check = nullptr;
        QComboBox *combo = nullptr;
        QPushButton *button = nullptr;
    };

    void BuildRow(Row &row, QGridLayout *grid, int line);
    void Apply(std::size_t index, int value);
    // Reads values and states back from the camera (a change of one control
    // can switch others on or off, e.g. automatic white balance).
    void Refresh();
    void Show(Row &row);
    const Row *Find(std::uint32_t id) const;

    std::unique_ptr<ControlDevice> device_;
    std::vector<Row> rows_;
    bool showing_ = false;  // editors are being set from the camera, not by the user
};

// The whole Image Setting step for the open camera: the dialog of its
// controls, or a message when it has none (no device node, or none offered).
// open reaches the node (the V4L2 device itself when empty).
void ShowCameraProperties(CameraGraph &graph, UiPrompter &prompter, QWidget *parent, Language language,
                          const ControlOpener &open = {});

}  // namespace orv

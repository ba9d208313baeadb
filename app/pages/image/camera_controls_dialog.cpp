#include "app/pages/image/camera_controls_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/ui_prompter.h"
#include "capture/camera/camera_graph.h"

namespace orv {

namespace {

QString EditorName(std::uint32_t id)
{
    return QStringLiteral("control_%1").arg(id, 8, 16, QLatin1Char('0'));
}

QString NoControlsText(Language language)
{
    return language == Language::English ? QStringLiteral("This camera has no settings to adjust.")
                                         : QStringLiteral("このカメラには設定できる項目がありません。");
}

}  // namespace

CameraControlsDialog::CameraControlsDialog(std::unique_ptr<ControlDevice> device, Language language, QWidget *parent) :
    QDialog(parent),
    device_(std::move(device))
{
    setObjectName("CameraControlsDialog");
    const bool english = language == Language::English;
    setWindowTitle(english ? QStringLiteral("Image Setting") : QStringLiteral("画質設定"));

    for (CameraControl &control : QueryControls(*device_))
        rows_.push_back(Row{std::move(control)});

    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        BuildRow(rows_[i], grid, static_cast<int>(i));
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *defaults = buttons->addButton(english ? QStringLiteral("Default") : QStringLiteral("標準に戻す"),
                                               QDialogButtonBox::ResetRole);
    defaults->setObjectName("defaultsButton");
    QPushButton *close =
        buttons->addButton(english ? QStringLiteral("Close") : QStringLiteral("閉じる"), QDialogButtonBox::AcceptRole);
    close->setObjectName("closeButton");
    close->setDefault(true);
    connect(defaults, &QPushButton::clicked, this, &CameraControlsDialog::ResetToDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &CameraControlsDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    resize(460, std::min(120 + 36 * static_cast<int>(rows_.size()), 640));
    Refresh();
}

CameraControlsDialog::~CameraControlsDialog() = default;

void CameraControlsDialog::BuildRow(Row &row, QGridLayout *grid, int line)
{
    const CameraControl &c = row.control;
    const std::size_t index = static_cast<std::size_t>(line);
    row.label = new QLabel(c.name);
    grid->addWidget(row.label, line, 0);
    switch (c.type) {
    case CameraControl::Type::Integer: {
        row.slider = new QSlider(Qt::Horizontal);
        row.slider->setRange(c.minimum, c.maximum);
        row.slider->setSingleStep(c.step);
        row.slider->setPageStep(std::max(c.step, (c.maximum - c.minimum) / 10));
        row.spin = new QSpinBox;
        row.spin->setObjectName(EditorName(c.id));
        row.spin->setRange(c.minimum, c.maximum);
        row.spin->setSingleStep(c.step);
        row.spin->setToolTip(QStringLiteral("%1 … %2 (%3)").arg(c.minimum).arg(c.maximum).arg(c.defaultValue));
        // The slider follows the number; only the number applies.
        connect(row.slider, &QSlider::valueChanged, row.spin, &QSpinBox::setValue);
        connect(row.spin, &QSpinBox::valueChanged, row.slider, &QSlider::setValue);
        connect(row.spin, &QSpinBox::valueChanged, this, [this, index](int v) { Apply(index, v); });
        grid->addWidget(row.slider, line, 1);
        grid->addWidget(row.spin, line, 2);
        break;
    }
    case CameraControl::Type::Boolean:
        row.check = new QCheckBox;
        row.check->setObjectName(EditorName(c.id));
        connect(row.check, &QCheckBox::toggled, this, [this, index](bool on) { Apply(index, on ? 1 : 0); });
        grid->addWidget(row.check, line, 1, 1, 2);
        break;
    case CameraControl::Type::Menu:
    case CameraControl::Type::IntegerMenu:
        row.combo = new QComboBox;
        row.combo->setObjectName(EditorName(c.id));
        for (const auto &[value, label] : c.menu)
            row.combo->addItem(label, value);
        connect(row.combo, &QComboBox::currentIndexChanged, this, [this, index](int i) {
            if (i >= 0)
                Apply(index, rows_[index].combo->itemData(i).toInt());
        });
        grid->addWidget(row.combo, line, 1, 1, 2);
        break;
    case CameraControl::Type::Button:
        row.button = new QPushButton(c.name);
        row.button->setObjectName(EditorName(c.id));
        connect(row.button, &QPushButton::clicked, this, [this, index] { Apply(index, 1); });
        grid->addWidget(row.button, line, 1, 1, 2);
        break;
    }
}

const CameraControlsDialog::Row *CameraControlsDialog::Find(std::uint32_t id) const
{
    for (const Row &row : rows_)
        if (row.control.id == id)
            return &row;
    return nullptr;
}

QWidget *CameraControlsDialog::editor(std::uint32_t id) const
{
    const Row *row = Find(id);
    if (!row)
        return nullptr;
    if (row->spin)
        return row->spin;
    if (row->check)
        return row->check;
    if (row->combo)
        return row->combo;
    return row->button;
}

QSlider *CameraControlsDialog::slider(std::uint32_t id) const
{
    const Row *row = Find(id);
    return row ? row->slider : nullptr;
}

void CameraControlsDialog::Apply(std::size_t index, int value)
{
    if (showing_ || index >= rows_.size())
        return;
    Row &row = rows_[index];
    // A refused value (out of range, busy, read-only) is not kept: the
    // editors show what the camera holds.
    SetControl(*device_, row.control.id, value);
    Refresh();
}

void CameraControlsDialog::ResetToDefaults()
{
    for (const Row &row : rows_)
        if (row.control.type != CameraControl::Type::Button && !row.control.readOnly)
            SetControl(*device_, row.control.id, row.control.defaultValue);
    Refresh();
}

void CameraControlsDialog::Refresh()
{
    const std::vector<CameraControl> now = QueryControls(*device_);
    for (Row &row : rows_) {
        for (const CameraControl &c : now) {
            if (c.id == row.control.id) {
                row.control.value = c.value;
                row.control.inactive = c.inactive;
                row.control.readOnly = c.readOnly;
            }
        }
        Show(row);
    }
}

void CameraControlsDialog::Show(Row &row)
{
    showing_ = true;
    const CameraControl &c = row.control;
    const bool enabled = !c.readOnly && !c.inactive;
    if (row.spin) {
        row.spin->setValue(c.value);
        row.slider->setValue(c.value);
        row.spin->setEnabled(enabled);
        row.slider->setEnabled(enabled);
    } else if (row.check) {
        row.check->setChecked(c.value != 0);
        row.check->setEnabled(enabled);
    } else if (row.combo) {
        row.combo->setCurrentIndex(row.combo->findData(c.value));
        row.combo->setEnabled(enabled);
    } else if (row.button) {
        row.button->setEnabled(enabled);
    }
    row.label->setEnabled(enabled);
    showing_ = false;
}

void ShowCameraProperties(CameraGraph &graph, UiPrompter &prompter, QWidget *parent, Language language,
                          const ControlOpener &open)
{
    const QString node = graph.state() == CameraGraph::State::None ? QString() : graph.deviceNode();
    if (node.isEmpty()) {
        prompter.message(parent, NoControlsText(language), QStringLiteral("Orvalin"));
        return;
    }
    QString error;
    std::unique_ptr<ControlDevice> device = open ? open(node, &error) : OpenControlDevice(node, &error);
    if (!device) {
        const QString text = language == Language::English
            ? QStringLiteral("The camera's settings cannot be opened (%1: %2).")
            : QStringLiteral("カメラの設定を開けません（%1: %2）。");
        prompter.message(parent, text.arg(node, error), QStringLiteral("Orvalin"), UiPrompter::Buttons::Ok,
                         UiPrompter::Icon::Warning);
        return;
    }
    CameraControlsDialog dialog(std::move(device), language, parent);
    if (dialog.controlCount() == 0) {
        prompter.message(parent, NoControlsText(language), QStringLiteral("Orvalin"));
        return;
    }
    dialog.move(parent ? parent->mapToGlobal(QPoint(30, 30)) : QPoint(30, 30));
    dialog.exec();
}

}  // namespace orv

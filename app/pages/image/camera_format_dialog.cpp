#include "app/pages/image/camera_format_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "capture/camera/camera_graph.h"

namespace orv {

namespace {

QString SizeText(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

}  // namespace

CameraFormatDialog::CameraFormatDialog(const std::vector<QSize> &sizes, QSize current, Language language,
                                       QWidget *parent) :
    QDialog(parent),
    sizes_(sizes)
{
    setObjectName("CameraFormatDialog");
    const bool english = language == Language::English;
    setWindowTitle(english ? QStringLiteral("Output Setting") : QStringLiteral("出力設定"));
    auto *label = new QLabel(english ? QStringLiteral("Frame size") : QStringLiteral("フレームサイズ"), this);
    list_ = new QListWidget(this);
    list_->setObjectName("formatSizes");
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        list_->addItem(SizeText(sizes_[i]));
        if (sizes_[i] == current)
            list_->setCurrentRow(static_cast<int>(i));
    }
    label->setBuddy(list_);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(english ? QStringLiteral("Cancel") : QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CameraFormatDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CameraFormatDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CameraFormatDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

QSize CameraFormatDialog::chosenSize() const
{
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(sizes_.size()))
        return {};
    return sizes_[static_cast<std::size_t>(row)];
}

FormatOutcome ShowFormatProperties(CameraGraph &graph, QWidget *parent, Language language)
{
    if (graph.state() != CameraGraph::State::Running && graph.state() != CameraGraph::State::Paused)
        return FormatOutcome::NoCamera;
    CameraFormatDialog dialog(graph.FormatSizes(), graph.frameSize(), language, parent);
    dialog.move(parent ? parent->mapToGlobal(QPoint(30, 30)) : QPoint(30, 30));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    const QSize chosen = dialog.chosenSize();
    // Nothing chosen: the camera keeps running as it was.
    if (!accepted || !chosen.isValid())
        return FormatOutcome::Kept;
    return graph.ApplyFormat(chosen) ? FormatOutcome::Rebuilding : FormatOutcome::Failed;
}

}  // namespace orv

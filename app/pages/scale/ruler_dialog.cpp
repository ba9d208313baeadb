#include "app/pages/scale/ruler_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>
#include <utility>

#include "app/dialogs/ui_prompter.h"
#include "calib/ruler_finder.h"
#include "calib/ruler_scale.h"
#include "calib/scale_setting.h"
#include "core/number_reading.h"

namespace orv {
namespace {

constexpr QSize kPreviewSize(720, 420);

QString Pick(Language lang, const char *en, const char *ja)
{
    return QString::fromUtf8(lang == Language::English ? en : ja);
}

}  // namespace

RulerDialog::RulerDialog(const QImage &image, Language lang, const std::string &unit, int link,
                         std::shared_ptr<UiPrompter> prompter, QWidget *parent)
    : QDialog(parent), image_(image), lang_(lang), link_(link), prompter_(std::move(prompter))
{
    setObjectName(QStringLiteral("rulerDialog"));
    setWindowTitle(Pick(lang_, "From Ruler", "定規から校正"));
    Build();
    ui_.unit->setCurrentIndex(UnitIndexOf(unit) - 1);
    result_.failure = RulerFailure::NoTicks;
    overlay_ = image_.convertToFormat(QImage::Format_RGB32);
    ShowPreview();
    UpdateAcceptable();
}

RulerDialog::~RulerDialog() = default;

void RulerDialog::Build()
{
    auto *page = new QVBoxLayout(this);
    ui_.preview = new QLabel(this);
    ui_.preview->setObjectName(QStringLiteral("rulerPreview"));
    ui_.preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui_.preview->installEventFilter(this);
    page->addWidget(ui_.preview, 1);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(Pick(lang_, "One division:", "1目盛りの長さ:"), this), 0, 0);
    ui_.spacing = new QLineEdit(QStringLiteral("10"), this);
    ui_.spacing->setObjectName(QStringLiteral("rulerSpacingEdit"));
    ui_.spacing->setAlignment(Qt::AlignRight);
    grid->addWidget(ui_.spacing, 0, 1);
    ui_.unit = new QComboBox(this);
    ui_.unit->setObjectName(QStringLiteral("rulerUnitCombo"));
    for (int i = 0; i < 3; ++i)
        ui_.unit->addItem(QString::fromStdString(std::string(UnitTextAt(i, lang_))));
    grid->addWidget(ui_.unit, 0, 2);
    grid->addWidget(new QLabel(Pick(lang_, "Line (x1,y1,x2,y2):", "線 (x1,y1,x2,y2):"), this), 1, 0);
    ui_.line = new QLineEdit(this);
    ui_.line->setObjectName(QStringLiteral("rulerLineEdit"));
    ui_.line->setPlaceholderText(
        Pick(lang_, "whole image; or drag along the ruler", "画像全体（定規に沿ってドラッグでも指定）"));
    grid->addWidget(ui_.line, 1, 1);
    ui_.find = new QPushButton(Pick(lang_, "Find", "検出"), this);
    ui_.find->setObjectName(QStringLiteral("rulerFindButton"));
    ui_.find->setAutoDefault(false);
    grid->addWidget(ui_.find, 1, 2);
    page->addLayout(grid);

    ui_.result = new QLabel(this);
    ui_.result->setObjectName(QStringLiteral("rulerResultLabel"));
    ui_.result->setWordWrap(true);
    page->addWidget(ui_.result);

    ui_.buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ui_.buttons->button(QDialogButtonBox::Ok)->setText(Pick(lang_, "Accept", "適用"));
    ui_.buttons->button(QDialogButtonBox::Cancel)->setText(Pick(lang_, "Cancel", "キャンセル"));
    page->addWidget(ui_.buttons);

    connect(ui_.find, &QPushButton::clicked, this, &RulerDialog::Find);
    connect(ui_.spacing, &QLineEdit::textChanged, this, [this] { UpdateAcceptable(); });
    connect(ui_.buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui_.buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

double RulerDialog::spacing() const
{
    const double v = ReadDecimal(ui_.spacing->text().trimmed().toStdString());
    return v > 0.0 ? v : 0.0;
}

std::string RulerDialog::unitText() const
{
    return std::string(UnitTextAt(ui_.unit->currentIndex(), lang_));
}

std::optional<QLineF> RulerDialog::TypedLine() const
{
    const QStringList parts = ui_.line->text().split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v[i]))
            return std::nullopt;
    }
    return QLineF(v[0], v[1], v[2], v[3]);
}

void RulerDialog::Find()
{
    const RulerFinder finder;
    const std::optional<QLineF> line = TypedLine();
    result_ = line ? finder.findAlong(image_, line->p1(), line->p2()) : finder.find(image_);
    ShowResult();
    ShowPreview();
    UpdateAcceptable();
    // The result's text may wrap onto more lines than the dialog had room for.
    adjustSize();
    if (!result_.found())
        prompter_->message(this, QString::fromStdString(RulerFailureText(result_, lang_)), QStringLiteral("Orvalin"),
                           UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
}

void RulerDialog::ShowResult()
{
    if (!result_.found()) {
        ui_.result->setText(QString::fromStdString(RulerFailureText(result_, lang_)));
        return;
    }
    const RulerAxis axis = AxisOfRuler(result_);
    const QString target =
        link_ == kLinkSync ? Pick(lang_, "both scales (Sync.)", "水平・垂直の両スケール（同期）")
        : axis == RulerAxis::Horizontal ? Pick(lang_, "the horizontal scale", "水平スケール")
                                        : Pick(lang_, "the vertical scale", "垂直スケール");
    const QString text =
        Pick(lang_,
             "%1 px per division, standard uncertainty %2 px; %3 ticks, residual %4 px, angle %5°. "
             "Accept sets %6.",
             "1目盛り %1 px、標準不確かさ %2 px、目盛り %3 本、残差 %4 px、角度 %5°。適用すると%6に設定します。")
            .arg(QString::number(result_.pixelsPerDivision, 'f', 4))
            .arg(QString::number(result_.uPixelsPerDivision, 'g', 2))
            .arg(result_.ticks)
            .arg(QString::number(result_.residualPx, 'f', 3))
            .arg(QString::number(result_.angleDeg, 'f', 2))
            .arg(target);
    ui_.result->setText(text);
}

void RulerDialog::ShowPreview()
{
    overlay_ = image_.convertToFormat(QImage::Format_RGB32);
    if (overlay_.isNull()) {
        ui_.preview->clear();
        return;
    }
    {
        QPainter p(&overlay_);
        p.setRenderHint(QPainter::Antialiasing);
        const double width = std::max(2.0, overlay_.width() / 600.0);
        if (result_.found()) {
            // Each tick as a red stroke across the ruler, over the band that was averaged.
            const double rad = result_.angleDeg * std::numbers::pi / 180.0;
            const QPointF across(-std::sin(rad) * result_.tickHalfLength, std::cos(rad) * result_.tickHalfLength);
            p.setPen(QPen(QColor(255, 0, 0), width));
            for (const QPointF &t : result_.tickPositions)
                p.drawLine(t - across, t + across);
        }
        const std::optional<QLineF> line = drag_ ? drag_ : TypedLine();
        if (line) {
            p.setPen(QPen(QColor(0, 160, 255), width, Qt::DashLine));
            p.drawLine(*line);
        }
    }
    const QImage shown = overlay_.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    previewScale_ = overlay_.width() > 0 ? static_cast<double>(shown.width()) / overlay_.width() : 1.0;
    ui_.preview->setPixmap(QPixmap::fromImage(shown));
    ui_.preview->setFixedSize(shown.size());
}

void RulerDialog::UpdateAcceptable()
{
    ui_.buttons->button(QDialogButtonBox::Ok)->setEnabled(result_.found() && spacing() > 0.0);
}

bool RulerDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ui_.preview || !(previewScale_ > 0.0))
        return QDialog::eventFilter(watched, event);
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPointF at = mouse->position() / previewScale_;
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        drag_ = QLineF(at, at);
    } else if (drag_ && type == QEvent::MouseMove) {
        drag_->setP2(at);
        ShowPreview();
    } else if (drag_ && type == QEvent::MouseButtonRelease) {
        drag_->setP2(at);
        const QLineF l = *drag_;
        drag_.reset();
        // A click is no line.
        if (l.length() >= 5.0) {
            ui_.line->setText(QStringLiteral("%1,%2,%3,%4")
                                  .arg(std::round(l.x1()))
                                  .arg(std::round(l.y1()))
                                  .arg(std::round(l.x2()))
                                  .arg(std::round(l.y2())));
            Find();
        } else {
            ShowPreview();
        }
    }
    return true;
}

}  // namespace orv

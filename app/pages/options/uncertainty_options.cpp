#include "app/pages/options/uncertainty_options.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "document/calibration_edit.h"
#include "document/measure_document.h"

namespace orv {
namespace {

QDoubleSpinBox *PixelBox(QWidget *parent, const char *name)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0.0, 100.0);
    box->setDecimals(4);
    box->setSingleStep(0.01);
    box->setSuffix(QStringLiteral(" px"));
    box->setKeyboardTracking(false);  // one step per typed number, not per key
    return box;
}

}  // namespace

UncertaintyOptions::UncertaintyOptions(MeasureDocument &doc, Language lang, QWidget *parent) :
    QGroupBox(parent), doc_(doc)
{
    setObjectName(QStringLiteral("uncertaintyGroup"));
    const bool english = lang == Language::English;
    setTitle(english ? QStringLiteral("Uncertainty") : QStringLiteral("不確かさ"));
    show_ = new QCheckBox(english ? QStringLiteral("Show uncertainty") : QStringLiteral("不確かさを表示"), this);
    show_->setObjectName(QStringLiteral("showUncertaintyCheck"));
    show_->setToolTip(english ? QStringLiteral("Expanded uncertainty U = 2u (about 95 %)")
                              : QStringLiteral("拡張不確かさ U = 2u (約95 %)"));
    click_ = PixelBox(this, "clickUncertainty");
    horizontal_ = PixelBox(this, "hScaleUncertainty");
    vertical_ = PixelBox(this, "vScaleUncertainty");

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(4);
    grid->addWidget(show_, 0, 0, 1, 2);
    grid->addWidget(new QLabel(english ? QStringLiteral("Click") : QStringLiteral("クリック"), this), 1, 0);
    grid->addWidget(click_, 1, 1);
    grid->addWidget(new QLabel(english ? QStringLiteral("Scale H") : QStringLiteral("スケール 横"), this), 2, 0);
    grid->addWidget(horizontal_, 2, 1);
    grid->addWidget(new QLabel(english ? QStringLiteral("Scale V") : QStringLiteral("スケール 縦"), this), 3, 0);
    grid->addWidget(vertical_, 3, 1);
    grid->setColumnStretch(2, 1);

    connect(show_, &QCheckBox::toggled, this, [this](bool on) { doc_.results().SetShowUncertainty(on); });
    for (QDoubleSpinBox *box : {click_, horizontal_, vertical_})
        connect(box, &QDoubleSpinBox::valueChanged, this, &UncertaintyOptions::Commit);
    connect(&doc_, &MeasureDocument::calibrationChanged, this, &UncertaintyOptions::ShowDocument);
    connect(&doc_, &MeasureDocument::restored, this, &UncertaintyOptions::ShowDocument);
    ShowDocument();
}

void UncertaintyOptions::ShowDocument()
{
    const ScaleSetting &s = doc_.calibration().setting;
    const QSignalBlocker c(click_), h(horizontal_), v(vertical_), b(show_);
    click_->setValue(s.clickU);
    horizontal_->setValue(s.hPixelU);
    vertical_->setValue(s.vPixelU);
    vertical_->setEnabled(s.link != kLinkSync);  // one scale: the horizontal's
    show_->setChecked(doc_.results().showUncertainty());
}

void UncertaintyOptions::Commit()
{
    doc_.calibrationEdit().SetUncertainties(click_->value(), horizontal_->value(), vertical_->value());
    ShowDocument();  // Sync. copies, and a box may have rounded
}

}  // namespace orv

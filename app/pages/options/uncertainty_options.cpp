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
    box->setDecimals(3);
    box->setSingleStep(0.01);
    box->setToolTip(QStringLiteral("px"));
    box->setKeyboardTracking(false);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);  // narrow: the column is tight  // one step per typed number, not per key
    return box;
}

}  // namespace

UncertaintyOptions::UncertaintyOptions(MeasureDocument &doc, Language lang, QWidget *parent) :
    QWidget(parent), doc_(doc)
{
    setObjectName(QStringLiteral("uncertaintyGroup"));
    const bool english = lang == Language::English;
    show_ = new QCheckBox(english ? QStringLiteral("Show uncertainty") : QStringLiteral("不確かさを表示"), this);
    show_->setObjectName(QStringLiteral("showUncertaintyCheck"));
    show_->setToolTip(english ? QStringLiteral("Expanded uncertainty U = 2u (about 95 %)")
                              : QStringLiteral("拡張不確かさ U = 2u (約95 %)"));
    click_ = PixelBox(this, "clickUncertainty");
    horizontal_ = PixelBox(this, "hScaleUncertainty");
    vertical_ = PixelBox(this, "vScaleUncertainty");

    // Standard uncertainties in pixels: of a click, of each scale's pixel count.
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);  // the page's column is short
    grid->addWidget(show_, 0, 0, 1, 6);
    // The labels keep their width; the boxes give way.
    auto label = [this](const QString &text) {
        auto *l = new QLabel(text, this);
        l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        return l;
    };
    grid->addWidget(label(english ? QStringLiteral("Click") : QStringLiteral("ｸﾘｯｸ")), 1, 0);
    grid->addWidget(click_, 1, 1);
    grid->addWidget(label(QStringLiteral("H")), 1, 2);
    grid->addWidget(horizontal_, 1, 3);
    grid->addWidget(label(QStringLiteral("V")), 1, 4);
    grid->addWidget(vertical_, 1, 5);

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

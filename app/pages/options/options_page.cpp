#include "app/pages/options/options_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/pages/options/attribute_sample.h"
#include "app/pages/options/uncertainty_options.h"
#include "calib/draw_file.h"
#include "calib/setting_files.h"
#include "core/number_reading.h"
#include "document/measure_document.h"

namespace orv {
namespace {

// A drop-down list whose text may differ from its entries ("87" after "Fit",
// a font size read from a file). The text itself is not typed into.
QComboBox *MakeList(QWidget *parent, const char *name, const QStringList &entries)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setReadOnly(true);
    combo->addItems(entries);
    return combo;
}

template<typename W>
W *Named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Shows a text in a list: its entry when there is one, else the text alone.
void ShowListText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text, Qt::MatchExactly);
    combo->setCurrentIndex(index);
    if (index < 0)
        combo->setEditText(text);
}

}  // namespace

OptionsPage::OptionsPage(MeasureDocument &doc, QWidget *parent, const WindowEnvironment &env) :
    QWidget(parent),
    doc_(doc),
    lang_(PageLanguage(env.locale)),
    startDir_(env.startDir),
    prompter_(env.prompter),
    attr_(doc.editDrawAttribute())
{
    setObjectName(QStringLiteral("optionsPage"));
    BuildControls();
    Initialise();
}

OptionsPage::~OptionsPage() = default;

void OptionsPage::BuildControls()
{
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(4);

    ui_.labelModeHeading = Named(new QLabel(QStringLiteral("データ表示"), this), "labelModeHeading");
    ui_.numberOnly = Named(new QRadioButton(QStringLiteral("番号のみ"), this), "labelModeNumberOnly");
    ui_.summary = Named(new QRadioButton(QStringLiteral("簡易"), this), "labelModeSummary");
    ui_.details = Named(new QRadioButton(QStringLiteral("詳細"), this), "labelModeDetails");
    ui_.labelModeGroup = new QButtonGroup(this);
    ui_.labelModeGroup->addButton(ui_.numberOnly, static_cast<int>(LabelMode::ItemNumberOnly));
    ui_.labelModeGroup->addButton(ui_.summary, static_cast<int>(LabelMode::Summary));
    ui_.labelModeGroup->addButton(ui_.details, static_cast<int>(LabelMode::Details));
    page->addWidget(ui_.labelModeHeading);
    auto *modes = new QGridLayout;
    modes->setContentsMargins(8, 0, 0, 0);
    modes->setVerticalSpacing(2);
    modes->addWidget(ui_.numberOnly, 0, 0);
    modes->addWidget(ui_.summary, 0, 1);
    modes->addWidget(ui_.details, 1, 0);
    modes->setColumnStretch(2, 1);
    page->addLayout(modes);

    ui_.attributeGroup = Named(new QGroupBox(QStringLiteral("描画属性"), this), "drawAttributeGroup");
    auto *grid = new QGridLayout(ui_.attributeGroup);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(4);
    ui_.drawFileList = MakeList(ui_.attributeGroup, "drawFileList", {});
    ui_.saveButton = Named(new QPushButton(QStringLiteral("保存"), ui_.attributeGroup), "saveDrawButton");
    ui_.fontColor = Named(new QPushButton(QStringLiteral("文字色変更"), ui_.attributeGroup), "fontColorButton");
    ui_.fontSizeLabel = Named(new QLabel(QStringLiteral("ｻｲｽﾞ"), ui_.attributeGroup), "fontSizeLabel");
    QStringList sizes;
    for (int i = 0; i < kFontSizeCount; ++i)
        sizes << QString::number(FontSizeAt(i));
    ui_.fontSize = MakeList(ui_.attributeGroup, "fontSizeList", sizes);
    ui_.backColor = Named(new QPushButton(QStringLiteral("背景色変更"), ui_.attributeGroup), "backColorButton");
    ui_.transparent = Named(new QCheckBox(QStringLiteral("背景透過"), ui_.attributeGroup), "transparentCheck");
    ui_.lineColor = Named(new QPushButton(QStringLiteral("ライン色変更"), ui_.attributeGroup), "lineColorButton");
    ui_.lineWidthLabel = Named(new QLabel(QStringLiteral("太さ"), ui_.attributeGroup), "lineWidthLabel");
    ui_.lineWidth = MakeList(ui_.attributeGroup, "lineWidthList", {"1", "2", "3", "4", "5"});
    grid->addWidget(ui_.drawFileList, 0, 0, 1, 3);
    grid->addWidget(ui_.saveButton, 0, 3);
    grid->addWidget(ui_.fontColor, 1, 0);
    grid->addWidget(ui_.fontSizeLabel, 1, 2, Qt::AlignRight);
    grid->addWidget(ui_.fontSize, 1, 3);
    grid->addWidget(ui_.backColor, 2, 0);
    grid->addWidget(ui_.transparent, 2, 1, 1, 3);
    grid->addWidget(ui_.lineColor, 3, 0);
    grid->addWidget(ui_.lineWidthLabel, 3, 2, Qt::AlignRight);
    grid->addWidget(ui_.lineWidth, 3, 3);
    page->addWidget(ui_.attributeGroup);

    auto *zoomRow = new QHBoxLayout;
    ui_.zoomLabel = Named(new QLabel(QStringLiteral("表示ズーム率"), this), "zoomLabel");
    ui_.zoom = MakeList(this, "zoomList", {"50", "75", "100", "150", "200", "300", "Fit"});
    ui_.percentLabel = Named(new QLabel(QStringLiteral("%"), this), "zoomPercentLabel");
    zoomRow->addWidget(ui_.zoomLabel);
    zoomRow->addWidget(ui_.zoom);
    zoomRow->addWidget(ui_.percentLabel);
    zoomRow->addStretch(1);
    page->addLayout(zoomRow);
    ui_.uncertainty = new UncertaintyOptions(doc_, lang_, this);
    page->addWidget(ui_.uncertainty);
    page->addStretch(1);

    connect(ui_.labelModeGroup, &QButtonGroup::idClicked, this,
            [this](int id) { ChooseLabelMode(static_cast<LabelMode>(id)); });
    connect(ui_.drawFileList, &QComboBox::activated, this, &OptionsPage::ChooseDrawFile);
    connect(ui_.saveButton, &QPushButton::clicked, this, &OptionsPage::OnSave);
    connect(ui_.fontColor, &QPushButton::clicked, this,
            [this] { OnChooseColor(attr_.fontColor, [this](MeasureItem &m) { m.fontColor = attr_.fontColor; }); });
    connect(ui_.backColor, &QPushButton::clicked, this,
            [this] { OnChooseColor(attr_.backColor, [this](MeasureItem &m) { m.backColor = attr_.backColor; }); });
    connect(ui_.lineColor, &QPushButton::clicked, this,
            [this] { OnChooseColor(attr_.lineColor, [this](MeasureItem &m) { m.lineColor = attr_.lineColor; }); });
    connect(ui_.transparent, &QCheckBox::clicked, this, &OptionsPage::OnTransparent);
    connect(ui_.lineWidth, &QComboBox::activated, this, &OptionsPage::OnLineWidthChosen);
    connect(ui_.fontSize, &QComboBox::activated, this, &OptionsPage::OnFontSizeChosen);
    connect(ui_.zoom, &QComboBox::activated, this, &OptionsPage::ChooseZoom);

    // An undone or redone step: the page shows the attributes it put back.
    connect(&doc_, &MeasureDocument::restored, this, [this] {
        ShowFields();
        RedrawSample();
    });

    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void OptionsPage::ApplyEnglishCaptions()
{
    ui_.labelModeHeading->setText(QStringLiteral("Data Labels"));
    ui_.numberOnly->setText(QStringLiteral("Item No. Only"));
    ui_.summary->setText(QStringLiteral("Summary"));
    ui_.details->setText(QStringLiteral("Details"));
    ui_.attributeGroup->setTitle(QStringLiteral("DrawAttribute"));
    ui_.saveButton->setText(QStringLiteral("Save"));
    ui_.fontColor->setText(QStringLiteral("Font Color"));
    ui_.fontSizeLabel->setText(QStringLiteral("Size"));
    ui_.backColor->setText(QStringLiteral("Back Color"));
    ui_.transparent->setText(QStringLiteral("Transparent"));
    ui_.lineColor->setText(QStringLiteral("Line Color"));
    ui_.lineWidthLabel->setText(QStringLiteral("Thickness"));
    ui_.zoomLabel->setText(QStringLiteral("Zoom"));
}

void OptionsPage::Initialise()
{
    if (lang_ == Language::English)
        ApplyEnglishCaptions();
    attr_ = DrawAttribute{};
    ShowFields();

    attr_.labelMode = LabelMode::Details;
    ui_.details->setChecked(true);

    // The sample box sits below the controls, 200 x 60 pixels inside its border.
    ui_.sample = new AttributeSample([this]() -> const DrawAttribute & { return attr_; }, this);
    static_cast<QVBoxLayout *>(layout())->insertWidget(layout()->count() - 1, ui_.sample);
    ui_.sample->show();

    FillDrawFileList();
    ui_.drawFileList->setCurrentIndex(0);
    attr_.drawFileName = DefaultEntryText(lang_).toStdString();
    ShowFields();
    ui_.saveButton->setEnabled(false);
}

void OptionsPage::FillDrawFileList()
{
    ui_.drawFileList->clear();
    for (const QString &entry : orv::FillDrawFileList(startDir_, lang_))
        ui_.drawFileList->addItem(entry);
}

void OptionsPage::TakeControls()
{
    attr_.fontSizeText = ui_.fontSize->currentText().toStdString();
    attr_.fontSize = ReadInt(attr_.fontSizeText);
    attr_.lineWidthText = ui_.lineWidth->currentText().toStdString();
    attr_.zoomText = ui_.zoom->currentText().toStdString();
    attr_.drawFileName = ui_.drawFileList->currentText().toStdString();
    attr_.transparent = ui_.transparent->isChecked() ? 1 : 0;
    if (ui_.numberOnly->isChecked())
        attr_.labelMode = LabelMode::ItemNumberOnly;
    else if (ui_.summary->isChecked())
        attr_.labelMode = LabelMode::Summary;
    else if (ui_.details->isChecked())
        attr_.labelMode = LabelMode::Details;
}

void OptionsPage::ShowFields()
{
    ShowListText(ui_.fontSize, QString::fromStdString(attr_.fontSizeText));
    ShowListText(ui_.lineWidth, QString::fromStdString(attr_.lineWidthText));
    ShowListText(ui_.zoom, QString::fromStdString(attr_.zoomText));
    ShowListText(ui_.drawFileList, QString::fromStdString(attr_.drawFileName));
    ui_.transparent->setChecked(attr_.transparent != 0);
    switch (attr_.labelMode) {
    case LabelMode::ItemNumberOnly: ui_.numberOnly->setChecked(true); break;
    case LabelMode::Summary: ui_.summary->setChecked(true); break;
    case LabelMode::Details: ui_.details->setChecked(true); break;
    }
    if (ui_.sample)
        ui_.sample->update();
}

const DrawAttribute &OptionsPage::drawAttribute()
{
    TakeControls();
    return attr_;
}

void OptionsPage::EnableOptionControls(bool enable)
{
    for (QWidget *w : std::initializer_list<QWidget *>{ui_.fontColor, ui_.backColor, ui_.lineColor, ui_.transparent,
                                                       ui_.lineWidth, ui_.fontSize, ui_.numberOnly, ui_.summary,
                                                       ui_.details, ui_.zoom, ui_.drawFileList})
        w->setEnabled(enable);
    if (enable) {
        TakeControls();
        attr_.zoomText = "100";
        ShowFields();
    }
    ui_.saveButton->setEnabled(false);
}

void OptionsPage::ShowDocumentAttributes()
{
    ShowFields();
}

void OptionsPage::ShowRecordAttributes(const MeasureItem *item)
{
    if (!item)
        return;
    TakeControls();
    attr_.takeFrom(*item);
    ShowFields();
    update();
    RedrawSample();
}

void OptionsPage::RedrawSample()
{
    if (ui_.sample) {
        TakeControls();
        ui_.sample->update();
    }
}

bool OptionsPage::eventFilter(QObject *watched, QEvent *event)
{
    // The uncertainty boxes take typed numbers.
    auto *w = qobject_cast<QWidget *>(watched);
    if (w && ui_.uncertainty && ui_.uncertainty->isAncestorOf(w))
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return true;
    return QWidget::eventFilter(watched, event);
}

void MarkLabelLayout(MeasureItem &item)
{
    if (item.kind == KindPerpendicular || item.kind == KindParallel) {
        for (SubResult &sub : item.subResults) {
            if (sub.labelBox.bottom != 0)
                sub.labelBox.bottom = -1;
        }
    } else if (item.labelBox.bottom != 0) {
        item.labelBox.bottom = -1;
    }
}

}  // namespace orv

// The Scale page's controls: the "Calibration" and "Standard Scale" groups.
#include "app/pages/scale/scale_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calib/draw_attribute.h"

namespace orv {
namespace {

QLineEdit *NumberEdit(QWidget *parent, const char *name, bool readOnly)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAlignment(Qt::AlignRight);
    edit->setReadOnly(readOnly);
    if (readOnly) {
        // A read-only field looks like one: the window's background, not an input's.
        QPalette palette = edit->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
        edit->setPalette(palette);
    }
    return edit;
}

// The page's lists are drop-down combo boxes: an edit field over the list.
QComboBox *DropDown(QWidget *parent, const char *name)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

QLabel *Label(QWidget *parent, const QString &text, const char *name = nullptr)
{
    auto *label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton *Button(QWidget *parent, const QString &text, const char *name)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// One row of the calibration grid: "<axis> [pixels] pix. = [value]".
void AddValueRow(QGridLayout *grid, int row, const QString &axis, QLineEdit *pixel, QLineEdit *value)
{
    QWidget *parent = pixel->parentWidget();
    grid->addWidget(Label(parent, axis), row, 0);
    grid->addWidget(pixel, row, 1);
    grid->addWidget(Label(parent, QStringLiteral("pix. =")), row, 2);
    grid->addWidget(value, row, 3);
}

void FillUnitList(QComboBox *combo, Language lang)
{
    combo->clear();
    for (int i = 0; i < 3; ++i)
        combo->addItem(QString::fromStdString(std::string(UnitTextAt(i, lang))));
}

}  // namespace

void ScalePage::BuildControls()
{
    auto &u = ui_;
    // The page shares the narrow control column: tight margins.
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(2, 2, 2, 2);
    page->setSpacing(4);

    // Calibration group.
    u.calibGroup = new QGroupBox(QStringLiteral("校正"), this);
    u.calibGroup->setObjectName(QStringLiteral("calibGroup"));
    auto *calib = new QGridLayout(u.calibGroup);
    calib->setContentsMargins(4, 4, 4, 4);
    calib->setSpacing(4);
    u.scaleFileList = DropDown(u.calibGroup, "scaleFileList");
    u.saveButton = Button(u.calibGroup, QStringLiteral("保存"), "saveScaleButton");
    calib->addWidget(u.scaleFileList, 0, 0, 1, 3);
    calib->addWidget(u.saveButton, 0, 3);

    u.hPixel = NumberEdit(u.calibGroup, "hPixelEdit", true);
    u.hValue = NumberEdit(u.calibGroup, "hValueEdit", false);
    AddValueRow(calib, 1, QStringLiteral("H"), u.hPixel, u.hValue);

    u.vPixel = NumberEdit(u.calibGroup, "vPixelEdit", true);
    u.vValue = NumberEdit(u.calibGroup, "vValueEdit", false);
    AddValueRow(calib, 2, QStringLiteral("V"), u.vPixel, u.vValue);

    u.unit = DropDown(u.calibGroup, "unitCombo");
    FillUnitList(u.unit, Language::Japanese);
    calib->addWidget(u.unit, 3, 3);
    u.fromRuler = Button(u.calibGroup, QStringLiteral("定規から..."), "fromRulerButton");
    calib->addWidget(u.fromRuler, 3, 0, 1, 3);

    u.linkHeading = Label(u.calibGroup, QStringLiteral("水平垂直動作"), "linkHeading");
    u.sync = new QRadioButton(QStringLiteral("同期"), u.calibGroup);
    u.sync->setObjectName(QStringLiteral("syncRadio"));
    u.async = new QRadioButton(QStringLiteral("独立"), u.calibGroup);
    u.async->setObjectName(QStringLiteral("asyncRadio"));
    u.linkGroup = new QButtonGroup(this);
    u.linkGroup->addButton(u.sync, kLinkSync);
    u.linkGroup->addButton(u.async, kLinkAsync);
    auto *link = new QHBoxLayout;
    link->addWidget(u.linkHeading);
    link->addWidget(u.sync);
    link->addWidget(u.async);
    calib->addLayout(link, 4, 0, 1, 4);
    page->addWidget(u.calibGroup);
    u.cameraScaleNote = Label(this, QString(), "cameraScaleNote");
    u.sizeWarning = Label(this, QString(), "calibSizeWarning");
    for (QLabel *note : {u.cameraScaleNote, u.sizeWarning}) {
        note->setWordWrap(true);
        note->hide();
        page->addWidget(note);
    }
    QPalette warning = u.sizeWarning->palette();
    warning.setColor(QPalette::WindowText, QColor(176, 0, 0));
    u.sizeWarning->setPalette(warning);

    // Standard scale group.
    u.standardGroup = new QGroupBox(QStringLiteral("基準スケール"), this);
    u.standardGroup->setObjectName(QStringLiteral("standardGroup"));
    auto *std = new QGridLayout(u.standardGroup);
    std->setContentsMargins(4, 4, 4, 4);
    std->setSpacing(4);
    u.standardLength = NumberEdit(u.standardGroup, "standardLengthEdit", false);
    u.standardUnit = DropDown(u.standardGroup, "standardUnitCombo");
    FillUnitList(u.standardUnit, Language::Japanese);
    u.show = new QCheckBox(QStringLiteral("表示"), u.standardGroup);
    u.show->setObjectName(QStringLiteral("showCheck"));
    std->addWidget(u.standardLength, 0, 0);
    std->addWidget(u.standardUnit, 0, 1);
    std->addWidget(u.show, 0, 2, 1, 2);

    u.fontColor = Button(u.standardGroup, QStringLiteral("文字色"), "fontColorButton");
    u.fontSizeLabel = Label(u.standardGroup, QStringLiteral("ｻｲｽﾞ"), "fontSizeLabel");
    u.fontSize = DropDown(u.standardGroup, "fontSizeCombo");
    for (int i = 0; i < kFontSizeCount; ++i)
        u.fontSize->addItem(QString::number(FontSizeAt(i)));
    std->addWidget(u.fontColor, 1, 0);
    std->addWidget(u.fontSizeLabel, 1, 1);
    std->addWidget(u.fontSize, 1, 2, 1, 2);

    u.backColor = Button(u.standardGroup, QStringLiteral("背景色"), "backColorButton");
    u.transparent = new QCheckBox(QStringLiteral("背景透過"), u.standardGroup);
    u.transparent->setObjectName(QStringLiteral("transparentCheck"));
    std->addWidget(u.backColor, 2, 0);
    std->addWidget(u.transparent, 2, 1, 1, 3);

    u.lineColor = Button(u.standardGroup, QStringLiteral("ライン色"), "lineColorButton");
    u.thicknessLabel = Label(u.standardGroup, QStringLiteral("太さ"), "thicknessLabel");
    u.thickness = DropDown(u.standardGroup, "thicknessCombo");
    for (int i = 1; i <= 5; ++i)
        u.thickness->addItem(QString::number(i));
    std->addWidget(u.lineColor, 3, 0);
    std->addWidget(u.thicknessLabel, 3, 1);
    std->addWidget(u.thickness, 3, 2, 1, 2);
    page->addWidget(u.standardGroup);
    page->addStretch(1);
}

void ScalePage::ApplyEnglishCaptions()
{
    auto &u = ui_;
    u.calibGroup->setTitle(QStringLiteral("Calibration"));
    u.saveButton->setText(QStringLiteral("Save"));
    u.fromRuler->setText(QStringLiteral("From Ruler..."));
    u.linkHeading->setText(QStringLiteral("Horz./Vert."));
    u.sync->setText(QStringLiteral("Sync."));
    u.async->setText(QStringLiteral("Async."));
    u.standardGroup->setTitle(QStringLiteral("Standard Scale"));
    u.show->setText(QStringLiteral("Show"));
    u.fontColor->setText(QStringLiteral("Font Color"));
    u.fontSizeLabel->setText(QStringLiteral("Size"));
    u.backColor->setText(QStringLiteral("Back Color"));
    u.transparent->setText(QStringLiteral("Transparent"));
    u.lineColor->setText(QStringLiteral("Line Color"));
    u.thicknessLabel->setText(QStringLiteral("Thickness"));
    FillUnitList(u.unit, Language::English);
    FillUnitList(u.standardUnit, Language::English);
}

}  // namespace orv

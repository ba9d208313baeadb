#include "app/pages/image/image_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/multiline_button.h"
#include "app/pages/image/live_measuring.h"
#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "capture/buttons/button_detection.h"
#include "capture/camera/camera_graph.h"
#include "export/image_file.h"

namespace orv {

ImagePage::ImagePage(QWidget *parent, const WindowEnvironment &env) :
    QWidget(parent),
    devices_(env.devices),
    language_(PageLanguage(env.locale)),
    prompter_(env.prompter),
    settingsDir_(env.startDir)
{
    setObjectName("ImagePage");
    BuildControls();
    EnableCameraControls(false);
    if (language_ == Language::English)
        ApplyEnglishCaptions();
    StartCamera();
    StartButtonDetection();
    for (QWidget *w : wirelessSet())
        w->hide();
}

void ImagePage::SetOwner(PageHost *owner)
{
    owner_ = owner;
    if (owner_) {
        const QString dir = owner_->GetTempDir();
        workFilePath_ = WorkFilePath(dir, QLatin1String(kWorkFileBmpName));
    }
    StartLiveMeasuring();
}

void ImagePage::BuildControls()
{
    BuildLiveMeasureControls();
    auto make = [this](QPushButton *&b, const char *name, const QString &text) {
        b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
    };
    make(open_, "button1000", QStringLiteral("読込"));
    make(live_, "button1030", QStringLiteral("ライブ"));
    live_->setCheckable(true);
    make(wireless_, "button1039", QStringLiteral("Nimbra"));
    wireless_->setCheckable(true);
    make(capture_, "button1001", QStringLiteral("取込"));
    // Multi-line buttons: their captions wrap in the narrow column.
    auto makeMultiLine = [this](MultiLineButton *&b, const char *name, const QString &text) {
        b = new MultiLineButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
    };
    makeMultiLine(imageSetting_, "button1003", QStringLiteral("画質設定"));
    makeMultiLine(outputSetting_, "button1004", QStringLiteral("出力設定"));
    make(guideColor_, "button1005", QStringLiteral("ガイド色変更"));

    liveGroup_ = new QGroupBox(QStringLiteral("ライブモード"), this);
    liveGroup_->setObjectName("group1022");
    cameraLabel_ = new QLabel(QStringLiteral("カメラ"), liveGroup_);
    cameraLabel_->setObjectName("static1023");
    camera_ = new QComboBox(liveGroup_);
    camera_->setObjectName("combo1007");
    frameSize_ = new QLabel(liveGroup_);
    frameSize_->setObjectName("static1029");
    guide_ = new QCheckBox(QStringLiteral("ガイド表示"), liveGroup_);
    guide_->setObjectName("check1016");
    thicknessLabel_ = new QLabel(QStringLiteral("太さ"), liveGroup_);
    thicknessLabel_->setObjectName("static1032");
    thickness_ = new QComboBox(liveGroup_);
    thickness_->setObjectName("combo1017");
    thickness_->addItems({"1", "2", "3", "4", "5"});

    auto *lg = new QGridLayout(liveGroup_);
    lg->addWidget(cameraLabel_, 0, 0);
    lg->addWidget(camera_, 0, 1, 1, 2);
    lg->addWidget(frameSize_, 1, 1, 1, 2);
    capture_->setParent(liveGroup_);
    imageSetting_->setParent(liveGroup_);
    outputSetting_->setParent(liveGroup_);
    guideColor_->setParent(liveGroup_);
    lg->addWidget(capture_, 2, 0);
    lg->addWidget(imageSetting_, 2, 1);
    lg->addWidget(outputSetting_, 2, 2);
    lg->addWidget(guide_, 3, 0, 1, 2);
    lg->addWidget(guideColor_, 4, 0, 1, 2);
    lg->addWidget(thicknessLabel_, 3, 2);
    lg->addWidget(thickness_, 4, 2);

    wirelessGroup_ = new QGroupBox(QStringLiteral("Nimbra Option"), this);
    wirelessGroup_->setObjectName("group1040");
    colorLabel_ = new QLabel(QStringLiteral("Color"), wirelessGroup_);
    colorLabel_->setObjectName("static1041");
    overlayColor_ = new QComboBox(wirelessGroup_);
    overlayColor_->setObjectName("combo1020");
    overlayColor_->addItems({"Black", "White", "Red"});
    lensLabel_ = new QLabel(QStringLiteral("Lens"), wirelessGroup_);
    lensLabel_->setObjectName("static1042");
    lens_ = new QComboBox(wirelessGroup_);
    lens_->setObjectName("combo1025");
    lens_->addItems({"(nil)", "X30", "X50", "X100", "X200", "X400"});
    crossIndicator_ = new QCheckBox(QStringLiteral("CrossIndicator"), wirelessGroup_);
    crossIndicator_->setObjectName("check1028");
    auto *wg = new QGridLayout(wirelessGroup_);
    wg->addWidget(colorLabel_, 0, 0);
    wg->addWidget(overlayColor_, 0, 1);
    wg->addWidget(lensLabel_, 1, 0);
    wg->addWidget(lens_, 1, 1);
    wg->addWidget(crossIndicator_, 2, 0, 1, 2);

    auto *top = new QHBoxLayout;
    top->addWidget(open_);
    top->addWidget(live_);
    top->addWidget(wireless_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    // The wireless set takes the place of the live-mode set when shown.
    layout->addWidget(liveGroup_);
    layout->addWidget(wirelessGroup_);
    LayOutLiveMeasureControls(layout);
    layout->addStretch(1);

    connect(open_, &QPushButton::clicked, this, &ImagePage::OnOpen);
    ConnectWirelessControls();
}

void ImagePage::ApplyEnglishCaptions()
{
    open_->setText(QStringLiteral("Open"));
    live_->setText(QStringLiteral("Live"));
    liveGroup_->setTitle(QStringLiteral("Live Mode"));
    cameraLabel_->setText(QStringLiteral("Camera"));
    capture_->setText(QStringLiteral("Capture"));
    imageSetting_->setCaption(QStringLiteral("Image Setting"));
    outputSetting_->setCaption(QStringLiteral("Output Setting"));
    guide_->setText(QStringLiteral("Reference Line"));
    guideColor_->setText(QStringLiteral("Color of Line"));
    thicknessLabel_->setText(QStringLiteral("Thickness"));
}

QList<QWidget *> ImagePage::cameraControls() const
{
    return {live_,       camera_,       liveGroup_,     cameraLabel_,    capture_,  guide_,
            guideColor_, imageSetting_, outputSetting_, thicknessLabel_, thickness_};
}

QList<QWidget *> ImagePage::liveModeSet() const
{
    return {liveGroup_,     camera_, cameraLabel_,    imageSetting_, capture_,
            outputSetting_, guide_,  thicknessLabel_, thickness_,    guideColor_};
}

QList<QWidget *> ImagePage::wirelessSet() const
{
    return {wirelessGroup_, overlayColor_, colorLabel_, lens_, lensLabel_, crossIndicator_};
}

void ImagePage::EnableCameraControls(bool on)
{
    for (QWidget *w : cameraControls())
        w->setEnabled(on);
}

void ImagePage::OnOpen()
{
    if (!owner_)
        return;
    if (wirelessMode_ == 1)
        SetWirelessMode(0);
    OpenCamera(-1, owner_->liveView());
    owner_->SelectTab(PageScale);
    owner_->PostCommand(CommandId::OpenImage);
    owner_->RefreshToolButtons();
}

}  // namespace orv

// The Output Setting (frame sizes) and Image Setting (camera controls)
// dialogs, driven through their widgets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/pages/image/camera_controls_dialog.h"
#include "app/pages/image/camera_format_dialog.h"
#include "capture/camera/camera_graph.h"
#include "tests/app/scripted_prompter.h"
#include "tests/support/fake_control_device.h"

namespace orv {
namespace {

using test::FakeDevice;

TEST(CameraFormatDialog, ListsTheSizesWithTheCurrentOneChosen)
{
    const std::vector<QSize> sizes{{640, 480}, {1280, 720}, {1920, 1080}};
    CameraFormatDialog dialog(sizes, {1280, 720}, Language::English);
    QListWidget *list = dialog.sizeList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), "1920 x 1080");
    EXPECT_EQ(dialog.chosenSize(), QSize(1280, 720));
    list->setCurrentRow(2);
    EXPECT_EQ(dialog.chosenSize(), QSize(1920, 1080));

    CameraFormatDialog unlisted(sizes, {800, 600}, Language::Japanese);
    EXPECT_EQ(unlisted.windowTitle(), "出力設定");
    EXPECT_FALSE(unlisted.chosenSize().isValid());
}

TEST(CameraFormatDialog, OkRebuildsTheCameraAtTheChosenSize)
{
    CameraGraph graph;
    graph.setMessageSink([](const QString &) {});
    graph.setTestPattern(TestPatternSetting{"smpte", {640, 480}});
    QStringList names;
    graph.EnumerateCameras(names);
    const int index = static_cast<int>(names.indexOf(kTestCameraName));
    ASSERT_TRUE(graph.BuildCaptureGraph(index));

    // The modal dialog is answered from inside its own event loop.
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<CameraFormatDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QListWidget *list = dialog->sizeList();
        const QList<QListWidgetItem *> hits = list->findItems("1280 x 720", Qt::MatchExactly);
        ASSERT_EQ(hits.size(), 1);
        list->setCurrentItem(hits.front());
        dialog->findChild<QPushButton *>("okButton")->click();
    });
    QSize size;
    EXPECT_TRUE(ShowFormatProperties(graph, nullptr, Language::English, &size));
    EXPECT_EQ(size, QSize(1280, 720));
    EXPECT_EQ(graph.deviceIndex(), index);
    EXPECT_EQ(graph.desiredWidth(), 1280);

    // Cancel keeps the camera as it runs.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->findChild<QPushButton *>("cancelButton")->click(); });
    EXPECT_TRUE(ShowFormatProperties(graph, nullptr, Language::English, &size));
    EXPECT_EQ(size, QSize(1280, 720));
    EXPECT_EQ(graph.state(), CameraGraph::State::Running);
}

std::unique_ptr<FakeDevice> Camera()
{
    auto device = std::make_unique<FakeDevice>();
    device->Add(V4L2_CID_BRIGHTNESS, "Brightness", V4L2_CTRL_TYPE_INTEGER, -64, 64, 0, 12);
    device->Add(V4L2_CID_AUTO_WHITE_BALANCE, "White Balance, Automatic", V4L2_CTRL_TYPE_BOOLEAN, 0, 1, 1, 1);
    device->Add(V4L2_CID_WHITE_BALANCE_TEMPERATURE, "White Balance Temperature", V4L2_CTRL_TYPE_INTEGER, 2800, 6500,
                4600, 4600, V4L2_CTRL_FLAG_INACTIVE);
    device->Add(V4L2_CID_POWER_LINE_FREQUENCY, "Power Line Frequency", V4L2_CTRL_TYPE_MENU, 0, 2, 1, 2, 0,
                {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}});
    // As drivers do: the temperature can be set only without automatic white balance.
    FakeDevice *raw = device.get();
    device->afterSet = [raw](std::uint32_t id, int value) {
        if (id == V4L2_CID_AUTO_WHITE_BALANCE)
            raw->setFlags(V4L2_CID_WHITE_BALANCE_TEMPERATURE, value ? V4L2_CTRL_FLAG_INACTIVE : 0);
    };
    return device;
}

TEST(CameraControlsDialog, EditorsShowTheCameraAndApplyChangesLive)
{
    auto owned = Camera();
    FakeDevice &device = *owned;
    CameraControlsDialog dialog(std::move(owned), Language::English);
    ASSERT_EQ(dialog.controlCount(), 4);

    auto *brightness = qobject_cast<QSpinBox *>(dialog.editor(V4L2_CID_BRIGHTNESS));
    ASSERT_NE(brightness, nullptr);
    EXPECT_EQ(brightness->minimum(), -64);
    EXPECT_EQ(brightness->maximum(), 64);
    EXPECT_EQ(brightness->value(), 12);
    EXPECT_EQ(dialog.slider(V4L2_CID_BRIGHTNESS)->value(), 12);
    auto *power = qobject_cast<QComboBox *>(dialog.editor(V4L2_CID_POWER_LINE_FREQUENCY));
    ASSERT_NE(power, nullptr);
    EXPECT_EQ(power->currentText(), "60 Hz");
    auto *autoWb = qobject_cast<QCheckBox *>(dialog.editor(V4L2_CID_AUTO_WHITE_BALANCE));
    auto *temperature = dialog.editor(V4L2_CID_WHITE_BALANCE_TEMPERATURE);
    ASSERT_NE(autoWb, nullptr);
    EXPECT_TRUE(autoWb->isChecked());
    EXPECT_FALSE(temperature->isEnabled());
    EXPECT_EQ(dialog.editor(V4L2_CID_GAIN), nullptr);

    // The slider drives the camera through the number.
    dialog.slider(V4L2_CID_BRIGHTNESS)->setValue(-30);
    EXPECT_EQ(device.value(V4L2_CID_BRIGHTNESS), -30);
    EXPECT_EQ(brightness->value(), -30);
    power->setCurrentIndex(1);
    EXPECT_EQ(device.value(V4L2_CID_POWER_LINE_FREQUENCY), 1);
    // Switching automatic white balance off makes the temperature settable.
    autoWb->click();
    EXPECT_EQ(device.value(V4L2_CID_AUTO_WHITE_BALANCE), 0);
    EXPECT_TRUE(temperature->isEnabled());

    dialog.findChild<QPushButton *>("defaultsButton")->click();
    EXPECT_EQ(device.value(V4L2_CID_BRIGHTNESS), 0);
    EXPECT_EQ(device.value(V4L2_CID_POWER_LINE_FREQUENCY), 1);
    EXPECT_EQ(device.value(V4L2_CID_AUTO_WHITE_BALANCE), 1);
    EXPECT_EQ(brightness->value(), 0);
    EXPECT_TRUE(autoWb->isChecked());
    EXPECT_FALSE(temperature->isEnabled());
}

TEST(CameraControlsDialog, RefusedValueShowsWhatTheCameraHolds)
{
    auto owned = Camera();
    FakeDevice &device = *owned;
    device.Add(V4L2_CID_CONTRAST, "Contrast", V4L2_CTRL_TYPE_INTEGER, 0, 10, 5, 5);
    CameraControlsDialog dialog(std::move(owned), Language::English);
    auto *contrast = qobject_cast<QSpinBox *>(dialog.editor(V4L2_CID_CONTRAST));
    ASSERT_NE(contrast, nullptr);
    // The driver narrows the range after the dialog opened (another mode)
    // and refuses 8: the editor goes back to the camera's value.
    device.Add(V4L2_CID_CONTRAST, "Contrast", V4L2_CTRL_TYPE_INTEGER, 0, 3, 5, 2);
    contrast->setValue(8);
    EXPECT_EQ(device.value(V4L2_CID_CONTRAST), 2);
    EXPECT_EQ(contrast->value(), 2);
}

TEST(CameraControlsDialog, SourceWithoutDeviceNodeSaysItHasNoSettings)
{
    test::ScriptedPrompter prompter;
    CameraGraph graph;
    graph.setMessageSink([](const QString &) {});
    graph.setTestPattern(TestPatternSetting{"smpte", {320, 240}});
    // No camera open.
    ShowCameraProperties(graph, prompter, nullptr, Language::English);
    QStringList names;
    graph.EnumerateCameras(names);
    ASSERT_TRUE(graph.BuildCaptureGraph(static_cast<int>(names.indexOf(kTestCameraName))));
    ShowCameraProperties(graph, prompter, nullptr, Language::Japanese);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text, "This camera has no settings to adjust.");
    EXPECT_EQ(prompter.messages[1].text, "このカメラには設定できる項目がありません。");
}

}  // namespace
}  // namespace orv

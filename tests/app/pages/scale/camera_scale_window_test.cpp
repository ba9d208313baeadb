// Scales by camera in the main window, on the test-pattern camera: the scale
// file chosen for a camera's still comes back with its next still of that
// size, and a still of another size is warned about, on the page and in the
// report.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "app/pages/image/camera_format_dialog.h"
#include "app/pages/image/image_page.h"
#include "app/pages/image/live_view.h"
#include "calib/camera_scale_index.h"
#include "capture/camera/camera_devices.h"
#include "capture/camera/camera_graph.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/app/pages/image/test_camera_variable.h"
#include "tests/support/xlsx_readback.h"

namespace orv::test {
namespace {

class CameraScaleWindow : public MainWindowTest {
protected:
    ImagePage &Image() { return *PartsOf(*mainWindow).imagePage; }
    ScalePage &Scale() { return *PartsOf(*mainWindow).scalePage; }
    QComboBox *List() { return Scale().controls().scaleFileList; }

    void WriteScale(const char *name, const char *pixels)
    {
        QFile f(dir.filePath(QLatin1String(name) + ".sst"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[HScale]\r\npixel=") + pixels + "\r\nvalue=100\r\nunit=um\r\n");
    }

    bool LiveWithPicture()
    {
        // Live, and no open under way: a rebuild keeps Capture off until it ends.
        auto *capture = Image().findChild<QPushButton *>("button1001");
        if (!QTest::qWaitFor([&] { return Image().cameraState() == 1 && capture->isEnabled(); }, 10000))
            return false;
        auto *view = qobject_cast<LiveView *>(mainWindow->host().liveView());
        return view && QTest::qWaitFor([view] { return !view->picture().isNull(); }, 5000);
    }

    // Captures the camera's frame and goes on to the Scale page with it.
    void CaptureStill(QSize size)
    {
        ASSERT_TRUE(LiveWithPicture());
        QTest::mouseClick(Image().findChild<QPushButton *>("button1001"), Qt::LeftButton);
        ASSERT_EQ(Image().cameraState(), 2);
        mainWindow->host().SelectTab(PageScale);
        ASSERT_EQ(mainWindow->sourceImage().size(), size);
    }

    // Back to the camera, the still given up.
    void BackToCamera()
    {
        // The calibration chosen is unsaved work: the still is discarded.
        prompter.answers.push_back(UiPrompter::Answer::Discard);
        mainWindow->host().SelectTab(PageImage);
        ASSERT_FALSE(mainWindow->hasImage());
    }

    void ChooseFile(const char *name)
    {
        const int entry = List()->findText(QLatin1String(name));
        ASSERT_GT(entry, 0) << name;
        List()->setCurrentIndex(entry);
        emit List()->activated(entry);
    }

    static QString Shown(const QLabel *label) { return label->isHidden() ? QString() : label->text(); }
    QString Note() { return Shown(Scale().controls().cameraScaleNote); }
    QString Warning() { return Shown(Scale().controls().sizeWarning); }
};

TEST_F(CameraScaleWindow, TheCamerasFileComesBackAtItsSizeAndAnotherSizeIsWarnedAbout)
{
    TestCameraVariable camera("smpte:320x240");
    WriteScale("lens40", "250");
    WriteScale("other", "80");
    Make();

    // A file chosen for the camera's first still.
    CaptureStill({320, 240});
    ASSERT_EQ(mainWindow->document().stillCamera(), QLatin1String(kTestCameraName));
    EXPECT_EQ(Note(), QString());
    ChooseFile("lens40");
    EXPECT_EQ(Note(), QString::fromUtf8("Scale for Test Pattern at 320 × 240: lens40"));
    EXPECT_EQ(Warning(), QString());
    EXPECT_TRUE(QFile::exists(dir.filePath(QLatin1String(CameraScaleIndex::kFileName))));

    // An image file in between, measured with another file: it has no camera.
    mainWindow->LoadImageFile(WriteImage("file.png", {320, 240}));
    EXPECT_TRUE(mainWindow->document().stillCamera().isEmpty());
    ChooseFile("other");
    EXPECT_EQ(Scale().scaleSetting().hPixel, "80");
    EXPECT_EQ(Note(), QString());

    // The camera's next still of that size brings its file back.
    BackToCamera();
    CaptureStill({320, 240});
    EXPECT_EQ(List()->currentText(), "lens40");
    EXPECT_EQ(Scale().scaleSetting().hPixel, "250");
    EXPECT_EQ(Scale().controls().hPixel->text(), "250");
    EXPECT_EQ(Note(), QString::fromUtf8("Scale for Test Pattern at 320 × 240: lens40"));
    EXPECT_EQ(Warning(), QString());
    // One step: undo gives the calibration before it back.
    ASSERT_TRUE(mainWindow->document().Undo());
    EXPECT_EQ(Scale().scaleSetting().hPixel, "80");
    EXPECT_EQ(Note(), QString());
    ASSERT_TRUE(mainWindow->document().Redo());
    EXPECT_EQ(Scale().scaleSetting().hPixel, "250");

    // The camera set to 640 x 480: no file for that size, and the
    // calibration in use was made at the other.
    BackToCamera();
    ASSERT_TRUE(LiveWithPicture());
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<CameraFormatDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const QList<QListWidgetItem *> hits = dialog->sizeList()->findItems("640 x 480", Qt::MatchExactly);
        ASSERT_EQ(hits.size(), 1);
        dialog->sizeList()->setCurrentItem(hits.front());
        dialog->findChild<QPushButton *>("okButton")->click();
    });
    QTest::mouseClick(Image().findChild<QPushButton *>("button1004"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Image().cameraGraph().frameSize() == QSize(640, 480); }, 10000));
    CaptureStill({640, 480});
    EXPECT_EQ(Scale().scaleSetting().hPixel, "250");
    EXPECT_EQ(Note(), QString());
    EXPECT_EQ(Warning(), QString::fromUtf8("Calibrated at 320 × 240; this image is 640 × 480."));

    // The report carries the warning.
    QTest::mouseClick(mainWindow->host().button(CommandId::Report), Qt::LeftButton);
    ASSERT_EQ(prompter.openedDocuments.size(), 1u) << prompter.messageTexts().join(' ').toStdString();
    ORVALIN_REQUIRE_XLSX_READER();
    QString error;
    const QJsonObject read = ReadXlsx(prompter.openedDocuments[0].toLocalFile(), {}, &error);
    ASSERT_FALSE(read.isEmpty()) << error.toStdString();
    const QJsonObject cells = read[QStringLiteral("cells")].toObject();
    EXPECT_EQ(cells[QStringLiteral("C2")].toString(), QStringLiteral("H 640(pixel)"));
    EXPECT_EQ(cells[QStringLiteral("A5")].toString(), Warning());
}

// A later session finds the index beside the scale files; the Japanese page says so in Japanese.
TEST_F(CameraScaleWindow, ALaterSessionChoosesTheFileAgainAndSavedFilesAreNoted)
{
    TestCameraVariable camera("smpte:320x240");
    WriteScale("lens40", "250");
    Make("ja", "ja");
    CaptureStill({320, 240});
    // Saved from this still: the new file is the camera's, made at this size.
    ChooseFile("lens40");
    prompter.savePaths.push_back(dir.filePath("saved"));
    QTest::mouseClick(Scale().controls().saveButton, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(dir.filePath("saved.sst")));
    EXPECT_EQ(List()->currentText(), "saved");
    const CameraScaleIndex index = CameraScaleIndex::Load(dir.path());
    EXPECT_EQ(index.scaleFor(kTestCameraName, {320, 240}), "saved");
    EXPECT_EQ(index.madeAt("saved"), QSize(320, 240));
    mainWindow.reset();

    Make("ja", "ja");
    CaptureStill({320, 240});
    EXPECT_EQ(List()->currentText(), "saved");
    EXPECT_EQ(Scale().scaleSetting().hPixel, "250");
    EXPECT_EQ(Note(), QString::fromUtf8("Test Pattern（320 × 240）のスケール: saved"));

    // A file image of another size under the camera's calibration: warned in Japanese.
    mainWindow->LoadImageFile(WriteImage("file.png", {160, 120}));
    EXPECT_EQ(Note(), QString());
    EXPECT_EQ(Warning(), QString::fromUtf8("校正時の画像は 320 × 240 ですが、この画像は 160 × 120 です。"));
}

// A damaged index neither stops the still nor chooses anything; it is rebuilt.
TEST_F(CameraScaleWindow, ADamagedIndexIsRebuilt)
{
    TestCameraVariable camera("smpte:320x240");
    WriteScale("lens40", "250");
    const QString path = dir.filePath(QLatin1String(CameraScaleIndex::kFileName));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\"cameras\": [{\"camera\": \"Test Pattern\", \"width\": 320,");
    }
    Make();
    CaptureStill({320, 240});
    EXPECT_EQ(List()->currentText(), "Default");
    EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join(' ').toStdString();
    ChooseFile("lens40");
    EXPECT_TRUE(QFile::exists(path + CameraScaleIndex::kDamagedSuffix));
    EXPECT_EQ(CameraScaleIndex::Load(dir.path()).scaleFor(kTestCameraName, {320, 240}), "lens40");
}

}  // namespace
}  // namespace orv::test

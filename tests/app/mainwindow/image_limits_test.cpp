// The main window at the image size limit's edges: the camera refuses a frame
// beyond it with a message in the window's language, a still that cannot be
// written says why, and the longest pictures show at every zoom of the list.
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include "app/pages/image/camera_failure_text.h"
#include "app/pages/image/image_page.h"
#include "app/pages/options/options_page.h"
#include "app/view/image_view.h"
#include "capture/camera/camera_devices.h"
#include "capture/camera/camera_graph.h"
#include "core/image_limit.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

// The test camera's setting for a scope.
class TestCamera {
public:
    explicit TestCamera(const char *value) :
        old_(qgetenv(kTestCameraVariable))
    {
        qputenv(kTestCameraVariable, value);
    }
    ~TestCamera()
    {
        if (old_.isNull())
            qunsetenv(kTestCameraVariable);
        else
            qputenv(kTestCameraVariable, old_);
    }

private:
    QByteArray old_;
};

class ImageLimits : public MainWindowTest { };

TEST_F(ImageLimits, CameraBeyondTheLimitIsRefusedInTheWindowsLanguage)
{
    const TestCamera camera("smpte:30000x20000");
    const struct {
        const char *language;
        const char *text;
    } cases[] = {
        {"en", "The camera's picture cannot be used (too large: 30000 × 20000)."},
        {"ja", "カメラの画像を使用できません（大きすぎます: 30000 × 20000）。"},
    };
    for (const auto &c : cases) {
        prompter.messages.clear();
        MainWindow &d = Make(c.language, c.language);
        EXPECT_EQ(PartsOf(d).imagePage->cameraState(), 0) << c.language;
        ASSERT_EQ(prompter.messages.size(), 1u) << c.language;
        EXPECT_EQ(prompter.messages[0].text, QString::fromUtf8(c.text));
        EXPECT_FALSE(d.hasImage());
    }
}

TEST_F(ImageLimits, StillThatCannotBeWrittenSaysWhy)
{
    const TestCamera camera("smpte:64x48");
    MainWindow &d = Make();
    ImagePage &page = *PartsOf(d).imagePage;
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.cameraState() == 1; }, 10000));
    // A folder where the work file goes.
    ASSERT_TRUE(QDir().mkpath(page.workFilePath()));
    prompter.messages.clear();
    page.OnCapture();
    EXPECT_EQ(page.cameraState(), 2);
    const QString reason = QString::fromLocal8Bit(std::strerror(EISDIR));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "The camera picture could not be saved.\n\n" + QDir::toNativeSeparators(page.workFilePath()) + "\n"
                  + reason);

    // Saving the frozen frame gives the camera's reason too.
    QString why;
    EXPECT_FALSE(d.WriteImageFile(dir.filePath("no/such/folder.bmp"), QStringLiteral("bmp"), &why));
    EXPECT_EQ(why, QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_TRUE(d.WriteImageFile(dir.filePath("still.bmp"), QStringLiteral("bmp"), &why));
    EXPECT_EQ(QFile(dir.filePath("still.bmp")).size(), 54 + 64 * 3 * 48);
}

TEST_F(ImageLimits, LongestPicturesShowAtEveryZoomOfTheList)
{
    const QColor colour(10, 200, 30);
    for (const QSize size : {QSize(kMaxImageSide, 100), QSize(100, kMaxImageSide)}) {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath("long.png");
        ASSERT_TRUE(image.save(path, "PNG"));
        MainWindow &d = Make();
        d.LoadImageFile(path);
        ASSERT_EQ(d.host().imageSize(), size);
        for (int index = 0; index <= 6; ++index) {
            PartsOf(d).optionsPage->ChooseZoom(index);
            const ViewGeometry &geo = d.host().view();
            ASSERT_GE(geo.zoomX, 1) << index;
            // The view never asks for more than the screen gives it.
            EXPECT_LE(geo.size.width(), 1024) << index;
            EXPECT_LE(geo.size.height(), 768) << index;
            const QImage shown = PartsOf(d).imageView->grab().toImage();
            ASSERT_FALSE(geo.size.isEmpty()) << index;
            EXPECT_EQ(shown.pixelColor(0, 0), colour) << index;
            EXPECT_EQ(shown.pixelColor(geo.size.width() - 1, geo.size.height() - 1), colour) << index;
        }
    }
}

}  // namespace
}  // namespace orv::test

// Test entry point: a Qt application object exists for fonts, images and widgets.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#ifdef ORVALIN_TEST_WIDGETS
#include <QApplication>
using TestApp = QApplication;
#else
#include <QGuiApplication>
using TestApp = QGuiApplication;
#endif

namespace {

// ctest hands a discovered test only the first entry of an environment list,
// so the data folders also come from the build.
void SetDefault(const char *name, const char *value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

}  // namespace

int main(int argc, char **argv)
{
    SetDefault("QT_QPA_PLATFORM", "offscreen");
    SetDefault("ORVALIN_RESOURCES", ORVALIN_SOURCE_DIR "/resources");
    // Windows made without a recovery folder of their own never keep
    // copies among the user's.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    TestApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

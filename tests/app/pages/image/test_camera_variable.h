#pragma once

#include <QByteArray>
#include <QtGlobal>

#include "capture/camera/camera_devices.h"

namespace orv::test {

// Sets (or clears, for nullptr) the test-camera variable for a scope.
class TestCameraVariable {
public:
    explicit TestCameraVariable(const char *value) :
        old_(qgetenv(kTestCameraVariable)),
        had_(qEnvironmentVariableIsSet(kTestCameraVariable))
    {
        if (value)
            qputenv(kTestCameraVariable, value);
        else
            qunsetenv(kTestCameraVariable);
    }
    ~TestCameraVariable()
    {
        if (had_)
            qputenv(kTestCameraVariable, old_);
        else
            qunsetenv(kTestCameraVariable);
    }

private:
    QByteArray old_;
    bool had_;
};

}  // namespace orv::test

// Install: the bootstrap of the installation medium.
#include <QApplication>
#include <QMessageBox>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "install/bootstrap.h"
#include "install/system_locale.h"

namespace {

bool HasDisplay()
{
    for (const char *var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(var);
        if (value && *value)
            return true;
    }
    return false;
}

// The one message of a failed start. The application object exists only
// for it: a normal run shows no window at all.
class BoxSink : public install::MessageSink {
public:
    BoxSink(int &argc, char **argv) : argc_(argc), argv_(argv) {}

    void ShowMessage(const std::string &text) override
    {
        if (!HasDisplay()) {
            std::cerr << "Install: " << text << '\n';
            return;
        }
        QApplication app(argc_, argv_);
        QMessageBox::critical(nullptr, QStringLiteral("Install"), QString::fromLocal8Bit(text.c_str()));
    }

private:
    int &argc_;
    char **argv_;
};

}  // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--about") == 0 || std::strcmp(argv[i], "--version") == 0) {
            std::cout << install::kAboutText << '\n';
            return 0;
        }
    }
    const bool japanese = install::SystemLocaleIsJapanese(install::SystemLocaleSource::FromPlatform());
    const std::string commandLine =
        install::BuildCommandLine(install::InstallerFromEnvironment(), install::PackagePath(japanese));
    BoxSink sink(argc, argv);
    const auto result = install::StartInstaller(commandLine, std::cout, sink);
    return result == install::StartResult::Started ? 0 : 1;
}

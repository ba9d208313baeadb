#pragma once
// Install: starts the package installer on the package for the system's
// language, waits until it ends and ignores its result.

#include <iosfwd>
#include <string>
#include <vector>

namespace install {

inline constexpr const char kAboutText[] = "Install Version 1.0";
// Relative to the current directory. apt takes an argument as a package
// file only when it looks like a path, hence the leading "./".
inline constexpr const char kPackageJa[] = "./install/Install-ja.deb";
inline constexpr const char kPackageEn[] = "./install/Install-en.deb";
// Names the installer command (program and leading arguments, split at blanks).
inline constexpr const char kInstallerVariable[] = "ORVALIN_INSTALLER";

// Shows the one message of a failed start; tests record it instead.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string &text) = 0;
};

const char *PackagePath(bool systemJapanese);

// apt-get as root; otherwise through pkexec, keeping the current directory
// that the relative package path needs.
std::string DefaultInstaller(bool runningAsRoot);

// The installer from the environment when set, else the default.
std::string InstallerFromEnvironment();

std::string BuildCommandLine(const std::string &installer, const char *packagePath);

// Blank-separated words; the command line holds no quoting.
std::vector<std::string> SplitCommandLine(const std::string &commandLine);

enum class StartResult { Started, Failed };

// Starts the command line in the current directory and waits for it to end.
// Writes the diagnostic line to out; on a failed start shows the system's
// error text once and returns at once.
StartResult StartInstaller(const std::string &commandLine, std::ostream &out, MessageSink &sink);

}  // namespace install

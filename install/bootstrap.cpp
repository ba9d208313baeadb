#include "install/bootstrap.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <sstream>

extern char **environ;

namespace install {

const char *PackagePath(bool systemJapanese)
{
    return systemJapanese ? kPackageJa : kPackageEn;
}

std::string DefaultInstaller(bool runningAsRoot)
{
    // -y: the bootstrap usually runs without a terminal to answer apt's question.
    return runningAsRoot ? "apt-get install -y" : "pkexec --keep-cwd apt-get install -y";
}

std::string InstallerFromEnvironment()
{
    const char *value = std::getenv(kInstallerVariable);
    if (value && *value)
        return value;
    return DefaultInstaller(::geteuid() == 0);
}

std::string BuildCommandLine(const std::string &installer, const char *packagePath)
{
    return installer + " " + packagePath;
}

std::vector<std::string> SplitCommandLine(const std::string &commandLine)
{
    std::istringstream in(commandLine);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

StartResult StartInstaller(const std::string &commandLine, std::ostream &out, MessageSink &sink)
{
    std::vector<std::string> words = SplitCommandLine(commandLine);
    std::vector<char *> argv;
    for (std::string &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    // The installer runs at normal priority: raising it would need privileges.
    pid_t pid = -1;
    const int err = words.empty() ? ENOENT
                                  : ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (err != 0) {
        out << " CreateProcess:: error!\n" << std::flush;
        sink.ShowMessage(std::strerror(err));
        return StartResult::Failed;
    }
    out << " CreateProcess:: OK\n" << std::flush;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // The installer's exit status is not used.
    return StartResult::Started;
}

}  // namespace install

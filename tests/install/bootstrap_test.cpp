// The bootstrap against a fake package installer that records its arguments,
// takes a moment and fails.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "install/bootstrap.h"
#include "install/system_locale.h"

namespace {

class RecordingSink : public install::MessageSink {
public:
    void ShowMessage(const std::string &text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

void WriteFile(const QString &path, const QByteArray &text, QFile::Permissions perms = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    if (perms)
        f.setPermissions(perms);
}

QStringList ReadLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Runs a test inside a scratch directory that has no "install" folder.
class BootstrapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        oldCwd_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
        fake_ = dir_.filePath("fake-installer");
        // The "done" file appears only after the pause, just before the exit.
        WriteFile(fake_,
                  "#!/bin/sh\n"
                  "pwd > \"$0.cwd\"\n"
                  "for a in \"$@\"; do echo \"$a\"; done > \"$0.args\"\n"
                  "sleep 0.3\n"
                  ": > \"$0.done\"\n"
                  "exit 3\n",
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override { QDir::setCurrent(oldCwd_); }

    QString Path(const char *name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QString oldCwd_;
    QString fake_;
};

struct LocaleCase {
    const char *name;
    const char *defaultLocale;   // content of the first locale file, nullptr: no file
    const char *localeConf;      // content of the second, nullptr: no file
    const char *processLang;
    const char *userLocale;      // LC_ALL of the process: must not matter
    const char *expectedPackage;
};

const LocaleCase kLocaleCases[] = {
    {"japanese_system", "LANG=ja_JP.UTF-8\n", nullptr, "en_US.UTF-8", "en_US.UTF-8", "./install/Install-ja.deb"},
    {"japanese_user_english_system", "LANG=en_US.UTF-8\n", nullptr, "ja_JP.UTF-8", "ja_JP.UTF-8",
     "./install/Install-en.deb"},
    {"c_system", "LANG=C.UTF-8\n", nullptr, "ja_JP.UTF-8", "ja_JP.UTF-8", "./install/Install-en.deb"},
    {"quoted_exported", "# comment\nexport LANG=\"ja_JP.eucJP\"\n", nullptr, "C", "C", "./install/Install-ja.deb"},
    {"second_file", nullptr, "LANG=ja_JP.UTF-8\n", "en_US.UTF-8", "en_US.UTF-8", "./install/Install-ja.deb"},
    {"file_without_lang", "LC_TIME=ja_JP.UTF-8\n", nullptr, "ja_JP.UTF-8", "en_US.UTF-8",
     "./install/Install-ja.deb"},
    {"no_files_process_lang", nullptr, nullptr, "en_GB.UTF-8", "ja_JP.UTF-8", "./install/Install-en.deb"},
    {"nothing_set", nullptr, nullptr, "", "", "./install/Install-en.deb"},
};

void PrintTo(const LocaleCase &c, std::ostream *os) { *os << c.name; }

class LocaleTest : public BootstrapTest, public ::testing::WithParamInterface<LocaleCase> {};

TEST_P(LocaleTest, StartsInstallerOnPackageOfSystemLocaleAndWaits)
{
    const LocaleCase &c = GetParam();
    install::SystemLocaleSource source;
    source.files = {Path("default-locale").toStdString(), Path("locale.conf").toStdString()};
    if (c.defaultLocale)
        WriteFile(Path("default-locale"), c.defaultLocale);
    if (c.localeConf)
        WriteFile(Path("locale.conf"), c.localeConf);
    source.processLang = c.processLang;
    ::setenv("LC_ALL", c.userLocale, 1);

    const std::string installer = fake_.toStdString() + " install -y";
    const std::string line =
        install::BuildCommandLine(installer, install::PackagePath(install::SystemLocaleIsJapanese(source)));
    EXPECT_EQ(line, installer + " " + c.expectedPackage);

    std::ostringstream out;
    RecordingSink sink;
    EXPECT_EQ(install::StartInstaller(line, out, sink), install::StartResult::Started);
    ::unsetenv("LC_ALL");

    EXPECT_EQ(out.str(), " CreateProcess:: OK\n");
    EXPECT_TRUE(sink.messages.empty());
    // Returned only after the installer had ended.
    EXPECT_TRUE(QFile::exists(fake_ + ".done"));
    EXPECT_EQ(ReadLines(fake_ + ".args"), (QStringList{"install", "-y", c.expectedPackage}));
    // Started in the current directory, which holds no install folder.
    EXPECT_EQ(ReadLines(fake_ + ".cwd"), QStringList{QDir(dir_.path()).canonicalPath()});
}

INSTANTIATE_TEST_SUITE_P(Pairs, LocaleTest, ::testing::ValuesIn(kLocaleCases),
                         [](const auto &param) { return std::string(param.param.name); });

struct FailCase {
    const char *name;
    const char *program;  // relative to the scratch directory
    int expectedErrno;
};

void PrintTo(const FailCase &c, std::ostream *os) { *os << c.name; }

class FailedStartTest : public BootstrapTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(FailedStartTest, ShowsSystemErrorOnceWithoutWaiting)
{
    WriteFile(Path("not-executable"), "#!/bin/sh\nexit 0\n", QFile::ReadOwner | QFile::WriteOwner);
    const std::string line =
        install::BuildCommandLine(Path(GetParam().program).toStdString(), install::kPackageEn);
    std::ostringstream out;
    RecordingSink sink;
    EXPECT_EQ(install::StartInstaller(line, out, sink), install::StartResult::Failed);
    EXPECT_EQ(out.str(), " CreateProcess:: error!\n");
    EXPECT_EQ(sink.messages, std::vector<std::string>{std::strerror(GetParam().expectedErrno)});
}

INSTANTIATE_TEST_SUITE_P(Starts, FailedStartTest,
                         ::testing::Values(FailCase{"missing", "no-such-installer", ENOENT},
                                           FailCase{"not_executable", "not-executable", EACCES}),
                         [](const auto &param) { return std::string(param.param.name); });

TEST(InstallerChoice, DefaultKeepsDirectoryForRelativePackagePath)
{
    EXPECT_EQ(install::DefaultInstaller(true), "apt-get install -y");
    EXPECT_EQ(install::DefaultInstaller(false), "pkexec --keep-cwd apt-get install -y");
    ::setenv(install::kInstallerVariable, "/opt/fake  --flag", 1);
    EXPECT_EQ(install::InstallerFromEnvironment(), "/opt/fake  --flag");
    EXPECT_EQ(install::SplitCommandLine(install::BuildCommandLine(install::InstallerFromEnvironment(),
                                                                  install::kPackageJa)),
              (std::vector<std::string>{"/opt/fake", "--flag", "./install/Install-ja.deb"}));
    ::unsetenv(install::kInstallerVariable);
}

std::string RunProgram(const std::string &command, int *exitStatus)
{
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {};
    std::string output;
    char buf[256];
    while (size_t n = std::fread(buf, 1, sizeof buf, pipe))
        output.append(buf, n);
    const int status = ::pclose(pipe);
    *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

// The program itself: its diagnostic line, the package of this machine's
// system locale, and an exit status of 0 although the installer failed.
TEST_F(BootstrapTest, ProgramReportsStartAndIgnoresInstallerStatus)
{
    int status = -1;
    const std::string output = RunProgram(
        std::string(install::kInstallerVariable) + "='" + fake_.toStdString() + "' '" + INSTALL_EXE + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, " CreateProcess:: OK\n");
    EXPECT_TRUE(QFile::exists(fake_ + ".done"));
    const bool japanese = install::SystemLocaleIsJapanese(install::SystemLocaleSource::FromPlatform());
    EXPECT_EQ(ReadLines(fake_ + ".args"), QStringList{install::PackagePath(japanese)});
}

TEST(InstallProgram, AboutTextStaysReachable)
{
    for (const char *option : {" --about", " --version"}) {
        int status = -1;
        EXPECT_EQ(RunProgram(std::string("'") + INSTALL_EXE + "'" + option, &status), "Install Version 1.0\n");
        EXPECT_EQ(status, 0);
    }
}

}  // namespace

#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

#include "tests/support/file_test_util.h"

using namespace orv;
using namespace orv::test;

TEST(AtomicFile, ReplacesTheFileAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    ASSERT_TRUE(WriteAll(path, "old contents"));
    EXPECT_TRUE(WriteFileAtomically(path, QByteArray("new")));
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_EQ(Entries(dir.path()), QStringList{"out.csv"});
}

TEST(AtomicFile, KeepsTheModeOfAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.ini");
    ASSERT_TRUE(WriteAll(path, "x"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("y")));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFile, AbandonedOrFailedWritesLeaveTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("image.jpg");
    ASSERT_TRUE(WriteAll(path, "old"));

    EXPECT_FALSE(WriteFileAtomically(path, [](std::FILE *fp) {
        std::fputs("half", fp);
        return false;
    }));
    EXPECT_EQ(ReadAll(path), "old");

    {
        AtomicFile file(path);
        ASSERT_TRUE(file.open());
        EXPECT_TRUE(QFileInfo::exists(file.tempPath()));
        ASSERT_TRUE(file.write(std::string_view("never committed")));
    }  // destructor cleans up
    EXPECT_EQ(ReadAll(path), "old");

    {
        AtomicFile file(path);
        ASSERT_TRUE(file.open());
        file.write(std::string_view("bad"));
        file.fail();
        EXPECT_FALSE(file.commit());
    }
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Entries(dir.path()), QStringList{"image.jpg"});
}

TEST(AtomicFile, WriterMayUseTheTemporaryPathOrStream)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.xlsx");
    {
        AtomicFile file(path);
        ASSERT_TRUE(file.open());
        // A library that opens the path itself and truncates it.
        ASSERT_TRUE(WriteAll(file.tempPath(), "by path"));
        EXPECT_TRUE(file.commit());
    }
    EXPECT_EQ(ReadAll(path), "by path");

    EXPECT_TRUE(WriteFileAtomically(path, [](std::FILE *fp) { return std::fputs("by stream", fp) >= 0; }));
    EXPECT_EQ(ReadAll(path), "by stream");
    EXPECT_EQ(Entries(dir.path()), QStringList{"report.xlsx"});
}

TEST(AtomicFile, ReportsFailureWhenTheTargetCannotBeWritten)
{
    QTemporaryDir dir;
    // A directory in the way of the file (permissions would not stop root).
    const QString blocked = dir.filePath("blocked.sst");
    ASSERT_TRUE(QDir(dir.path()).mkdir("blocked.sst"));
    AtomicFile file(blocked);
    EXPECT_FALSE(file.open());
    EXPECT_FALSE(file.errorString().isEmpty());
    EXPECT_FALSE(WriteFileAtomically(blocked, QByteArray("x")));
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    // A folder that does not exist.
    EXPECT_FALSE(WriteFileAtomically(dir.filePath("missing/a.sst"), QByteArray("x")));
    EXPECT_EQ(Entries(dir.path()), QStringList{"blocked.sst"});
}

TEST(AtomicFile, FullDiskDuringTheWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.dat");
    ASSERT_TRUE(WriteAll(path, "old"));
    // A file size limit stands in for a full disk; it binds root too.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto *oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = WriteFileAtomically(path, QByteArray(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Entries(dir.path()), QStringList{"big.dat"});
}

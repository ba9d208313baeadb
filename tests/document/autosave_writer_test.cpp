// The writer of the recovery copies, on its own thread: readable copies,
// the measurement file written once per image and the measurements alone
// beside it after that, failures said. Built for the ThreadSanitizer run too.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "document/autosave_writer.h"
#include "document/recovery_store.h"
#include "export/measurement_file.h"
#include "tests/document/recovery_session.h"
#include "tests/support/file_test_util.h"

namespace orv::test {
namespace {

TEST(AutosaveWriter, WritesReadableCopiesAndRemovesThem)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath("copy.orvm");
    const QString name = tmp.filePath("copy.name");
    const QString data = tmp.filePath("copy.json");
    AutosaveWriter writer(file, name, data);
    const struct {
        int items;
        QColor fill;
        const char *imageName;
    } steps[] = {{1, Qt::gray, "a.png"}, {3, Qt::gray, "a.png"}, {2, Qt::darkGreen, "b.png"}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.items);
        writer.Submit(SessionWith(s.items, s.fill), s.imageName);
        writer.WaitIdle();
        EXPECT_TRUE(writer.lastError().isEmpty()) << writer.lastError().toStdString();
        MeasurementReadResult read = LoadMeasurementFile(file);
        ASSERT_TRUE(read.session);
        EXPECT_EQ(read.session->items.size(), std::size_t(s.items));
        // The image follows a new one, not the one encoded first.
        EXPECT_EQ(read.session->image.pixelColor(5, 5), s.fill);
        EXPECT_EQ(ReadAll(name), QByteArray(s.imageName));
    }
    writer.Submit(SessionWith(4), "a.png");
    writer.Remove();
    writer.WaitIdle();
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(name));
    EXPECT_FALSE(QFileInfo::exists(data));
}

TEST(AutosaveWriter, AFailedWriteSaysWhyAndKeepsNothingHalfWritten)
{
    QTemporaryDir tmp;
    AutosaveWriter writer(tmp.filePath("missing/copy.orvm"), tmp.filePath("missing/copy.name"),
                          tmp.filePath("missing/copy.json"));
    writer.Submit(SessionWith(1), "a.png");
    writer.WaitIdle();
    EXPECT_FALSE(writer.lastError().isEmpty());
    EXPECT_EQ(writer.written(), 0);
}

TEST(AutosaveWriter, TheImageIsWrittenOncePerImage)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath("copy.orvm");
    const QString data = tmp.filePath("copy.json");
    AutosaveWriter writer(file, tmp.filePath("copy.name"), data);
    const QImage first = FilledImage(Qt::gray);
    const QImage second = FilledImage(Qt::darkGreen);
    const struct {
        const char *name;
        const QImage *image;  // nullptr: the copy is removed
        int items;
        bool wholeFile;  // the measurement file, image included, is written
    } steps[] = {
        {"first copy", &first, 1, true},
        {"a change", &first, 2, false},
        {"another change", &first, 3, false},
        {"a new image", &second, 1, true},
        {"a change on it", &second, 4, false},
        {"removed", nullptr, 0, false},
        {"the same image after removal", &second, 2, true},
        {"a change after removal", &second, 5, false},
    };
    int files = 0;
    int fileItems = 0;
    for (const auto &s : steps) {
        SCOPED_TRACE(s.name);
        if (!s.image) {
            writer.Remove();
            writer.WaitIdle();
            EXPECT_FALSE(QFileInfo::exists(file));
            EXPECT_FALSE(QFileInfo::exists(data));
            continue;
        }
        const QByteArray before = ReadAll(file);
        writer.Submit(SessionOn(*s.image, s.items), QStringLiteral("a.png"));
        writer.WaitIdle();
        ASSERT_TRUE(writer.lastError().isEmpty()) << writer.lastError().toStdString();
        files += s.wholeFile ? 1 : 0;
        EXPECT_EQ(writer.filesWritten(), files);
        if (s.wholeFile) {
            fileItems = s.items;
        } else {
            EXPECT_EQ(ReadAll(file), before);
        }
        // A valid measurement file at every step, with the measurements its image was written with.
        const MeasurementReadResult alone = LoadMeasurementFile(file);
        ASSERT_TRUE(alone.session);
        EXPECT_EQ(alone.session->items.size(), std::size_t(fileItems));
        EXPECT_EQ(QFileInfo::exists(data), !s.wholeFile);
        const MeasurementReadResult entry = RecoveryStore::Read(file);
        ASSERT_TRUE(entry.session);
        EXPECT_EQ(entry.session->items.size(), std::size_t(s.items));
        EXPECT_EQ(entry.session->image.pixelColor(5, 5), s.image->pixelColor(5, 5));
    }
}

TEST(AutosaveWriter, AMeasurementFileThatFailedIsWrittenWholeNextTime)
{
    QTemporaryDir tmp;
    const QDir folder(tmp.filePath("later"));
    const QString file = folder.filePath("copy.orvm");
    AutosaveWriter writer(file, folder.filePath("copy.name"), folder.filePath("copy.json"));
    const QImage image = FilledImage();
    writer.Submit(SessionOn(image, 1), QStringLiteral("a.png"));
    writer.WaitIdle();
    ASSERT_FALSE(writer.lastError().isEmpty());
    ASSERT_TRUE(QDir().mkpath(folder.path()));
    writer.Submit(SessionOn(image, 2), QStringLiteral("a.png"));
    writer.WaitIdle();
    EXPECT_TRUE(writer.lastError().isEmpty()) << writer.lastError().toStdString();
    EXPECT_EQ(writer.filesWritten(), 1);
    const MeasurementReadResult read = LoadMeasurementFile(file);
    ASSERT_TRUE(read.session);
    EXPECT_EQ(read.session->items.size(), 2u);
}

TEST(AutosaveWriter, CopiesHandedOverWhileItWritesEndWithTheNewest)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath("copy.orvm");
    AutosaveWriter writer(file, tmp.filePath("copy.name"), tmp.filePath("copy.json"));
    const QImage images[] = {FilledImage(Qt::gray), FilledImage(Qt::darkBlue)};
    constexpr int kCopies = 40;
    for (int i = 1; i <= kCopies; ++i) {
        writer.Submit(SessionOn(images[i / 25], i % 7 + 1), QStringLiteral("a.png"));
        // The counters are read while the thread writes.
        EXPECT_LE(writer.filesWritten(), writer.written());
    }
    writer.WaitIdle();
    EXPECT_TRUE(writer.lastError().isEmpty()) << writer.lastError().toStdString();
    EXPECT_LE(writer.written(), kCopies);
    const MeasurementReadResult read = RecoveryStore::Read(file);
    ASSERT_TRUE(read.session);
    EXPECT_EQ(read.session->items.size(), std::size_t(kCopies % 7 + 1));
    EXPECT_EQ(read.session->image.pixelColor(5, 5), QColor(Qt::darkBlue));
}

}  // namespace
}  // namespace orv::test

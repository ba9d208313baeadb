// The recovery folder: each instance its own entry, entries of gone
// instances found (and only those), damaged ones set aside; the writer puts
// complete measurement files there from its own thread.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "document/autosave_writer.h"
#include "document/recovery_store.h"
#include "export/measurement_file.h"
#include "tests/support/file_test_util.h"
#include "tests/support/stale_lock.h"

namespace orv::test {
namespace {

MeasurementSession SessionWith(int items, QColor fill = Qt::gray)
{
    MeasurementSession s;
    s.image = QImage(64, 48, QImage::Format_RGB32);
    s.image.fill(fill);
    for (int i = 0; i < items; ++i) {
        auto item = NewMeasureItem();
        item->kind = KindDistance2Points;
        AppendPoint(*item, {2 + i, 3});
        AppendPoint(*item, {40, 30 - i});
        item->number = i + 1;
        s.items.Append(std::move(item));
    }
    return s;
}

// An entry as an instance that was killed leaves it.
void LeaveEntry(const QString &dir, const QString &stem, const QByteArray &file, const QString &name)
{
    ASSERT_TRUE(QDir().mkpath(dir));
    ASSERT_TRUE(WriteAll(QDir(dir).filePath(stem + ".orvm"), file));
    ASSERT_TRUE(WriteAll(QDir(dir).filePath(stem + ".name"), name.toUtf8()));
    ASSERT_TRUE(WriteStaleLock(QDir(dir).filePath(stem + ".lock")));
}

TEST(RecoveryStore, DefaultFolderFollowsTheStateHome)
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    const struct {
        const char *state;
        QString expected;
    } cases[] = {
        {"/tmp/state-a", "/tmp/state-a/orvalin/recovery"},
        {"", QDir::home().filePath(".local/state/orvalin/recovery")},
        {"relative/state", QDir::home().filePath(".local/state/orvalin/recovery")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.state);
        qputenv("XDG_STATE_HOME", c.state);
        EXPECT_EQ(RecoveryStore::DefaultDir(), c.expected);
    }
    qputenv("XDG_STATE_HOME", saved);
}

TEST(RecoveryStore, OnlyEntriesOfGoneInstancesAreFound)
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath("state/orvalin/recovery");
    RecoveryStore mine(dir);
    ASSERT_TRUE(mine.ready());
    RecoveryStore other(dir);  // a second instance, running
    ASSERT_TRUE(other.ready());
    EXPECT_NE(mine.filePath(), other.filePath());
    ASSERT_TRUE(WriteAll(mine.filePath(), EncodeMeasurementFile(SessionWith(1))));
    ASSERT_TRUE(WriteAll(other.filePath(), EncodeMeasurementFile(SessionWith(1))));

    LeaveEntry(dir, "session-crashed", EncodeMeasurementFile(SessionWith(2)), "cells.png");
    // Its last write was cut short.
    const QString torn = QDir(dir).filePath(".session-crashed.orvm.a1b2c3.tmp");
    ASSERT_TRUE(WriteAll(torn, "PK"));
    // A copy whose lock went too (removed by hand) is left behind as well.
    ASSERT_TRUE(WriteAll(QDir(dir).filePath("session-unlocked.orvm"), EncodeMeasurementFile(SessionWith(1))));

    std::vector<RecoveryEntry> found = mine.FindLeftBehind();
    QStringList names;
    for (const auto &e : found)
        names << QFileInfo(e.path).fileName();
    names.sort();
    EXPECT_EQ(names, (QStringList{"session-crashed.orvm", "session-unlocked.orvm"}));
    const auto crashed = std::find_if(found.begin(), found.end(),
                                      [](const RecoveryEntry &e) { return e.path.endsWith("crashed.orvm"); });
    ASSERT_NE(crashed, found.end());
    EXPECT_EQ(crashed->imageName, "cells.png");

    // Taken by the first finder: a third instance starting meanwhile sees none of them.
    RecoveryStore third(dir);
    EXPECT_TRUE(third.FindLeftBehind().empty());

    for (auto &e : found)
        RecoveryStore::Remove(e);
    EXPECT_FALSE(QFileInfo::exists(QDir(dir).filePath("session-crashed.orvm")));
    EXPECT_FALSE(QFileInfo::exists(QDir(dir).filePath("session-crashed.name")));
    EXPECT_FALSE(QFileInfo::exists(QDir(dir).filePath("session-crashed.lock")));
    EXPECT_FALSE(QFileInfo::exists(torn));
    EXPECT_TRUE(QFileInfo::exists(mine.filePath()));
    EXPECT_TRUE(QFileInfo::exists(other.filePath()));
    EXPECT_TRUE(third.FindLeftBehind().empty());
}

TEST(RecoveryStore, DamagedEntryIsSetAsideNotOfferedAgain)
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath("recovery");
    LeaveEntry(dir, "session-broken", QByteArray("PK\x03\x04 cut short"), "x.png");
    RecoveryStore store(dir);
    std::vector<RecoveryEntry> found = store.FindLeftBehind();
    ASSERT_EQ(found.size(), 1u);
    const QString aside = RecoveryStore::SetAside(found.front());
    EXPECT_FALSE(aside.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(aside));
    EXPECT_FALSE(QFileInfo::exists(found.front().path));
    EXPECT_TRUE(RecoveryStore(dir).FindLeftBehind().empty());
}

TEST(AutosaveWriter, WritesReadableCopiesAndRemovesThem)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath("copy.orvm");
    const QString name = tmp.filePath("copy.name");
    AutosaveWriter writer(file, name);
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
}

TEST(AutosaveWriter, AFailedWriteSaysWhyAndKeepsNothingHalfWritten)
{
    QTemporaryDir tmp;
    AutosaveWriter writer(tmp.filePath("missing/copy.orvm"), tmp.filePath("missing/copy.name"));
    writer.Submit(SessionWith(1), "a.png");
    writer.WaitIdle();
    EXPECT_FALSE(writer.lastError().isEmpty());
    EXPECT_EQ(writer.written(), 0);
}

}  // namespace
}  // namespace orv::test

// The recovery folder: each instance its own entry, entries of gone
// instances found (and only those), damaged ones set aside, an entry read
// with the measurements written alone after its measurement file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <functional>
#include <optional>

#include "document/recovery_store.h"
#include "export/measurement_file.h"
#include "tests/support/file_test_util.h"
#include "tests/support/stale_lock.h"
#include "tests/document/recovery_session.h"

namespace orv::test {
namespace {

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

// Measurements written alone, as the writer marks them, changed by `change`.
QByteArray DataWith(int items, QJsonObject mark, const std::function<void(QJsonObject &)> &change = {})
{
    QJsonObject json = QJsonDocument::fromJson(EncodeMeasurementData(SessionOn(FilledImage(), items), mark)).object();
    if (change)
        change(json);
    return QJsonDocument(json).toJson();
}

// The first point of the first item far outside a 64 × 48 image (one a larger image had).
void FarPoint(QJsonObject &json)
{
    QJsonArray items = json.value("items").toArray();
    QJsonObject item = items[0].toObject();
    QJsonArray points = item.value("points").toArray();
    points[0] = QJsonObject{{"pos", QJsonArray{200000, 3}}};
    item.insert("points", points);
    items[0] = item;
    json.insert("items", items);
}

TEST(RecoveryStore, AnEntryReadsAsItsNewestMeasurements)
{
    using Error = MeasurementReadError;
    const QJsonObject fileMark = RecoveryStore::CopyMark(5, 5);
    const QJsonObject newer = RecoveryStore::CopyMark(5, 6);
    const struct {
        const char *name;
        std::optional<QByteArray> data;  // the measurements written alone, when there are
        int items;                       // what the entry reads as; 0: damaged
        Error error;
    } cases[] = {
        {"the file alone", std::nullopt, 1, Error::None},
        {"newer measurements", DataWith(3, newer), 3, Error::None},
        {"older than the file", DataWith(3, RecoveryStore::CopyMark(5, 4)), 1, Error::None},
        {"of the image before the file's", DataWith(3, RecoveryStore::CopyMark(3, 4), FarPoint), 1, Error::None},
        {"not marked", DataWith(3, {}), 1, Error::None},
        {"broken JSON", QByteArray(R"({"format": "orvalin-)"), 0, Error::Damaged},
        {"not an object", QByteArray("[1, 2]"), 0, Error::Damaged},
        {"hostile values", DataWith(3, newer, FarPoint), 0, Error::Damaged},
        {"a hostile mark", DataWith(3, newer, [](QJsonObject &j) { j.insert("recoveryCopy", "x"); }), 1, Error::None},
        {"another format", DataWith(3, newer, [](QJsonObject &j) { j.insert("format", "other"); }), 0,
         Error::NotMeasurement},
        {"a newer version", DataWith(3, newer, [](QJsonObject &j) { j.insert("version", 9); }), 0,
         Error::NewerVersion},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        const QDir dir(tmp.filePath("recovery"));
        LeaveEntry(dir.path(), "session-gone", PackMeasurementFile(EncodeMeasurementData(SessionWith(1), fileMark),
                                                                   PngOf(FilledImage())),
                   "a.png");
        const QString file = dir.filePath("session-gone.orvm");
        const QString data = dir.filePath("session-gone.json");
        const QDateTime fileTime = QDateTime::currentDateTime().addSecs(-3600);
        QFile touched(file);
        ASSERT_TRUE(touched.open(QIODevice::Append));
        ASSERT_TRUE(touched.setFileTime(fileTime, QFileDevice::FileModificationTime));
        touched.close();
        if (c.data) {
            ASSERT_TRUE(WriteAll(data, *c.data));
        }
        RecoveryStore store(dir.path());
        std::vector<RecoveryEntry> found = store.FindLeftBehind();
        ASSERT_EQ(found.size(), 1u);
        // Asked about with the time of its newest measurements.
        EXPECT_EQ(found[0].saved, c.data ? QFileInfo(data).lastModified() : QFileInfo(file).lastModified());

        QString failed;
        const MeasurementReadResult read = RecoveryStore::Read(found[0].path, &failed);
        EXPECT_EQ(read.error, c.error);
        if (c.items == 0) {
            EXPECT_FALSE(read.session);
            EXPECT_EQ(failed, data);
            QString aside = RecoveryStore::SetAside(found[0]);
            ASSERT_FALSE(aside.isEmpty());
            EXPECT_EQ(ReadAll(aside.replace(".orvm", ".json")), *c.data);
            EXPECT_FALSE(QFileInfo::exists(data));
            EXPECT_TRUE(RecoveryStore(dir.path()).FindLeftBehind().empty());
            continue;
        }
        ASSERT_TRUE(read.session);
        EXPECT_EQ(read.session->items.size(), std::size_t(c.items));
        EXPECT_EQ(read.session->image.size(), QSize(64, 48));
        RecoveryStore::Remove(found[0]);
        const QStringList left = dir.entryList({"*session-gone*"}, QDir::Files | QDir::Hidden);
        EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    }
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

}  // namespace
}  // namespace orv::test

#include "document/recovery_store.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonValue>

#include <algorithm>
#include <optional>

namespace orv {
namespace {

constexpr char kFileSuffix[] = ".orvm";
constexpr char kNameSuffix[] = ".name";
constexpr char kDataSuffix[] = ".json";
constexpr char kMarkMember[] = "recoveryCopy";
constexpr char kLockSuffix[] = ".lock";
constexpr char kSetAsideSuffix[] = ".damaged";

QString StemPath(const QString &dir, const QString &stem, const char *suffix)
{
    return QDir(dir).filePath(stem + QLatin1String(suffix));
}

// The lock's age says nothing: only a process that is gone leaves it stale.
std::unique_ptr<QLockFile> MakeLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    return lock;
}

QString ReadName(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A name, not a document: a damaged file must not make a huge question.
    return QString::fromUtf8(file.read(1024)).trimmed();
}

QString SiblingPath(const QString &filePath, const char *suffix)
{
    const QFileInfo info(filePath);
    return StemPath(info.absolutePath(), info.completeBaseName(), suffix);
}

struct CopyMarkRead {
    qint64 fileCopy = 0;
    qint64 copy = 0;
};

// Absent or not two positive whole numbers: no mark, as a hand-made file has none.
std::optional<CopyMarkRead> MarkOf(const QJsonObject &data)
{
    const QJsonObject mark = data.value(QLatin1String(kMarkMember)).toObject();
    const CopyMarkRead read{mark.value(QStringLiteral("file")).toInteger(0), mark.value(QStringLiteral("copy")).toInteger(0)};
    if (read.fileCopy <= 0 || read.copy <= 0)
        return std::nullopt;
    return read;
}

MeasurementReadResult Failed(MeasurementReadError error, QString detail)
{
    MeasurementReadResult r;
    r.error = error;
    r.detail = std::move(detail);
    return r;
}

// What a write cut short by the crash left: the hidden temporaries of the
// entry's files (core/atomic_file.h).
void RemoveTemporaries(const QFileInfo &entry)
{
    const QDir dir = entry.absoluteDir();
    const QString pattern = QLatin1Char('.') + entry.completeBaseName() + QStringLiteral(".*.tmp");
    for (const QString &name : dir.entryList({pattern}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
}

}  // namespace

QString RecoveryStore::DefaultDir()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // Relative paths are to be ignored, as the base directory rules say.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(state).filePath(QStringLiteral("orvalin/recovery"));
}

RecoveryStore::RecoveryStore(QString dir) :
    dir_(std::move(dir))
{
    // Unique among the instances of this process too (tests make several windows).
    static QAtomicInt counter;
    stem_ = QStringLiteral("session-%1-%2-%3")
                .arg(QCoreApplication::applicationPid())
                .arg(QDateTime::currentMSecsSinceEpoch(), 0, 36)
                .arg(counter.fetchAndAddRelaxed(1));
    if (!QDir().mkpath(dir_))
        return;
    QFile::setPermissions(dir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    lock_ = MakeLock(StemPath(dir_, stem_, kLockSuffix));
    ready_ = lock_->tryLock(0);
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::filePath() const
{
    return StemPath(dir_, stem_, kFileSuffix);
}

QString RecoveryStore::namePath() const
{
    return StemPath(dir_, stem_, kNameSuffix);
}

QString RecoveryStore::dataPath() const
{
    return StemPath(dir_, stem_, kDataSuffix);
}

std::vector<RecoveryEntry> RecoveryStore::FindLeftBehind() const
{
    std::vector<RecoveryEntry> found;
    const QFileInfoList files =
        QDir(dir_).entryInfoList({QStringLiteral("*") + QLatin1String(kFileSuffix)}, QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : files) {
        const QString stem = info.completeBaseName();
        if (stem == stem_)
            continue;
        std::shared_ptr<QLockFile> lock = MakeLock(StemPath(dir_, stem, kLockSuffix));
        // Held: its instance is running. No lock at all: left behind too.
        if (!lock->tryLock(0))
            continue;
        const QFileInfo data(StemPath(dir_, stem, kDataSuffix));
        const QDateTime saved = data.exists() ? std::max(info.lastModified(), data.lastModified()) : info.lastModified();
        found.push_back({info.absoluteFilePath(), ReadName(StemPath(dir_, stem, kNameSuffix)), saved, std::move(lock)});
    }
    std::sort(found.begin(), found.end(),
              [](const RecoveryEntry &a, const RecoveryEntry &b) { return a.saved > b.saved; });
    return found;
}

void RecoveryStore::Remove(RecoveryEntry &entry)
{
    const QFileInfo info(entry.path);
    QFile::remove(entry.path);
    QFile::remove(SiblingPath(entry.path, kDataSuffix));
    QFile::remove(SiblingPath(entry.path, kNameSuffix));
    RemoveTemporaries(info);
    if (entry.lock)
        entry.lock->unlock();
    entry.lock.reset();
}

QString RecoveryStore::SetAside(RecoveryEntry &entry)
{
    const QFileInfo info(entry.path);
    const QString data = SiblingPath(entry.path, kDataSuffix);
    QString suffix = QLatin1String(kSetAsideSuffix);
    for (int n = 2; QFileInfo::exists(entry.path + suffix) || QFileInfo::exists(data + suffix); ++n)
        suffix = QLatin1String(kSetAsideSuffix) + QLatin1Char('-') + QString::number(n);
    const QString target = entry.path + suffix;
    if (!QFile::rename(entry.path, target))
        return {};
    // Kept beside it: the newest measurements may be the ones worth looking at.
    if (QFileInfo::exists(data))
        QFile::rename(data, data + suffix);
    QFile::remove(SiblingPath(entry.path, kNameSuffix));
    RemoveTemporaries(info);
    if (entry.lock)
        entry.lock->unlock();
    entry.lock.reset();
    return target;
}

MeasurementReadResult RecoveryStore::Read(const QString &filePath, QString *failedPath)
{
    if (failedPath)
        *failedPath = filePath;
    QJsonObject fileData;
    MeasurementReadResult read = LoadMeasurementFile(filePath, &fileData);
    const QString dataPath = SiblingPath(filePath, kDataSuffix);
    QFile file(dataPath);
    if (!read.session || !file.exists())
        return read;

    if (failedPath)
        *failedPath = dataPath;
    if (!file.open(QIODevice::ReadOnly))
        return Failed(MeasurementReadError::Unreadable, file.errorString());
    const QByteArray bytes = file.read(kMaxMeasurementDataBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Failed(MeasurementReadError::Unreadable, file.errorString());
    if (bytes.size() > kMaxMeasurementDataBytes)
        return Failed(MeasurementReadError::Damaged, QFileInfo(dataPath).fileName());
    QJsonObject data;
    if (MeasurementReadResult header = ParseMeasurementData(bytes, &data); header.error != MeasurementReadError::None)
        return header;
    // Only measurements written after the file, on its image, are newer; a
    // file written since on another image leaves older ones behind.
    const std::optional<CopyMarkRead> fileMark = MarkOf(fileData);
    const std::optional<CopyMarkRead> dataMark = MarkOf(data);
    if (!fileMark || !dataMark || dataMark->fileCopy != fileMark->copy || dataMark->copy <= fileMark->copy) {
        if (failedPath)
            *failedPath = filePath;
        return read;
    }
    MeasurementReadResult newer = MeasurementSessionFromData(data, read.session->image);
    if (newer.session && failedPath)
        *failedPath = filePath;
    return newer;
}

QJsonObject RecoveryStore::CopyMark(qint64 fileCopy, qint64 copy)
{
    return {{QLatin1String(kMarkMember),
             QJsonObject{{QStringLiteral("file"), fileCopy}, {QStringLiteral("copy"), copy}}}};
}

}  // namespace orv

#include "document/recovery_store.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace orv {
namespace {

constexpr char kFileSuffix[] = ".orvm";
constexpr char kNameSuffix[] = ".name";
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
        found.push_back({info.absoluteFilePath(), ReadName(StemPath(dir_, stem, kNameSuffix)), info.lastModified(),
                         std::move(lock)});
    }
    std::sort(found.begin(), found.end(),
              [](const RecoveryEntry &a, const RecoveryEntry &b) { return a.saved > b.saved; });
    return found;
}

void RecoveryStore::Remove(RecoveryEntry &entry)
{
    const QFileInfo info(entry.path);
    QFile::remove(entry.path);
    QFile::remove(StemPath(info.absolutePath(), info.completeBaseName(), kNameSuffix));
    RemoveTemporaries(info);
    if (entry.lock)
        entry.lock->unlock();
    entry.lock.reset();
}

QString RecoveryStore::SetAside(RecoveryEntry &entry)
{
    const QFileInfo info(entry.path);
    QString target = entry.path + QLatin1String(kSetAsideSuffix);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = entry.path + QLatin1String(kSetAsideSuffix) + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(entry.path, target))
        return {};
    QFile::remove(StemPath(info.absolutePath(), info.completeBaseName(), kNameSuffix));
    RemoveTemporaries(info);
    if (entry.lock)
        entry.lock->unlock();
    entry.lock.reset();
    return target;
}

}  // namespace orv

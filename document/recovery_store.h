#pragma once
// The folder where running sessions keep a copy of unsaved work, so that it
// survives a crash. Each instance owns one entry, named by a stem unique to
// it: "<stem>.orvm" (a measurement file), "<stem>.name" (the image's name
// for the question at start) and "<stem>.lock", held for the instance's
// life. An entry whose lock is stale (its process is gone) or missing was
// left behind and is offered at the next start; another running instance's
// entry is never touched.

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <vector>

namespace orv {

// An entry left by an instance that is gone, locked by the store that found it.
struct RecoveryEntry {
    QString path;       // the measurement file
    QString imageName;  // empty when it was not kept
    QDateTime saved;    // when the file was last written
    std::shared_ptr<QLockFile> lock;
};

class RecoveryStore {
public:
    // $XDG_STATE_HOME/orvalin/recovery, or ~/.local/state/orvalin/recovery.
    static QString DefaultDir();

    // Makes the folder and takes a lock of its own in it.
    explicit RecoveryStore(QString dir);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // False when the folder could not be made or locked: nothing is kept.
    bool ready() const { return ready_; }
    const QString &dir() const { return dir_; }
    // This instance's measurement file and name file.
    QString filePath() const;
    QString namePath() const;

    // Entries of instances that are gone, newest first, each now locked here
    // so that no other instance starting meanwhile offers it too.
    std::vector<RecoveryEntry> FindLeftBehind() const;
    // Removes an entry found above (its files and lock).
    static void Remove(RecoveryEntry &entry);
    // Renames a damaged entry's measurement file so that it is no longer
    // offered, and lets its other files go; returns the new path. Empty when
    // it could not be renamed: then everything stays as it was.
    static QString SetAside(RecoveryEntry &entry);

private:
    QString dir_;
    QString stem_;
    std::unique_ptr<QLockFile> lock_;
    bool ready_ = false;
};

}  // namespace orv

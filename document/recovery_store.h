#pragma once
// The folder where running sessions keep a copy of unsaved work, so that it
// survives a crash. Each instance owns one entry, named by a stem unique to
// it: "<stem>.orvm" (a measurement file, written once per image),
// "<stem>.json" (the measurements written alone since, on that image),
// "<stem>.name" (the image's name for the question at start) and
// "<stem>.lock", held for the instance's life. An entry whose lock is stale (its process is gone) or missing was
// left behind and is offered at the next start; another running instance's
// entry is never touched.

#include <QDateTime>
#include <QJsonObject>
#include <QLockFile>
#include <QString>

#include <memory>
#include <vector>

#include "export/measurement_file.h"

namespace orv {

// An entry left by an instance that is gone, locked by the store that found it.
struct RecoveryEntry {
    QString path;       // the measurement file
    QString imageName;  // empty when it was not kept
    QDateTime saved;    // when the entry was last written
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
    // This instance's measurement file, name file and measurements file.
    QString filePath() const;
    QString namePath() const;
    QString dataPath() const;

    // Entries of instances that are gone, newest first, each now locked here
    // so that no other instance starting meanwhile offers it too.
    std::vector<RecoveryEntry> FindLeftBehind() const;
    // Removes an entry found above (its files and lock).
    static void Remove(RecoveryEntry &entry);
    // Renames a damaged entry's measurement file (and its measurements file)
    // so that it is no longer offered, and lets its other files go; returns
    // the new path. Empty when it could not be renamed: then everything stays
    // as it was.
    static QString SetAside(RecoveryEntry &entry);

    // An entry's newest session: its measurement file, with the measurements
    // written alone after it on the same image when there are such. On
    // failure *failedPath (when given) names the file that could not be read.
    static MeasurementReadResult Read(const QString &filePath, QString *failedPath = nullptr);
    // The member that marks a copy's measurements: the copy that wrote the
    // measurement file they belong to, and their own copy's number.
    static QJsonObject CopyMark(qint64 fileCopy, qint64 copy);

private:
    QString dir_;
    QString stem_;
    std::unique_ptr<QLockFile> lock_;
    bool ready_ = false;
};

}  // namespace orv

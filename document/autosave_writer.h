#pragma once
// Writes copies of the session to a recovery entry on a thread of its own, so
// that the pointer never waits for the disk. The caller's thread only hands
// over a copy. The measurement file (image included) is written once per
// image; later copies on the same image write the measurements alone to the
// data file beside it, marked as belonging to that measurement file (see
// RecoveryStore::Read). Only the newest copy not yet started is kept.

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "export/measurement_file.h"

namespace orv {

class MeasureDocument;

class AutosaveWriter {
public:
    // filePath: the measurement file; namePath: beside it, the image's name;
    // dataPath: the measurements written alone.
    AutosaveWriter(QString filePath, QString namePath, QString dataPath);
    // The write in progress ends; copies not yet started are dropped.
    ~AutosaveWriter();
    AutosaveWriter(const AutosaveWriter &) = delete;
    AutosaveWriter &operator=(const AutosaveWriter &) = delete;

    void Submit(MeasurementSession session, QString imageName);
    // The caller's share of an autosave: the document's session (at its
    // view's zoom) copied and handed over.
    void SubmitCopyOf(const MeasureDocument &doc, QString imageName);
    // The files go once the write in progress ended; a copy not yet started is dropped.
    void Remove();
    // Returns once nothing is left to do.
    void WaitIdle();
    // Copies written, those of them that wrote the measurement file (the
    // image), and the reason of the last failure (empty after a success).
    int written() const;
    int filesWritten() const;
    QString lastError() const;

private:
    struct Job {
        MeasurementSession session;
        QString imageName;
    };

    void Run();
    void Write(const Job &job);
    bool WriteName(const QString &imageName, QString *reason);
    void Erase();

    const QString filePath_;
    const QString namePath_;
    const QString dataPath_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Job> pending_;
    bool removePending_ = false;
    bool busy_ = false;
    bool stop_ = false;
    int written_ = 0;
    int filesWritten_ = 0;
    QString lastError_;

    // The worker's own.
    qint64 pngKey_ = 0;
    QByteArray png_;
    std::optional<QString> nameWritten_;
    // The image of the measurement file on disk, and the copy that wrote it.
    std::optional<qint64> fileKey_;
    qint64 fileCopy_ = 0;
    qint64 copies_ = 0;

    std::thread thread_;
};

}  // namespace orv

#pragma once
// Writes copies of the session to a recovery file on a thread of its own, so
// that the pointer never waits for the disk. The caller's thread only hands
// over a copy; the image is encoded once per image, however often the
// measurements on it change. Only the newest copy not yet started is kept.

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
    // filePath: the measurement file; namePath: beside it, the image's name.
    AutosaveWriter(QString filePath, QString namePath);
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
    // Copies written and the reason of the last failure (empty after a success).
    int written() const;
    QString lastError() const;

private:
    struct Job {
        MeasurementSession session;
        QString imageName;
    };

    void Run();
    void Write(const Job &job);
    void Erase();

    const QString filePath_;
    const QString namePath_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Job> pending_;
    bool removePending_ = false;
    bool busy_ = false;
    bool stop_ = false;
    int written_ = 0;
    QString lastError_;

    // The worker's own.
    qint64 pngKey_ = 0;
    QByteArray png_;
    std::optional<QString> nameWritten_;

    std::thread thread_;
};

}  // namespace orv

#include "document/autosave_writer.h"

#include <QFile>
#include <QtDebug>

#include "core/atomic_file.h"
#include "document/measure_document.h"
#include "document/recovery_store.h"

namespace orv {

AutosaveWriter::AutosaveWriter(QString filePath, QString namePath, QString dataPath) :
    filePath_(std::move(filePath)),
    namePath_(std::move(namePath)),
    dataPath_(std::move(dataPath)),
    thread_([this] { Run(); })
{
}

AutosaveWriter::~AutosaveWriter()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    thread_.join();
}

void AutosaveWriter::Submit(MeasurementSession session, QString imageName)
{
    {
        const std::lock_guard lock(mutex_);
        pending_ = Job{std::move(session), std::move(imageName)};
        removePending_ = false;
    }
    wake_.notify_all();
}

void AutosaveWriter::SubmitCopyOf(const MeasureDocument &doc, QString imageName)
{
    MeasurementSession session = doc.CaptureSession();
    session.zoomX = doc.zoom().geometry().zoomX;
    session.zoomY = doc.zoom().geometry().zoomY;
    Submit(std::move(session), std::move(imageName));
}

void AutosaveWriter::Remove()
{
    {
        const std::lock_guard lock(mutex_);
        pending_.reset();
        removePending_ = true;
    }
    wake_.notify_all();
}

void AutosaveWriter::WaitIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ && !pending_ && !removePending_; });
}

int AutosaveWriter::written() const
{
    const std::lock_guard lock(mutex_);
    return written_;
}

int AutosaveWriter::filesWritten() const
{
    const std::lock_guard lock(mutex_);
    return filesWritten_;
}

QString AutosaveWriter::lastError() const
{
    const std::lock_guard lock(mutex_);
    return lastError_;
}

void AutosaveWriter::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || pending_ || removePending_; });
        if (stop_)
            break;
        std::optional<Job> job = std::move(pending_);
        pending_.reset();
        const bool erase = removePending_;
        removePending_ = false;
        busy_ = true;
        lock.unlock();
        if (erase)
            Erase();
        if (job)
            Write(*job);
        // The copy (and its image) goes outside the lock.
        job.reset();
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
    busy_ = false;
    idle_.notify_all();
}

void AutosaveWriter::Write(const Job &job)
{
    QString reason;
    bool ok = WriteName(job.imageName, &reason);
    const qint64 key = job.session.image.cacheKey();
    const bool wholeFile = !fileKey_ || *fileKey_ != key;
    if (ok && wholeFile && (png_.isEmpty() || pngKey_ != key)) {
        png_ = EncodeMeasurementImage(job.session.image);
        pngKey_ = key;
        if (png_.isEmpty()) {
            ok = false;
            reason = QStringLiteral("the image could not be encoded");
        }
    }
    const qint64 copy = ++copies_;
    if (ok && wholeFile) {
        fileKey_.reset();
        const QByteArray bytes =
            PackMeasurementFile(EncodeMeasurementData(job.session, RecoveryStore::CopyMark(copy, copy)), png_);
        ok = !bytes.isEmpty() && WriteFileAtomically(filePath_, bytes, &reason);
        if (ok) {
            fileKey_ = key;
            fileCopy_ = copy;
            // Measurements of the image before; marked as such, but they need not linger.
            QFile::remove(dataPath_);
        }
    } else if (ok) {
        ok = WriteFileAtomically(dataPath_, EncodeMeasurementData(job.session, RecoveryStore::CopyMark(fileCopy_, copy)),
                                 &reason);
    }
    if (!ok)
        qWarning().noquote() << "Recovery file not written:" << (wholeFile ? filePath_ : dataPath_) << reason;
    const std::lock_guard lock(mutex_);
    if (ok) {
        ++written_;
        filesWritten_ += wholeFile ? 1 : 0;
    }
    lastError_ = ok ? QString() : reason;
}

bool AutosaveWriter::WriteName(const QString &imageName, QString *reason)
{
    if (nameWritten_ && *nameWritten_ == imageName)
        return true;
    if (!WriteFileAtomically(namePath_, imageName.toUtf8(), reason))
        return false;
    nameWritten_ = imageName;
    return true;
}

void AutosaveWriter::Erase()
{
    QFile::remove(filePath_);
    QFile::remove(dataPath_);
    QFile::remove(namePath_);
    nameWritten_.reset();
    fileKey_.reset();
}

}  // namespace orv

#pragma once
// Whole-file replacement that never leaves a half-written file: the bytes go to
// a temporary file in the target's folder, are flushed to disk and then renamed
// over the target. On any failure the temporary is removed and the old file
// stays as it was.

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <functional>
#include <string_view>

namespace orv {

class AtomicFile {
public:
    explicit AtomicFile(QString targetPath);
    ~AtomicFile();  // removes the temporary unless committed
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Creates the temporary file (hidden name in the target's folder, mode as
    // an ordinary new file, or the target's mode when it exists).
    bool open();
    bool isOpen() const { return fd_ >= 0; }

    // For writers that want a path of their own (they may reopen and truncate
    // it, but must close it before commit()).
    const QString &tempPath() const { return tempPath_; }
    const QString &targetPath() const { return targetPath_; }

    // For writers that want a stdio stream (libjpeg): owned here, closed by
    // commit() or the destructor; the caller must not fclose it.
    std::FILE *stream();

    // Appends bytes through the stream (or the descriptor when no stream was
    // taken). Returns false on a short write.
    bool write(std::string_view bytes);
    bool write(const QByteArray &bytes) { return write(std::string_view(bytes.constData(), bytes.size())); }

    // Marks the contents bad; commit() then fails and the temporary is removed.
    void fail() { failed_ = true; }
    // The same, keeping errno's text as the reason when none was kept yet (a
    // writer whose own output failed). Returns false.
    bool failFromErrno(const char *what) { return setError(what); }

    // Flushes, syncs, closes and renames into place. False (temporary removed,
    // target untouched) when anything failed, including earlier writes.
    bool commit();

    // Removes the temporary now; the target stays as it was.
    void discard();

    // errno-style text of the first failure, for diagnostics.
    const QString &errorString() const { return error_; }
    // The system's reason for the first failure alone ("No space left on
    // device"), for messages to the user.
    const QString &reason() const { return reason_; }

private:
    bool setError(const char *what);
    void closeHandles();

    QString targetPath_;
    QString tempPath_;
    int fd_ = -1;
    std::FILE *stream_ = nullptr;
    bool failed_ = false;
    bool committed_ = false;
    QString error_;
    QString reason_;
};

// One-call forms. On failure *reason (when given) gets the system's reason.
bool WriteFileAtomically(const QString &path, std::string_view bytes, QString *reason = nullptr);
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *reason = nullptr);
// The writer gets the open temporary's stream; returning false abandons it.
bool WriteFileAtomically(const QString &path, const std::function<bool(std::FILE *)> &writer,
                         QString *reason = nullptr);

// Text of an errno value, for the reasons above.
QString SystemReason(int errnum);

}  // namespace orv

#include "core/atomic_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {
namespace {

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

QString RandomSuffix()
{
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device rd;
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kChars) - 2);
    QString s;
    for (int i = 0; i < 8; ++i)
        s.append(QChar(kChars[pick(rd)]));
    return s;
}

bool SyncPath(const QByteArray &path, int flags)
{
    const int fd = ::open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some folders cannot be synced
    ::close(fd);
    return ok;
}

}  // namespace

AtomicFile::AtomicFile(QString targetPath) : targetPath_(std::move(targetPath)) {}

AtomicFile::~AtomicFile()
{
    if (!committed_)
        discard();
}

QString SystemReason(int errnum)
{
    return QString::fromLocal8Bit(std::strerror(errnum));
}

bool AtomicFile::setError(const char *what)
{
    if (error_.isEmpty()) {
        reason_ = SystemReason(errno != 0 ? errno : EIO);
        error_ = QStringLiteral("%1: %2").arg(QString::fromUtf8(what), reason_);
    }
    failed_ = true;
    return false;
}

bool AtomicFile::open()
{
    if (isOpen() || committed_)
        return false;
    const QFileInfo target(targetPath_);
    if (targetPath_.isEmpty() || target.fileName().isEmpty()) {
        errno = EINVAL;
        return setError("no file name");
    }
    struct stat st {};
    const QByteArray nativeTarget = Native(targetPath_);
    const bool exists = ::stat(nativeTarget.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EEXIST;
        return setError("target is not a file");
    }
    const QString dir = target.path();
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString candidate =
            dir + QLatin1String("/.") + target.fileName() + QLatin1Char('.') + RandomSuffix() + QLatin1String(".tmp");
        const int fd = ::open(Native(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            tempPath_ = candidate;
            if (exists)
                ::fchmod(fd_, st.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST)
            return setError("cannot create temporary file");
    }
    return setError("cannot create temporary file");
}

std::FILE *AtomicFile::stream()
{
    if (stream_ || fd_ < 0)
        return stream_;
    stream_ = ::fdopen(fd_, "wb");
    if (!stream_)
        setError("cannot open stream");
    return stream_;
}

bool AtomicFile::write(std::string_view bytes)
{
    if (fd_ < 0)
        return setError("not open");
    if (stream_) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
            return setError("write failed");
        return true;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return setError("write failed");
        }
        if (n == 0) {
            errno = EIO;
            return setError("write failed");
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void AtomicFile::closeHandles()
{
    if (stream_) {
        if (std::fclose(stream_) != 0)
            setError("close failed");
        stream_ = nullptr;
        fd_ = -1;
    } else if (fd_ >= 0) {
        if (::close(fd_) != 0)
            setError("close failed");
        fd_ = -1;
    }
}

bool AtomicFile::commit()
{
    if (committed_ || fd_ < 0) {
        if (!committed_)
            discard();
        return false;
    }
    if (stream_ && (std::fflush(stream_) != 0 || std::ferror(stream_)))
        setError("write failed");
    // Sync through a fresh descriptor: a writer may have reopened the path.
    if (!failed_ && !SyncPath(Native(tempPath_), O_RDONLY))
        setError("sync failed");
    closeHandles();
    if (failed_) {
        discard();
        return false;
    }
    if (::rename(Native(tempPath_).constData(), Native(targetPath_).constData()) != 0) {
        setError("rename failed");
        discard();
        return false;
    }
    committed_ = true;
    tempPath_.clear();
    SyncPath(Native(QFileInfo(targetPath_).path()), O_RDONLY | O_DIRECTORY);
    return true;
}

void AtomicFile::discard()
{
    closeHandles();
    if (!tempPath_.isEmpty()) {
        ::unlink(Native(tempPath_).constData());
        tempPath_.clear();
    }
    failed_ = true;
}

namespace {

bool Done(const AtomicFile &file, bool ok, QString *reason)
{
    if (!ok && reason)
        *reason = file.reason().isEmpty() ? SystemReason(EIO) : file.reason();
    return ok;
}

}  // namespace

bool WriteFileAtomically(const QString &path, std::string_view bytes, QString *reason)
{
    AtomicFile file(path);
    return Done(file, file.open() && file.write(bytes) && file.commit(), reason);
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *reason)
{
    return WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                               reason);
}

bool WriteFileAtomically(const QString &path, const std::function<bool(std::FILE *)> &writer, QString *reason)
{
    AtomicFile file(path);
    if (!file.open())
        return Done(file, false, reason);
    std::FILE *fp = file.stream();
    if (!fp || !writer(fp)) {
        if (fp && std::ferror(fp))
            file.failFromErrno("write failed");
        file.fail();
        return Done(file, false, reason);
    }
    return Done(file, file.commit(), reason);
}

}  // namespace orv

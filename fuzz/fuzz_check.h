#pragma once
// Shared by the fuzz targets: a failed property aborts, which libFuzzer
// reports as a crash with the input that caused it.

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace orv::fuzz {

inline void CheckAt(bool ok, const char *what, int line)
{
    if (!ok) {
        std::fprintf(stderr, "property failed at line %d: %s\n", line, what);
        std::abort();
    }
}

// A folder of this process for targets that must go through files (in memory
// where the system has one: saves sync); several fuzzing jobs may run side by
// side. Removed when the fuzzer exits.
inline QString ScratchDir()
{
    struct Folder {
        QString path;
        Folder()
        {
            const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                           : QDir::tempPath();
            path = base + QStringLiteral("/orvalin-fuzz-%1").arg(::getpid());
            QDir().mkpath(path);
        }
        ~Folder() { QDir(path).removeRecursively(); }
    };
    static const Folder folder;
    return folder.path;
}

// The fuzzer's bytes as the whole file at path, for targets that read files.
inline void WriteRaw(const QString &path, const std::uint8_t *data, std::size_t size)
{
    QFile file(path);
    CheckAt(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "open", __LINE__);
    CheckAt(file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) ==
                static_cast<qint64>(size), "write", __LINE__);
}

}  // namespace orv::fuzz

#define ORV_FUZZ_CHECK(cond) ::orv::fuzz::CheckAt((cond), #cond, __LINE__)

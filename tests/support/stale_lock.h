#pragma once
// A lock file as a process that was killed leaves it: its owner's id names
// a process that is gone.

#include <QByteArray>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSysInfo>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/file_test_util.h"

namespace orv::test {

// The id of a child process that has ended (and been waited for).
inline qint64 GonePid()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    int status = 0;
    waitpid(pid, &status, 0);
    return pid;
}

inline bool WriteStaleLock(const QString &path)
{
    const QByteArray content = QByteArray::number(GonePid()) + '\n'
        + QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n'
        + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n'
        + QSysInfo::bootUniqueId() + '\n';
    return WriteAll(path, content);
}

}  // namespace orv::test

#pragma once
// The message of a save that failed: what could not be saved, the file and
// the system's reason, so that nobody takes the work for saved.

#include <QString>

namespace orv {

// lead, then the file (native separators) and the reason on lines of their own.
QString SaveFailureText(const QString &lead, const QString &path, const QString &reason);

}  // namespace orv

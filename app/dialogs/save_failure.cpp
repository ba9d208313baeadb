#include "app/dialogs/save_failure.h"

#include <QDir>

namespace orv {

QString SaveFailureText(const QString &lead, const QString &path, const QString &reason)
{
    QString text = lead + QLatin1String("\n\n") + QDir::toNativeSeparators(path);
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    return text;
}

}  // namespace orv

#include "app/pages/image/camera_failure_text.h"

#include "app/dialogs/save_failure.h"

namespace orv {

QString CameraTooLargeText(QSize size, Language language)
{
    const QString dims = QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
    return language == Language::English
        ? QStringLiteral("The camera's picture cannot be used (too large: %1).").arg(dims)
        : QStringLiteral("カメラの画像を使用できません（大きすぎます: %1）。").arg(dims);
}

QString SnapshotFailureText(const QString &path, const QString &reason, Language language)
{
    const QString lead = language == Language::English ? QStringLiteral("The camera picture could not be saved.")
                                                       : QStringLiteral("カメラの画像を保存できませんでした。");
    return SaveFailureText(lead, path, reason);
}

}  // namespace orv

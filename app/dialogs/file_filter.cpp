#include "app/dialogs/file_filter.h"

#include <QRegularExpression>
#include <QStringList>

namespace orv {

QString QtFileFilter(const QString &listFilter)
{
    static const QRegularExpression kTrailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = listFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (name.isEmpty())
            break;  // the "||" that ends the list
        name.remove(kTrailingPatterns);
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        filters << name.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString FilterExtension(const QString &qtFilter)
{
    static const QRegularExpression kFirstPattern(QStringLiteral("\\(\\s*\\*\\.([^\\s()*?]+)"));
    const QRegularExpressionMatch m = kFirstPattern.match(qtFilter);
    return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace orv

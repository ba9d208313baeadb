#include "calib/setting_files.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace orv {
namespace {

// Upper case of one UTF-16 code unit, as the file system's upcase table maps it.
char16_t UpcaseUnit(char16_t u)
{
    if (QChar::isSurrogate(u))
        return u;
    const char32_t up = QChar::toUpper(static_cast<char32_t>(u));
    return up <= 0xFFFF ? static_cast<char16_t>(up) : u;
}

// Windows file-system order: ordinal comparison of the upper-cased names.
bool FileSystemLess(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ua = UpcaseUnit(a.at(i).unicode());
        const char16_t ub = UpcaseUnit(b.at(i).unicode());
        if (ua != ub)
            return ua < ub;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;  // names differing only in case: a stable, defined order
}

}  // namespace

QString DefaultEntryText(Language lang)
{
    return lang == Language::English ? QStringLiteral("Default") : QStringLiteral("(ﾃﾞﾌｫﾙﾄ)");
}

std::vector<QString> FindSettingFiles(const QString &dir, const QString &ext)
{
    std::vector<QString> names;
    if (dir.isEmpty())
        return names;
    const QDir folder(dir);
    const QFileInfoList entries =
        folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name.size() >= ext.size() && name.endsWith(ext, Qt::CaseInsensitive) && entry.isFile())
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), FileSystemLess);
    return names;
}

std::vector<QString> SettingFileList(const QString &dir, const QString &ext, Language lang)
{
    std::vector<QString> list{DefaultEntryText(lang)};
    for (const QString &name : FindSettingFiles(dir, ext))
        list.push_back(name.left(name.size() - ext.size()));
    return list;
}

QString SettingFilePath(const QString &dir, const QString &name, const QString &ext)
{
    const QString fileName = name + ext;
    const QString exact = QDir(dir).filePath(fileName);
    if (QFileInfo::exists(exact))
        return exact;
    for (const QString &found : FindSettingFiles(dir, ext)) {
        if (found.compare(fileName, Qt::CaseInsensitive) == 0)
            return QDir(dir).filePath(found);
    }
    return exact;
}

QString SettingFileTitle(const QString &path)
{
    return QFileInfo(path).completeBaseName();
}

}  // namespace orv

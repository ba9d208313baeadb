#pragma once
// Listing and locating the setting files (".sst", ".drw") of a folder.

#include <QString>

#include <vector>

#include "measure/language.h"

namespace orv {

// "Default" with English texts, "(ﾃﾞﾌｫﾙﾄ)" with Japanese texts.
QString DefaultEntryText(Language lang);

// File names in folder dir ending in ext (".sst"), compared case-insensitively
// as the Windows file system matches "*.sst", in the order its directory search
// returns them: ordinal order of the upper-cased UTF-16 names. Directories are
// not listed.
std::vector<QString> FindSettingFiles(const QString &dir, const QString &ext);

// The file list of a page: the default entry, then each file name with its last
// four characters (the extension) removed.
std::vector<QString> SettingFileList(const QString &dir, const QString &ext, Language lang);

// The file of a list entry: dir + "/" + name + ext; when no file has exactly
// that name but one matches case-insensitively (a listed "A.SST"), that one.
QString SettingFilePath(const QString &dir, const QString &name, const QString &ext);

// The name of a file without its folder and last extension (a save dialog's title).
QString SettingFileTitle(const QString &path);

}  // namespace orv

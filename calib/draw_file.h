#pragma once
// Draw setting files (".drw"): the six stored draw attributes under a name.

#include <QString>

#include <vector>

#include "calib/draw_attribute.h"
#include "measure/language.h"

namespace orv {

inline constexpr const char *kDrawFileExt = ".drw";

// Reads the six stored attributes into attr (font colour, back colour, line
// colour, font size with its text, line width text, transparent); missing
// files or keys give their defaults. Label mode, zoom, face and file name stay.
void LoadDrawSetting(const QString &path, DrawAttribute &attr);

// Writes the six keys, keeping any other section or key of an existing file.
// False when the file could not be written; the old file is then intact and *reason (when given) says why.
bool SaveDrawSetting(const QString &path, const DrawAttribute &attr, QString *reason = nullptr);

// Entry 0 "Default" / "(ﾃﾞﾌｫﾙﾄ)", then the ".drw" files of dir without extension.
std::vector<QString> FillDrawFileList(const QString &dir, Language lang);

// The file behind a list entry (index > 0).
QString DrawFilePath(const QString &dir, const QString &name);

}  // namespace orv

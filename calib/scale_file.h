#pragma once
// Scale setting files (".sst"): one calibration under a name.

#include <QString>

#include <vector>

#include "measure/language.h"
#include "calib/scale_setting.h"

namespace orv {

inline constexpr const char *kScaleFileExt = ".sst";

// Reads a scale setting file; missing files, sections or keys give the file
// defaults (starts (100, 100), scales 100 = 100, unit "μm", link 1). Texts may be
// code page 932 or UTF-8.
ScaleSetting LoadScaleSetting(const QString &path);

// Writes the setting's keys (texts in code page 932), keeping any other section
// or key of an existing file. False when the file could not be written; the old
// file is then intact and *reason (when given) says why.
bool SaveScaleSetting(const QString &path, const ScaleSetting &s, QString *reason = nullptr);

// Entry 0 "Default" / "(ﾃﾞﾌｫﾙﾄ)", then the ".sst" files of dir without extension.
std::vector<QString> FillScaleFileList(const QString &dir, Language lang);

// The file behind a list entry (index > 0).
QString ScaleFilePath(const QString &dir, const QString &name);

// What choosing entry 0 restores.
inline ScaleSetting DefaultScaleSetting(Language lang) { return ScaleSetting::Defaults(lang); }

}  // namespace orv

#include "calib/draw_file.h"

#include <cstdio>

#include "core/cp932.h"
#include "core/ini_file.h"
#include "core/number_reading.h"
#include "calib/setting_files.h"

namespace orv {
namespace {

constexpr const char *kSection = "DrawAttribute";

std::string Hex8(ColorRef c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(c));
    return buf;
}

}  // namespace

void LoadDrawSetting(const QString &path, DrawAttribute &attr)
{
    const IniFile ini = IniFile::Load(path);
    attr.fontColor = ReadHex32(ini.value(kSection, "FONT_COLOR", "00FFFF00"));
    attr.backColor = ReadHex32(ini.value(kSection, "BACK_COLOR", "00F0F0F0"));
    attr.lineColor = ReadHex32(ini.value(kSection, "LINE_COLOR", "000000FF"));
    attr.fontSizeText = ExternalTextToUtf8(ini.value(kSection, "FONT_SIZE", "16"));
    attr.fontSize = ReadInt(attr.fontSizeText);
    attr.lineWidthText = ExternalTextToUtf8(ini.value(kSection, "LINE_WIDTH", "1"));
    const std::string mode = ini.value(kSection, "BACK_MODE", "1");
    attr.transparent = !mode.empty() && mode.front() == '1' ? 1 : 0;
}

bool SaveDrawSetting(const QString &path, const DrawAttribute &attr, QString *reason)
{
    IniFile::LoadStatus status;
    IniFile ini = IniFile::Load(path, &status, reason);
    if (status == IniFile::LoadStatus::Unreadable)
        return false;  // never replace a file whose other contents could not be kept
    ini.setValue(kSection, "FONT_COLOR", Hex8(attr.fontColor));
    ini.setValue(kSection, "BACK_COLOR", Hex8(attr.backColor));
    ini.setValue(kSection, "LINE_COLOR", Hex8(attr.lineColor));
    ini.setValue(kSection, "FONT_SIZE", Utf8ToExternalText(attr.fontSizeText));
    ini.setValue(kSection, "LINE_WIDTH", Utf8ToExternalText(attr.lineWidthText));
    ini.setValue(kSection, "BACK_MODE", attr.transparent != 0 ? "1" : "0");
    return ini.save(path, reason);
}

std::vector<QString> FillDrawFileList(const QString &dir, Language lang)
{
    return SettingFileList(dir, QString::fromLatin1(kDrawFileExt), lang);
}

QString DrawFilePath(const QString &dir, const QString &name)
{
    return SettingFilePath(dir, name, QString::fromLatin1(kDrawFileExt));
}

}  // namespace orv

#include "calib/scale_file.h"

#include "core/cp932.h"
#include "core/ini_file.h"
#include "core/number_reading.h"
#include "calib/setting_files.h"

namespace orv {
namespace {

constexpr const char *kHSection = "HScale";
constexpr const char *kVSection = "VScale";
constexpr const char *kLinkSection = "HVLink";
// "μm" in code page 932, the unit a file without one holds.
constexpr std::string_view kFileDefaultUnit = "\x83\xCA\x6D";

std::string Text(const IniFile &ini, const char *section, const char *key, std::string_view def)
{
    return ExternalTextToUtf8(ini.value(section, key, def));
}

int Int(const IniFile &ini, const char *section, const char *key)
{
    return ReadInt(ini.value(section, key, "100"));
}

}  // namespace

ScaleSetting LoadScaleSetting(const QString &path)
{
    const IniFile ini = IniFile::Load(path);
    ScaleSetting s;
    s.hStart.setX(Int(ini, kHSection, "start_x"));
    s.hStart.setY(Int(ini, kHSection, "start_y"));
    s.hPixel = Text(ini, kHSection, "pixel", "100");
    s.hValue = Text(ini, kHSection, "value", "100");
    s.unit = Text(ini, kHSection, "unit", kFileDefaultUnit);
    s.vStart.setX(Int(ini, kVSection, "start_x"));
    s.vStart.setY(Int(ini, kVSection, "start_y"));
    s.vPixel = Text(ini, kVSection, "pixel", "100");
    s.vValue = Text(ini, kVSection, "value", "100");
    const std::string link = ini.value(kLinkSection, "link", "1");
    s.link = !link.empty() && link.front() == '1' ? kLinkAsync : kLinkSync;
    return s;
}

bool SaveScaleSetting(const QString &path, const ScaleSetting &s, QString *reason)
{
    IniFile::LoadStatus status;
    IniFile ini = IniFile::Load(path, &status, reason);
    if (status == IniFile::LoadStatus::Unreadable)
        return false;  // never replace a file whose other contents could not be kept
    ini.setValue(kHSection, "start_x", std::to_string(s.hStart.x()));
    ini.setValue(kHSection, "start_y", std::to_string(s.hStart.y()));
    ini.setValue(kHSection, "pixel", Utf8ToExternalText(s.hPixel));
    ini.setValue(kHSection, "value", Utf8ToExternalText(s.hValue));
    ini.setValue(kHSection, "unit", Utf8ToExternalText(s.unit));
    ini.setValue(kVSection, "start_x", std::to_string(s.vStart.x()));
    ini.setValue(kVSection, "start_y", std::to_string(s.vStart.y()));
    ini.setValue(kVSection, "pixel", Utf8ToExternalText(s.vPixel));
    ini.setValue(kVSection, "value", Utf8ToExternalText(s.vValue));
    ini.setValue(kLinkSection, "link", std::to_string(s.link));
    return ini.save(path, reason);
}

std::vector<QString> FillScaleFileList(const QString &dir, Language lang)
{
    return SettingFileList(dir, QString::fromLatin1(kScaleFileExt), lang);
}

QString ScaleFilePath(const QString &dir, const QString &name)
{
    return SettingFilePath(dir, name, QString::fromLatin1(kScaleFileExt));
}

}  // namespace orv

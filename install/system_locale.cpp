#include "install/system_locale.h"

#include <cctype>
#include <cstdlib>
#include <fstream>

namespace install {
namespace {

std::string Trimmed(const std::string &s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// "ja_JP.UTF-8" -> "ja"; the language part ends at the territory, codeset or modifier.
std::string LanguageOf(const std::string &locale)
{
    std::string code;
    for (char c : locale) {
        if (c == '_' || c == '.' || c == '@' || c == '-')
            break;
        code += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return code;
}

}  // namespace

SystemLocaleSource SystemLocaleSource::FromPlatform()
{
    SystemLocaleSource source;
    if (const char *lang = std::getenv("LANG"))
        source.processLang = lang;
    return source;
}

std::string LangFromLocaleFile(const std::string &path)
{
    std::ifstream in(path);
    std::string line;
    std::string lang;
    // Like the shell that sources the file, the last assignment counts.
    while (std::getline(in, line)) {
        std::string text = Trimmed(line);
        if (text.rfind("export ", 0) == 0)
            text = Trimmed(text.substr(7));
        if (text.rfind("LANG=", 0) != 0)
            continue;
        std::string value = Trimmed(text.substr(5));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        lang = value;
    }
    return lang;
}

bool SystemLocaleIsJapanese(const SystemLocaleSource &source)
{
    std::string lang;
    for (const std::string &file : source.files) {
        lang = LangFromLocaleFile(file);
        if (!lang.empty())
            break;
    }
    if (lang.empty())
        lang = source.processLang;
    return LanguageOf(lang) == "ja";
}

}  // namespace install

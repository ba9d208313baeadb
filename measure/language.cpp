#include "measure/language.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace orv {
namespace {

std::string EnvOrEmpty(const char *name)
{
    const char *v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// LANG from a shell-style locale file ("LANG=ja_JP.UTF-8", possibly quoted
// or exported); as in a shell the last assignment wins. Empty when the file
// is missing or sets no LANG.
std::string LangFromFile(const char *path)
{
    std::ifstream in(path);
    std::string line;
    std::string lang;
    while (std::getline(in, line)) {
        auto start = line.find_first_not_of(" \t");
        if (start != std::string::npos && line.compare(start, 7, "export ") == 0)
            start = line.find_first_not_of(" \t", start + 7);
        if (start == std::string::npos || line.compare(start, 5, "LANG=") != 0)
            continue;
        std::string value = line.substr(start + 5);
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
            value.pop_back();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        lang = value;
    }
    return lang;
}

}  // namespace

std::string LanguageOfLocaleName(const std::string &name)
{
    std::string code;
    for (char c : name) {
        if (c == '_' || c == '.' || c == '@' || c == '-')
            break;
        code += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return code;
}

bool EnglishMarkerPresent(const std::string &dir)
{
    // Only whether it opens counts; the content is never read.
    const std::string path = dir.empty() ? std::string("english.txt") : dir + "/english.txt";
    std::FILE *f = std::fopen(path.c_str(), "r");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

std::string SystemLocaleLanguage(std::initializer_list<const char *> files,
                                 const std::string &processLang)
{
    // A file that exists but sets no LANG (only LANGUAGE or LC_*, or
    // nothing) says nothing about the language: go on to the next one.
    for (const char *path : files) {
        const std::string lang = LangFromFile(path);
        if (!lang.empty())
            return LanguageOfLocaleName(lang);
    }
    return LanguageOfLocaleName(processLang);
}

LocaleSource LocaleSource::FromPlatform(const std::string &startDir)
{
    LocaleSource src;
    src.systemLanguage = [] {
        return SystemLocaleLanguage({"/etc/default/locale", "/etc/locale.conf"}, EnvOrEmpty("LANG"));
    };
    src.userLanguage = [] {
        for (const char *var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const std::string v = EnvOrEmpty(var);
            if (!v.empty())
                return LanguageOfLocaleName(v);
        }
        return std::string();
    };
    src.englishMarker = [startDir] { return EnglishMarkerPresent(startDir); };
    return src;
}

namespace {
Language Decide(const LocaleSource &src, const std::function<std::string()> &reading)
{
    if (src.englishMarker && src.englishMarker())
        return Language::English;
    return reading && reading() == "ja" ? Language::Japanese : Language::English;
}
}  // namespace

Language MainWindowLanguage(const LocaleSource &src)
{
    return Decide(src, src.systemLanguage);
}

Language PageLanguage(const LocaleSource &src)
{
    return Decide(src, src.userLanguage);
}

}  // namespace orv

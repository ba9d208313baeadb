#include "language.h"

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

// LANG from a shell-style locale file ("LANG=ja_JP.UTF-8", possibly quoted).
std::string LangFromFile(const char *path)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, 5, "LANG=") != 0)
            continue;
        std::string value = line.substr(start + 5);
        while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
            value.pop_back();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return {};
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

bool EnglishMarkerPresent()
{
    std::FILE *f = std::fopen("english.txt", "r");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

LocaleSource LocaleSource::FromPlatform()
{
    LocaleSource src;
    src.systemLanguage = [] {
        for (const char *path : {"/etc/default/locale", "/etc/locale.conf"}) {
            std::ifstream probe(path);
            if (probe)
                return LanguageOfLocaleName(LangFromFile(path));
        }
        return LanguageOfLocaleName(EnvOrEmpty("LANG"));
    };
    src.userLanguage = [] {
        for (const char *var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const std::string v = EnvOrEmpty(var);
            if (!v.empty())
                return LanguageOfLocaleName(v);
        }
        return std::string();
    };
    src.englishMarker = [] { return EnglishMarkerPresent(); };
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

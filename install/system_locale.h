#pragma once
// The system's configured locale, as the bootstrap reads it (not the user's).

#include <string>
#include <vector>

namespace install {

// Where the system locale is configured; tests substitute both readings.
struct SystemLocaleSource {
    // Shell-style files holding "LANG=..."; the first that gives a LANG wins.
    std::vector<std::string> files{"/etc/default/locale", "/etc/locale.conf"};
    // The process's LANG, used when no file gives one.
    std::string processLang;

    static SystemLocaleSource FromPlatform();
};

// The LANG value of a shell-style locale file, or "" when it gives none.
std::string LangFromLocaleFile(const std::string &path);

// True when the system locale's language is Japanese ("ja_JP.UTF-8", "ja").
bool SystemLocaleIsJapanese(const SystemLocaleSource &source);

}  // namespace install

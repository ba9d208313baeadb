#pragma once
// Display language of a window: decided once at its initialisation.

#include <functional>
#include <initializer_list>
#include <string>

namespace orv {

enum class Language { Japanese = 1, English = 2 };

// The readings the decision rests on; tests substitute them.
struct LocaleSource {
    // Language code ("ja", "en", ...) of the system's configured locale.
    std::function<std::string()> systemLanguage;
    // Language code of the process's locale (LC_ALL, LC_MESSAGES, LANG).
    std::function<std::string()> userLanguage;
    // True when "english.txt" opens for reading in the start directory.
    std::function<bool()> englishMarker;

    // The process's readings, with the marker looked up in startDir (the
    // current directory when empty).
    static LocaleSource FromPlatform(const std::string &startDir = {});
};

// Whether "english.txt" opens for reading in dir (the current directory when empty).
bool EnglishMarkerPresent(const std::string &dir = {});
// The main window's decision (system default locale).
Language MainWindowLanguage(const LocaleSource &src);
// The pages' and the input dialog's decision (user default locale).
Language PageLanguage(const LocaleSource &src);

// Language code of the system's configured locale: LANG of the first of the
// shell-style files that sets one, else of processLang (the process's LANG).
std::string SystemLocaleLanguage(std::initializer_list<const char *> files,
                                 const std::string &processLang);

// Language code of a POSIX locale name: "ja_JP.UTF-8" -> "ja", "C" -> "c".
std::string LanguageOfLocaleName(const std::string &name);

}  // namespace orv

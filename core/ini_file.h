#pragma once
// The project's INI files: section and key names compare case-insensitively
// (ASCII), lines that are neither a section nor a key are kept as they are, and
// a write replaces only the keys it names. Values are bytes as given; callers
// convert code page 932 themselves.

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Longest value a read returns, in bytes (a 256-byte buffer with its NUL).
inline constexpr std::size_t kIniValueMaxBytes = 255;

class IniFile {
public:
    enum class LoadStatus { Loaded, Missing, Unreadable };

    IniFile() = default;
    static IniFile Parse(std::string_view bytes);
    // A missing file gives an empty document; a file that exists but cannot be
    // read (a directory, no permission, absurdly large) also gives an empty
    // document, with status Unreadable, so that a writer does not replace it.
    // *reason (when given) gets the system's reason for Unreadable.
    static IniFile Load(const QString &path, LoadStatus *status = nullptr, QString *reason = nullptr);

    // The value trimmed of surrounding blanks and one pair of matching quotes,
    // cut to kIniValueMaxBytes; def when the section or key is missing.
    std::string value(std::string_view section, std::string_view key, std::string_view def) const;
    bool contains(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place or appends the key to its section (the
    // section to the end of the document). Line breaks in the value end it, so
    // a value can never add lines.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string serialize() const;
    // Atomic: a failed save leaves the file on disk as it was and puts the
    // system's reason in *reason (when given).
    bool save(const QString &path, QString *reason = nullptr) const;

private:
    struct Line {
        std::string text;  // without the line break
    };
    // Index of the section header line, or -1.
    int findSection(std::string_view section) const;
    // Index of the key line within the section starting at header index, or -1.
    int findKey(int header, std::string_view key) const;
    int sectionEnd(int header) const;

    std::vector<Line> lines_;
    std::string eol_ = "\r\n";
    bool bom_ = false;
};

// Private-profile style one-call helpers.
std::string ReadIniString(const QString &path, std::string_view section, std::string_view key,
                          std::string_view def);
// False when the file exists but cannot be read, or the write fails.
bool WriteIniString(const QString &path, std::string_view section, std::string_view key,
                    std::string_view value);

}  // namespace orv

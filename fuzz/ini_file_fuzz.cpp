// libFuzzer target: the INI reader and writer.
//
// The input is a document. Its first line, split at the first two '|', also
// names a section, a key and a value that are written into it. Properties:
// serializing is stable under a second parse, and a key written with a
// well-formed name reads back as the value written (its first line, cut to the
// longest value a read returns).
#include "fuzz_check.h"
#include "core/ini_file.h"

#include <cstdint>
#include <string_view>

#define Check ORV_FUZZ_CHECK

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view FirstLine(std::string_view s)
{
    return s.substr(0, s.find_first_of("\r\n"));
}

// Names (as written: first line, trimmed) the reader can find again: a section
// without ']', a key without '=' that does not start like a comment or a header.
bool Findable(std::string_view section, std::string_view key)
{
    return section.find(']') == std::string_view::npos && !key.empty() &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    const orv::IniFile ini = orv::IniFile::Parse(bytes);
    const std::string once = ini.serialize();
    Check(orv::IniFile::Parse(once).serialize() == once);

    const std::string_view head = FirstLine(bytes);
    const auto bar1 = head.find('|');
    const auto bar2 = bar1 == std::string_view::npos ? bar1 : head.find('|', bar1 + 1);
    if (bar2 == std::string_view::npos)
        return 0;
    const std::string_view section = head.substr(0, bar1);
    const std::string_view key = head.substr(bar1 + 1, bar2 - bar1 - 1);
    const std::string_view value = bytes.substr(bar2 + 1);

    orv::IniFile written = orv::IniFile::Parse(bytes);
    written.setValue(section, key, value);
    const std::string text = written.serialize();
    const orv::IniFile reread = orv::IniFile::Parse(text);
    Check(reread.serialize() == text);
    const std::string_view name = Trim(FirstLine(section));
    const std::string_view field = Trim(FirstLine(key));
    if (Findable(name, field)) {
        const std::string expected(FirstLine(value).substr(0, orv::kIniValueMaxBytes));
        Check(written.value(name, field, "") == expected);
        Check(reread.value(name, field, "") == expected);
    }
    return 0;
}

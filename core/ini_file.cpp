#include "core/ini_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include "core/atomic_file.h"

namespace orv {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// Setting files are a few hundred bytes; anything this large is not one.
constexpr qint64 kMaxIniFileBytes = 16 * 1024 * 1024;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

// A value, section or key never carries a line break into the file.
std::string_view FirstLine(std::string_view s)
{
    const auto cut = s.find_first_of("\r\n");
    return cut == std::string_view::npos ? s : s.substr(0, cut);
}

// Section name of a header line, or false when the line is no header.
bool SectionName(std::string_view line, std::string_view &name)
{
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[')
        return false;
    std::string_view inner = t.substr(1);
    const auto close = inner.find(']');
    if (close != std::string_view::npos)
        inner = inner.substr(0, close);
    name = Trim(inner);
    return true;
}

// Key and raw value of a key line, or false for comments and other lines.
bool KeyValue(std::string_view line, std::string_view &key, std::string_view &value)
{
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return false;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = Trim(t.substr(0, eq));
    if (key.empty())
        return false;
    value = Trim(t.substr(eq + 1));
    return true;
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes)
{
    IniFile ini;
    if (bytes.substr(0, kBom.size()) == kBom) {
        ini.bom_ = true;
        bytes.remove_prefix(kBom.size());
    }
    bool sawLf = false;
    bool sawCrLf = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        auto nl = bytes.find('\n', pos);
        std::string_view line = bytes.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        if (nl != std::string_view::npos) {
            sawLf = true;
            if (!line.empty() && line.back() == '\r') {
                sawCrLf = true;
                line.remove_suffix(1);
            }
        } else {
            // A last line without its line feed: carriage returns there are
            // an unfinished line break, and kept they would turn into one.
            while (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
        }
        ini.lines_.push_back(Line{std::string(line)});
        if (nl == std::string_view::npos)
            break;
        pos = nl + 1;
    }
    if (sawLf && !sawCrLf)
        ini.eol_ = "\n";
    return ini;
}

IniFile IniFile::Load(const QString &path, LoadStatus *status, QString *reason)
{
    LoadStatus result = LoadStatus::Loaded;
    IniFile ini;
    const QFileInfo info(path);
    QFile file(path);
    if (!info.exists()) {
        result = info.isSymLink() ? LoadStatus::Unreadable : LoadStatus::Missing;
    } else if (!info.isFile() || info.size() > kMaxIniFileBytes || !file.open(QIODevice::ReadOnly)) {
        result = LoadStatus::Unreadable;
    } else {
        // Read in pieces rather than reserving the whole limit for a file of
        // a few hundred bytes.
        QByteArray bytes;
        for (;;) {
            const QByteArray piece = file.read(64 * 1024);
            if (piece.isEmpty() || bytes.size() > kMaxIniFileBytes)
                break;
            bytes.append(piece);
        }
        if (bytes.size() > kMaxIniFileBytes || file.error() != QFileDevice::NoError)
            result = LoadStatus::Unreadable;
        else
            ini = Parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    if (status)
        *status = result;
    if (reason && result == LoadStatus::Unreadable) {
        if (info.isDir())
            *reason = SystemReason(EISDIR);
        else if (info.size() > kMaxIniFileBytes)
            *reason = SystemReason(EFBIG);
        else if (file.error() != QFileDevice::NoError)
            *reason = file.errorString();
        else
            *reason = SystemReason(EIO);
    }
    return ini;
}

int IniFile::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view name;
        if (SectionName(lines_[i].text, name) && EqualsNoCase(name, section))
            return static_cast<int>(i);
    }
    return -1;
}

int IniFile::sectionEnd(int header) const
{
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines_.size(); ++i) {
        std::string_view name;
        if (SectionName(lines_[i].text, name))
            return static_cast<int>(i);
    }
    return static_cast<int>(lines_.size());
}

int IniFile::findKey(int header, std::string_view key) const
{
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        std::string_view k;
        std::string_view v;
        if (KeyValue(lines_[static_cast<std::size_t>(i)].text, k, v) && EqualsNoCase(k, key))
            return i;
    }
    return -1;
}

bool IniFile::contains(std::string_view section, std::string_view key) const
{
    const int header = findSection(section);
    return header >= 0 && findKey(header, key) >= 0;
}

std::string IniFile::value(std::string_view section, std::string_view key, std::string_view def) const
{
    std::string_view result = def;
    const int header = findSection(section);
    const int at = header >= 0 ? findKey(header, key) : -1;
    if (at >= 0) {
        std::string_view k;
        KeyValue(lines_[static_cast<std::size_t>(at)].text, k, result);
        if (result.size() >= 2 && (result.front() == '"' || result.front() == '\'')
            && result.back() == result.front())
            result = result.substr(1, result.size() - 2);
    }
    return std::string(result.substr(0, kIniValueMaxBytes));
}

namespace {

// The value as written to its line: one that a read would change (surrounding
// blanks, which are trimmed, or a pair of enclosing quotes, which are removed)
// goes in double quotes so that it reads back as given.
std::string StoredValue(std::string_view value)
{
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
                        && value.back() == value.front();
    if (quoted || Trim(value).size() != value.size())
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

}  // namespace

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view raw)
{
    section = Trim(FirstLine(section));
    key = Trim(FirstLine(key));
    const std::string value = StoredValue(FirstLine(raw));
    int header = findSection(section);
    if (header < 0) {
        lines_.push_back(Line{"[" + std::string(section) + "]"});
        lines_.push_back(Line{std::string(key) + "=" + std::string(value)});
        return;
    }
    const int at = findKey(header, key);
    if (at >= 0) {
        // Keep the key as the file spells it.
        std::string_view existing;
        std::string_view old;
        KeyValue(lines_[static_cast<std::size_t>(at)].text, existing, old);
        lines_[static_cast<std::size_t>(at)].text = std::string(existing) + "=" + std::string(value);
        return;
    }
    // After the section's last non-blank line, so blank separators stay where they are.
    int insertAt = sectionEnd(header);
    while (insertAt - 1 > header && Trim(lines_[static_cast<std::size_t>(insertAt - 1)].text).empty())
        --insertAt;
    lines_.insert(lines_.begin() + insertAt, Line{std::string(key) + "=" + std::string(value)});
}

std::string IniFile::serialize() const
{
    std::string out;
    if (bom_)
        out.append(kBom);
    for (const Line &line : lines_) {
        out.append(line.text);
        out.append(eol_);
    }
    return out;
}

bool IniFile::save(const QString &path, QString *reason) const
{
    return WriteFileAtomically(path, serialize(), reason);
}

std::string ReadIniString(const QString &path, std::string_view section, std::string_view key,
                          std::string_view def)
{
    return IniFile::Load(path).value(section, key, def);
}

bool WriteIniString(const QString &path, std::string_view section, std::string_view key,
                    std::string_view value)
{
    IniFile::LoadStatus status;
    IniFile ini = IniFile::Load(path, &status);
    if (status == IniFile::LoadStatus::Unreadable)
        return false;
    ini.setValue(section, key, value);
    return ini.save(path);
}

}  // namespace orv

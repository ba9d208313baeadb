#include "core/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace orv {
namespace {

constexpr std::string_view kMicroSign = "\xC2\xB5";
constexpr std::string_view kGreekMu = "\xCE\xBC";

class IconvHandle {
public:
    IconvHandle(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (valid())
            iconv_close(cd_);
    }
    IconvHandle(const IconvHandle &) = delete;
    IconvHandle &operator=(const IconvHandle &) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence starting at p (1 for a byte that cannot start one).
std::size_t Utf8SequenceLength(std::string_view s, std::size_t p)
{
    const auto c = static_cast<unsigned char>(s[p]);
    std::size_t n = 1;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    // Never step over bytes that do not continue the sequence.
    std::size_t k = 1;
    while (k < n && p + k < s.size() && (static_cast<unsigned char>(s[p + k]) & 0xC0) == 0x80)
        ++k;
    return k;
}

enum class SkipUnit { Utf8Character, Byte };

// Converts with iconv, putting '?' for every input unit it cannot take.
std::string Convert(const char *to, const char *from, std::string_view in, SkipUnit skip)
{
    std::string out;
    IconvHandle cd(to, from);
    if (!cd.valid()) {
        // No converter: keep ASCII, mark the rest.
        for (const char c : in)
            out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
        return out;
    }
    std::size_t pos = 0;
    char buffer[1024];
    while (pos < in.size()) {
        char *inPtr = const_cast<char *>(in.data() + pos);
        std::size_t inLeft = in.size() - pos;
        char *outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        pos = in.size() - inLeft;
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (err == E2BIG)
            continue;
        if (err == EINVAL) {  // truncated sequence at the end
            out.push_back('?');
            break;
        }
        // EILSEQ or anything else: replace one unit and go on.
        out.push_back('?');
        pos += skip == SkipUnit::Utf8Character ? Utf8SequenceLength(in, pos) : 1;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

bool IsAscii(std::string_view s)
{
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

std::string NormalizeMicroSign(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t hit = utf8.find(kMicroSign, pos);
        if (hit == std::string_view::npos) {
            out.append(utf8.substr(pos));
            break;
        }
        out.append(utf8.substr(pos, hit - pos));
        out.append(kGreekMu);
        pos = hit + kMicroSign.size();
    }
    return out;
}

std::string Utf8ToCp932(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    return Convert("CP932", "UTF-8", NormalizeMicroSign(utf8), SkipUnit::Utf8Character);
}

std::string Cp932ToUtf8(std::string_view cp932)
{
    if (IsAscii(cp932))
        return std::string(cp932);
    return Convert("UTF-8", "CP932", cp932, SkipUnit::Byte);
}

bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n;
        unsigned char lo = 0x80;
        unsigned char hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            n = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 3;
            if (c == 0xE0)
                lo = 0xA0;  // no overlong forms
            else if (c == 0xED)
                hi = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 4;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (i + n > s.size())
            return false;
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if (second < lo || second > hi)
            return false;
        for (std::size_t k = 2; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += n;
    }
    return true;
}

std::string ExternalTextToUtf8(std::string_view bytes)
{
    if (IsAscii(bytes))
        return std::string(bytes);
    if (IsValidUtf8(bytes))
        return NormalizeMicroSign(bytes);
    return Cp932ToUtf8(bytes);
}

std::string Utf8ToExternalText(std::string_view utf8)
{
    // A setting file's value ends at a line break: decide on what is stored.
    utf8 = utf8.substr(0, utf8.find_first_of("\r\n"));
    std::string cp932 = Utf8ToCp932(utf8);
    const std::string meant = Cp932ToUtf8(cp932);
    if (ExternalTextToUtf8(cp932) == meant || !IsValidUtf8(utf8) || ExternalTextToUtf8(utf8) != meant)
        return cp932;
    return std::string(utf8);
}

QByteArray ToCp932(const QString &text)
{
    const std::string bytes = Utf8ToCp932(text.toStdString());
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString FromExternalText(const QByteArray &bytes)
{
    return QString::fromStdString(
        ExternalTextToUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

}  // namespace orv

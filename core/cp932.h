#pragma once
// Code page 932 on disk, UTF-8 in memory.

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace orv {

// UTF-8 to code page 932. U+00B5 (micro sign) is taken as U+03BC first, since
// code page 932 only has the Greek letter. Characters without a code page 932
// form, and malformed UTF-8, become '?'.
std::string Utf8ToCp932(std::string_view utf8);

// Code page 932 to UTF-8. Byte sequences that are not code page 932 become '?'.
std::string Cp932ToUtf8(std::string_view cp932);

// True when the bytes form valid UTF-8 (plain ASCII included).
bool IsValidUtf8(std::string_view bytes);

// Reads a text from a setting file or another external source that may hold
// code page 932 or UTF-8: valid UTF-8 that is not plain ASCII is taken as
// UTF-8, anything else as code page 932. A micro sign becomes U+03BC so that
// "µm" and "μm" are the same unit. Returns UTF-8.
std::string ExternalTextToUtf8(std::string_view bytes);

// The bytes a setting file stores for a text: its code page 932 form, unless
// ExternalTextToUtf8 would read that back as another text (half-width katakana
// whose bytes happen to form UTF-8, "ﾎｬ" reading as "ά"); then the UTF-8
// itself, which reads back exactly. Only the first line is stored.
std::string Utf8ToExternalText(std::string_view utf8);

// Micro sign (U+00B5) replaced by the Greek small mu (U+03BC).
std::string NormalizeMicroSign(std::string_view utf8);

// QString conveniences for the same conversions.
QByteArray ToCp932(const QString &text);
QString FromExternalText(const QByteArray &bytes);

}  // namespace orv

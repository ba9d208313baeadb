// libFuzzer target: code page 932 decoding and encoding.
//
// Properties: every conversion yields valid UTF-8 or bytes that decode again;
// text decoded from any bytes encodes and decodes back to itself; the external
// text reader gives valid UTF-8.
#include "core/cp932.h"
#include "fuzz_check.h"

#include <cstdint>
#include <string_view>

#define Check ORV_FUZZ_CHECK

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    const std::string decoded = orv::Cp932ToUtf8(bytes);
    Check(orv::IsValidUtf8(decoded));
    const std::string normalized = orv::NormalizeMicroSign(decoded);
    Check(orv::Cp932ToUtf8(orv::Utf8ToCp932(normalized)) == normalized);

    const std::string external = orv::ExternalTextToUtf8(bytes);
    Check(orv::IsValidUtf8(external));

    // Arbitrary bytes as UTF-8: malformed parts become '?', never a crash.
    const std::string encoded = orv::Utf8ToCp932(bytes);
    Check(orv::IsValidUtf8(orv::Cp932ToUtf8(encoded)));
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(size));
    Check(orv::FromExternalText(raw).toUtf8().toStdString() == external);
    return 0;
}

// libFuzzer target: scale setting files.
//
// The input is the file. What it loads as is saved over it (keeping its other
// lines) and into a new file; a saved setting must read back as it was saved.
#include "fuzz_check.h"
#include "calib/scale_file.h"

#include <QFile>

#include <cstdint>

#define Check ORV_FUZZ_CHECK

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = orv::fuzz::ScratchDir() + QStringLiteral("/input.sst");
    const QString fresh = orv::fuzz::ScratchDir() + QStringLiteral("/fresh.sst");
    orv::fuzz::WriteRaw(input, data, size);
    QFile::remove(fresh);

    const orv::ScaleSetting loaded = orv::LoadScaleSetting(input);
    Check(orv::SaveScaleSetting(fresh, loaded));
    const orv::ScaleSetting once = orv::LoadScaleSetting(fresh);
    Check(orv::SaveScaleSetting(fresh, once));
    Check(orv::LoadScaleSetting(fresh) == once);

    // Saved over the odd file itself: the keys it names read back.
    Check(orv::SaveScaleSetting(input, once));
    Check(orv::LoadScaleSetting(input) == once);
    return 0;
}

// libFuzzer target: draw setting files.
//
// The input is the file. What it loads as is saved over it (keeping its other
// lines) and into a new file; a saved setting must read back as it was saved.
#include "fuzz_check.h"
#include "calib/draw_file.h"

#include <QFile>

#include <cstdint>

#define Check ORV_FUZZ_CHECK

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = orv::fuzz::ScratchDir() + QStringLiteral("/input.drw");
    const QString fresh = orv::fuzz::ScratchDir() + QStringLiteral("/fresh.drw");
    orv::fuzz::WriteRaw(input, data, size);
    QFile::remove(fresh);

    orv::DrawAttribute loaded;
    orv::LoadDrawSetting(input, loaded);
    Check(orv::SaveDrawSetting(fresh, loaded));
    orv::DrawAttribute once;
    orv::LoadDrawSetting(fresh, once);
    Check(orv::SaveDrawSetting(fresh, once));
    orv::DrawAttribute twice;
    orv::LoadDrawSetting(fresh, twice);
    Check(twice == once);

    // Saved over the odd file itself: the keys it names read back.
    Check(orv::SaveDrawSetting(input, once));
    orv::DrawAttribute over;
    orv::LoadDrawSetting(input, over);
    Check(over == once);
    return 0;
}

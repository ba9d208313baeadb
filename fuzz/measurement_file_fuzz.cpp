// libFuzzer target: measurement files from strangers (ZIP container, JSON
// data, PNG image).
//
// Properties: a file that reads back writes again, and that second file reads
// back to the same image, calibration and items.
#include "export/measurement_file.h"
#include "fuzz_check.h"

#include <QByteArray>

#include <cstdint>

#define Check ORV_FUZZ_CHECK

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const orv::MeasurementReadResult first = orv::DecodeMeasurementFile(bytes);
    Check(first.session.has_value() == (first.error == orv::MeasurementReadError::None));
    if (!first.session)
        return 0;
    const QByteArray again = orv::EncodeMeasurementFile(*first.session);
    Check(!again.isEmpty());
    const orv::MeasurementReadResult second = orv::DecodeMeasurementFile(again);
    Check(second.session.has_value());
    Check(second.session->image == first.session->image);
    Check(second.session->calibration == first.session->calibration);
    Check(second.session->standardScale == first.session->standardScale);
    Check(second.session->items.size() == first.session->items.size());
    for (std::size_t i = 0; i < first.session->items.size(); ++i) {
        Check(second.session->items.at(i).points.size() == first.session->items.at(i).points.size());
        Check(second.session->items.at(i).text == first.session->items.at(i).text);
    }
    return 0;
}

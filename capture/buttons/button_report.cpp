#include "capture/buttons/button_report.h"

namespace orv {

std::vector<std::uint8_t> NormaliseButtonReport(std::span<const std::uint8_t> delivered, bool numberedReports)
{
    std::vector<std::uint8_t> report;
    report.reserve(delivered.size() + 1);
    if (!numberedReports)
        report.push_back(0);
    report.insert(report.end(), delivered.begin(), delivered.end());
    return report;
}

bool IsButtonPress(std::span<const std::uint8_t> report)
{
    return report.size() >= 2 && report[0] == 0x00 && report[1] == 0x01;
}

}  // namespace orv

#include "export/report_layout.h"

#include <array>
#include <charconv>
#include <cmath>

#include "calib/calibration_size.h"

namespace orv {
namespace {

struct ReportTexts {
    const char *parameters;
    const char *imageSize;
    const char *width;
    const char *height;
    const char *horizontal;
    const char *vertical;
    const char *results;
    const char *number;
    const char *measurement;
    const char *value;
    const char *image;
};

constexpr ReportTexts kEnglish{
    "Image Parameters", "Image Size", "H", "V", "Horizontal Scale", "Vertical Scale",
    "Results", "No.", "Measurement", "Value", "Image",
};

constexpr ReportTexts kJapanese{
    "計測条件", "入力画像", "横", "縦", "水平スケール", "垂直スケール",
    "計測データ", "No.", "計測", "値", "計測画像",
};

// Fixed-point with two decimals and always a '.', whatever the locale.
std::string TwoDecimals(double v)
{
    if (!std::isfinite(v))
        v = 0.0;
    std::array<char, 400> buf{};  // DBL_MAX has 309 integer digits
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v,
                                   std::chars_format::fixed, 2);
    if (res.ec != std::errc())
        return "0.00";
    return std::string(buf.data(), res.ptr);
}

std::string SizeText(const char *axis, int pixels)
{
    return std::string(axis) + ' ' + std::to_string(pixels) + "(pixel)";
}

std::string ScaleText(const std::string &pixel, const std::string &value, const std::string &unit)
{
    return pixel + "pixel=" + value + unit;
}

}  // namespace

std::string LengthPerPixelText(double lengthPerPixel, const std::string &unit)
{
    return TwoDecimals(lengthPerPixel) + unit + "/pixel";
}

std::uint64_t ReportPictureHeight(QSize pictureSize)
{
    if (pictureSize.width() <= 0 || pictureSize.height() <= 0)
        return 0;
    const auto w = static_cast<std::uint64_t>(pictureSize.width());
    const auto h = static_cast<std::uint64_t>(pictureSize.height());
    return h * kReportPictureWidthPt / w;
}

ReportLayout BuildReportLayout(const ReportInput &in)
{
    const ReportTexts &t = in.language == Language::English ? kEnglish : kJapanese;
    const ScaleSetting &s = in.scale;
    const ScaleFactors f = s.Factors();

    ReportLayout out;
    auto put = [&out](int row, int column, std::string text) {
        out.cells.push_back({row, column, std::move(text)});
    };

    put(1, ReportColumnA, t.parameters);
    put(2, ReportColumnB, t.imageSize);
    put(2, ReportColumnC, SizeText(t.width, in.imageSize.width()));
    put(2, ReportColumnD, SizeText(t.height, in.imageSize.height()));
    put(3, ReportColumnB, t.horizontal);
    put(3, ReportColumnC, LengthPerPixelText(f.sx, s.unit));
    put(3, ReportColumnD, ScaleText(s.hPixel, s.hValue, s.unit));
    put(4, ReportColumnB, t.vertical);
    put(4, ReportColumnC, LengthPerPixelText(f.sy, s.unit));
    put(4, ReportColumnD, ScaleText(s.vPixel, s.vValue, s.unit));
    // A calibration taken at another image size mis-measures by the ratio: said under the scales.
    const QString sizeWarning = CalibrationSizeWarning(s.madeAt, in.imageSize, in.language);
    if (!sizeWarning.isEmpty())
        put(5, ReportColumnA, sizeWarning.toStdString());

    put(6, ReportColumnA, t.results);
    put(kReportHeaderRow, ReportColumnB, t.number);
    put(kReportHeaderRow, ReportColumnC, t.measurement);
    put(kReportHeaderRow, ReportColumnD, t.value);
    if (in.showUncertainty) {
        put(kReportHeaderRow, ReportColumnE, ResultColumnTitle(ColumnUncertainty, in.language));
        out.lastTableColumn = ReportColumnE;
    }

    int row = kReportHeaderRow + 1;
    for (const ResultRow &r : in.rows) {
        put(row, ReportColumnB, r.columns[ColumnNumber]);
        put(row, ReportColumnC, r.columns[ColumnMeasurement]);
        put(row, ReportColumnD, r.columns[ColumnValue] + r.columns[ColumnUnit]);
        if (in.showUncertainty)
            put(row, ReportColumnE, r.columns[ColumnUncertainty]);
        out.lastTableRow = row++;
    }
    put(out.lastTableRow + 2, ReportColumnA, t.image);

    out.picture.left = kReportPictureLeftPt;
    out.picture.top = (out.lastTableRow + 2) * kReportRowHeightPt + kReportPictureGapPt;
    out.picture.width = static_cast<double>(kReportPictureWidthPt);
    out.picture.height = static_cast<double>(ReportPictureHeight(in.pictureSize));
    out.picture.pixels = in.pictureSize;
    return out;
}

}  // namespace orv

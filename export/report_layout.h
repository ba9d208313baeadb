#pragma once
// The spreadsheet report's content without the file format: which text goes
// into which cell, how far the results table reaches, and where the picture
// goes in points. Rows are the sheet's row numbers (the first row is 1),
// columns are counted from 0 (column A).

#include <QSize>

#include <cstdint>
#include <string>
#include <vector>

#include "measure/language.h"
#include "export/results_table.h"
#include "calib/scale_setting.h"

namespace orv {

enum ReportColumn : int {
    ReportColumnA = 0,
    ReportColumnB = 1,
    ReportColumnC = 2,
    ReportColumnD = 3,
    ReportColumnE = 4,
};

// Sheet measures the picture position is reckoned in.
inline constexpr double kReportRowHeightPt = 13.5;
inline constexpr double kReportPictureLeftPt = 10.0;
inline constexpr double kReportPictureGapPt = 10.0;
inline constexpr std::uint64_t kReportPictureWidthPt = 450;
// Columns B, C, D and E: widths in characters of the standard font.
inline constexpr double kReportColumnWidths[] = {13.0, 15.0, 15.0, 15.0};
// Cells B1 to D(kReportCenteredRows) are centred.
inline constexpr int kReportCenteredRows = 999;
// The header row of the results table; its rows follow it.
inline constexpr int kReportHeaderRow = 7;

struct ReportCell {
    int row = 0;     // sheet row, from 1
    int column = 0;  // ReportColumn
    std::string text;  // UTF-8; always a text cell, never a number
};

struct ReportPicture {
    // Points from the sheet's top left corner.
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
    // The picture file's own size in pixels.
    QSize pixels;
};

struct ReportInput {
    Language language = Language::Japanese;
    // The image size the parameters show.
    QSize imageSize;
    // The pixel size of the picture file (the height follows its aspect).
    QSize pictureSize;
    ScaleSetting scale;
    std::vector<ResultRow> rows;
    // Adds the uncertainty column (E) to the table.
    bool showUncertainty = false;
};

struct ReportLayout {
    // In the order they are written.
    std::vector<ReportCell> cells;
    // The sheet row L of the last results row (8 when the list is empty): the
    // table with its borders spans B7:D(L).
    int lastTableRow = kReportHeaderRow + 1;
    // The table's last column: D, or E with the uncertainty.
    int lastTableColumn = ReportColumnD;
    ReportPicture picture;
};

ReportLayout BuildReportLayout(const ReportInput &in);

// "%.2f%s/pixel": a length per pixel and the calibration's unit text.
std::string LengthPerPixelText(double lengthPerPixel, const std::string &unit);

// Picture height in points: height x 450 / width in unsigned integer
// arithmetic (0 for an empty size).
std::uint64_t ReportPictureHeight(QSize pictureSize);

}  // namespace orv

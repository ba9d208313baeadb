#pragma once
// The spreadsheet report as an .xlsx workbook: one worksheet with the cells,
// column widths, alignment, header fill, table borders and the picture of a
// ReportLayout.

#include <QDateTime>
#include <QString>

#include "export/report_layout.h"

namespace orv {

// Writes the workbook to path (created or replaced) with the picture read
// from picturePath, a JPEG without a resolution of its own (as JpegWriter
// writes it: the picture's size is reckoned at 96 pixels per inch). On
// failure the file at path may be missing or incomplete; error (when given)
// says why.
bool WriteReportWorkbook(const QString &path, const ReportLayout &layout,
                         const QString &picturePath, QString *error = nullptr);

// "Orvalin_Report_yyyyMMdd_HHmmss.xlsx" of the time, with "_2", "_3", ...
// before the extension for the given attempt (1 is the plain name).
QString ReportFileName(const QDateTime &stamp, int attempt = 1);

// Writes the workbook into dir under the first ReportFileName that is not
// taken, never replacing a file. The file appears only when written whole.
// Returns its path, or an empty string (and nothing left in dir) on failure.
QString SaveReportWorkbook(const QString &dir, const QDateTime &stamp, const ReportLayout &layout,
                           const QString &picturePath, QString *error = nullptr);

}  // namespace orv

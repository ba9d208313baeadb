#pragma once
// The results list as a comma-separated file: a header of the column titles,
// then every row as shown. Japanese texts go out in code page 932.

#include <QString>

#include <string>

#include "export/results_table.h"

namespace orv {

// The file dialog's settings for the CSV button.
inline constexpr char kCsvDefaultExtension[] = "csv";
inline constexpr char kCsvFileFilter[] = "CSV Files (*.csv)|*.csv|All Files(*.*)|*.*||";

// The file's contents in UTF-8: the shown columns (four, five with the
// uncertainty), CR LF ends; a field with
// a comma, a quote or a line break is quoted.
std::string ResultsCsvText(const ResultsTable &table);

// Writes the file (code page 932). When the write fails the old file stays
// untouched and *reason (when given) gets the system's reason.
bool SaveResultsCsv(const QString &path, const ResultsTable &table, QString *reason = nullptr);

}  // namespace orv

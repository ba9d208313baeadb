#pragma once
// The results list as a comma-separated file: a header of the column titles,
// then every row as shown. Japanese texts go out in code page 932.

#include <QString>

#include <string>

#include "results_table.h"

namespace orv {

// The file dialog's settings for the CSV button.
inline constexpr char kCsvDefaultExtension[] = "csv";
inline constexpr char kCsvFileFilter[] = "CSV Files (*.csv)|*.csv|All Files(*.*)|*.*||";

// The file's contents in UTF-8: four fields per line, no quoting, CR LF ends.
std::string ResultsCsvText(const ResultsTable &table);

// Writes the file (code page 932). The old file stays untouched when the write
// fails; failures are for the caller to keep quiet about.
bool SaveResultsCsv(const QString &path, const ResultsTable &table);

}  // namespace orv

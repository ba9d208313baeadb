#include "csv_export.h"

#include "atomic_file.h"
#include "cp932.h"

namespace orv {

namespace {

void AppendLine(std::string &out, const std::array<std::string, kResultColumnCount> &fields)
{
    for (int c = 0; c < kResultColumnCount; ++c) {
        if (c > 0)
            out += ',';
        out += fields[static_cast<std::size_t>(c)];
    }
    out += "\r\n";
}

}  // namespace

std::string ResultsCsvText(const ResultsTable &table)
{
    std::string out;
    std::array<std::string, kResultColumnCount> header;
    for (int c = 0; c < kResultColumnCount; ++c)
        header[static_cast<std::size_t>(c)] = ResultColumnTitle(c, table.titleLanguage());
    AppendLine(out, header);
    for (const ResultRow &row : table.rows())
        AppendLine(out, row.columns);
    return out;
}

bool SaveResultsCsv(const QString &path, const ResultsTable &table)
{
    if (path.isEmpty())
        return false;
    return WriteFileAtomically(path, Utf8ToCp932(ResultsCsvText(table)));
}

}  // namespace orv

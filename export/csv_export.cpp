#include "export/csv_export.h"

#include "core/atomic_file.h"
#include "core/cp932.h"

namespace orv {

namespace {

// A text holding a comma, a quote or a line break (a typed text, a unit) goes
// in quotes with its quotes doubled, so every line keeps its four fields.
void AppendField(std::string &out, const std::string &field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendLine(std::string &out, const std::array<std::string, kResultColumnCount> &fields, int columns)
{
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out += ',';
        AppendField(out, fields[static_cast<std::size_t>(c)]);
    }
    out += "\r\n";
}

}  // namespace

std::string ResultsCsvText(const ResultsTable &table)
{
    std::string out;
    const int columns = table.columnCount();
    std::array<std::string, kResultColumnCount> header;
    for (int c = 0; c < columns; ++c)
        header[static_cast<std::size_t>(c)] = ResultColumnTitle(c, table.titleLanguage());
    AppendLine(out, header, columns);
    for (const ResultRow &row : table.rows())
        AppendLine(out, row.columns, columns);
    return out;
}

bool SaveResultsCsv(const QString &path, const ResultsTable &table, QString *reason)
{
    return WriteFileAtomically(path, Utf8ToCp932(ResultsCsvText(table)), reason);
}

}  // namespace orv

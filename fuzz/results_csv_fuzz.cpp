// libFuzzer target: measurements with hostile stored values and texts listed
// in the results table and written out as CSV.
//
// Properties: the CSV text has a header and one record per row, each record
// has four fields that read back as the row's texts, and the code page 932
// bytes decode again.
#include "core/cp932.h"
#include "export/csv_export.h"
#include "fuzz_check.h"
#include "measure/measure_item.h"
#include "export/results_table.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#define Check ORV_FUZZ_CHECK

namespace {

using Record = std::vector<std::string>;

// Reads CSV text as RFC 4180 does (quoted fields may hold commas, quotes and
// line breaks; records end in CR LF).
std::vector<Record> ParseCsv(const std::string &text)
{
    std::vector<Record> records;
    Record record;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(record));
            record.clear();
            ++i;
        } else {
            field += c;
        }
    }
    Check(!quoted && field.empty() && record.empty());  // the text ends with a full record
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto lang = in.ConsumeBool() ? orv::Language::English : orv::Language::Japanese;
    const auto textLang = in.ConsumeBool() ? orv::Language::English : orv::Language::Japanese;
    orv::ResultsTable table(lang, textLang);
    orv::MeasureList list;

    const int items = in.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < items && in.remaining_bytes() > 0; ++i) {
        auto item = orv::NewMeasureItem();
        item->kind = static_cast<orv::MeasureKind>(in.ConsumeIntegralInRange<std::uint32_t>(0, 24));
        item->unit = in.ConsumeIntegral<std::int8_t>();
        item->value = in.ConsumeFloatingPoint<double>();
        item->text = in.ConsumeRandomLengthString(300);
        const int subs = in.ConsumeIntegralInRange(0, 4);
        for (int k = 0; k < subs; ++k) {
            const int kind = in.ConsumeIntegralInRange(0, 24);
            orv::AppendSubResult(*item, in.ConsumeRandomLengthString(300), kind, -1, QPoint());
        }
        orv::MeasureItem &stored = *item;
        stored.number = list.Append(std::move(item));
        table.AddMeasureRows(stored);
    }
    if (!list.empty() && in.ConsumeBool())
        table.RemoveMeasureRows(list, &list.at(in.ConsumeIntegralInRange<std::size_t>(0, list.size() - 1)));
    table.RenumberResults(list, list.front());
    // A row written directly, as the table's own operations allow.
    if (in.remaining_bytes() > 0)
        table.AddResultRow(in.ConsumeIntegral<int>(), in.ConsumeRandomLengthString(64),
                           in.ConsumeRandomLengthString(64), in.ConsumeRandomLengthString(64));

    table.SetShowUncertainty(in.ConsumeBool());
    const std::string csv = orv::ResultsCsvText(table);
    const std::vector<Record> records = ParseCsv(csv);
    Check(records.size() == static_cast<std::size_t>(table.rowCount()) + 1);
    for (std::size_t r = 0; r < records.size(); ++r) {
        Check(records[r].size() == static_cast<std::size_t>(table.columnCount()));
        for (int c = 0; c < table.columnCount(); ++c) {
            const std::string expected = r == 0 ? std::string(orv::ResultColumnTitle(c, lang))
                                                : table.text(static_cast<int>(r - 1), c);
            Check(records[r][static_cast<std::size_t>(c)] == expected);
        }
    }
    Check(orv::IsValidUtf8(orv::Cp932ToUtf8(orv::Utf8ToCp932(csv))));
    return 0;
}

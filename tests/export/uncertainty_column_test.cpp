// The expanded uncertainty as the results list, the CSV file and the report
// carry it: kept for every row, shown only on request.

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "export/csv_export.h"
#include "export/image_file.h"
#include "export/report_layout.h"
#include "export/report_workbook.h"
#include "export/results_table.h"
#include "measure/units.h"
#include "measure/values.h"
#include "tests/support/xlsx_readback.h"

using namespace orv;

namespace {

// Items placed and computed as the document does, at 10.7 um per 100 px.
struct Listed {
    MeasureList list;
    ResultsTable table{Language::English};

    MeasureItem &Add(MeasureKind kind, std::initializer_list<QPoint> points, double sx = 0.107,
                     double sy = 0.107)
    {
        auto owned = NewMeasureItem();
        owned->kind = kind;
        for (const QPoint p : points)
            AppendPoint(*owned, p);
        ScaleFactors f;
        f.sx = sx;
        f.sy = sy;
        f.unit = UnitMicrometre;
        ComputeMeasureValue(*owned, f, Language::English);
        MeasureItem &item = *owned;
        item.number = list.Append(std::move(owned));
        table.AddMeasureRows(item);
        return item;
    }
};

TEST(UncertaintyColumn, EachRowShowsTwiceItsStandardUncertaintyInItsUnit)
{
    Listed l;
    const MeasureItem &d = l.Add(KindDistance2Points, {{0, 0}, {100, 0}});
    const MeasureItem &p = l.Add(KindPerpendicular, {{301, 55}, {511, 75}, {431, 135}});
    const MeasureItem &e = l.Add(KindAreaCircle, {{3, 41}, {57, 2}, {90, 60}}, 0.1, 0.2);
    l.Add(KindText, {{5, 5}});

    auto twice = [](double u, int unit) { return FormatMeasureValue(2 * u, unit); };
    struct Row {
        int row;
        std::string expected;
    };
    const Row rows[] = {
        {d.row, "0.09"},  // sqrt(2) x 0.29 px x 0.107 um/px, doubled
        {p.row, ""},      // a perpendicular's own row holds no distance
        {p.subResults[0].row, twice(p.subResults[0].uncertainty.at(0), UnitMicrometre)},
        {e.row, twice(e.uncertainty, UnitMicrometre + 4)},
        {e.subResults[0].row, twice(e.subResults[0].uncertainty.at(0), UnitMicrometre) + " / "
                                  + twice(e.subResults[0].uncertainty.at(1), UnitMicrometre)},
        {l.table.rowCount() - 1, ""},  // a text has no value
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.row);
        EXPECT_EQ(l.table.text(r.row, ColumnUncertainty), r.expected);
    }
    EXPECT_NE(rows[2].expected, "0.00");
    EXPECT_NE(e.subResults[0].uncertainty.at(0), e.subResults[0].uncertainty.at(1));
}

TEST(UncertaintyColumn, CsvCarriesItOnlyWhenShown)
{
    Listed l;
    l.Add(KindDistance2Points, {{0, 0}, {100, 0}});
    EXPECT_EQ(ResultsCsvText(l.table), "No.,Measurement,Value,Unit\r\n"
                                       "1,Distance - Between 2 points,10.70,um\r\n");
    l.table.SetShowUncertainty(true);
    EXPECT_EQ(ResultsCsvText(l.table), "No.,Measurement,Value,Unit,\u00B1 (k=2)\r\n"
                                       "1,Distance - Between 2 points,10.70,um,0.09\r\n");
}

TEST(UncertaintyColumn, ReportTableGainsColumnEWhenShown)
{
    ORVALIN_REQUIRE_XLSX_READER();
    Listed l;
    l.Add(KindDistance2Points, {{0, 0}, {100, 0}});
    l.Add(KindAngle3Points, {{100, 0}, {0, 0}, {70, 70}});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(Qt::gray);
    const QString picture = WorkFilePath(dir.path());
    ASSERT_TRUE(WriteImageFile(picture, QStringLiteral("jpg"), img, img.size(), {}));

    for (const bool show : {false, true}) {
        SCOPED_TRACE(show);
        ReportInput in;
        in.language = Language::English;
        in.imageSize = in.pictureSize = img.size();
        in.rows = l.table.rows();
        in.showUncertainty = show;
        const ReportLayout layout = BuildReportLayout(in);
        const QString path = dir.filePath(show ? QStringLiteral("u.xlsx") : QStringLiteral("p.xlsx"));
        QString error;
        ASSERT_TRUE(WriteReportWorkbook(path, layout, picture, &error)) << error.toStdString();
        const QJsonObject book = test::ReadXlsx(path, dir.path(), &error);
        ASSERT_FALSE(book.isEmpty()) << error.toStdString();
        const QJsonObject cells = book[QStringLiteral("cells")].toObject();
        const QJsonObject styles = book[QStringLiteral("styles")].toObject();
        EXPECT_EQ(cells[QStringLiteral("E7")].toString(), show ? QStringLiteral("\u00B1 (k=2)") : QString());
        EXPECT_EQ(cells[QStringLiteral("E8")].toString(), show ? QStringLiteral("0.09") : QString());
        EXPECT_EQ(cells[QStringLiteral("E9")].toString().toStdString(),
                  show ? l.table.text(1, ColumnUncertainty) : std::string());
        // Inside the table's borders when shown.
        EXPECT_EQ(styles[QStringLiteral("E9")].toObject()[QStringLiteral("bottom")].toString(),
                  show ? QStringLiteral("thin") : QString());
    }
}

}  // namespace

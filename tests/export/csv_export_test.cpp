#include "export/csv_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "results_fixture.h"
#include "measure/values.h"

using namespace orv;
using orv::test::ListItem;

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(CsvExport, EnglishRowsAsShown)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    MeasureList list;
    ResultsTable t(Language::English);
    ListItem(list, t, KindDistance2Points, 12.5, UnitMillimetre);
    ListItem(list, t, KindDistance2Points, 0.5, UnitMillimetre);
    MeasureItem &perp = ListItem(list, t, KindPerpendicular, 0, UnitMillimetre, 2);
    ListItem(list, t, KindDistance2Points, 0.0394, UnitInch);

    // After deleting item 1 the perpendicular's rows read 2, 2_1, 2_2.
    t.RemoveMeasureRows(list, &list.at(0));
    ASSERT_EQ(perp.number, 2);

    const QString path = dir.filePath("out.csv");
    ASSERT_TRUE(SaveResultsCsv(path, t));
    EXPECT_EQ(ReadAll(path), QByteArray("No.,Measurement,Value,Unit\r\n"
                                         "1,Distance - Between 2 points,0.50,mm\r\n"
                                         "2,Distance - Perpendicular Line,0.00,mm\r\n"
                                         "2_1, - Perpendicular Line,1.00mm,\r\n"
                                         "2_2, - Perpendicular Line,2.00mm,\r\n"
                                         "3,Distance - Between 2 points,.0394,inch\r\n"));

    // An empty list exports only the header, replacing the old file.
    t.DeleteAllResults(list);
    ASSERT_TRUE(SaveResultsCsv(path, t));
    EXPECT_EQ(ReadAll(path), QByteArray("No.,Measurement,Value,Unit\r\n"));
}

TEST(CsvExport, JapaneseInCodePage932)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    MeasureList list;
    ResultsTable t(Language::Japanese);
    ListItem(list, t, KindDistance2Points, 3, UnitMicrometre);
    ListItem(list, t, KindAreaCircle, 1, UnitSquareMillimetre, 1);
    ListItem(list, t, KindAngle3Points, 90, UnitDegree);

    const QString path = dir.filePath("jp.csv");
    ASSERT_TRUE(SaveResultsCsv(path, t));
    const QByteArray expected =
        // No.,計測,値,単位
        QByteArray("No.,\x8C\x76\x91\xAA,\x92\x6C,\x92\x50\x88\xCA\r\n")
        // 1,距離-2点間,3.00,μm
        + QByteArray("1,\x8B\x97\x97\xA3-2\x93\x5F\x8A\xD4,3.00,\x83\xCA\x6D\r\n")
        // 2,面積-円,1.00,m㎡
        + QByteArray("2,\x96\xCA\x90\xCF-\x89\x7E,1.00,m\x87\x75\r\n")
        // 2,★半径,1.00mm,
        + QByteArray("2,\x81\x9A\x94\xBC\x8C\x61,1.00mm,\r\n")
        // 3,角度-3点挟角,90.00,°
        + QByteArray("3,\x8A\x70\x93\x78-3\x93\x5F\x8B\xB2\x8A\x70,90.00,\x81\x8B\r\n");
    EXPECT_EQ(ReadAll(path).toHex(' '), expected.toHex(' '));
}

TEST(CsvExport, TitlesFollowTheWindowLanguage)
{
    // Japanese window with English page texts: Japanese header, English rows.
    MeasureList list;
    ResultsTable t(Language::Japanese, Language::English);
    ListItem(list, t, KindDistance2Points, 3, UnitMicrometre);
    EXPECT_EQ(ResultsCsvText(t), "No.,計測,値,単位\r\n1,Distance - Between 2 points,3.00,um\r\n");
}

TEST(CsvExport, TextsWithCommasQuotesAndLineBreaksAreQuoted)
{
    ResultsTable t(Language::English);
    t.AddResultRow(1, "a,b", "say \"hi\"", "x\r\ny");
    t.AddResultRow(2, "plain", "1.00", "mm");
    EXPECT_EQ(ResultsCsvText(t), "No.,Measurement,Value,Unit\r\n"
                                 "1,\"a,b\",\"say \"\"hi\"\"\",\"x\r\ny\"\r\n"
                                 "2,plain,1.00,mm\r\n");
}

TEST(CsvExport, UnwritablePathFailsWithoutAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    MeasureList list;
    ResultsTable t(Language::English);
    EXPECT_FALSE(SaveResultsCsv(dir.filePath("no/such/dir/out.csv"), t));
    EXPECT_FALSE(SaveResultsCsv(QString(), t));
    // A folder in the way is left as it is.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.csv"));
    EXPECT_FALSE(SaveResultsCsv(dir.filePath("taken.csv"), t));
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.csv")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"taken.csv"});
}

TEST(CsvExport, ParallelAngleLinesLeaveValueAndUnitEmpty)
{
    MeasureList list;
    ResultsTable t(Language::English);
    auto owned = NewMeasureItem();
    owned->kind = KindAngle2Lines;
    for (QPoint q : {QPoint(0, 0), QPoint(10, 0), QPoint(0, 5), QPoint(10, 5)})
        AppendPoint(*owned, q);
    MeasureItem &item = *owned;
    item.number = list.Append(std::move(owned));
    ComputeMeasureValue(item, ScaleFactors{}, Language::English);
    t.AddMeasureRows(item);

    const std::string parallelLine = std::string("1,") + KindName(KindAngle2Lines, Language::English) + ",,\r\n";
    EXPECT_EQ(t.text(item.row, ColumnValue), "");
    EXPECT_EQ(t.text(item.row, ColumnUnit), "");
    std::string csv = ResultsCsvText(t);
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), parallelLine);

    // The lines meet once a point moves: the row shows the angle.
    item.points[3].pos = QPoint(10, 15);
    ComputeMeasureValue(item, ScaleFactors{}, Language::English);
    t.RefreshMeasureRows(item);
    EXPECT_EQ(t.text(item.row, ColumnValue), "45.00");
    EXPECT_EQ(t.text(item.row, ColumnUnit), UnitSuffix(UnitDegree, Language::English));

    // Parallel again: the angle left in the item is not shown.
    item.points[3].pos = QPoint(10, 5);
    ComputeMeasureValue(item, ScaleFactors{}, Language::English);
    t.RefreshMeasureRows(item);
    EXPECT_DOUBLE_EQ(item.value, 45.0);
    csv = ResultsCsvText(t);
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), parallelLine);
}

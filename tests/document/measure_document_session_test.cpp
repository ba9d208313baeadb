// The document taken as a measurement session and loaded into another one:
// the same items, numbers and rows, removed sub-result rows included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/measure_document.h"
#include "measure/units.h"
#include "same_items.h"

namespace orv {
namespace {

// A line from (0, 0) to (200, 0) and one foot per extra point.
std::unique_ptr<MeasureItem> WithFeet(MeasureKind kind, int feet)
{
    auto item = NewMeasureItem();
    item->kind = kind;
    AppendPoint(*item, {0, 0});
    AppendPoint(*item, {200, 0});
    for (int k = 0; k < feet; ++k)
        AppendPoint(*item, {20 + 30 * k, 15 + 7 * k});
    return item;
}

std::unique_ptr<MeasureItem> Distance(int length)
{
    auto item = NewMeasureItem();
    item->kind = KindDistance2Points;
    AppendPoint(*item, {5, 5});
    AppendPoint(*item, {5 + length, 5});
    return item;
}

std::vector<std::string> Rows(const MeasureDocument &doc)
{
    std::vector<std::string> out;
    for (const ResultRow &row : doc.results().rows())
        for (const std::string &cell : row.columns)
            out.push_back(cell);
    return out;
}

void Place(MeasureDocument &doc, std::unique_ptr<MeasureItem> item)
{
    doc.BeginEdit(std::move(item));
    doc.ListEditItem();
}

// Every row is owned by exactly the item or sub-result that says it is its row.
void ExpectConsistentRows(const MeasureDocument &doc)
{
    int listed = 0;
    for (const auto &item : doc.list()) {
        ++listed;
        EXPECT_EQ(ResultsTable::FindRowOwner(doc.list(), item->row).item, item.get());
        for (const SubResult &sub : item->subResults)
            if (sub.row >= 0) {
                ++listed;
                EXPECT_EQ(ResultsTable::FindRowOwner(doc.list(), sub.row).item, item.get());
            }
    }
    EXPECT_EQ(doc.results().rowCount(), listed);
}

TEST(DocumentSession, LoadingGivesTheSameItemsRowsAndCalibrationWithNothingSelected)
{
    const struct {
        const char *name;
        MeasureKind kind;
        std::vector<int> removed;  // sub-results whose rows are removed, in that order
    } cases[] = {
        {"none removed", KindPerpendicular, {}},
        {"first", KindPerpendicular, {0}},
        {"middle then last", KindPerpendicular, {2, 3}},
        {"all", KindParallel, {3, 0, 1, 2}},
        {"parallel's second", KindParallel, {1}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MeasureDocument saved(Language::English, Language::Japanese);
        QImage image(320, 200, QImage::Format_RGB32);
        image.fill(qRgb(10, 200, 30));
        saved.SetImage(image, ImageOrigin::WirelessFrame);
        ScaleSetting &s = saved.editCalibration().setting;
        s.hPixel = "120";
        s.vPixel = "80";
        s.vValue = "25";
        s.unit = "inch";
        s.hStart = {30, 40};
        saved.editCalibration().standard.show = 1;
        saved.editDrawAttribute().labelMode = LabelMode::ItemNumberOnly;
        Place(saved, Distance(40));
        Place(saved, WithFeet(c.kind, 4));
        Place(saved, Distance(90));
        for (int k : c.removed)
            ASSERT_TRUE(saved.RemoveSubResultRow(saved.list().at(1).subResults[std::size_t(k)].row));
        saved.Select(saved.list().at(2).id);

        MeasureDocument loaded(Language::English, Language::Japanese);
        Place(loaded, Distance(10));
        loaded.BeginEdit(Distance(20));
        int emitted = 0;
        for (auto signal : {&MeasureDocument::imageChanged, &MeasureDocument::calibrationChanged,
                            &MeasureDocument::attributesChanged, &MeasureDocument::listChanged,
                            &MeasureDocument::selectionChanged})
            QObject::connect(&loaded, signal, [&emitted] { ++emitted; });
        loaded.LoadSession(saved.CaptureSession());

        EXPECT_EQ(emitted, 5);
        test::ExpectSameItems(loaded.list(), saved.list());
        EXPECT_EQ(Rows(loaded), Rows(saved));
        ExpectConsistentRows(loaded);
        EXPECT_EQ(loaded.selectedItem(), nullptr);
        EXPECT_EQ(loaded.editItem(), nullptr);
        EXPECT_EQ(loaded.results().selectedRow(), -1);
        EXPECT_EQ(loaded.origin(), ImageOrigin::File);
        EXPECT_EQ(loaded.image(), saved.image());
        EXPECT_EQ(loaded.calibration().setting, s);
        EXPECT_EQ(loaded.calibration().standard, saved.calibration().standard);
        EXPECT_EQ(loaded.calibration().bars.horizontal.points.front().pos, QPoint(30, 40));
        EXPECT_EQ(loaded.calibration().bars.horizontal.points.back().pos,
                  MakeHorizontalBar(s).points.back().pos);
        EXPECT_EQ(loaded.labelMode(), LabelMode::ItemNumberOnly);

        // The opened file starts a new history: the work before it cannot come
        // back, and undoing a later step gives the file's state.
        EXPECT_FALSE(loaded.CanUndo());
        ASSERT_TRUE(loaded.Remove(loaded.list().at(0).id));
        ASSERT_TRUE(loaded.Undo());
        EXPECT_FALSE(loaded.CanUndo());
        test::ExpectSameItems(loaded.list(), saved.list());
        EXPECT_EQ(Rows(loaded), Rows(saved));
    }
}

TEST(DocumentSession, StoredRowIndicesThatDisagreeStillGiveAConsistentList)
{
    MeasureDocument source(Language::English, Language::English);
    Place(source, WithFeet(KindPerpendicular, 3));
    Place(source, Distance(50));
    MeasurementSession session = source.CaptureSession();
    // As a hand-edited file might say: rows out of order, repeated, far off.
    session.items.at(0).row = 7;
    session.items.at(0).subResults[0].row = 7;
    session.items.at(0).subResults[1].row = -1;
    session.items.at(0).subResults[2].row = 1000;
    session.items.at(1).row = 0;

    MeasureDocument loaded(Language::English, Language::English);
    loaded.LoadSession(std::move(session));
    ExpectConsistentRows(loaded);
    EXPECT_EQ(loaded.results().rowCount(), 4);
    EXPECT_EQ(loaded.list().at(0).subResults[1].row, -1);
    std::vector<std::string> numbers;
    for (const ResultRow &row : loaded.results().rows())
        numbers.push_back(row.columns[ColumnNumber]);
    // The removed second line leaves its gap in the sub-row numbers.
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "1_1", "1_3", "2"}));
}

// A file written while values came from whole-pixel feet shows what its
// points give: base (301, 55)-(511, 75), point (431, 135), 100 px = 10.7 um.
TEST(DocumentSession, OlderFilesShowValuesWorkedOutFromTheirPoints)
{
    MeasurementSession session;
    session.image = QImage(600, 200, QImage::Format_RGB32);
    session.calibration.hPixel = session.calibration.vPixel = "100";
    session.calibration.hValue = session.calibration.vValue = "10.7";
    session.calibration.unit = "um";
    auto perp = NewMeasureItem();
    perp->kind = KindPerpendicular;
    for (const QPoint p : {QPoint(301, 55), QPoint(511, 75), QPoint(431, 135)})
        AppendPoint(*perp, p);
    AppendSubResult(*perp, "7.30um", KindPerpendicularPart, 1, {431, 135});  // as saved then
    perp->row = 0;
    perp->number = 1;
    perp->unit = UnitMicrometre;
    session.items.Append(std::move(perp));

    MeasureDocument doc(Language::English, Language::English);
    doc.LoadSession(std::move(session));
    const MeasureItem &loaded = doc.list().at(0);
    EXPECT_EQ(loaded.subResults.at(0).text, "7.20um");
    EXPECT_EQ(doc.results().text(loaded.subResults[0].row, ColumnValue), "7.20um");
    ASSERT_EQ(loaded.subResults[0].uncertainty.size(), 1u);
    EXPECT_GT(loaded.subResults[0].uncertainty[0], 0.0);
}

}  // namespace
}  // namespace orv

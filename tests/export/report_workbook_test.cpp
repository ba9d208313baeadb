// The report workbook read back by an independent reader (openpyxl).
#include "export/report_workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

#include "tests/support/file_size_limit.h"
#include "calib/calibration_size.h"
#include "export/image_file.h"
#include "results_fixture.h"
#include "tests/support/xlsx_readback.h"

using namespace orv;
using namespace orv::test;

namespace {

#define REQUIRE_READER() ORVALIN_REQUIRE_XLSX_READER()

QString CellRef(int row, int column)
{
    return QString(QChar(u'A' + column)) + QString::number(row);
}

QString Text(const QJsonObject &book, const QString &ref)
{
    return book[QStringLiteral("cells")].toObject()[ref].toString();
}

QJsonObject StyleOf(const QJsonObject &book, const QString &ref)
{
    return book[QStringLiteral("styles")].toObject()[ref].toObject();
}

// A JPEG as the window writes its work file.
QString WritePicture(const QString &dir, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(qRgb(40, 120, 200));
    const QString path = WorkFilePath(dir);
    EXPECT_TRUE(WriteImageFile(path, QStringLiteral("jpg"), img, size, {}));
    return path;
}

ScaleSetting Scale(const char *pixel, const char *value, const char *unit)
{
    ScaleSetting s;
    s.hPixel = s.vPixel = pixel;
    s.hValue = s.vValue = value;
    s.unit = unit;
    return s;
}

// Rows as the results list shows them: a distance, and a perpendicular with
// one sub-result row.
std::vector<ResultRow> ThreeRows(Language lang)
{
    MeasureList list;
    ResultsTable table(lang);
    ListItem(list, table, KindDistance2Points, 12.5, UnitMillimetre);
    ListItem(list, table, KindPerpendicular, 3.0, UnitMillimetre, 1);
    return table.rows();
}

struct EdgeCase {
    const char *name;
    Language lang;
    bool threeRows;
    ScaleSetting scale;
    std::map<QString, QString> texts;  // the texts the case is about
    int lastRow;                       // L
};

void PrintTo(const EdgeCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReportEdgeCases : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(ReportEdgeCases, CellsFormatsAndPictureReadBack)
{
    REQUIRE_READER();
    const EdgeCase &c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QSize pictureSize(640, 481);
    const QString picture = WritePicture(dir.path(), pictureSize);

    ReportInput in;
    in.language = c.lang;
    in.imageSize = pictureSize;
    in.pictureSize = pictureSize;
    in.scale = c.scale;
    if (c.threeRows)
        in.rows = ThreeRows(c.lang);
    const ReportLayout layout = BuildReportLayout(in);
    ASSERT_EQ(layout.lastTableRow, c.lastRow);

    const QString path = dir.filePath(QStringLiteral("r.xlsx"));
    QString error;
    ASSERT_TRUE(WriteReportWorkbook(path, layout, picture, &error)) << error.toStdString();
    const QJsonObject book = ReadXlsx(path, dir.path(), &error);
    ASSERT_FALSE(book.isEmpty()) << error.toStdString();
    EXPECT_EQ(book[QStringLiteral("sheets")].toInt(), 1);

    // Texts: those of the case, then the rows as the list shows them.
    for (const auto &[ref, text] : c.texts)
        EXPECT_EQ(Text(book, ref), text) << ref.toStdString();
    const QJsonObject types = book[QStringLiteral("types")].toObject();
    for (std::size_t i = 0; i < in.rows.size(); ++i) {
        const ResultRow &r = in.rows[i];
        const int row = 8 + static_cast<int>(i);
        EXPECT_EQ(Text(book, CellRef(row, 1)).toStdString(), r.columns[0]);
        EXPECT_EQ(Text(book, CellRef(row, 2)).toStdString(), r.columns[1]);
        EXPECT_EQ(Text(book, CellRef(row, 3)).toStdString(), r.columns[2] + r.columns[3]);
        // Row numbers stay texts ("1" is not the number 1), with no apostrophe.
        EXPECT_EQ(types[CellRef(row, 1)].toString(), QStringLiteral("s"));
    }
    // Nothing else was written.
    const QJsonObject cells = book[QStringLiteral("cells")].toObject();
    EXPECT_EQ(cells.size(), static_cast<qsizetype>(layout.cells.size()));
    for (auto it = cells.begin(); it != cells.end(); ++it)
        EXPECT_EQ(types[it.key()].toString(), QStringLiteral("s")) << it.key().toStdString();
    EXPECT_FALSE(cells.contains(CellRef(c.lastRow + 1, 1)));

    // Widths in characters; the file holds them with the 5-pixel cell padding
    // of the 7-pixel standard digit.
    const QJsonObject widths = book[QStringLiteral("widths")].toObject();
    EXPECT_NEAR(widths[QStringLiteral("B")].toDouble(), 13 + 5.0 / 7, 0.01);
    EXPECT_NEAR(widths[QStringLiteral("C")].toDouble(), 15 + 5.0 / 7, 0.01);
    EXPECT_NEAR(widths[QStringLiteral("D")].toDouble(), 15 + 5.0 / 7, 0.01);
    EXPECT_FALSE(widths.contains(QStringLiteral("A")));
    EXPECT_DOUBLE_EQ(book[QStringLiteral("defaultRowHeight")].toDouble(), 13.5);
    const QJsonObject heights = book[QStringLiteral("rowHeights")].toObject();
    for (auto it = heights.begin(); it != heights.end(); ++it)
        EXPECT_DOUBLE_EQ(it.value().toDouble(), 13.5) << "row " << it.key().toStdString();

    // B1:D999 centred, the header shaded, B7:D(L) boxed with inside lines.
    int centred = 0;
    for (int row = 1; row <= 1000; ++row) {
        for (int column = 0; column <= 4; ++column) {
            const QString ref = CellRef(row, column);
            const QJsonObject st = StyleOf(book, ref);
            const bool inCentre = row <= 999 && column >= 1 && column <= 3;
            const bool inTable = row >= 7 && row <= c.lastRow && column >= 1 && column <= 3;
            centred += st[QStringLiteral("h")].toString() == QStringLiteral("center");
            if (inCentre != (st[QStringLiteral("h")].toString() == QStringLiteral("center")))
                ADD_FAILURE() << "alignment of " << ref.toStdString();
            for (const char *side : {"left", "right", "top", "bottom"}) {
                const QString style = st[QLatin1String(side)].toString();
                if (style != (inTable ? QStringLiteral("thin") : QString()))
                    ADD_FAILURE() << side << " border of " << ref.toStdString() << ": "
                                  << style.toStdString();
            }
            const bool shaded = row == 7 && inTable;
            EXPECT_EQ(st[QStringLiteral("fill")].toString(), shaded ? QStringLiteral("solid") : QString())
                << ref.toStdString();
            if (shaded) {
                EXPECT_EQ(st[QStringLiteral("fillColor")].toString().right(6), QStringLiteral("C0C0C0"));
            }
        }
    }
    EXPECT_EQ(centred, 3 * 999);

    // The picture, back in points: 10 pt from the left, 10 pt under the top
    // of row L + 3, 450 pt wide, 481 x 450 / 640 = 338 pt high.
    const QJsonArray pics = book[QStringLiteral("pictures")].toArray();
    ASSERT_EQ(pics.size(), 1);
    const QJsonObject pic = pics[0].toObject();
    const QJsonObject from = pic[QStringLiteral("from")].toObject();
    const QJsonObject to = pic[QStringLiteral("to")].toObject();
    const QJsonObject ext = pic[QStringLiteral("ext")].toObject();
    const double expectTop = (c.lastRow + 2) * 13.5 + 10;
    EXPECT_EQ(from[QStringLiteral("col")].toInt(), 0);
    EXPECT_EQ(from[QStringLiteral("row")].toInt(), c.lastRow + 2);  // row L + 3
    const double left = EmuToPoints(from[QStringLiteral("colOff")].toDouble());
    const double top =
        from[QStringLiteral("row")].toInt() * 13.5 + EmuToPoints(from[QStringLiteral("rowOff")].toDouble());
    const double bottom =
        to[QStringLiteral("row")].toInt() * 13.5 + EmuToPoints(to[QStringLiteral("rowOff")].toDouble());
    EXPECT_NEAR(left, 10.0, 1.0);
    EXPECT_NEAR(top, expectTop, 1.0);
    EXPECT_NEAR(EmuToPoints(ext[QStringLiteral("cx")].toDouble()), 450.0, 1.0);
    EXPECT_NEAR(EmuToPoints(ext[QStringLiteral("cy")].toDouble()), 338.0, 1.0);
    EXPECT_NEAR(bottom - top, 338.0, 1.0);
    // Embedded, not linked: the very work file.
    QFile embedded(pic[QStringLiteral("file")].toString());
    QFile source(picture);
    ASSERT_TRUE(embedded.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
    EXPECT_EQ(embedded.readAll(), source.readAll());
    // The sheet opens on the cell under "Image".
    EXPECT_EQ(book[QStringLiteral("activeCell")].toString(), CellRef(c.lastRow + 3, 0));
}

const std::map<QString, QString> kEnglishEmpty{
    {"A1", "Image Parameters"}, {"B2", "Image Size"},     {"C2", "H 640(pixel)"},
    {"D2", "V 481(pixel)"},     {"B3", "Horizontal Scale"}, {"C3", "1.00um/pixel"},
    {"D3", "100pixel=100um"},   {"B4", "Vertical Scale"}, {"C4", "1.00um/pixel"},
    {"D4", "100pixel=100um"},   {"A6", "Results"},        {"B7", "No."},
    {"C7", "Measurement"},      {"D7", "Value"},          {"A10", "Image"},
};

const std::map<QString, QString> kJapaneseEmpty{
    {"A1", "計測条件"},       {"B2", "入力画像"},       {"C2", "横 640(pixel)"},
    {"D2", "縦 481(pixel)"},  {"B3", "水平スケール"},   {"C3", "1.00μm/pixel"},
    {"D3", "100pixel=100μm"}, {"B4", "垂直スケール"},   {"C4", "1.00μm/pixel"},
    {"D4", "100pixel=100μm"}, {"A6", "計測データ"},     {"B7", "No."},
    {"C7", "計測"},           {"D7", "値"},             {"A10", "計測画像"},
};

// 100 pixels = 0.5 mm: 0.005 mm per pixel, printed with two decimals.
const std::map<QString, QString> kEnglishRows{
    {"C3", "0.01mm/pixel"}, {"D3", "100pixel=0.5mm"}, {"C4", "0.01mm/pixel"},
    {"D4", "100pixel=0.5mm"}, {"B8", "1"}, {"B9", "2"}, {"B10", "2_1"},
    {"D10", "1.00mm"},  // a sub-result row: its text alone
    {"A12", "Image"},
};

const std::map<QString, QString> kJapaneseRows{
    {"C3", "0.01mm/pixel"}, {"D3", "100pixel=0.5mm"}, {"B10", "2_1"}, {"D10", "1.00mm"},
    {"A6", "計測データ"},   {"A12", "計測画像"},
};

INSTANTIATE_TEST_SUITE_P(
    Report, ReportEdgeCases,
    ::testing::Values(
        EdgeCase{"EnglishEmpty", Language::English, false, Scale("100", "100", "um"), kEnglishEmpty, 8},
        EdgeCase{"JapaneseEmpty", Language::Japanese, false, Scale("100", "100", "\u03BCm"), kJapaneseEmpty, 8},
        EdgeCase{"EnglishThreeRows", Language::English, true, Scale("100", "0.5", "mm"), kEnglishRows, 10},
        EdgeCase{"JapaneseThreeRows", Language::Japanese, true, Scale("100", "0.5", "mm"), kJapaneseRows, 10}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(ReportLayout, PictureHeightTruncatesInIntegers)
{
    struct Case {
        QSize size;
        double height;
    };
    // height x 450 / width, the quotient truncated.
    for (const Case &c : {Case{{640, 480}, 337.0}, Case{{640, 481}, 338.0}, Case{{3, 1000}, 150000.0},
                          Case{{1000, 1}, 0.0}, Case{{0, 10}, 0.0}}) {
        ReportInput in;
        in.pictureSize = c.size;
        EXPECT_DOUBLE_EQ(BuildReportLayout(in).picture.height, c.height)
            << c.size.width() << "x" << c.size.height();
    }
}

TEST(ReportLayout, UnreadablePixelCountFallsBackToOneUnitPerPixel)
{
    ReportInput in;
    in.language = Language::English;
    in.scale = Scale("0", "5", "mm");
    const ReportLayout layout = BuildReportLayout(in);
    // C3 and D3 are the sixth and seventh cells written.
    ASSERT_GT(layout.cells.size(), 5u);
    EXPECT_EQ(layout.cells[5].text, "1.00mm/pixel");
    EXPECT_EQ(layout.cells[6].text, "0pixel=5mm");
}

// A calibration made at another image size is said under the scales, in the report's language.
TEST(ReportLayout, ACalibrationOfAnotherSizeIsWarnedUnderTheScales)
{
    struct Case {
        QSize madeAt;
        QSize image;
        bool warns;
    };
    for (const Case c : {Case{{1280, 960}, {640, 480}, true}, Case{{1280, 960}, {1280, 960}, false},
                         Case{{}, {640, 480}, false}}) {
        for (const Language lang : {Language::English, Language::Japanese}) {
            ReportInput in;
            in.language = lang;
            in.imageSize = in.pictureSize = c.image;
            in.scale.madeAt = c.madeAt;
            const ReportLayout layout = BuildReportLayout(in);
            std::vector<std::string> row5;
            for (const ReportCell &cell : layout.cells)
                if (cell.row == 5)
                    row5.push_back(cell.text);
            if (!c.warns) {
                EXPECT_TRUE(row5.empty()) << row5.front();
                continue;
            }
            ASSERT_EQ(row5.size(), 1u);
            EXPECT_EQ(row5.front(), CalibrationSizeWarning(c.madeAt, c.image, lang).toStdString());
        }
    }
}

QStringList Entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

ReportLayout SmallLayout()
{
    ReportInput in;
    in.language = Language::English;
    in.imageSize = in.pictureSize = QSize(32, 24);
    return BuildReportLayout(in);
}

TEST(ReportSave, NeverReplacesAnEarlierReport)
{
    QTemporaryDir dir;
    const QString picture = WritePicture(dir.path(), QSize(32, 24));
    const QDateTime stamp(QDate(2026, 3, 4), QTime(5, 6, 7));
    const QString first = SaveReportWorkbook(dir.path(), stamp, SmallLayout(), picture);
    ASSERT_EQ(QFileInfo(first).fileName(), QStringLiteral("Orvalin_Report_20260304_050607.xlsx"));
    QFile f(first);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = f.readAll();
    f.close();

    const QString second = SaveReportWorkbook(dir.path(), stamp, SmallLayout(), picture);
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("Orvalin_Report_20260304_050607_2.xlsx"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), firstBytes);
    // Only the reports and the picture: no hidden leftovers.
    EXPECT_EQ(Entries(dir.path()).size(), 3);
}


TEST(ReportSave, ReportHasTheModeOfAnyNewFile)
{
    QTemporaryDir dir;
    const QString picture = WritePicture(dir.path(), QSize(32, 24));
    // What the process's umask gives a file it makes.
    QFile plain(dir.filePath(QStringLiteral("plain.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString report = SaveReportWorkbook(dir.path(), QDateTime::currentDateTime(), SmallLayout(), picture);
    ASSERT_FALSE(report.isEmpty());
    EXPECT_EQ(QFile::permissions(report), QFile::permissions(plain.fileName()));
}

TEST(ReportSave, FailuresLeaveNothingBehind)
{
    QTemporaryDir dir;
    const QString pictureDir = dir.filePath(QStringLiteral("picture"));
    const QString out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(pictureDir) && QDir().mkpath(out));
    const QString picture = WritePicture(pictureDir, QSize(32, 24));
    const QDateTime stamp = QDateTime::currentDateTime();
    QString error;

    // A folder that does not exist.
    EXPECT_TRUE(SaveReportWorkbook(dir.filePath(QStringLiteral("missing")), stamp, SmallLayout(),
                                   picture, &error)
                    .isEmpty());
    EXPECT_FALSE(error.isEmpty());

    // A picture that cannot be read: the hidden file written first goes again.
    error.clear();
    EXPECT_TRUE(SaveReportWorkbook(out, stamp, SmallLayout(), dir.filePath(QStringLiteral("none.jpg")),
                                   &error)
                    .isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(Entries(out).isEmpty()) << Entries(out).join(' ').toStdString();

    // The disk refuses the workbook's bytes.
    {
        FileSizeLimit limit(2048);
        error.clear();
        EXPECT_TRUE(SaveReportWorkbook(out, stamp, SmallLayout(), picture, &error).isEmpty());
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(Entries(out).isEmpty()) << Entries(out).join(' ').toStdString();
}

}  // namespace

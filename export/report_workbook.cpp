#include "export/report_workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace orv {
namespace {

// Images are placed in pixels at 96 per inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr int kMaxNameAttempts = 1000;

// The workbook handle: freed unless close() wrote it out.
class XlsxWorkbook {
public:
    explicit XlsxWorkbook(const QByteArray &path) : wb_(workbook_new(path.constData())) {}

    lxw_workbook *get() const { return wb_.get(); }

    // Writes the file and frees the workbook, whatever the outcome.
    lxw_error close() { return workbook_close(wb_.release()); }

private:
    struct Free {
        void operator()(lxw_workbook *wb) const { lxw_workbook_free(wb); }
    };
    std::unique_ptr<lxw_workbook, Free> wb_;
};

// The formats a cell of B1:D999 and of the table can take; each combination
// is its own format object.
struct Formats {
    lxw_format *centred = nullptr;
    lxw_format *bordered = nullptr;  // table rows
    lxw_format *header = nullptr;    // table header: bordered and shaded
};

Formats MakeFormats(lxw_workbook *wb)
{
    Formats f;
    f.centred = workbook_add_format(wb);
    format_set_align(f.centred, LXW_ALIGN_CENTER);

    f.bordered = workbook_add_format(wb);
    format_set_align(f.bordered, LXW_ALIGN_CENTER);
    format_set_border(f.bordered, LXW_BORDER_THIN);

    f.header = workbook_add_format(wb);
    format_set_align(f.header, LXW_ALIGN_CENTER);
    format_set_border(f.header, LXW_BORDER_THIN);
    format_set_pattern(f.header, LXW_PATTERN_SOLID);
    // Colour 15 of the standard palette.
    format_set_bg_color(f.header, 0xC0C0C0);
    return f;
}

// The format of a cell (sheet row from 1, column from 0); nullptr for none.
lxw_format *FormatOf(const Formats &f, int row, int column, int lastTableRow, int lastTableColumn)
{
    if (column < ReportColumnB || column > lastTableColumn)
        return nullptr;
    if (row == kReportHeaderRow)
        return f.header;
    if (row > kReportHeaderRow && row <= lastTableRow)
        return f.bordered;
    return row <= kReportCenteredRows ? f.centred : nullptr;
}

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool Fail(QString *error, const char *what, lxw_error err)
{
    return Fail(error, QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromUtf8(lxw_strerror(err))));
}

// A new file under a hidden random name, removed again unless released.
// Made as any new file is (the umask decides its mode): the report is the
// user's document, not a private temporary.
class HiddenFile {
public:
    HiddenFile() = default;
    HiddenFile(const HiddenFile &) = delete;
    HiddenFile &operator=(const HiddenFile &) = delete;
    ~HiddenFile()
    {
        if (!path_.isEmpty())
            QFile::remove(path_);
    }

    bool create(const QString &dir, QString *error)
    {
        for (int attempt = 0; attempt < 16; ++attempt) {
            const QString candidate = QDir(dir).filePath(
                QStringLiteral(".Orvalin_Report_%1.xlsx")
                    .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0')));
            QFile file(candidate);
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                path_ = candidate;
                return true;
            }
            if (!QFileInfo::exists(candidate))
                return Fail(error, file.errorString());
        }
        return Fail(error, QStringLiteral("no free temporary name in %1").arg(dir));
    }
    const QString &fileName() const { return path_; }
    void release() { path_.clear(); }

private:
    QString path_;
};

}  // namespace

bool WriteReportWorkbook(const QString &path, const ReportLayout &layout,
                         const QString &picturePath, QString *error)
{
    const ReportPicture &pic = layout.picture;
    if (pic.pixels.width() <= 0 || pic.pixels.height() <= 0)
        return Fail(error, QStringLiteral("the picture has no size"));

    XlsxWorkbook book(QFile::encodeName(path));
    if (!book.get())
        return Fail(error, QStringLiteral("the workbook could not be created"));
    lxw_worksheet *ws = workbook_add_worksheet(book.get(), nullptr);
    if (!ws)
        return Fail(error, QStringLiteral("the worksheet could not be created"));

    // The picture's place is reckoned with rows of 13.5 points.
    worksheet_set_default_row(ws, kReportRowHeightPt, LXW_FALSE);
    worksheet_set_column(ws, ReportColumnB, ReportColumnB, kReportColumnWidths[0], nullptr);
    worksheet_set_column(ws, ReportColumnC, ReportColumnC, kReportColumnWidths[1], nullptr);
    worksheet_set_column(ws, ReportColumnD, ReportColumnD, kReportColumnWidths[2], nullptr);
    const int lastColumn = layout.lastTableColumn;
    if (lastColumn >= ReportColumnE)
        worksheet_set_column(ws, ReportColumnE, ReportColumnE, kReportColumnWidths[3], nullptr);

    const Formats formats = MakeFormats(book.get());
    const int last = layout.lastTableRow;
    const int lastFormatted = std::max(kReportCenteredRows, last);

    // Texts first, then every formatted cell left empty as a blank with its format.
    std::vector<std::vector<bool>> written(static_cast<std::size_t>(lastFormatted) + 1,
                                           std::vector<bool>(static_cast<std::size_t>(lastColumn) + 1, false));
    for (const ReportCell &c : layout.cells) {
        const lxw_error err =
            worksheet_write_string(ws, static_cast<lxw_row_t>(c.row - 1), static_cast<lxw_col_t>(c.column),
                                   c.text.c_str(), FormatOf(formats, c.row, c.column, last, lastColumn));
        if (err != LXW_NO_ERROR)
            return Fail(error, "cell text", err);
        if (c.row <= lastFormatted && c.column <= lastColumn)
            written[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.column)] = true;
    }
    for (int row = 1; row <= lastFormatted; ++row) {
        for (int column = ReportColumnB; column <= lastColumn; ++column) {
            if (written[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)])
                continue;
            const lxw_error err = worksheet_write_blank(ws, static_cast<lxw_row_t>(row - 1),
                                                        static_cast<lxw_col_t>(column),
                                                        FormatOf(formats, row, column, last, lastColumn));
            if (err != LXW_NO_ERROR)
                return Fail(error, "blank cell", err);
        }
    }

    // Rows holding cells are placed by the writer at its own default height
    // (15 pt) when it anchors the picture, whatever the sheet's default says:
    // give them their height outright so the picture lands where reckoned.
    for (int row = 1; row <= lastFormatted; ++row)
        worksheet_set_row(ws, static_cast<lxw_row_t>(row - 1), kReportRowHeightPt, nullptr);

    // The sheet opens with the cell under "Image" active.
    const auto below = static_cast<lxw_row_t>(last + 2);
    worksheet_set_selection(ws, below, 0, below, 0);

    // Placed from the sheet's corner: the writer moves the anchor to the cell
    // the offsets reach.
    lxw_image_options opt{};
    opt.x_offset = static_cast<int32_t>(std::lround(pic.left * kPixelsPerPoint));
    opt.y_offset = static_cast<int32_t>(std::lround(pic.top * kPixelsPerPoint));
    opt.x_scale = pic.width * kPixelsPerPoint / pic.pixels.width();
    opt.y_scale = pic.height * kPixelsPerPoint / pic.pixels.height();
    const QByteArray picture = QFile::encodeName(picturePath);
    const lxw_error imageErr = worksheet_insert_image_opt(ws, 0, 0, picture.constData(), &opt);
    if (imageErr != LXW_NO_ERROR)
        return Fail(error, "picture", imageErr);

    const lxw_error closeErr = book.close();
    if (closeErr != LXW_NO_ERROR)
        return Fail(error, "workbook", closeErr);
    return true;
}

QString ReportFileName(const QDateTime &stamp, int attempt)
{
    QString name = QStringLiteral("Orvalin_Report_") + stamp.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    if (attempt > 1)
        name += QLatin1Char('_') + QString::number(attempt);
    return name + QStringLiteral(".xlsx");
}

QString SaveReportWorkbook(const QString &dir, const QDateTime &stamp, const ReportLayout &layout,
                           const QString &picturePath, QString *error)
{
    // Written under a hidden name first, so a failed write never shows up as
    // a report; removed by the destructor unless renamed.
    HiddenFile temp;
    if (!temp.create(dir, error))
        return {};
    if (!WriteReportWorkbook(temp.fileName(), layout, picturePath, error))
        return {};

    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
        const QString target = QDir(dir).filePath(ReportFileName(stamp, attempt));
        if (QFileInfo::exists(target))
            continue;
        // A rename never replaces an existing file.
        if (QFile::rename(temp.fileName(), target)) {
            temp.release();
            return target;
        }
        if (!QFileInfo::exists(target)) {
            Fail(error, QStringLiteral("the report could not be renamed to %1").arg(target));
            return {};
        }
    }
    Fail(error, QStringLiteral("no free report name in %1").arg(dir));
    return {};
}

}  // namespace orv

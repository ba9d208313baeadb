// Saves that fail say why and leave the earlier file as it was: the CSV, the
// BMP and JPEG image and the scale and draw setting files, into a path that is
// a folder, a folder that does not exist, and a full disk (a file size limit:
// the tests run as root, which no permission stops).
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "export/csv_export.h"
#include "calib/draw_file.h"
#include "tests/support/file_size_limit.h"
#include "export/image_file.h"
#include "export/results_table.h"
#include "calib/scale_file.h"

using namespace orv;
using orv::test::FileSizeLimit;

namespace {

using Saver = std::function<bool(const QString &path, QString *reason)>;

struct SaverCase {
    const char *name;
    Saver save;
};

std::vector<SaverCase> Savers(const ResultsTable &table)
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return {
        {"csv", [&table](const QString &p, QString *r) { return SaveResultsCsv(p, table, r); }},
        {"bmp", [image](const QString &p, QString *r) {
             return WriteImageFile(p, "bmp", image, image.size(), nullptr, r);
         }},
        {"jpg", [image](const QString &p, QString *r) {
             return WriteImageFile(p, "jpg", image, image.size(), nullptr, r);
         }},
        {"sst", [](const QString &p, QString *r) { return SaveScaleSetting(p, ScaleSetting{}, r); }},
        {"drw", [](const QString &p, QString *r) { return SaveDrawSetting(p, DrawAttribute{}, r); }},
    };
}

QString Reason(int errnum)
{
    return QString::fromLocal8Bit(std::strerror(errnum));
}

QStringList Entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

}  // namespace

TEST(SaveFailure, EachSaveSaysWhyAndKeepsTheEarlierFile)
{
    ResultsTable table(Language::English);
    table.AddResultRow(1, "Distance", "12.50", "mm");
    for (const SaverCase &c : Savers(table)) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("earlier.") + c.name);

        // A folder where the file should go.
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken")));
        QString reason;
        EXPECT_FALSE(c.save(dir.filePath("taken"), &reason));
        EXPECT_EQ(reason, Reason(EISDIR));

        // A folder that does not exist.
        reason.clear();
        EXPECT_FALSE(c.save(dir.filePath("no/such/folder/x"), &reason));
        EXPECT_EQ(reason, Reason(ENOENT));

        // A full disk: the earlier file stays whole and no temporary is left.
        const QByteArray earlier = "[Kept]\r\nearlier=1\r\n";
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(earlier), earlier.size());
        }
        reason.clear();
        bool saved = true;
        {
            const FileSizeLimit full(16);
            saved = c.save(file, &reason);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(reason, Reason(EFBIG));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), earlier);
        EXPECT_EQ(Entries(dir.path()), (QStringList{QStringLiteral("earlier.") + c.name, "taken"}));

        // And the same save succeeds with room to write.
        EXPECT_TRUE(c.save(file, nullptr));
    }
}

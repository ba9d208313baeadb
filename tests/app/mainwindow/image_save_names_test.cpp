// The names the Save Image chooser's answers are written under, the bytes
// under each name, and the file types the Open chooser lists by default.
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>

#include "app/mainwindow/window_files.h"
#include "app/pages/image/image_page.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/support/file_test_util.h"

namespace orv::test {
namespace {

using SaveNames = MainWindowTest;

const QString kJpegType = QStringLiteral("JPEG Files (*.jpg)");
const QString kBmpType = QStringLiteral("Bitmap Files (*.bmp)");
const QString kMeasurementType = QStringLiteral("Measurement Files (*.orvm)");
const QString kAllType = QStringLiteral("All Files (*)");

// How the bytes of each written kind start.
const QByteArray kJpegMagic("\xFF\xD8\xFF", 3);
const QByteArray kBmpMagic("BM");
const QByteArray kZipMagic("PK\x03\x04", 4);

TEST_F(SaveNames, ChosenTypeAndTypedNameGiveTheFileAndItsBytes)
{
    MainWindow &d = MakeWithImage({40, 30});
    AddDistance({5, 5}, {30, 20});
    const struct {
        const QString &type;
        const char *typed;
        const char *written;
        const QByteArray &magic;
    } cases[] = {
        {kMeasurementType, "session", "session.orvm", kZipMagic},
        {kJpegType, "plain", "plain.jpg", kJpegMagic},
        {kJpegType, "picture.png", "picture.png.jpg", kJpegMagic},
        {kJpegType, "scan.tif", "scan.tif.jpg", kJpegMagic},
        {kJpegType, "kept.bmp", "kept.bmp", kBmpMagic},
        {kJpegType, "work.orvm", "work.orvm", kZipMagic},
        {kBmpType, "bitmap", "bitmap.bmp", kBmpMagic},
        {kBmpType, "photo.JPEG", "photo.JPEG", kJpegMagic},
        {kAllType, "any", "any.bmp", kBmpMagic},
        {kAllType, "other.png", "other.png.bmp", kBmpMagic},
        {kJpegType, "dotted.", "dotted.jpg", kJpegMagic},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        prompter.saveFilters.push_back(c.type);
        prompter.savePaths.push_back(dir.filePath(QLatin1String(c.typed)));
        d.commands().OnSaveImage();
        const QString written = dir.filePath(QLatin1String(c.written));
        EXPECT_TRUE(ReadAll(written).startsWith(c.magic)) << ReadAll(written).left(4).toHex().toStdString();
        if (QLatin1String(c.typed) != QLatin1String(c.written)) {
            EXPECT_FALSE(QFileInfo::exists(dir.filePath(QLatin1String(c.typed))));
        }
    }
    EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join(' ').toStdString();
}

TEST_F(SaveNames, AnAddedExtensionAsksBeforeReplacingAFile)
{
    const struct {
        const char *language;
        const char *question;
        UiPrompter::Answer answer;
    } cases[] = {
        {"en", "%1 already exists.\nDo you want to replace it?", UiPrompter::Answer::No},
        {"ja", "%1 は既に存在します。\n上書きしますか？", UiPrompter::Answer::Yes},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.language) + (c.answer == UiPrompter::Answer::Yes ? " yes" : " no"));
        MainWindow &d = Make(c.language, c.language);
        d.LoadImageFile(WriteImage(QStringLiteral("image.png"), {40, 30}));
        const QString target = dir.filePath(QStringLiteral("result.jpg"));
        ASSERT_TRUE(WriteAll(target, "older"));
        prompter.messages.clear();
        prompter.answers = {c.answer};
        prompter.saveFilters = {kJpegType};
        prompter.savePaths = {dir.filePath(QStringLiteral("result"))};
        d.commands().OnSaveImage();
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, QString::fromUtf8(c.question).arg(target));
        EXPECT_EQ(prompter.messages[0].buttons, UiPrompter::Buttons::YesNo);
        EXPECT_EQ(ReadAll(target).startsWith(kJpegMagic), c.answer == UiPrompter::Answer::Yes);
    }
    // The name as typed was the chooser's own question: none of ours.
    prompter.messages.clear();
    prompter.saveFilters = {kJpegType};
    prompter.savePaths = {dir.filePath(QStringLiteral("result.jpg"))};
    mainWindow->commands().OnSaveImage();
    EXPECT_TRUE(prompter.messages.empty());
}

// Every kind of file Open reads is listed by the chooser's default type.
TEST_F(SaveNames, OpenChoosersDefaultTypeListsEveryReadableFile)
{
    MainWindow &d = MakeWithImage({40, 30});
    ASSERT_TRUE(WindowFiles::Of(d)->SaveAs(dir.filePath(QStringLiteral("session.orvm"))));
    // A 1 x 1 GIF (Qt reads GIF but does not write it).
    const QByteArray gif =
        QByteArray::fromHex("47494638396101000100800000000000ffffff2c00000000010001000002024401003b");
    ASSERT_TRUE(WriteAll(dir.filePath(QStringLiteral("tiny.gif")), gif));
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QStringList files = {QStringLiteral("session.orvm"), QStringLiteral("tiny.gif")};
    for (const char *name : {"a.jpg", "b.jpeg", "c.bmp", "d.png", "e.tif", "f.tiff", "G.PNG"}) {
        const QString path = dir.filePath(QLatin1String(name));
        ASSERT_TRUE(picture.save(path)) << name;
        files << QLatin1String(name);
    }

    ShowLaidOut(d);
    QTest::mouseClick(PartsOf(d).imagePage->openButton(), Qt::LeftButton);
    Settle();
    ASSERT_EQ(prompter.openRequests.size(), 1u);
    const QString first = prompter.openRequests[0].filter.section(QStringLiteral(";;"), 0, 0);
    const QRegularExpressionMatch list = QRegularExpression(QStringLiteral("\\(([^()]*)\\)$")).match(first);
    ASSERT_TRUE(list.hasMatch()) << first.toStdString();
    const QStringList patterns = list.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        prompter.messages.clear();
        d.LoadImageFile(dir.filePath(name));
        EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join(' ').toStdString();
        bool listed = false;
        for (const QString &p : patterns) {
            // The choosers match patterns without regard to case.
            listed = listed
                || QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                                      QRegularExpression::CaseInsensitiveOption)
                       .match(name)
                       .hasMatch();
        }
        EXPECT_TRUE(listed) << first.toStdString();
    }
    // Not everything: the default is no "all files".
    EXPECT_FALSE(patterns.contains(QStringLiteral("*")));
}

}  // namespace
}  // namespace orv::test

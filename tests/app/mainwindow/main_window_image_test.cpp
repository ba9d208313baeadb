// Opening images, the failure of a load, the save round and the page switch back.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <cerrno>
#include <cstring>

#include "app/pages/image/image_page.h"
#include "app/pages/measure/measure_page.h"
#include "app/pages/measure/tool_button.h"
#include "app/pages/scale/scale_page.h"
#include "export/image_file.h"
#include "measure/render/draw_measures.h"
#include "measure/render/gdi_font.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/support/render_test_support.h"

namespace orv::test {
namespace {

using Images = MainWindowTest;

TEST_F(Images, LoadingEnablesTheControlsAndEmptiesTheList)
{
    MainWindow &d = MakeWithImage({300, 200});
    AddDistance({10, 10}, {60, 10});
    AddDistance({10, 30}, {60, 30});
    d.document().SelectItem(&d.document().list().at(1));
    ASSERT_EQ(d.document().results().rowCount(), 2);

    d.host().SetZoom(200, 200);
    d.LoadImageFile(WriteImage("second.png", {120, 90}));
    EXPECT_TRUE(d.hasImage());
    EXPECT_EQ(d.host().imageSize(), QSize(120, 90));
    EXPECT_EQ(d.host().view().zoomX, 100);
    EXPECT_EQ(d.host().view().scroll, QPoint(0, 0));
    EXPECT_EQ(d.host().view().size, QSize(120, 90));
    EXPECT_EQ(d.document().results().rowCount(), 0);
    EXPECT_TRUE(d.document().list().empty());
    EXPECT_EQ(d.document().selectedItem(), nullptr);
    for (CommandId id : {CommandId::SaveCsv, CommandId::SaveImage, CommandId::Report, CommandId::DeleteAll})
        EXPECT_TRUE(d.host().button(id)->isEnabled()) << ToUnderlying(id);
    EXPECT_TRUE(PartsOf(d).measurePage->button(1011)->isEnabled());
    EXPECT_TRUE(PartsOf(d).scalePage->controls().hValue->isEnabled());
    EXPECT_EQ(d.host().viewState(), ViewState::Rebuild);
    d.EnsureComposite();
    EXPECT_EQ(d.host().viewState(), ViewState::UpToDate);
    EXPECT_EQ(d.composite().size(), QSize(120, 90));
}

TEST_F(Images, FileThatCannotBeDecodedKeepsTheCurrentImageAndSaysSo)
{
    MainWindow &d = MakeWithImage({300, 200});
    AddDistance({10, 10}, {60, 10});
    const QString bad = dir.filePath("broken.jpg");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xFF\xD8\xFF\xE0 not really a picture");
    f.close();
    d.LoadImageFile(bad);
    d.LoadImageFile(dir.filePath("missing.png"));
    EXPECT_TRUE(d.hasImage());
    EXPECT_EQ(d.host().imageSize(), QSize(300, 200));
    EXPECT_EQ(d.document().list().size(), 1u);
    EXPECT_EQ(d.document().results().rowCount(), 1);
    EXPECT_TRUE(d.host().button(CommandId::SaveImage)->isEnabled());
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text, "The image file could not be read.\n" + bad);
    EXPECT_EQ(prompter.messages[1].text, "The image file could not be read.\n" + dir.filePath("missing.png"));
    // Without a previous image nothing is enabled by a failed load.
    Make();
    mainWindow->LoadImageFile(bad);
    EXPECT_FALSE(mainWindow->hasImage());
    EXPECT_EQ(mainWindow->host().viewState(), ViewState::NoImage);
    EXPECT_FALSE(mainWindow->host().button(CommandId::SaveImage)->isEnabled());
}

TEST_F(Images, FailureMessagesNameTheFileAndARefusedSize)
{
    MainWindow &d = MakeWithImage({30, 20});
    QImage tiny(40, 30, QImage::Format_RGB32);
    tiny.fill(Qt::gray);
    QByteArray jpeg;
    QBuffer buf(&jpeg);
    buf.open(QIODevice::WriteOnly);
    tiny.save(&buf, "JPG");
    // The frame header claims 60000 x 50000 pixels.
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    jpeg[sof + 5] = char(50000 >> 8);
    jpeg[sof + 6] = char(50000 & 0xFF);
    jpeg[sof + 7] = char(60000 >> 8);
    jpeg[sof + 8] = char(60000 & 0xFF);
    const struct {
        const char *name;
        QByteArray bytes;
        const char *message;
    } cases[] = {
        {"huge.jpg", jpeg, "The image file could not be read (too large: 60000 × 50000)."},
        {"empty.jpg", QByteArray(), "The image file could not be read."},
        {"cut.jpg", jpeg.left(jpeg.size() / 2), "The image file could not be read."},
        {"notes.bmp", "no picture here", "The image file could not be read."},
    };
    for (const auto &c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        prompter.messages.clear();
        d.LoadImageFile(path);
        ASSERT_EQ(prompter.messages.size(), 1u) << c.name;
        EXPECT_EQ(prompter.messages[0].text, QString::fromUtf8(c.message) + "\n" + path);
        EXPECT_EQ(d.host().imageSize(), QSize(30, 20));
    }
    // Japanese wording of the refusal.
    Make("ja", "ja");
    prompter.messages.clear();
    mainWindow->LoadImageFile(dir.filePath("huge.jpg"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(
        QStringLiteral("画像ファイルを読み込めませんでした（大きすぎます: 60000 × 50000）。")));
}

TEST_F(Images, OpenButtonSelectsTheScalePageAndOpensTheChosenFile)
{
    MainWindow &d = Make();
    const QString path = WriteImage("chosen.png", {200, 150});
    ShowLaidOut(d);
    prompter.openPaths.push_back(path);
    QTest::mouseClick(PartsOf(d).imagePage->openButton(), Qt::LeftButton);
    Settle();
    ASSERT_EQ(prompter.openRequests.size(), 1u);
    EXPECT_EQ(prompter.openRequests[0].filter,
              "Supported Files (*.jpeg *.jpg *.bmp *.png *.gif *.tif *.tiff *.orvm);;Measurement Files (*.orvm);;"
              "Jpeg Files (*.jpeg *.jpg);;Bitmap Files (*.bmp);;PNG Files (*.png);;GIF Files (*.gif);;"
              "TIFF Files (*.tif *.tiff);;All Files (*)");
    EXPECT_TRUE(d.hasImage());
    EXPECT_EQ(d.host().currentTab(), PageScale);

    // Cancelling the chooser still runs the page switch and keeps the image.
    d.host().SelectTab(PageMeasure);
    PartsOf(d).imagePage->OnOpen();
    Settle();
    // The chooser opened where the last file came from.
    ASSERT_EQ(prompter.openRequests.size(), 2u);
    EXPECT_EQ(prompter.openRequests[1].dir, dir.path());
    EXPECT_EQ(prompter.openRequests.size(), 2u);
    EXPECT_EQ(prompter.openRequests[1].dir, dir.path());
    EXPECT_EQ(d.host().currentTab(), PageScale);
    EXPECT_TRUE(d.hasImage());
}

// Without an image the Scale page is disabled, every field of it looking
// so, also after the Open button's file could not be read.
TEST_F(Images, ScalePageStaysDisabledUntilAnImageIsLoaded)
{
    MainWindow &d = Make();
    d.show();
    const QList<QLineEdit *> fields = PartsOf(d).scalePage->findChildren<QLineEdit *>();
    ASSERT_GE(fields.size(), 5);
    const auto enabledFields = [&fields] {
        QStringList names;
        for (const QLineEdit *f : fields)
            if (f->isEnabled())
                names << f->objectName();
        return names.join(' ').toStdString();
    };
    EXPECT_EQ(enabledFields(), "");

    const QString bad = dir.filePath("broken.jpg");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xFF\xD8\xFF\xE0 not really a picture");
    f.close();
    prompter.openPaths.push_back(bad);
    QTest::mouseClick(PartsOf(d).imagePage->openButton(), Qt::LeftButton);
    Settle();
    ASSERT_EQ(prompter.messages.size(), 1u);
    ASSERT_FALSE(d.hasImage());
    EXPECT_EQ(d.host().currentTab(), PageScale);
    EXPECT_EQ(enabledFields(), "");

    prompter.openPaths.push_back(WriteImage("good.png", {200, 150}));
    PartsOf(d).imagePage->OnOpen();
    Settle();
    ASSERT_TRUE(d.hasImage());
    EXPECT_TRUE(PartsOf(d).scalePage->controls().hValue->isEnabled());
    EXPECT_TRUE(PartsOf(d).scalePage->controls().standardLength->isEnabled());
}

TEST_F(Images, ReturningToTheImagePageAsksBeforeDiscarding)
{
    MainWindow &d = MakeWithImage();
    AddDistance({10, 10}, {60, 10});
    d.host().SelectTab(PageScale);
    ASSERT_EQ(d.host().currentTab(), PageScale);

    prompter.answers.push_back(UiPrompter::Answer::No);
    d.host().SelectTab(PageImage);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "The image you are editing will not be saved. Continue?");
    EXPECT_EQ(prompter.messages[0].buttons, UiPrompter::Buttons::YesNo);
    EXPECT_EQ(d.host().currentTab(), PageScale);
    EXPECT_EQ(PartsOf(d).tabControl->currentIndex(), PageScale);
    EXPECT_TRUE(d.hasImage());
    EXPECT_EQ(d.document().results().rowCount(), 1);

    prompter.answers.push_back(UiPrompter::Answer::Yes);
    d.host().SelectTab(PageImage);
    EXPECT_EQ(d.host().currentTab(), PageImage);
    EXPECT_FALSE(d.hasImage());
    EXPECT_EQ(d.host().viewState(), ViewState::NoImage);
    EXPECT_EQ(d.document().results().rowCount(), 0);
    EXPECT_EQ(d.host().view().size, QSize(0, 0));
    EXPECT_FALSE(PartsOf(d).overviewShown);
    for (CommandId id : {CommandId::SaveCsv, CommandId::SaveImage, CommandId::Report, CommandId::DeleteAll})
        EXPECT_FALSE(d.host().button(id)->isEnabled()) << ToUnderlying(id);
    EXPECT_FALSE(PartsOf(d).measurePage->button(1011)->isEnabled());
    EXPECT_EQ(d.host().windowSizeRequested(), QSize(d.host().columnWidth(), 742));

    // Without an image there is nothing to ask.
    d.host().SelectTab(PageScale);
    d.host().SelectTab(PageImage);
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(d.host().currentTab(), PageImage);
}

TEST_F(Images, TabChangeIsRefusedWhileADragIsUnderWay)
{
    MainWindow &d = MakeWithImage();
    d.host().SelectTab(PageMeasure);
    d.pointer().view().setDragMode(DragMode::Placing);
    d.host().SelectTab(PageOptions);
    EXPECT_EQ(d.host().currentTab(), PageMeasure);
    EXPECT_EQ(PartsOf(d).tabControl->currentIndex(), PageMeasure);
    d.pointer().view().setDragMode(DragMode::Idle);
    d.host().SelectTab(PageOptions);
    EXPECT_EQ(d.host().currentTab(), PageOptions);
}

TEST_F(Images, SavingWithASelectionFirstRepaintsWithoutTheSelectionMarks)
{
    MainWindow &d = MakeWithImage({300, 200});
    d.show();
    d.host().SelectTab(PageMeasure);
    MeasureItem *item = AddDistance({40, 100}, {200, 100});
    d.document().SelectItem(item);
    d.host().RebuildView();
    d.EnsureComposite();
    const QImage withMarks = d.composite().copy();

    const QString target = dir.filePath("saved.bmp");
    prompter.savePaths.push_back(target);
    QTest::mouseClick(d.host().button(CommandId::SaveImage), Qt::LeftButton);
    // The first run only clears the selection and waits for the repaint.
    EXPECT_EQ(d.document().selectedItem(), nullptr);
    EXPECT_EQ(d.pendingCommand(), CommandId::SaveImage);
    EXPECT_TRUE(prompter.saveRequests.empty());
    for (int i = 0; i < 50 && prompter.saveRequests.empty(); ++i)
        QTest::qWait(10);
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(d.pendingCommand(), CommandId::None);
    EXPECT_EQ(prompter.saveRequests[0].filter,
              "JPEG Files (*.jpg);;Bitmap Files (*.bmp);;Measurement Files (*.orvm);;All Files (*)");

    QImage saved(target);
    ASSERT_FALSE(saved.isNull());
    saved = saved.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(saved, d.composite());
    EXPECT_NE(saved, withMarks.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(d.document().list().size(), 1u);
    QTest::qWait(30);
    EXPECT_EQ(prompter.saveRequests.size(), 1u);
}

TEST_F(Images, FailedImageSaveNamesTheFileAndTheReason)
{
    for (const char *lang : {"en", "ja"}) {
        SCOPED_TRACE(lang);
        prompter.messages.clear();
        MainWindow &d = Make(lang, lang);
        d.LoadImageFile(WriteImage("shown.png", {30, 20}));
        // A folder in the way of each type; a missing folder.
        const QStringList paths = {dir.filePath("taken.jpg"), dir.filePath("taken.bmp"), dir.filePath("missing/x.jpg")};
        ASSERT_TRUE(QDir().mkpath(paths[0]) && QDir().mkpath(paths[1]));
        for (const QString &p : paths) {
            prompter.savePaths.push_back(p);
            d.commands().OnSaveImage();
        }
        const QString lead = QString::fromLatin1(lang) == "en" ? QStringLiteral("The image file could not be saved.")
                                                               : QStringLiteral("画像ファイルを保存できませんでした。");
        const QString isDir = QString::fromLocal8Bit(std::strerror(EISDIR));
        EXPECT_EQ(prompter.messageTexts(),
                  (QStringList{lead + "\n\n" + paths[0] + "\n" + isDir, lead + "\n\n" + paths[1] + "\n" + isDir,
                               lead + "\n\n" + paths[2] + "\n" + QString::fromLocal8Bit(std::strerror(ENOENT))}));
        EXPECT_TRUE(QFileInfo(paths[0]).isDir());
    }
}

TEST_F(Images, SavedFileTypeFollowsTheExtensionInAnyCase)
{
    MainWindow &d = MakeWithImage({30, 20});
    prompter.savePaths = {dir.filePath("a.jpg"), dir.filePath("b.JPG"), dir.filePath("c")};
    d.commands().OnSaveImage();
    d.commands().OnSaveImage();
    d.commands().OnSaveImage();
    EXPECT_EQ(QImageReader(dir.filePath("a.jpg")).format(), "jpeg");
    EXPECT_EQ(QImageReader(dir.filePath("b.JPG")).format(), "jpeg");
    EXPECT_EQ(QImageReader(dir.filePath("c.bmp")).format(), "bmp");
    QFile bmp(dir.filePath("c.bmp"));
    EXPECT_EQ(bmp.size(), 54 + 20 * 92);  // 30 pixels: 90 bytes padded to 92

    // Cancelling writes nothing.
    d.commands().OnSaveImage();
    EXPECT_EQ(prompter.saveRequests.size(), 4u);

    // The frozen camera frame marker sends the save to the camera, which
    // writes nothing here, rather than writing the old composite.
    d.document().SetOrigin(ImageOrigin::CameraFrame);
    d.WriteImageFile(dir.filePath("frame.bmp"), "bmp");
    EXPECT_FALSE(QFile::exists(dir.filePath("frame.bmp")));
}

TEST_F(Images, LabelsByTheImageEdgeAreSavedWhole)
{
    struct Case {
        const char *what;
        QPoint a, b;
    };
    const Case cases[] = {
        {"right edge", {200, 100}, {296, 100}},
        {"bottom edge", {40, 196}, {136, 196}},
        {"bottom right corner", {200, 196}, {296, 198}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        MainWindow &d = MakeWithImage({300, 200});
        d.show();
        MeasureItem *item = AddDistance(c.a, c.b);
        // An opaque label: its cells show where it lies.
        item->backMode = 0;
        item->backColor = MakeColorRef(0, 255, 0);
        d.host().RebuildView();
        const QString target = dir.filePath("edge.bmp");
        ASSERT_TRUE(d.WriteImageFile(target, QStringLiteral("bmp")));
        const QImage saved = QImage(target).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(saved.isNull());
        const QRect cells = BoxWhere(saved, Exactly(kGreen));
        const QString face = QString::fromStdString(d.document().drawAttribute().faceName);
        const QFont font = MakeLabelFont(face, item->fontSize);
        const QString text = MeasureLabelText(*item, d.document().labelMode(), d.host().textLanguage());
        EXPECT_EQ(cells.width(), TextWidth(font, text));
        EXPECT_EQ(cells.height(), item->fontSize);
        // The view shows what is saved.
        EXPECT_EQ(saved, d.composite());
    }
}

TEST_F(Images, SavedFromTheScalePageTheBarsArePlainBlack)
{
    MainWindow &d = MakeWithImage({300, 200});
    d.show();
    d.host().SelectTab(PageMeasure);
    const QString plain = dir.filePath("plain.bmp");
    ASSERT_TRUE(d.WriteImageFile(plain, QStringLiteral("bmp")));
    d.host().SelectTab(PageScale);
    ASSERT_EQ(d.host().currentTab(), PageScale);
    const QString target = dir.filePath("scale.bmp");
    ASSERT_TRUE(d.WriteImageFile(target, QStringLiteral("bmp")));
    const QImage saved = QImage(target).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(saved.isNull());
    const QImage expected = QImage(plain).convertToFormat(QImage::Format_RGB32);
    // The bars are in the picture, drawn dark without the view's light halo:
    // no pixel comes out lighter than the picture under it.
    int blackPixels = 0;
    for (int y = 0; y < saved.height(); ++y) {
        for (int x = 0; x < saved.width(); ++x) {
            const QRgb s = saved.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            if (s == e)
                continue;
            blackPixels += s == qRgb(0, 0, 0);
            ASSERT_LE(qGray(s), qGray(e)) << x << "," << y;
        }
    }
    EXPECT_GT(blackPixels, 200);
}

}  // namespace
}  // namespace orv::test

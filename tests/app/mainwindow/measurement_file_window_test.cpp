// Measurement files from the window: saved with Ctrl+S, reopened by the Open
// button, a drop on the window or the command line; bad files keep the work.
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <deque>

#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

#include "app/mainwindow/measurement_file_io.h"
#include "app/mainwindow/window_files.h"
#include "app/pages/image/image_page.h"
#include "app/pages/options/options_page.h"
#include "app/pages/scale/scale_page.h"
#include "app/startup/app_version.h"
#include "app/view/image_view.h"
#include "core/atomic_file.h"
#include "export/measurement_json.h"
#include "file_test_util.h"
#include "measure/hit_test.h"
#include "same_items.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

const QString kBaseTitle = QStringLiteral("Orvalin - ver. ") + QLatin1String(AppVersion());

class MeasurementFiles : public MainWindowTest {
protected:
    // Every kind placed as the pointer places it, under unequal axes in inches.
    static void MeasureEverything(MainWindow &d)
    {
        MeasureDocument &doc = d.document();
        ScaleSetting &s = doc.editCalibration().setting;
        s.hPixel = "120";
        s.hValue = "0.5";
        s.vPixel = "80";
        s.vValue = "0.25";
        s.unit = "inch";
        StandardScale &scale = doc.editCalibration().standard;
        scale.show = 1;
        scale.length = "0.2";
        scale.lengthUnit = "inch";
        scale.updatePixelLength(s);
        PartsOf(d).scalePage->ShowDocumentCalibration();
        PartsOf(d).optionsPage->ChooseLabelMode(LabelMode::Summary);
        const std::pair<MeasureKind, std::vector<QPoint>> placed[] = {
            {KindDistance2Points, {{40, 60}, {220, 160}}},
            {KindDistanceArc, {{40, 180}, {140, 60}, {240, 170}}},
            {KindDistanceCircles, {{30, 80}, {80, 30}, {130, 80}, {160, 160}, {210, 110}, {260, 160}}},
            {KindPerpendicular, {{30, 210}, {250, 210}, {80, 80}, {150, 120}, {220, 60}}},
            {KindBrokenLine, {{30, 200}, {90, 60}, {160, 180}, {240, 50}}},
            {KindParallel, {{30, 210}, {250, 170}, {80, 80}, {200, 60}}},
            {KindAreaPolygon, {{50, 60}, {220, 50}, {240, 190}, {120, 210}, {40, 150}}},
            {KindAreaCircle, {{60, 130}, {140, 50}, {220, 130}}},
            {KindAngle3Points, {{230, 60}, {60, 180}, {240, 190}}},
            {KindAngle2Lines, {{30, 40}, {130, 90}, {30, 210}, {130, 160}}},
            {KindText, {{40, 100}}},
            {KindStandardLine, {{30, 150}, {250, 90}}},
            {KindStandardParallel, {{30, 210}, {250, 210}, {100, 110}, {200, 60}}},
            {KindAngle3PointsType2, {{230, 60}, {60, 180}, {240, 190}}},
        };
        for (const auto &[kind, points] : placed) {
            auto item = NewMeasureItem();
            item->kind = kind;
            doc.drawAttribute().copyTo(*item);
            for (QPoint p : points)
                AppendPoint(*item, p);
            if (kind == KindText)
                item->text = "長さ「測定」テキスト";
            doc.BeginEdit(std::move(item));
            doc.ListEditItem();
        }
        ASSERT_TRUE(doc.RemoveSubResultRow(doc.list().at(3).subResults[1].row));
        d.host().SelectTab(PageScale);
        d.EnsureComposite();
        // Labels moved by hand, as the move drag ends.
        const auto moveLabel = [&doc](std::size_t index, int hitCode, int sub, LabelBox box) {
            const MeasureItem &source = doc.list().at(index);
            auto moved = CloneMeasureItem(source);
            moved->labelBox = box;
            doc.SetEditItem(std::move(moved));
            doc.CommitMove(source.id, hitCode, sub);
        };
        moveLabel(0, HitLabel, -1, {150, 20, 230, 38});
        moveLabel(3, HitSubResultLabel, 0, {120, 90, 190, 106});
        doc.ClearSelection();
        d.host().RebuildView();
        d.EnsureComposite();
    }

    static std::vector<ResultRow> Rows(const MainWindow &d) { return d.document().results().rows(); }

    void Show(MainWindow &d)
    {
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    }

    // A measurement file of an image with three distances.
    QString SavedFile(const QString &name)
    {
        MakeWithImage({260, 180});
        for (int i = 0; i < 3; ++i)
            AddDistance({10, 20 + 30 * i}, {100 + 20 * i, 20 + 30 * i});
        const QString path = dir.filePath(name);
        EXPECT_TRUE(SaveWindowMeasurements(*mainWindow, path));
        mainWindow.reset();
        return path;
    }
};

bool SameRows(const std::vector<ResultRow> &a, const std::vector<ResultRow> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const ResultRow &x, const ResultRow &y) { return x.columns == y.columns; });
}

TEST_F(MeasurementFiles, SavedWithCtrlSAndReopenedItIsTheSameWorkPixelForPixel)
{
    for (const char *lang : {"en", "ja"}) {
        SCOPED_TRACE(lang);
        MainWindow &d = Make(lang, lang);
        d.LoadImageFile(WriteImage("image.png", {300, 240}));
        Show(d);
        ASSERT_NO_FATAL_FAILURE(MeasureEverything(d));
        PartsOf(d).optionsPage->ChooseZoom(3);  // 150 %
        const QImage before = d.composite().copy();
        prompter.saveRequests.clear();
        prompter.messages.clear();
        prompter.savePaths.push_back(dir.filePath(QStringLiteral("作業_%1").arg(lang)));

        QTest::keyClick(d.windowHandle(), Qt::Key_S, Qt::ControlModifier);
        ASSERT_EQ(prompter.saveRequests.size(), 1u);
        EXPECT_EQ(prompter.saveRequests[0].filter, "Measurement Files (*.orvm)");
        const QString path = dir.filePath(QStringLiteral("作業_%1.orvm").arg(lang));
        EXPECT_EQ(d.windowTitle(), kBaseTitle + " - " + QFileInfo(path).fileName() + "[*]");
        // Again: to the same file, without asking.
        PartsOf(d).optionsPage->ChooseZoom(4);  // 200 %
        QTest::keyClick(d.windowHandle(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(prompter.saveRequests.size(), 1u);

        MainWindow reopened(Env(lang, lang));
        ShowLaidOut(reopened);
        prompter.openPaths.push_back(path);
        QTest::mouseClick(PartsOf(reopened).imagePage->openButton(), Qt::LeftButton);
        Settle();
        EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join('\n').toStdString();
        EXPECT_EQ(reopened.host().currentTab(), PageScale);
        EXPECT_EQ(reopened.windowTitle(), d.windowTitle());
        ExpectSameItems(reopened.document().list(), d.document().list());
        EXPECT_TRUE(SameRows(Rows(reopened), Rows(d)));
        EXPECT_EQ(reopened.document().calibration().setting, d.document().calibration().setting);
        EXPECT_EQ(reopened.document().calibration().standard, d.document().calibration().standard);
        EXPECT_EQ(reopened.document().labelMode(), LabelMode::Summary);
        EXPECT_TRUE(PartsOf(reopened).optionsPage->controls().summary->isChecked());
        EXPECT_EQ(PartsOf(reopened).scalePage->controls().vPixel->text(), "80");
        EXPECT_EQ(PartsOf(reopened).scalePage->controls().unit->currentText(), "inch");
        EXPECT_EQ(reopened.host().view().zoomX, 200);
        EXPECT_EQ(PartsOf(reopened).optionsPage->controls().zoom->currentText(), "200");
        EXPECT_EQ(reopened.document().selectedItem(), nullptr);
        EXPECT_EQ(reopened.sourceImage(), d.sourceImage());
        reopened.EnsureComposite();
        EXPECT_EQ(reopened.composite(), before);
        // Back on the Image page the work is given up, and the file with it.
        prompter.answers = {UiPrompter::Answer::Yes};
        d.host().SelectTab(PageImage);
        EXPECT_EQ(d.windowTitle(), kBaseTitle + "[*]");
        EXPECT_TRUE(WindowFiles::Of(d)->measurementPath().isEmpty());
    }
}

TEST_F(MeasurementFiles, CtrlSWritesOnlyToAMeasurementFileOpenedLast)
{
    const QString measurements = SavedFile("opened.orvm");
    const QString picture = WriteImage("picture.png", {90, 70});
    const auto bytesOf = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray saved = bytesOf(measurements);
    ASSERT_FALSE(saved.isEmpty());
    const struct {
        const char *name;
        QStringList opened;  // in this order
        bool asks;           // Ctrl+S asks for a new name
    } cases[] = {
        {"a measurement file", {measurements}, false},
        {"a measurement file, then an image", {measurements, picture}, true},
        {"an image, then a measurement file", {picture, measurements}, false},
        {"an image", {picture}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow &d = Make();
        Show(d);
        for (const QString &path : c.opened) {
            prompter.answers = {UiPrompter::Answer::Yes};  // measurements are given up
            ASSERT_TRUE(WindowFiles::Of(d)->Open(path));
        }
        // Work that makes a written file differ from the one opened.
        AddDistance({5, 5}, {50, 5});
        prompter.saveRequests.clear();
        prompter.messages.clear();
        const QString named = dir.filePath("named.orvm");
        prompter.savePaths = {dir.filePath("named")};
        QTest::keyClick(d.windowHandle(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join('\n').toStdString();
        EXPECT_EQ(prompter.saveRequests.size(), c.asks ? 1u : 0u);
        EXPECT_EQ(QFileInfo::exists(named), c.asks);
        EXPECT_EQ(bytesOf(measurements) == saved, c.asks);
        EXPECT_EQ(WindowFiles::Of(d)->measurementPath(), c.asks ? named : measurements);
        // The next case starts from the file as it was saved.
        QFile::remove(named);
        ASSERT_TRUE(WriteFileAtomically(measurements, saved));
    }
}

TEST_F(MeasurementFiles, OneCtrlSAsksOnceWhenTheChooserIsCancelled)
{
    MainWindow &d = MakeWithImage();
    Show(d);
    AddDistance({5, 5}, {50, 5});
    prompter.saveRequests.clear();
    prompter.savePaths.clear();  // the chooser is cancelled
    QTest::keyClick(d.windowHandle(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_TRUE(WindowFiles::Of(d)->measurementPath().isEmpty());
    EXPECT_EQ(d.windowTitle(), kBaseTitle + "[*]");
}

TEST_F(MeasurementFiles, NewerOrDamagedFilesAreRefusedAndTheWorkStays)
{
    MeasurementSession good;
    good.image = QImage(40, 30, QImage::Format_RGB32);
    good.image.fill(Qt::white);
    QJsonObject newer = SessionToJson(good);
    newer.insert("format", "orvalin-measurements");
    newer.insert("version", kMeasurementFormatMajor + 1);
    const QByteArray goodBytes = EncodeMeasurementFile(good);
    const QByteArray png = PngOf(good.image);
    const struct {
        const char *name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"newer.orvm", PackMeasurementEntries(kMeasurementMediaType, QJsonDocument(newer).toJson(), png),
         "The measurement file newer.orvm was saved by a newer version (format 2) and cannot be opened."},
        {"broken.orvm", PackMeasurementEntries(kMeasurementMediaType, "{\"format\": [", png),
         "The measurement file broken.orvm is damaged (measurements.json)."},
        {"cut.orvm", goodBytes.left(goodBytes.size() / 2), "cut.orvm is not a measurement file."},
    };
    MainWindow &d = MakeWithImage({300, 200});
    AddDistance({10, 10}, {60, 10});
    AddPerpendicular(2);
    ASSERT_TRUE(WindowFiles::Of(d)->SaveAs(dir.filePath("kept.orvm")));
    d.host().SetZoom(200, 200);
    const std::vector<ResultRow> rows = Rows(d);
    const QImage image = d.sourceImage();
    const QString title = d.windowTitle();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(dir.filePath(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        prompter.messages.clear();
        prompter.answers = {UiPrompter::Answer::Yes};
        EXPECT_FALSE(WindowFiles::Of(d)->Open(file.fileName()));
        ASSERT_EQ(prompter.messages.size(), 2u);
        EXPECT_EQ(prompter.messages[0].text, "The image you are editing will not be saved. Continue?");
        EXPECT_EQ(prompter.messages[1].text, c.message);
        EXPECT_TRUE(SameRows(Rows(d), rows));
        EXPECT_EQ(d.document().list().size(), 2u);
        EXPECT_EQ(d.sourceImage().cacheKey(), image.cacheKey());
        EXPECT_EQ(d.host().view().zoomX, 200);
        EXPECT_EQ(d.windowTitle(), title);
        EXPECT_EQ(WindowFiles::Of(d)->measurementPath(), dir.filePath("kept.orvm"));
    }
    // A save that fails says so and changes nothing (the Save Image chooser's choice).
    const QString unwritable = dir.filePath("missing/other.orvm");
    prompter.messages.clear();
    prompter.savePaths.push_back(unwritable);
    d.commands().OnSaveImage();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(
        prompter.messages[0].text.startsWith("The measurement file could not be saved.\n\n" + unwritable + "\n"));
    EXPECT_FALSE(QFileInfo::exists(unwritable));
    EXPECT_EQ(d.windowTitle(), title);
    EXPECT_EQ(WindowFiles::Of(d)->measurementPath(), dir.filePath("kept.orvm"));
}

TEST_F(MeasurementFiles, DroppedFileOpensAsTheOpenButtonWouldAskingFirst)
{
    const QString measurements = SavedFile("dropped.orvm");
    const QString picture = WriteImage("picture.png", {90, 70});
    const QString notes = dir.filePath("notes.txt");
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }
    const auto local = [](const QString &path) { return QUrl::fromLocalFile(path); };
    const struct {
        const char *name;
        bool measuring;  // an image with a measurement is open before
        QList<QUrl> urls;
        std::deque<UiPrompter::Answer> answers;
        bool accepted;
        QString opened;  // the file the window then shows; empty: nothing changed
    } cases[] = {
        {"first acceptable one",
         false,
         {QUrl("https://example.com/a.png"), local(notes), local(dir.filePath("gone.png")), local(picture),
          local(measurements)},
         {},
         true,
         picture},
        {"measurement file, work given up", true, {local(measurements)}, {UiPrompter::Answer::Yes}, true, measurements},
        {"measurement file, work kept", true, {local(measurements)}, {UiPrompter::Answer::No}, true, {}},
        {"nothing it opens", true, {local(notes), local(dir.path())}, {}, false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow &d = c.measuring ? MakeWithImage({300, 200}) : Make();
        if (c.measuring) {
            AddDistance({10, 10}, {60, 10});
            d.host().SelectTab(PageMeasure);
        }
        Show(d);
        prompter.messages.clear();
        prompter.answers = c.answers;
        QMimeData data;
        data.setUrls(c.urls);
        const QPoint at(100, 20);  // over the control column
        const QPlatformDragQtResponse drag = QWindowSystemInterface::handleDrag(
            d.windowHandle(), &data, at, Qt::CopyAction | Qt::MoveAction, Qt::LeftButton, Qt::NoModifier);
        EXPECT_EQ(drag.isAccepted(), c.accepted);
        const QPlatformDropQtResponse drop = QWindowSystemInterface::handleDrop(
            d.windowHandle(), &data, at, Qt::CopyAction | Qt::MoveAction, Qt::LeftButton, Qt::NoModifier);
        EXPECT_EQ(drop.isAccepted(), c.accepted);
        Settle();

        EXPECT_EQ(prompter.messages.size(), c.answers.size());
        if (c.opened.isEmpty()) {
            EXPECT_EQ(d.windowTitle(), kBaseTitle + "[*]");
            EXPECT_EQ(d.document().list().size(), c.measuring ? 1u : 0u);
            EXPECT_EQ(d.host().currentTab(), c.measuring ? PageMeasure : PageImage);
        } else {
            EXPECT_EQ(d.windowTitle(), kBaseTitle + " - " + QFileInfo(c.opened).fileName() + "[*]");
            EXPECT_EQ(d.document().list().size(), c.opened == measurements ? 3u : 0u);
            EXPECT_EQ(d.host().imageSize(), c.opened == measurements ? QSize(260, 180) : QSize(90, 70));
            EXPECT_EQ(d.host().currentTab(), c.measuring ? PageMeasure : PageScale);
        }
    }
}

TEST_F(MeasurementFiles, CommandLineOpensAMeasurementFileOrAnImage)
{
    const QString measurements = SavedFile("given.orvm");
    const QString picture = WriteImage("given.png", {90, 70});
    const struct {
        const char *name;
        QStringList arguments;
        bool opened;
        std::size_t items;
        QString title;
        QStringList messages;
    } cases[] = {
        {"measurement file", {"Orvalin", measurements}, true, 3, kBaseTitle + " - given.orvm", {}},
        {"image", {"Orvalin", picture}, true, 0, kBaseTitle + " - given.png", {}},
        {"nothing given", {"Orvalin"}, false, 0, kBaseTitle, {}},
        {"missing",
         {"Orvalin", dir.filePath("none.orvm")},
         false,
         0,
         kBaseTitle,
         {"The measurement file none.orvm could not be read (" + SystemReason(ENOENT) + ")."}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow &d = Make();
        prompter.messages.clear();
        OpenStartupFile(d, c.arguments);
        EXPECT_EQ(d.hasImage(), c.opened);
        EXPECT_EQ(d.host().currentTab(), c.opened ? PageScale : PageImage);
        EXPECT_EQ(d.document().list().size(), c.items);
        EXPECT_EQ(d.document().results().rowCount(), int(c.items));
        EXPECT_EQ(d.windowTitle(), c.title + "[*]");
        EXPECT_EQ(prompter.messageTexts(), c.messages);
    }
}

// A file a reader accepts may still hold what no drawing ever made: every kind
// with too few points, far labels, huge values. Shown, redrawn and clicked on.
TEST_F(MeasurementFiles, StrangeButReadableItemsAreShownAndEditedSafely)
{
    MeasurementSession s;
    s.image = QImage(120, 90, QImage::Format_RGB32);
    s.image.fill(Qt::gray);
    for (int kind = KindStandardScale; kind <= int(KindDiameter); ++kind)
        for (int n = 0; n < 4; ++n) {
            auto item = NewMeasureItem();
            item->kind = MeasureKind(kind);
            for (int i = 0; i < n; ++i)
                AppendPoint(*item, {10 + 50 * i, 80 - 30 * i});
            if (n == 2)
                AppendSubResult(*item, "x", kind, 5, {3, 3}).labelBox = {1, 1, 0, 1};
            if (n == 3) {
                item->radius = 1 << 30;
                item->labelBox = {-65000, -65000, 65000, 65000};
                item->value = 1e308;
                item->unit = 3;
                item->fontSize = item->lineWidth = 1000;
            }
            item->number = -1;
            s.items.Append(std::move(item));
        }
    const QString path = dir.filePath("strange.orvm");
    ASSERT_TRUE(SaveMeasurementFile(path, s));
    MainWindow &d = Make();
    Show(d);
    OpenStartupFile(d, {"Orvalin", path});
    EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join('\n').toStdString();
    ASSERT_EQ(d.document().list().size(), s.items.size());
    PartsOf(d).optionsPage->ChooseZoom(6);  // Fit
    for (LabelMode mode : {LabelMode::Details, LabelMode::ItemNumberOnly}) {
        PartsOf(d).optionsPage->ChooseLabelMode(mode);
        d.EnsureComposite();
    }
    d.host().SelectTab(PageMeasure);
    for (QPoint p : {QPoint(10, 80), QPoint(60, 50), QPoint(5, 5), QPoint(3, 3)}) {
        QTest::mouseMove(PartsOf(d).imageView, p);
        QTest::mouseClick(PartsOf(d).imageView, Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseClick(PartsOf(d).imageView, Qt::RightButton, Qt::NoModifier, p);
        Settle();
    }
    d.EnsureComposite();
    EXPECT_EQ(d.composite().size(), QSize(120, 90));
}

}  // namespace
}  // namespace orv::test

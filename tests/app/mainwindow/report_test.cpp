// The report button: the workbook in the report folder, opened through the
// prompter, with the picture of the composite without selection marks.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>

#include <cstdlib>

#include "export/image_file.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/xlsx_readback.h"

namespace orv::test {
namespace {

using Report = MainWindowTest;

// Files the report may have left in a folder (hidden ones included).
QStringList ReportLeftovers(const QString &dir)
{
    QStringList out;
    for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
        if (name.contains(QLatin1String("Orvalin")))
            out << name;
    }
    return out;
}

// Runs the report command until the workbook was offered for opening (the
// first run may only clear a selection and wait for the repaint).
void WaitForOpen(const ScriptedPrompter &p, std::size_t count)
{
    for (int i = 0; i < 100 && p.openedDocuments.size() < count && p.messages.empty(); ++i)
        QTest::qWait(10);
}

TEST_F(Report, ButtonWritesADatedWorkbookOpensItAndRemovesTheWorkFile)
{
    MainWindow &d = MakeWithImage({300, 200});
    d.host().SelectTab(PageMeasure);
    AddDistance({40, 100}, {200, 100});
    AddPerpendicular(1);
    ASSERT_EQ(d.document().results().rowCount(), 3);

    QTest::mouseClick(d.host().button(CommandId::Report), Qt::LeftButton);
    ASSERT_EQ(prompter.openedDocuments.size(), 1u) << prompter.messageTexts().join(' ').toStdString();
    EXPECT_TRUE(prompter.messages.empty());
    const QUrl url = prompter.openedDocuments[0];
    ASSERT_TRUE(url.isLocalFile());
    const QFileInfo book(url.toLocalFile());
    EXPECT_EQ(book.absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Orvalin_Report_\\d{8}_\\d{6}\\.xlsx$")).match(book.fileName()).hasMatch())
        << book.fileName().toStdString();
    EXPECT_TRUE(book.isFile());
    EXPECT_FALSE(QFile::exists(dir.filePath(QLatin1String(kWorkFileJpgName))));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A second report in the same second is a file of its own.
    QTest::mouseClick(d.host().button(CommandId::Report), Qt::LeftButton);
    ASSERT_EQ(prompter.openedDocuments.size(), 2u);
    EXPECT_NE(prompter.openedDocuments[1], url);
    EXPECT_TRUE(book.exists());
    EXPECT_EQ(ReportLeftovers(dir.path()).size(), 2);

    ORVALIN_REQUIRE_XLSX_READER();
    QString error;
    const QJsonObject read = ReadXlsx(book.absoluteFilePath(), {}, &error);
    ASSERT_FALSE(read.isEmpty()) << error.toStdString();
    const QJsonObject cells = read[QStringLiteral("cells")].toObject();
    EXPECT_EQ(cells[QStringLiteral("A1")].toString(), QStringLiteral("Image Parameters"));
    EXPECT_EQ(cells[QStringLiteral("C2")].toString(), QStringLiteral("H 300(pixel)"));
    EXPECT_EQ(cells[QStringLiteral("D2")].toString(), QStringLiteral("V 200(pixel)"));
    EXPECT_EQ(cells[QStringLiteral("D3")].toString(), QStringLiteral("100pixel=100um"));
    for (int r = 0; r < 3; ++r) {
        const QString row = QString::number(8 + r);
        EXPECT_EQ(cells[QStringLiteral("B") + row].toString(), Cell(r, 0));
        EXPECT_EQ(cells[QStringLiteral("C") + row].toString(), Cell(r, 1));
        EXPECT_EQ(cells[QStringLiteral("D") + row].toString(), Cell(r, 2) + Cell(r, 3));
    }
    EXPECT_EQ(cells[QStringLiteral("A12")].toString(), QStringLiteral("Image"));
    const QJsonArray pics = read[QStringLiteral("pictures")].toArray();
    ASSERT_EQ(pics.size(), 1);
    const QJsonObject ext = pics[0].toObject()[QStringLiteral("ext")].toObject();
    EXPECT_NEAR(EmuToPoints(ext[QStringLiteral("cx")].toDouble()), 450.0, 1.0);
    EXPECT_NEAR(EmuToPoints(ext[QStringLiteral("cy")].toDouble()), 300.0, 1.0);
}

TEST_F(Report, PictureNeverShowsTheSelectionMarks)
{
    ORVALIN_REQUIRE_XLSX_READER();
    MainWindow &d = MakeWithImage({300, 200});
    d.show();
    d.host().SelectTab(PageMeasure);
    MeasureItem *item = AddDistance({40, 100}, {200, 100});
    d.document().SelectItem(item);
    d.host().RebuildView();
    d.EnsureComposite();
    const QImage withMarks = d.composite().convertToFormat(QImage::Format_RGB32);

    QTest::mouseClick(d.host().button(CommandId::Report), Qt::LeftButton);
    // The first run only clears the selection; the queued continuation runs the report.
    EXPECT_EQ(d.document().selectedItem(), nullptr);
    EXPECT_EQ(d.pendingCommand(), CommandId::Report);
    EXPECT_TRUE(prompter.openedDocuments.empty());
    WaitForOpen(prompter, 1);
    ASSERT_EQ(prompter.openedDocuments.size(), 1u) << prompter.messageTexts().join(' ').toStdString();
    EXPECT_EQ(d.pendingCommand(), CommandId::None);
    const QImage clean = d.composite().convertToFormat(QImage::Format_RGB32);
    ASSERT_NE(clean, withMarks);

    const QString media = dir.filePath(QStringLiteral("media"));
    ASSERT_TRUE(QDir().mkpath(media));
    QString error;
    const QJsonObject read = ReadXlsx(prompter.openedDocuments[0].toLocalFile(), media, &error);
    ASSERT_FALSE(read.isEmpty()) << error.toStdString();
    const QJsonArray pics = read[QStringLiteral("pictures")].toArray();
    ASSERT_EQ(pics.size(), 1);
    const QImage picture =
        QImage(pics[0].toObject()[QStringLiteral("file")].toString()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), clean.size());

    // Where the marks were drawn, the picture is the clean composite (up to
    // JPEG loss), not the selected one.
    long toClean = 0, toMarked = 0;
    int marked = 0;
    for (int y = 0; y < clean.height(); ++y) {
        for (int x = 0; x < clean.width(); ++x) {
            const QRgb c = clean.pixel(x, y), m = withMarks.pixel(x, y), p = picture.pixel(x, y);
            if (c == m)
                continue;
            ++marked;
            auto dist = [](QRgb a, QRgb b) {
                return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
            };
            toClean += dist(p, c);
            toMarked += dist(p, m);
        }
    }
    ASSERT_GT(marked, 0);
    EXPECT_LT(toClean * 3, toMarked) << "clean " << toClean << " marked " << toMarked;
}

TEST_F(Report, WaitCursorWhileTheReportIsMade)
{
    struct CursorPrompter : ScriptedPrompter {
        bool openDocument(const QUrl &url) override
        {
            const QCursor *c = QGuiApplication::overrideCursor();
            shape = c ? c->shape() : Qt::ArrowCursor;
            return ScriptedPrompter::openDocument(url);
        }
        Qt::CursorShape shape = Qt::ArrowCursor;
    } recorder;
    WindowEnvironment env = Env();
    env.prompter = recorder.handle();
    mainWindow = std::make_unique<MainWindow>(std::move(env));
    MainWindow &d = *mainWindow;
    d.LoadImageFile(WriteImage("image.png", {60, 40}));
    d.commands().OnReport();
    ASSERT_EQ(recorder.openedDocuments.size(), 1u);
    EXPECT_EQ(recorder.shape, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(Report, FailuresShowTheMessageAndLeaveNothingBehind)
{
    struct Case {
        const char *language;
        const char *message;
    };
    // A folder refusing writes.
    for (const Case &c : {Case{"ja", "Excelの起動に失敗しました。"}, Case{"en", "Could not open Excel file."}}) {
        SCOPED_TRACE(c.language);
        const QString temp = dir.filePath(QStringLiteral("temp_") + QLatin1String(c.language) + "_ro");
        ASSERT_TRUE(QDir().mkpath(temp));
        WindowEnvironment env = Env(c.language, c.language);
        env.tempDir = [temp] { return temp; };
        env.reportDir = [temp] { return temp; };
        mainWindow = std::make_unique<MainWindow>(env);
        mainWindow->LoadImageFile(WriteImage(QStringLiteral("image.png"), {60, 40}));
        AddDistance({5, 5}, {50, 30});
        prompter.messages.clear();
        prompter.openedDocuments.clear();
        {
            // The size limit also binds root.
            QFile::setPermissions(temp, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            const FileSizeLimit limit(0);
            mainWindow->commands().OnReport();
        }
        QFile::setPermissions(temp, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(prompter.messages[0].buttons, UiPrompter::Buttons::Ok);
        EXPECT_TRUE(prompter.openedDocuments.empty());
        EXPECT_TRUE(ReportLeftovers(temp).isEmpty()) << ReportLeftovers(temp).join(' ').toStdString();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

TEST_F(Report, WorkbookNoApplicationOpensIsKeptAndNamed)
{
    struct Case {
        const char *language;
        const char *message;
    };
    for (const Case &c : {Case{"en", "The report was saved but could not be opened.\nSaved as: %1"},
                          Case{"ja", "レポートを保存しましたが、開けませんでした。\n保存先: %1"}}) {
        SCOPED_TRACE(c.language);
        const QString temp = dir.filePath(QStringLiteral("temp_") + QLatin1String(c.language));
        const QString reports = dir.filePath(QStringLiteral("reports_") + QLatin1String(c.language));
        ASSERT_TRUE(QDir().mkpath(temp) && QDir().mkpath(reports));
        WindowEnvironment env = Env(c.language, c.language);
        env.tempDir = [temp] { return temp; };
        env.reportDir = [reports] { return reports; };
        mainWindow = std::make_unique<MainWindow>(env);
        mainWindow->LoadImageFile(WriteImage(QStringLiteral("image.png"), {60, 40}));
        AddDistance({5, 5}, {50, 30});
        prompter.messages.clear();
        prompter.openedDocuments.clear();
        prompter.openDocumentResult = false;
        mainWindow->commands().OnReport();
        prompter.openDocumentResult = true;

        ASSERT_EQ(prompter.openedDocuments.size(), 1u);
        const QString book = prompter.openedDocuments[0].toLocalFile();
        EXPECT_EQ(QFileInfo(book).absolutePath(), QFileInfo(reports).absoluteFilePath());
        EXPECT_TRUE(QFileInfo(book).isFile());
        EXPECT_EQ(ReportLeftovers(reports), QStringList{QFileInfo(book).fileName()});
        // The work picture goes all the same.
        EXPECT_TRUE(ReportLeftovers(temp).isEmpty()) << ReportLeftovers(temp).join(' ').toStdString();
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, QString::fromUtf8(c.message).arg(book));
        EXPECT_EQ(prompter.messages[0].buttons, UiPrompter::Buttons::Ok);
    }
}

TEST_F(Report, WrittenToTheDocumentsFolderOrElseHome)
{
    for (const bool documents : {true, false}) {
        SCOPED_TRACE(documents ? "documents folder" : "home only");
        const QString home = dir.filePath(documents ? QStringLiteral("home_docs") : QStringLiteral("home_bare"));
        ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/config")));
        if (documents) {
            ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/Documents")));
        }
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            if (oldConfig.isEmpty())
                qunsetenv("XDG_CONFIG_HOME");
            else
                qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/config")));
        WindowEnvironment env = Env();
        env.reportDir = nullptr;
        mainWindow = std::make_unique<MainWindow>(env);
        mainWindow->LoadImageFile(WriteImage(QStringLiteral("image.png"), {60, 40}));
        prompter.openedDocuments.clear();
        mainWindow->commands().OnReport();
        ASSERT_EQ(prompter.openedDocuments.size(), 1u) << prompter.messageTexts().join(' ').toStdString();
        const QFileInfo book(prompter.openedDocuments[0].toLocalFile());
        EXPECT_EQ(book.absolutePath(), documents ? home + QStringLiteral("/Documents") : home);
        EXPECT_TRUE(book.isFile());
        // The work picture stays in the temporary folder and goes.
        EXPECT_FALSE(QFile::exists(dir.filePath(QLatin1String(kWorkFileJpgName))));
    }
}

}  // namespace
}  // namespace orv::test

// Unsaved work in the real window: every way of closing it asks Save /
// Discard / Cancel and does what was answered, the title marks it, a copy
// waits for the pause and goes with a clean end, and the copy a crashed
// session left is offered at the next start.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <functional>

#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

#include "app/mainwindow/session_guard.h"
#include "app/mainwindow/window_files.h"
#include "core/atomic_file.h"
#include "document/autosave_writer.h"
#include "document/recovery_store.h"
#include "file_test_util.h"
#include "stale_lock.h"
#include "tests/app/interaction/interaction_fixture.h"

namespace orv::test {
namespace {

using Answer = UiPrompter::Answer;

class SessionGuardTest : public InteractionTest {
protected:
    void SetUp() override
    {
        qputenv("ORVALIN_AUTOSAVE_SECONDS", "1");
        InteractionTest::SetUp();
    }
    void TearDown() override
    {
        InteractionTest::TearDown();
        qunsetenv("ORVALIN_AUTOSAVE_SECONDS");
    }

    // A new window as the fixture made the first: shown, a still on the Measure page.
    void Restart()
    {
        view = nullptr;
        mainWindow.reset();
        Make("en", "en", {1280, 1024});
        mainWindow->move(0, 0);
        mainWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
        ASSERT_TRUE(LoadFilled(QStringLiteral("still.png"), {320, 240}, Qt::white));
        mainWindow->host().SelectTab(PageMeasure);
        view = PartsOf(*mainWindow).imageView;
    }

    MeasureItem *PlaceDistance(int y = 40) { return Place(KindDistance2Points, {{40, y}, {200, y}}); }
    SessionGuard &guard() { return *SessionGuard::Of(*mainWindow); }
    QString RecoveryDir() const { return dir.filePath(QStringLiteral("recovery")); }
    QStringList RecoveryFiles() const
    {
        return QDir(RecoveryDir()).entryList({QStringLiteral("*.orvm*")}, QDir::Files);
    }

    // A click delivered to the window at the widget's centre.
    void ClickThroughWindow(QWidget *w, QPoint at = {-1, -1})
    {
        const QPoint local = at.x() < 0 ? w->rect().center() : at;
        QTest::mouseClick(mainWindow->windowHandle(), Qt::LeftButton, {}, w->mapTo(mainWindow.get(), local));
        Settle();
    }
    void DropFile(const QString &path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at(100, 20);
        QWindowSystemInterface::handleDrag(mainWindow->windowHandle(), &data, at, Qt::CopyAction, Qt::LeftButton,
                                           Qt::NoModifier);
        // The button is up once dropped: Qt keeps the buttons a drop reports as held.
        QWindowSystemInterface::handleDrop(mainWindow->windowHandle(), &data, at, Qt::CopyAction, Qt::NoButton,
                                           Qt::NoModifier);
        Settle();
    }
};

const QString kQuestion = QStringLiteral("Save changes to the measurements before closing?");

TEST_F(SessionGuardTest, EveryWayOfClosingUnsavedWorkAsksAndObeys)
{
    const QString dropped = WriteImage(QStringLiteral("other.png"), {90, 70});
    struct Path {
        const char *name;
        std::function<void()> close;
        // The work is gone the way this path ends it.
        std::function<bool(MainWindow &)> closed;
    };
    const auto windowEnded = [](MainWindow &d) { return !d.isVisible() && d.result() == QDialog::Accepted; };
    const Path paths[] = {
        {"Exit button", [this] { ClickThroughWindow(mainWindow->host().button(CommandId::Exit)); }, windowEnded},
        {"close box",
         [this] {
             QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
                 mainWindow->windowHandle());
             Settle();
         },
         windowEnded},
        {"Escape's way out",
         [this] {
             mainWindow->reject();
             Settle();
         },
         windowEnded},
        {"Image page",
         [this] {
             QTabBar *bar = PartsOf(*mainWindow).tabControl->tabBar();
             ClickThroughWindow(bar, bar->tabRect(PageImage).center());
         },
         [](MainWindow &d) { return d.host().currentTab() == PageImage && !d.hasImage(); }},
        {"dropped file", [this, &dropped] { DropFile(dropped); },
         [](MainWindow &d) { return d.host().imageSize() == QSize(90, 70); }},
    };
    const Answer answers[] = {Answer::Save, Answer::Discard, Answer::Cancel};
    for (const Path &path : paths) {
        for (Answer answer : answers) {
            SCOPED_TRACE(std::string(path.name) + " answered " + std::to_string(int(answer)));
            Restart();
            ASSERT_NE(PlaceDistance(), nullptr);
            const QString saved = dir.filePath(QStringLiteral("saved-%1.orvm").arg(int(answer)));
            QFile::remove(saved);
            prompter.messages.clear();
            prompter.answers = {answer};
            prompter.savePaths = {saved};

            path.close();

            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(prompter.messages[0].text, kQuestion);
            EXPECT_EQ(prompter.messages[0].buttons, UiPrompter::Buttons::SaveDiscardCancel);
            EXPECT_EQ(path.closed(*mainWindow), answer != Answer::Cancel);
            if (answer == Answer::Cancel) {
                EXPECT_TRUE(mainWindow->isVisible());
                EXPECT_EQ(mainWindow->document().list().size(), 1u);
                EXPECT_EQ(mainWindow->host().currentTab(), PageMeasure);
            }
            const MeasurementReadResult read = LoadMeasurementFile(saved);
            EXPECT_EQ(read.session.has_value(), answer == Answer::Save);
            if (read.session) {
                EXPECT_EQ(read.session->items.size(), 1u);
            }
        }
    }
}

TEST_F(SessionGuardTest, SavedWorkClosesWithoutAQuestion)
{
    ASSERT_NE(PlaceDistance(), nullptr);
    prompter.savePaths = {dir.filePath(QStringLiteral("kept.orvm"))};
    QTest::keyClick(mainWindow->windowHandle(), Qt::Key_S, Qt::ControlModifier);
    prompter.messages.clear();
    ClickThroughWindow(mainWindow->host().button(CommandId::Exit));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(mainWindow->isVisible());
}

TEST_F(SessionGuardTest, TitleMarksWorkThatDiffersFromTheSavedState)
{
    MainWindow &d = *mainWindow;
    EXPECT_TRUE(d.windowTitle().endsWith(QStringLiteral("[*]")));
    const QString file = dir.filePath(QStringLiteral("marks.orvm"));
    prompter.savePaths = {file};
    const auto key = [&](Qt::Key k) {
        QTest::keyClick(d.windowHandle(), k, Qt::ControlModifier);
        Settle();
    };
    const struct {
        const char *step;
        std::function<void()> act;
        bool modified;
    } steps[] = {
        {"placed", [&] { PlaceDistance(40); }, true},
        {"undone to the opened state", [&] { key(Qt::Key_Z); }, false},
        {"redone", [&] { key(Qt::Key_Y); }, true},
        {"saved", [&] { key(Qt::Key_S); }, false},
        {"placed after saving", [&] { PlaceDistance(80); }, true},
        {"undone to the saved state", [&] { key(Qt::Key_Z); }, false},
        {"undone past it", [&] { key(Qt::Key_Z); }, true},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_EQ(d.isWindowModified(), s.modified);
        EXPECT_EQ(guard().unsaved(), s.modified);
    }
    EXPECT_TRUE(d.windowTitle().contains(QStringLiteral("marks.orvm[*]")));
}

TEST_F(SessionGuardTest, FailedSaveKeepsTheWindowAndSaysWhy)
{
    ASSERT_NE(PlaceDistance(), nullptr);
    const QString unwritable = dir.filePath(QStringLiteral("no-such-folder/work.orvm"));
    prompter.answers = {Answer::Save};
    prompter.savePaths = {unwritable};
    ClickThroughWindow(mainWindow->host().button(CommandId::Exit));
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_TRUE(prompter.messages[1].text.contains(QDir::toNativeSeparators(unwritable)));
    EXPECT_TRUE(prompter.messages[1].text.contains(SystemReason(ENOENT)));
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_TRUE(mainWindow->isWindowModified());
    EXPECT_EQ(mainWindow->document().list().size(), 1u);
}

TEST_F(SessionGuardTest, CopyWaitsForThePauseAndGoesWithACleanEnd)
{
    const QString copy = guard().recoveryFilePath();
    EXPECT_EQ(QFileInfo(copy).absolutePath(), RecoveryDir());
    QElapsedTimer since;
    ASSERT_NE(PlaceDistance(), nullptr);
    since.start();
    Settle();
    EXPECT_FALSE(QFileInfo::exists(copy));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(copy); }, 10000));
    // The pause is one second; a few milliseconds of timer slack.
    EXPECT_GE(since.elapsed(), 950);
    MeasurementReadResult read = LoadMeasurementFile(copy);
    ASSERT_TRUE(read.session);
    EXPECT_EQ(read.session->items.size(), 1u);
    EXPECT_EQ(read.session->image.size(), QSize(320, 240));

    // Undoing back to the state opened leaves nothing to recover.
    QTest::keyClick(mainWindow->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(copy); }, 5000));

    // Discarded at Exit: gone at once.
    ASSERT_NE(PlaceDistance(), nullptr);
    guard().WriteCopyNow();
    ASSERT_TRUE(QFileInfo::exists(copy));
    prompter.answers = {Answer::Discard};
    ClickThroughWindow(mainWindow->host().button(CommandId::Exit));
    EXPECT_FALSE(mainWindow->isVisible());
    EXPECT_TRUE(RecoveryFiles().isEmpty()) << RecoveryFiles().join(' ').toStdString();
}

TEST_F(SessionGuardTest, TwoWindowsKeepTwoCopies)
{
    ASSERT_NE(PlaceDistance(40), nullptr);
    ASSERT_NE(PlaceDistance(80), nullptr);
    guard().WriteCopyNow();
    const QString first = guard().recoveryFilePath();
    std::unique_ptr<MainWindow> firstWindow = std::move(mainWindow);
    Make();
    ASSERT_TRUE(LoadFilled(QStringLiteral("second.png"), {100, 80}, Qt::white));
    auto item = NewMeasureItem();
    item->kind = KindDistance2Points;
    AppendPoint(*item, {5, 5});
    AppendPoint(*item, {60, 40});
    mainWindow->document().BeginEdit(std::move(item));
    mainWindow->document().ListEditItem();
    guard().WriteCopyNow();
    const QString second = guard().recoveryFilePath();
    EXPECT_NE(first, second);
    const struct {
        QString path;
        std::size_t items;
    } copies[] = {{first, 2}, {second, 1}};
    for (const auto &c : copies) {
        const MeasurementReadResult read = RecoveryStore::Read(c.path);
        ASSERT_TRUE(read.session) << c.path.toStdString();
        EXPECT_EQ(read.session->items.size(), c.items);
    }
    // Neither running window offers the other's copy.
    prompter.messages.clear();
    OfferRecovery(*mainWindow);
    OfferRecovery(*firstWindow);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(mainWindow->document().list().size(), 1u);
    EXPECT_EQ(firstWindow->document().list().size(), 2u);
}

TEST_F(SessionGuardTest, CopyOfACrashedSessionIsOfferedAtTheNextStart)
{
    // The work of a session that was killed: its copy and a stale lock.
    ASSERT_TRUE(WindowFiles::Of(*mainWindow)->Open(WriteImage(QStringLiteral("cells.png"), {320, 240})));
    ASSERT_NE(PlaceDistance(40), nullptr);
    ASSERT_NE(PlaceDistance(80), nullptr);
    guard().WriteCopyNow();
    const QByteArray copy = ReadAll(guard().recoveryFilePath());
    const QString stem = QDir(RecoveryDir()).filePath(QFileInfo(guard().recoveryFilePath()).completeBaseName());
    const QByteArray name = ReadAll(stem + QStringLiteral(".name"));
    // The newest measurements, when a copy was made between the two.
    const QByteArray newer = ReadAll(stem + QStringLiteral(".json"));
    EXPECT_EQ(name, "cells.png");
    prompter.answers = {Answer::Discard};
    ClickThroughWindow(mainWindow->host().button(CommandId::Exit));
    mainWindow.reset();

    for (Answer answer : {Answer::Restore, Answer::Discard}) {
        SCOPED_TRACE(int(answer));
        const QDir recovery(RecoveryDir());
        ASSERT_TRUE(WriteAll(recovery.filePath("session-killed.orvm"), copy));
        ASSERT_TRUE(WriteAll(recovery.filePath("session-killed.name"), name));
        if (!newer.isEmpty()) {
            ASSERT_TRUE(WriteAll(recovery.filePath("session-killed.json"), newer));
        }
        ASSERT_TRUE(WriteStaleLock(recovery.filePath("session-killed.lock")));
        Make("en", "en", {1280, 1024});
        mainWindow->show();
        prompter.messages.clear();
        prompter.answers = {answer};
        OfferRecovery(*mainWindow);

        ASSERT_EQ(prompter.messages.size(), 1u);
        const QString &text = prompter.messages[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Orvalin was not closed properly. Restore the measurements on "
                                                   "cells.png from ")))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral(" (2 measurements)?"))) << text.toStdString();
        EXPECT_EQ(prompter.messages[0].buttons, UiPrompter::Buttons::RestoreDiscard);
        EXPECT_FALSE(QFileInfo::exists(recovery.filePath("session-killed.orvm")));
        const bool restored = answer == Answer::Restore;
        EXPECT_EQ(mainWindow->document().list().size(), restored ? 2u : 0u);
        // Restored work was never saved: it asks before it goes, and is safe in this session's copy.
        EXPECT_EQ(mainWindow->isWindowModified(), restored);
        EXPECT_EQ(QFileInfo::exists(guard().recoveryFilePath()), restored);
        if (restored) {
            EXPECT_TRUE(mainWindow->windowTitle().contains(QStringLiteral("cells.png")));
            EXPECT_TRUE(WindowFiles::Of(*mainWindow)->measurementPath().isEmpty());
        }
        prompter.answers = {Answer::Discard};
        mainWindow->commands().OnExit();
        mainWindow.reset();
        EXPECT_TRUE(RecoveryFiles().isEmpty()) << RecoveryFiles().join(' ').toStdString();
    }
}

TEST_F(SessionGuardTest, DamagedCopyIsSetAsideAndTheUserToldWhere)
{
    const QDir recovery(RecoveryDir());
    ASSERT_TRUE(WriteAll(recovery.filePath("session-torn.orvm"), QByteArray("PK\x03\x04torn", 8)));
    ASSERT_TRUE(WriteStaleLock(recovery.filePath("session-torn.lock")));
    prompter.messages.clear();
    OfferRecovery(*mainWindow);
    ASSERT_EQ(prompter.messages.size(), 1u);
    const QStringList files = RecoveryFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_NE(files[0], QStringLiteral("session-torn.orvm"));
    EXPECT_TRUE(prompter.messages[0].text.contains(QDir::toNativeSeparators(recovery.filePath(files[0]))));
    EXPECT_EQ(mainWindow->document().list().size(), 0u);
    // Not offered again.
    prompter.messages.clear();
    OfferRecovery(*mainWindow);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SessionGuardTest, ChangesThatNeverPauseStillGetACopy)
{
    const QString copy = guard().recoveryFilePath();
    // A pause far longer than the longest wait: only the longest wait can write a copy.
    constexpr int kPauseMs = 4000;
    guard().SetIntervals({kPauseMs, 300});
    ASSERT_NE(PlaceDistance(40), nullptr);
    ASSERT_NE(PlaceDistance(80), nullptr);
    // Undo and redo between one and two distances every few milliseconds:
    // never the state opened, so there is always unsaved work.
    QElapsedTimer sinceChange;
    qint64 longestGap = 0;
    QTimer changes;
    changes.setInterval(10);
    QObject::connect(&changes, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceChange.restart());
        const bool two = mainWindow->document().list().size() == 2;
        QTest::keyClick(mainWindow->windowHandle(), two ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
    });
    sinceChange.start();
    changes.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(copy); }, 10000));
    changes.stop();
    // The changes really kept coming: the pause never elapsed.
    EXPECT_LT(longestGap, kPauseMs);
    const MeasurementReadResult read = RecoveryStore::Read(copy);
    ASSERT_TRUE(read.session);
    EXPECT_GE(read.session->items.size(), 1u);
}

TEST_F(SessionGuardTest, RestoredSessionHoldsTheNewestMeasurements)
{
    ASSERT_NE(PlaceDistance(40), nullptr);
    guard().WriteCopyNow();
    const QString file = guard().recoveryFilePath();
    const QByteArray firstCopy = ReadAll(file);
    ASSERT_NE(PlaceDistance(80), nullptr);
    ASSERT_NE(PlaceDistance(120), nullptr);
    guard().WriteCopyNow();
    // The image was written once; the newest measurements went beside it.
    EXPECT_EQ(ReadAll(file), firstCopy);

    // The entry as a killed session leaves it.
    const QDir recovery(RecoveryDir());
    const QString stem = QFileInfo(file).completeBaseName();
    for (const char *suffix : {".orvm", ".json", ".name"}) {
        ASSERT_TRUE(WriteAll(recovery.filePath(QStringLiteral("session-killed") + suffix),
                             ReadAll(recovery.filePath(stem + suffix))));
    }
    ASSERT_TRUE(WriteStaleLock(recovery.filePath("session-killed.lock")));
    prompter.answers = {Answer::Discard};
    mainWindow->commands().OnExit();
    mainWindow.reset();

    Make("en", "en", {1280, 1024});
    mainWindow->show();
    prompter.messages.clear();
    prompter.answers = {Answer::Restore};
    OfferRecovery(*mainWindow);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.endsWith(QStringLiteral(" (3 measurements)?")))
        << prompter.messages[0].text.toStdString();
    EXPECT_EQ(mainWindow->document().list().size(), 3u);
    const MeasurementReadResult own = RecoveryStore::Read(guard().recoveryFilePath());
    ASSERT_TRUE(own.session);
    EXPECT_EQ(own.session->items.size(), 3u);
    EXPECT_TRUE(recovery.entryList({QStringLiteral("session-killed.*")}, QDir::Files).isEmpty());
}

TEST_F(SessionGuardTest, DamagedMeasurementsBesideACopySetItAside)
{
    const QDir recovery(RecoveryDir());
    MeasurementSession session;
    session.image = QImage(80, 60, QImage::Format_RGB32);
    session.image.fill(Qt::white);
    ASSERT_TRUE(WriteAll(recovery.filePath("session-torn.orvm"),
                         PackMeasurementFile(EncodeMeasurementData(session, RecoveryStore::CopyMark(1, 1)),
                                             PngOf(session.image))));
    ASSERT_TRUE(WriteAll(recovery.filePath("session-torn.json"), QByteArray(R"({"format": "orvalin-measurements", )")));
    ASSERT_TRUE(WriteStaleLock(recovery.filePath("session-torn.lock")));
    prompter.messages.clear();
    OfferRecovery(*mainWindow);
    ASSERT_EQ(prompter.messages.size(), 1u);
    const QString &text = prompter.messages[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("session-torn.json is damaged"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(recovery.filePath("session-torn.orvm.damaged"))))
        << text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(recovery.filePath("session-torn.json.damaged")));
    EXPECT_EQ(mainWindow->document().list().size(), 0u);
    prompter.messages.clear();
    OfferRecovery(*mainWindow);
    EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace orv::test

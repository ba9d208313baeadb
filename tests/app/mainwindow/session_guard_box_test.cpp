// The unsaved-work and recovery questions as the real message boxes show
// them, in both languages, and what their buttons (or closing the box) answer.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <functional>

#include "app/mainwindow/session_guard.h"
#include "document/measure_document.h"
#include "file_test_util.h"
#include "stale_lock.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

class SessionGuardBox : public MainWindowTest {
protected:
    // A window with the real dialogs and one measurement made as a step.
    MainWindow &MakeMeasured(const char *language)
    {
        WindowEnvironment env = Env(language, language);
        env.prompter = MakeDialogPrompter(env.locale);
        mainWindow = std::make_unique<MainWindow>(std::move(env));
        mainWindow->show();
        mainWindow->LoadImageFile(WriteImage(QStringLiteral("image.png"), {60, 40}));
        auto item = NewMeasureItem();
        item->kind = KindDistance2Points;
        AppendPoint(*item, {5, 5});
        AppendPoint(*item, {50, 30});
        mainWindow->document().BeginEdit(std::move(item));
        mainWindow->document().ListEditItem();
        return *mainWindow;
    }

    // Runs `ask`; the box it shows is read and answered by `answer` (nullptr:
    // the box is closed without a button, as Escape or its close box would).
    QString Answering(const std::function<void()> &ask,
                      const std::function<QAbstractButton *(QMessageBox &)> &answer)
    {
        QString text;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QPointer<QMessageBox> box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || !box->windowHandle())
                return;
            poll.stop();
            text = box->text();
            QTimer::singleShot(2000, box, [box] {
                if (box)
                    box->reject();
            });
            if (QAbstractButton *b = answer(*box))
                QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, b->mapTo(box.data(), b->rect().center()));
            else
                QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
        });
        poll.start();
        ask();
        poll.stop();
        return text;
    }
};

TEST_F(SessionGuardBox, ExitQuestionInTheWindowsLanguageAndItsButtons)
{
    const struct {
        const char *language;
        QMessageBox::StandardButton click;  // NoButton: closed without one
        bool ended;
    } cases[] = {
        {"en", QMessageBox::Discard, true},
        {"en", QMessageBox::Cancel, false},
        {"en", QMessageBox::NoButton, false},
        {"ja", QMessageBox::Discard, true},
        {"ja", QMessageBox::Cancel, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + std::to_string(int(c.click)));
        MainWindow &d = MakeMeasured(c.language);
        const QString text = Answering([&] { d.commands().OnExit(); },
                                       [&](QMessageBox &box) { return box.button(c.click); });
        const bool japanese = std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() > 0x3000; });
        EXPECT_EQ(japanese, std::string(c.language) == "ja") << text.toStdString();
        EXPECT_EQ(!d.isVisible(), c.ended);
        EXPECT_EQ(d.document().list().size(), c.ended ? 0u : 1u);
    }
}

TEST_F(SessionGuardBox, RestoreButtonRestoresAndClosingTheBoxKeepsTheCopy)
{
    MainWindow &first = MakeMeasured("en");
    SessionGuard::Of(first)->WriteCopyNow();
    const QByteArray copy = ReadAll(SessionGuard::Of(first)->recoveryFilePath());
    ASSERT_FALSE(copy.isEmpty());
    mainWindow.reset();  // a window gone without ending: its copy stays

    const QDir recovery(dir.filePath(QStringLiteral("recovery")));
    const struct {
        const char *name;
        bool restore;  // else the box is closed without an answer
    } cases[] = {{"closed", false}, {"restored", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList before = recovery.entryList({QStringLiteral("*.orvm")}, QDir::Files);
        ASSERT_EQ(before.size(), 1);
        WindowEnvironment env = Env();
        env.prompter = MakeDialogPrompter(env.locale);
        mainWindow = std::make_unique<MainWindow>(std::move(env));
        mainWindow->show();
        const QString text = Answering([&] { OfferRecovery(*mainWindow); }, [&](QMessageBox &box) {
            QAbstractButton *restore = nullptr;
            for (QAbstractButton *b : box.buttons())
                if (box.buttonRole(b) == QMessageBox::AcceptRole)
                    restore = b;
            EXPECT_NE(restore, nullptr);
            EXPECT_NE(box.button(QMessageBox::Discard), nullptr);
            return c.restore ? restore : nullptr;
        });
        EXPECT_TRUE(text.startsWith(QStringLiteral("Orvalin was not closed properly."))) << text.toStdString();
        EXPECT_EQ(mainWindow->document().list().size(), c.restore ? 1u : 0u);
        EXPECT_EQ(QFileInfo::exists(recovery.filePath(before[0])), !c.restore);
        mainWindow.reset();
    }
}

}  // namespace
}  // namespace orv::test

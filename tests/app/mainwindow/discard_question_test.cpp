// The question before the edited image is given up, as the real message box
// of a Japanese window shows it and as its buttons answer.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "app/pages/page_index.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

using DiscardQuestion = MainWindowTest;

TEST_F(DiscardQuestion, JapaneseBoxAsksInJapaneseAndItsButtonsAnswer)
{
    const struct {
        const char *click;
        bool discarded;
    } cases[] = {
        {"いいえ(&N)", false},
        {"はい(&Y)", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.click);
        WindowEnvironment env = Env("ja", "ja");
        env.prompter = MakeDialogPrompter(env.locale);
        mainWindow = std::make_unique<MainWindow>(std::move(env));
        MainWindow &d = *mainWindow;
        d.LoadImageFile(WriteImage(QStringLiteral("image.png"), {60, 40}));
        AddDistance({5, 5}, {50, 30});
        d.host().SelectTab(PageScale);

        QString text, title;
        QStringList captions;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QPointer<QMessageBox> box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || !box->windowHandle())
                return;
            poll.stop();
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            QAbstractButton *target = nullptr;
            for (QAbstractButton *b : box->buttons()) {
                captions << b->text();
                if (b->text() == QString::fromUtf8(c.click))
                    target = b;
            }
            // Never left open, whatever went wrong.
            QTimer::singleShot(2000, box, [box] {
                if (box)
                    box->reject();
            });
            if (target)
                QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {},
                                  target->mapTo(box.data(), target->rect().center()));
        });
        poll.start();
        d.host().SelectTab(PageImage);
        poll.stop();

        EXPECT_EQ(text, QStringLiteral("現在の編集画像は破棄されます。よろしいですか？"));
        // The window's modified mark is no part of the box's title.
        EXPECT_EQ(title, d.windowTitle().remove(QStringLiteral("[*]")));
        EXPECT_EQ(icon, QMessageBox::Question);
        captions.sort();
        EXPECT_EQ(captions, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));
        EXPECT_EQ(d.host().currentTab(), c.discarded ? PageImage : PageScale);
        EXPECT_EQ(d.hasImage(), !c.discarded);
    }
}

}  // namespace
}  // namespace orv::test

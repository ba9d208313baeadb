#include "app/mainwindow/discard_question.h"

#include "app/dialogs/ui_prompter.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/session_guard.h"
#include "app/pages/page_host.h"

namespace orv {

bool ConfirmDiscardingImage(MainWindow &mainWindow)
{
    const QString text = mainWindow.host().language() == Language::English
        ? QStringLiteral("The image you are editing will not be saved. Continue?")
        : QStringLiteral("現在の編集画像は破棄されます。よろしいですか？");
    return mainWindow.host().prompter().message(&mainWindow, text, mainWindow.windowTitle(), UiPrompter::Buttons::YesNo,
                                                UiPrompter::Icon::Question)
        == UiPrompter::Answer::Yes;
}

bool ConfirmGivingUpImage(MainWindow &mainWindow, bool askWhenSaved)
{
    if (SessionGuard *guard = SessionGuard::Of(mainWindow); guard && guard->unsaved())
        return guard->ConfirmClose();
    return !askWhenSaved || ConfirmDiscardingImage(mainWindow);
}

}  // namespace orv

#include "app/discard_question.h"

#include "app/orvalin_dlg.h"
#include "app/page_host.h"
#include "app/ui_prompter.h"

namespace orv {

bool ConfirmDiscardingImage(COrvalinDlg &dlg)
{
    const QString text = dlg.host().language() == Language::English
                             ? QStringLiteral("The image you are editing will not be saved. Continue?")
                             : QStringLiteral("現在の編集画像は破棄されます。よろしいですか？");
    return dlg.host().prompter().message(&dlg, text, dlg.windowTitle(), UiPrompter::Buttons::YesNo,
                                  UiPrompter::Icon::Question) == UiPrompter::Answer::Yes;
}

}  // namespace orv

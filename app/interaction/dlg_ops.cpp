#include "app/interaction/dlg_ops.h"

#include "app/orvalin_dlg.h"
#include "document/measure_document.h"
#include "app/tool_tab.h"
#include "app/ui_prompter.h"

#include "calib/draw_attribute.h"
#include "app/option_tab.h"

namespace orv::interaction {

bool InView(const COrvalinDlg &dlg, QPoint p)
{
    const QSize size = dlg.view().size;
    return p.x() >= 0 && p.y() >= 0 && p.x() <= size.width() && p.y() <= size.height();
}

bool OnMeasurePages(const COrvalinDlg &dlg)
{
    return dlg.currentTab() == TabMeasure || dlg.currentTab() == TabOption;
}

MeasureItem *LiveHitItem(COrvalinDlg &dlg, const PointerState &state)
{
    const MeasureDocument &doc = dlg.document();
    if (state.hitItem == kNoItem || state.hitItem != doc.selectedId())
        return nullptr;
    return doc.Find(state.hitItem);
}

MeasureItem *ListedSource(COrvalinDlg &dlg, const PointerState &state)
{
    return dlg.document().Find(state.hitItem);
}

void RemoveItem(COrvalinDlg &dlg, ItemId id)
{
    MeasureDocument &doc = dlg.document();
    if (!doc.Remove(id))
        return;
    ShowRecordAttributes(dlg, doc.selectedItem());
    dlg.RebuildView();
}

void ShowRecordAttributes(COrvalinDlg &dlg, MeasureItem *item)
{
    if (COptionTab *option = dlg.optionTab(); option && item)
        option->ShowRecordAttributes(item);
}

void BeginEditDrag(COrvalinDlg &dlg, std::unique_ptr<MeasureItem> item, DragMode mode)
{
    MeasureDocument &doc = dlg.document();
    doc.BeginEdit(std::move(item));
    dlg.setDragMode(mode);
    ShowRecordAttributes(dlg, doc.editItem());
    // Shown at once: the grabbed item loses its selection to the edit item
    // (only those two are redrawn).
    dlg.RebuildEditLayer();
}

void ToolSelect(COrvalinDlg &dlg)
{
    dlg.RefreshToolButtons();
}

bool AskYesNo(COrvalinDlg &dlg, const QString &english, const QString &japanese)
{
    const QString text = dlg.language() == Language::English ? english : japanese;
    return dlg.prompter().message(&dlg, text, dlg.windowTitle(),
                                  UiPrompter::Buttons::YesNo,
                                  UiPrompter::Icon::Question) == UiPrompter::Answer::Yes;
}

std::unique_ptr<MeasureItem> NewItemForCurrentTool(COrvalinDlg &dlg)
{
    auto item = NewMeasureItem();
    if (CToolTab *tool = dlg.toolTab())
        item->kind = static_cast<MeasureKind>(tool->currentTool());
    dlg.document().drawAttribute().copyTo(*item);
    return item;
}

std::string CutToRecordText(const QString &text)
{
    return CutToRecord(text.toStdString());
}

}  // namespace orv::interaction

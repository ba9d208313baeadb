#include "app/interaction/dlg_ops.h"

#include "app/orvalin_dlg.h"
#include "app/page_bridge.h"
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
    MeasureItem *item = state.hitItem;
    if (!item || item != dlg.selectedItem() || !dlg.measureList().Contains(item))
        return nullptr;
    return item;
}

MeasureItem *ListedSource(COrvalinDlg &dlg, const PointerState &state)
{
    MeasureItem *item = state.hitItem;
    return item && dlg.measureList().Contains(item) ? item : nullptr;
}

void ShowRecordAttributes(COrvalinDlg &dlg, MeasureItem *item)
{
    page_bridge::ShowRecordAttributes(dlg.optionTab(), item);
}

void BeginEditDrag(COrvalinDlg &dlg, std::unique_ptr<MeasureItem> item, DragMode mode)
{
    MeasureItem *raw = item.get();
    dlg.setEditItem(std::move(item));
    dlg.setDragMode(mode);
    dlg.setSelectedItem(raw);
    ShowRecordAttributes(dlg, raw);
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
    // The option page's attributes as its controls show them; the defaults
    // when the page does not exist.
    if (COptionTab *option = dlg.optionTab())
        option->drawAttribute().copyTo(*item);
    else
        DrawAttribute().copyTo(*item);
    return item;
}

void ShiftLabelBox(LabelBox &box, QPoint d)
{
    if (box.bottom == 0)
        return;
    box.left += d.x();
    box.top += d.y();
    box.right += d.x();
    if (box.bottom > 0)
        box.bottom = box.bottom + d.y() > 0 ? box.bottom + d.y() : -1;
}

std::string CutToRecordText(const QString &text)
{
    return CutToRecord(text.toStdString());
}

}  // namespace orv::interaction

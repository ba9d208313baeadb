#include "document/measure_document.h"

#include "document/calibration_edit.h"
#include "document/document_history.h"
#include "document/document_state.h"
#include "document/item_merge.h"
#include "measure/derive.h"

namespace orv {

MeasureDocument::MeasureDocument(Language titleLanguage, Language textLanguage, QObject *parent)
    : QObject(parent),
      results_(titleLanguage, textLanguage),
      history_(std::make_unique<DocumentHistory>(*this)),
      calibrationEdit_(std::make_unique<CalibrationEdit>(*this))
{
}

MeasureDocument::~MeasureDocument() = default;

void MeasureDocument::SetImage(QImage image, ImageOrigin origin)
{
    image_ = std::move(image);
    origin_ = origin;
    stillCamera_.clear();
    // A new image starts a new history; emptying its list is not a step.
    history_->Forget();
    emit imageChanged();
}

void MeasureDocument::SetOrigin(ImageOrigin origin)
{
    if (origin_ == origin)
        return;
    origin_ = origin;
    emit imageChanged();
}

void MeasureDocument::SetStillCamera(const QString &name)
{
    stillCamera_ = name;
    emit stillCameraChanged();
}

void MeasureDocument::DropImage()
{
    // A frame the camera froze stays the camera's to save.
    SetImage(QImage(), origin_ == ImageOrigin::CameraFrame ? origin_ : ImageOrigin::None);
}

void MeasureDocument::CalibrationEdited()
{
    emit calibrationChanged();
    history_->CalibrationEdited();
}

void MeasureDocument::AttributesEdited()
{
    emit attributesChanged();
    history_->AttributesEdited();
}

void MeasureDocument::ComputeValue(MeasureItem &item) const
{
    ComputeMeasureValue(item, calibration_.setting.Factors(), results_.textLanguage());
}

MeasureItem *MeasureDocument::selectedItem() const
{
    if (editSelected_)
        return editItem_.get();
    return list_.Find(selected_);
}

void MeasureDocument::SetSelection(ItemId id, bool edit)
{
    if (selected_ == id && editSelected_ == edit)
        return;
    selected_ = id;
    editSelected_ = edit;
    emit selectionChanged();
}

void MeasureDocument::Select(ItemId id)
{
    SetSelection(list_.Find(id) ? id : kNoItem, false);
}

void MeasureDocument::SelectItem(const MeasureItem *item)
{
    if (item && item == editItem_.get())
        SetSelection(kNoItem, true);
    else
        Select(item && list_.Contains(item) ? item->id : kNoItem);
}

void MeasureDocument::ShowSelectionInRows()
{
    if (const MeasureItem *item = selectedItem())
        results_.SelectRow(item->row);
}

void MeasureDocument::BeginEdit(std::unique_ptr<MeasureItem> item)
{
    const bool some = item != nullptr;
    SetEditItem(std::move(item));
    if (some)
        SetSelection(kNoItem, true);
}

void MeasureDocument::SetEditItem(std::unique_ptr<MeasureItem> item)
{
    if (!item && !editItem_)
        return;
    editItem_ = std::move(item);
    ++editGeneration_;
    if (!editItem_ && editSelected_)
        SetSelection(kNoItem, false);
    emit editItemChanged();
}

MeasureItem *MeasureDocument::ListEditItem()
{
    const DocumentStep step(*this);
    if (!editItem_)
        return nullptr;
    ComputeValue(*editItem_);
    const bool selected = editSelected_;
    std::unique_ptr<MeasureItem> owned = std::move(editItem_);
    ++editGeneration_;
    MeasureItem &item = *owned;
    item.number = list_.Append(std::move(owned));
    results_.AddMeasureRows(item);
    if (selected) {
        // The same record, now listed: the selection follows it.
        selected_ = item.id;
        editSelected_ = false;
    }
    emit editItemChanged();
    emit listChanged();
    return &item;
}

int MeasureDocument::AppendCopies(const MeasureList &items)
{
    if (items.empty())
        return 0;
    const DocumentStep step(*this);
    for (const auto &source : items) {
        std::unique_ptr<MeasureItem> clone = CloneMeasureItem(*source);
        MeasureItem &copy = *clone;
        copy.number = list_.Append(std::move(clone));
        ComputeValue(copy);
        results_.AddMeasureRows(copy);
    }
    ClearSelection();
    emit listChanged();
    return static_cast<int>(items.size());
}

MeasureItem *MeasureDocument::Duplicate(ItemId id)
{
    const DocumentStep step(*this);
    const MeasureItem *source = list_.Find(id);
    if (!source) {
        ClearSelection();
        return nullptr;
    }
    std::unique_ptr<MeasureItem> clone = CloneMeasureItem(*source);
    MeasureItem &copy = *clone;
    copy.number = list_.Append(std::move(clone));
    ComputeValue(copy);
    results_.AddMeasureRows(copy);
    SetEditItem(nullptr);
    Select(copy.id);
    emit listChanged();
    return &copy;
}

bool MeasureDocument::Remove(ItemId id)
{
    const DocumentStep step(*this);
    const MeasureItem *item = list_.Find(id);
    if (!item)
        return false;
    const MeasureItem *next = results_.RemoveMeasureRows(list_, item);
    const ItemId nextId = next ? next->id : kNoItem;
    SetEditItem(nullptr);
    Select(nextId);
    results_.RenumberResults(list_, selectedItem());
    emit listChanged();
    return true;
}

bool MeasureDocument::RemoveSubResultRow(int row)
{
    const DocumentStep step(*this);
    const bool removed = results_.RemoveSubResultRow(list_, row);
    ClearSelection();
    results_.RenumberResults(list_, nullptr);
    emit listChanged();
    return removed;
}

void MeasureDocument::CommitPointDrag(ItemId sourceId)
{
    const DocumentStep step(*this, sourceId);
    MeasureItem *source = list_.Find(sourceId);
    if (editItem_ && source)
        MergeDraggedPoint(*source, *editItem_);
    SetEditItem(nullptr);
    Select(sourceId);
    if (source) {
        ComputeValue(*source);
        results_.RefreshMeasureRows(*source);
        results_.SelectRow(source->row);
        emit itemChanged(sourceId);
    }
}

void MeasureDocument::CommitMove(ItemId sourceId, int hitCode, int hitSubResult)
{
    const DocumentStep step(*this, sourceId);
    MeasureItem *source = list_.Find(sourceId);
    if (editItem_ && source) {
        MergeMovedClone(*source, *editItem_, hitCode, hitSubResult);
        emit itemChanged(sourceId);
    }
    SetEditItem(nullptr);
    Select(sourceId);
}

bool MeasureDocument::MovePoint(ItemId id, int index, QPoint pos)
{
    const DocumentStep step(*this);
    const MeasureItem *item = list_.Find(id);
    if (!item || index < 0 || index >= static_cast<int>(item->points.size()))
        return false;
    std::unique_ptr<MeasureItem> clone = CloneMeasureItem(*item);
    SetPointAt(clone.get(), index, pos);
    UpdateDerivedGeometry(*clone);
    SetEditItem(std::move(clone));
    CommitPointDrag(id);
    return true;
}

void MeasureDocument::Renumber()
{
    const DocumentStep step(*this);
    results_.RenumberResults(list_, selectedItem());
    emit listChanged();
}

void MeasureDocument::RecomputeAll()
{
    const DocumentStep step(*this);
    RecomputeAllMeasures(list_, calibration_.setting.Factors(), results_.textLanguage(),
                         [this](MeasureItem &item) { results_.RefreshMeasureRows(item); });
    emit listChanged();
}

void MeasureDocument::DeleteAll()
{
    const DocumentStep step(*this);
    results_.DeleteAllResults(list_);
    SetEditItem(nullptr);
    ClearSelection();
    emit listChanged();
}

bool MeasureDocument::Undo()
{
    return !editItem_ && hasImage() && history_->Undo();
}

bool MeasureDocument::Redo()
{
    return !editItem_ && hasImage() && history_->Redo();
}

bool MeasureDocument::CanUndo() const
{
    return history_->stack().canUndo();
}

bool MeasureDocument::CanRedo() const
{
    return history_->stack().canRedo();
}

void MeasureDocument::ClearHistory()
{
    history_->Clear();
}

void MeasureDocument::Restore(const DocumentState &state, const DocumentSelection &selection)
{
    SetEditItem(nullptr);
    MeasureList::Items items;
    items.reserve(state.items.size());
    for (const auto &item : state.items)
        items.push_back(std::make_unique<MeasureItem>(*item));
    list_.Restore(std::move(items));
    results_.RestoreRows(*state.rows, selection.selectedRow, selection.focusedRow);
    calibration_ = *state.calibration;
    // The zoom is the view's: it stays as it is.
    std::string zoom = std::move(attributes_.zoomText);
    attributes_ = *state.attributes;
    attributes_.zoomText = std::move(zoom);
    selected_ = list_.Find(selection.item) ? selection.item : kNoItem;
    editSelected_ = false;
    emit listChanged();
    emit calibrationChanged();
    emit attributesChanged();
    emit selectionChanged();
    emit restored();
}

}  // namespace orv

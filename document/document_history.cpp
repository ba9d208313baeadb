#include "document/document_history.h"

#include <QUndoCommand>

#include <utility>

#include "document/measure_document.h"

namespace orv {

// One step: the states on either side of it.
class DocumentStepCommand : public QUndoCommand {
public:
    DocumentStepCommand(DocumentHistory &history, DocumentState before,
                        DocumentSelection beforeSelection, DocumentState afterState,
                        DocumentSelection afterSelection)
        : after(std::move(afterState)),
          history_(history),
          before_(std::move(before)),
          beforeSelection_(beforeSelection),
          afterSelection_(afterSelection)
    {
    }

    void undo() override { history_.Restore(before_, beforeSelection_); }
    void redo() override
    {
        // Pushing calls this once: the document is already in the state after.
        if (pushed_)
            history_.Restore(after, afterSelection_);
        pushed_ = true;
    }

    // What the step left, kept up to date while it is the newest step.
    DocumentState after;

private:
    DocumentHistory &history_;
    DocumentState before_;
    DocumentSelection beforeSelection_;
    DocumentSelection afterSelection_;
    bool pushed_ = false;
};

DocumentHistory::DocumentHistory(MeasureDocument &doc) : doc_(doc)
{
    stack_.setUndoLimit(kUndoLimit);
}

DocumentHistory::~DocumentHistory() = default;

DocumentStepCommand *DocumentHistory::latestStep() const
{
    const int count = stack_.count();
    if (!latest_ || count == 0 || stack_.index() != count || stack_.command(count - 1) != latest_)
        return nullptr;
    return latest_;
}

void DocumentHistory::Begin(ItemId editSource)
{
    if (depth_++ > 0 || restoring_)
        return;
    const DocumentState *previous = committed_ ? &*committed_ : nullptr;
    beforeSelection_ = CaptureSelection(doc_);
    // A drag selects its clone; undone, the dragged item is selected again.
    if (doc_.editItemSelected() && editSource != kNoItem)
        beforeSelection_.item = editSource;
    before_.items = CaptureItems(doc_.list(), previous);
    before_.rows = CaptureRows(doc_.results(), previous);
    before_.attributes = CaptureAttributes(doc_.drawAttribute(), previous);
    // The pages change the calibration before they say so.
    before_.calibration = previous ? previous->calibration
                                   : CaptureCalibration(doc_.calibration(), nullptr);
    if (!committed_)
        return;
    KeepLatestUpToDate(before_);
    committed_ = before_;
}

void DocumentHistory::KeepLatestUpToDate(const DocumentState &now)
{
    // What changed since the last step without being one (labels placed by a
    // repaint, what an action did after its operation, the attributes shown
    // for a selection) is part of what that step left.
    if (DocumentStepCommand *latest = latestStep()) {
        latest->after.items = now.items;
        latest->after.rows = now.rows;
        latest->after.attributes = now.attributes;
    }
}

void DocumentHistory::End()
{
    if (depth_ == 0)
        return;
    if (--depth_ > 0 || restoring_)
        return;
    Record(before_, beforeSelection_);
}

void DocumentHistory::CalibrationEdited()
{
    if (busy())
        return;
    Begin();
    End();
}

void DocumentHistory::AttributesEdited()
{
    if (busy())
        return;
    if (!committed_) {
        committed_ = CaptureState(doc_, nullptr);
        return;
    }
    // The attributes and the items following them were changed in place.
    DocumentState before = *committed_;
    before.calibration = CaptureCalibration(doc_.calibration(), &*committed_);
    Record(before, CaptureSelection(doc_));
}

void DocumentHistory::Record(const DocumentState &before, const DocumentSelection &beforeSelection)
{
    DocumentState after = CaptureState(doc_, &before);
    if (!committed_ || !after.ChangesFrom(before)) {
        committed_ = std::move(after);
        return;
    }
    auto command = std::make_unique<DocumentStepCommand>(*this, before, beforeSelection, after,
                                                         CaptureSelection(doc_));
    DocumentStepCommand *pushed = command.get();
    committed_ = std::move(after);
    stack_.push(command.release());
    latest_ = pushed;
}

void DocumentHistory::Clear()
{
    stack_.clear();
    latest_ = nullptr;
    committed_ = CaptureState(doc_, nullptr);
}

void DocumentHistory::Forget()
{
    stack_.clear();
    latest_ = nullptr;
    committed_.reset();
}

bool DocumentHistory::Undo()
{
    if (busy() || !stack_.canUndo())
        return false;
    if (latestStep() && committed_) {
        DocumentState now = CaptureState(doc_, &*committed_);
        now.calibration = committed_->calibration;
        KeepLatestUpToDate(now);
    }
    stack_.undo();
    return true;
}

bool DocumentHistory::Redo()
{
    if (busy() || !stack_.canRedo())
        return false;
    stack_.redo();
    return true;
}

void DocumentHistory::Restore(const DocumentState &state, const DocumentSelection &selection)
{
    restoring_ = true;
    committed_ = state;
    doc_.Restore(state, selection);
    restoring_ = false;
}

DocumentStep::DocumentStep(MeasureDocument &doc, ItemId editSource) : history_(doc.history())
{
    history_.Begin(editSource);
}

DocumentStep::~DocumentStep()
{
    history_.End();
}

}  // namespace orv

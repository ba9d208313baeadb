#pragma once
// The measurement document's undo history. Each user action on the document
// is one step holding the state before and after it; undoing or redoing a step
// puts its state back through one document operation, so the rows, the view
// and the pages follow as they do for the action itself.
//
// Operations open a step (DocumentStep); nested steps fold into the outermost,
// which records when it ends and only when something changed. The calibration
// and the draw attributes are edited in place by the pages, which say so
// afterwards: their "before" is the state last recorded. Everything else is
// taken as it is when the step opens, so what happened since the last step
// (labels placed by a repaint, a selection) is never undone by accident.

#include <QUndoStack>

#include <memory>
#include <optional>

#include "document/document_state.h"

namespace orv {

class MeasureDocument;
class DocumentStepCommand;

class DocumentHistory {
public:
    // The oldest steps go beyond this many.
    static constexpr int kUndoLimit = 200;

    explicit DocumentHistory(MeasureDocument &doc);
    ~DocumentHistory();
    DocumentHistory(const DocumentHistory &) = delete;
    DocumentHistory &operator=(const DocumentHistory &) = delete;

    QUndoStack &stack() { return stack_; }
    const QUndoStack &stack() const { return stack_; }

    // editSource: the listed item an edit item being committed was taken
    // from; it counts as selected before the step when the edit item is.
    void Begin(ItemId editSource = kNoItem);
    void End();
    // The page changed the calibration or the attributes in place and says so
    // now; inside an open step the step's end records it.
    void CalibrationEdited();
    void AttributesEdited();

    // No steps; the document as it is now is where history starts.
    void Clear();
    // No steps, and the next recorded operation only sets where history
    // starts (a new image: the list it empties is not the image's history).
    void Forget();

    // Refused (false) while a step is open or a state is being put back.
    bool Undo();
    bool Redo();
    bool busy() const { return depth_ > 0 || restoring_; }

    // Puts a state back (the commands' undo and redo).
    void Restore(const DocumentState &state, const DocumentSelection &selection);

private:
    void Record(const DocumentState &before, const DocumentSelection &beforeSelection);
    DocumentStepCommand *latestStep() const;
    void KeepLatestUpToDate(const DocumentState &now);

    MeasureDocument &doc_;
    QUndoStack stack_;
    // The state last recorded or put back; empty before the first one.
    std::optional<DocumentState> committed_;
    DocumentState before_;
    DocumentSelection beforeSelection_;
    // The command last pushed, while it is the newest (the redo tail is empty).
    DocumentStepCommand *latest_ = nullptr;
    int depth_ = 0;
    bool restoring_ = false;
};

// Opens a step of the document's history for its lifetime.
class DocumentStep {
public:
    explicit DocumentStep(MeasureDocument &doc, ItemId editSource = kNoItem);
    ~DocumentStep();
    DocumentStep(const DocumentStep &) = delete;
    DocumentStep &operator=(const DocumentStep &) = delete;

private:
    DocumentHistory &history_;
};

}  // namespace orv

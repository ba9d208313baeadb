#pragma once
// One measurement document: the still being measured and where it came from,
// the measurements, their rows in the results list, the selection and the
// item being edited. Every operation keeps the list, the rows and the
// selection consistent and says what changed by a signal. No widgets.

#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

#include "calib/draw_attribute.h"
#include "calib/scale_bars.h"
#include "calib/scale_setting.h"
#include "calib/standard_scale.h"
#include "document/view_zoom.h"
#include "export/measurement_file.h"
#include "export/results_table.h"
#include "measure/language.h"
#include "measure/measure_item.h"
#include "measure/values.h"

namespace orv {

struct MeasureDrawOptions;

// Where the still came from. A frozen camera frame is saved by the camera
// itself, not from the composite.
enum class ImageOrigin { None, File, CameraFrame, WirelessFrame };

// What values are measured against and the scale drawing shows.
struct Calibration {
    ScaleSetting setting;
    StandardScale standard;
    CalibrationBars bars;
    bool operator==(const Calibration &) const = default;
};

class CalibrationEdit;
class DocumentHistory;
struct DocumentSelection;
struct DocumentState;

class MeasureDocument : public QObject {
    Q_OBJECT

public:
    // titleLanguage, textLanguage: those of the results list.
    MeasureDocument(Language titleLanguage, Language textLanguage, QObject *parent = nullptr);
    ~MeasureDocument() override;

    // --- the still -------------------------------------------------------------------
    bool hasImage() const { return !image_.isNull(); }
    const QImage &image() const { return image_; }
    ImageOrigin origin() const { return origin_; }
    void SetImage(QImage image, ImageOrigin origin);
    // CameraFrame: the image page froze a frame, which the camera saves itself
    // until an image is loaded. The image itself stays.
    void SetOrigin(ImageOrigin origin);
    // No image; a frozen camera frame keeps its origin.
    void DropImage();
    // The camera the still came from: its name in the camera list (the
    // wireless microscope's fixed name); empty for a file. A new image has none.
    const QString &stillCamera() const { return stillCamera_; }
    void SetStillCamera(const QString &name);

    // --- measurements and rows ---------------------------------------------------------
    MeasureList &list() { return list_; }
    const MeasureList &list() const { return list_; }
    ResultsTable &results() { return results_; }
    const ResultsTable &results() const { return results_; }
    MeasureItem *Find(ItemId id) const { return list_.Find(id); }

    // The item's value, unit and sub-result texts under the calibration, in
    // the rows' text language.
    void ComputeValue(MeasureItem &item) const;

    // --- calibration and draw attributes ----------------------------------------------
    const Calibration &calibration() const { return calibration_; }
    // The Scale page edits the calibration field by field, then says so.
    Calibration &editCalibration() { return calibration_; }
    void CalibrationEdited();
    // The calibration's changes as the page and the pointer make them.
    CalibrationEdit &calibrationEdit() { return *calibrationEdit_; }
    // The attributes new measurements take, and the label mode.
    const DrawAttribute &drawAttribute() const { return attributes_; }
    // The Option page edits them, then says so.
    DrawAttribute &editDrawAttribute() { return attributes_; }
    void AttributesEdited();
    LabelMode labelMode() const { return attributes_.labelMode; }

    // --- the view's zoom and scroll ------------------------------------------------------
    // Not part of the undo history: looking closer changes no measurement.
    ViewZoom &zoom() { return zoom_; }
    const ViewZoom &zoom() const { return zoom_; }

    // --- selection -------------------------------------------------------------------
    // The selected item: a listed item or the edit item; nullptr for none.
    MeasureItem *selectedItem() const;
    // The listed selected item's id; kNoItem when the edit item or nothing is selected.
    ItemId selectedId() const { return editSelected_ ? kNoItem : selected_; }
    bool editItemSelected() const { return editSelected_ && editItem_; }
    // An id no longer listed selects nothing.
    void Select(ItemId id);
    // A listed item or the edit item; anything else selects nothing.
    void SelectItem(const MeasureItem *item);
    void ClearSelection() { Select(kNoItem); }
    // The selected item's main row becomes the list's selected row.
    void ShowSelectionInRows();

    // --- the item being placed or dragged ---------------------------------------------
    MeasureItem *editItem() const { return editItem_.get(); }
    // Counts the edit items set: a question that ran its own event loop
    // compares it to know that the edit item it asked about is still the same.
    std::uint64_t editGeneration() const { return editGeneration_; }
    // The item becomes the edit item and is selected.
    void BeginEdit(std::unique_ptr<MeasureItem> item);
    // Replaces the edit item without touching the selection (nullptr drops it;
    // a selected edit item leaves nothing selected).
    void SetEditItem(std::unique_ptr<MeasureItem> item);

    // --- operations --------------------------------------------------------------------
    // Lists the edit item: value computed, appended, rows added; it stays
    // selected. nullptr when there is no edit item.
    MeasureItem *ListEditItem();
    // Appends a copy of a listed item with its value and rows, selected.
    // nullptr (and nothing selected) when the id is not listed.
    MeasureItem *Duplicate(ItemId id);
    // Lists copies of items measured elsewhere (at this image's pixels) as one
    // step: values computed here, numbered and listed in order, nothing
    // selected. Returns how many were listed.
    int AppendCopies(const MeasureList &items);
    // Removes the item and its rows; the following item (or the one before
    // the last) is selected. False when the id is not listed.
    bool Remove(ItemId id);
    // Unlists one sub-result's row; nothing stays selected.
    bool RemoveSubResultRow(int row);
    // Ends a point drag: the edit item's geometry goes back into the listed
    // source, whose value and rows follow; the source (or nothing, when it is
    // no longer listed) is selected and the edit item goes.
    void CommitPointDrag(ItemId source);
    // Ends a move: the edit item's stroke or label goes back into the source
    // (values stay); selection and edit item as above.
    void CommitMove(ItemId source, int hitCode, int hitSubResult);
    // Moves one point of a listed item, as a point drag ending there does.
    bool MovePoint(ItemId id, int index, QPoint pos);
    // Numbers the items 1..n and rewrites their rows.
    void Renumber();
    // Every value and row under the calibration as it is now.
    void RecomputeAll();
    // Every item and row goes, with the selection and the edit item.
    void DeleteAll();
    // Gives the listed items the label boxes a drawing with `opts` places
    // (label_layout.h); run before the list is drawn. True when a box changed.
    bool PlaceLabels(const MeasureDrawOptions &opts);

    // --- history -----------------------------------------------------------------------
    // The operations above, and the calibration and attribute edits, are steps.
    DocumentHistory &history() { return *history_; }
    // Nothing happens (false) while an item is being placed or dragged, while
    // no image is shown, or with nothing to undo or redo.
    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // History starts from the document as it is now (a measurement file read).
    void ClearHistory();
    // Puts a recorded state back at once: list, rows, calibration, attributes
    // (the zoom stays) and selection; the edit item goes. Emits every change
    // signal, then restored().
    void Restore(const DocumentState &state, const DocumentSelection &selection);

    // --- measurement files (measure_document_session.cpp) ----------------------------
    // The still, the calibration, the standard scale, the items with every
    // field and the label mode, as a measurement file keeps them. The zoom is
    // the window's: it stays at the session's default.
    MeasurementSession CaptureSession() const;
    // Replaces all of that: the still (its origin File), the calibration and
    // its bars, the items with their numbers and exactly the rows they had
    // (removed sub-result rows stay removed); nothing selected, no edit item.
    void LoadSession(MeasurementSession session);

signals:
    void imageChanged();
    // The still was said to come from a camera (SetStillCamera).
    void stillCameraChanged();
    // Items were added, removed or renumbered.
    void listChanged();
    // One item's geometry, value or rows changed.
    void itemChanged(orv::ItemId id);
    void selectionChanged();
    void editItemChanged();
    // The scales, the bars or the standard scale changed: the drawing follows.
    void calibrationChanged();
    // The draw attributes or the label mode changed.
    void attributesChanged();
    // Label boxes were placed (PlaceLabels): nothing else changed.
    void labelsPlaced();
    // An undo or redo put a state back: pages show it without making an edit of it.
    void restored();

private:
    void SetSelection(ItemId id, bool edit);

    QImage image_;
    ImageOrigin origin_ = ImageOrigin::None;
    QString stillCamera_;
    MeasureList list_;
    ResultsTable results_;
    Calibration calibration_;
    DrawAttribute attributes_;
    ItemId selected_ = kNoItem;
    bool editSelected_ = false;
    std::unique_ptr<MeasureItem> editItem_;
    std::uint64_t editGeneration_ = 0;
    std::unique_ptr<DocumentHistory> history_;
    ViewZoom zoom_;
    std::unique_ptr<CalibrationEdit> calibrationEdit_;
};

}  // namespace orv

// The document as a measurement file keeps it, and back.
#include "document/measure_document.h"

#include <vector>

namespace orv {
namespace {

// Lists the item's rows as they were when it was saved: every row first, as
// listing does, then the rows of the sub-results that had been removed go
// again. The "_k" numbers keep their gaps, as after removing by hand.
void AddSavedRows(ResultsTable &results, MeasureItem &item, const std::vector<bool> &listed)
{
    results.AddMeasureRows(item);
    // The item's rows are the table's last ones; from the end, so that the
    // rows still to be removed keep their indices.
    for (std::size_t k = item.subResults.size(); k-- > 0;) {
        if (listed[k])
            continue;
        SubResult &sub = item.subResults[k];
        results.DeleteRow(sub.row);
        for (std::size_t j = k + 1; j < item.subResults.size(); ++j)
            if (item.subResults[j].row > sub.row)
                --item.subResults[j].row;
        sub.row = -1;
    }
}

}  // namespace

MeasurementSession MeasureDocument::CaptureSession() const
{
    MeasurementSession session;
    session.image = image_;
    session.calibration = calibration_.setting;
    session.standardScale = calibration_.standard;
    session.labelMode = attributes_.labelMode;
    // Copies with their rows and numbers (a clone would reset them).
    for (const auto &item : list_)
        session.items.Append(std::make_unique<MeasureItem>(*item));
    return session;
}

void MeasureDocument::LoadSession(MeasurementSession session)
{
    SetEditItem(nullptr);
    ClearSelection();
    results_.DeleteAllResults(list_);

    image_ = std::move(session.image);
    origin_ = ImageOrigin::File;
    stillCamera_.clear();
    calibration_.setting = std::move(session.calibration);
    calibration_.standard = std::move(session.standardScale);
    calibration_.bars.Update(calibration_.setting);
    attributes_.labelMode = session.labelMode;
    // Values (and their uncertainties) are worked out again from the points:
    // files written before values were exact show exact ones.
    RecomputeAllMeasures(session.items, calibration_.setting.Factors(), results_.textLanguage(), nullptr);

    // Rows are rebuilt in list order from which sub-results were listed, so a
    // file whose stored row indices disagree still gives a consistent list.
    std::vector<bool> listed;
    for (const auto &saved : session.items) {
        auto item = std::make_unique<MeasureItem>(std::move(*saved));
        listed.clear();
        for (const SubResult &sub : item->subResults)
            listed.push_back(sub.row >= 0);
        MeasureItem &added = *item;
        list_.Append(std::move(item));
        AddSavedRows(results_, added, listed);
    }
    results_.ClearSelection();
    // An opened file starts a new history, as a new image does.
    ClearHistory();

    emit imageChanged();
    emit calibrationChanged();
    emit attributesChanged();
    emit listChanged();
}

}  // namespace orv

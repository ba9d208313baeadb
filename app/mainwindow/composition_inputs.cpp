#include "app/composition_inputs.h"

#include "app/orvalin_dlg.h"
#include "document/measure_document.h"

namespace orv {

LayerInputs CompositionInputs(COrvalinDlg &dlg)
{
    LayerInputs in;
    in.source = dlg.sourceImage();
    MeasureDocument &doc = dlg.document();
    in.list = &doc.list();
    in.scale = doc.calibration().standard;
    in.calibration = doc.calibration().setting;
    in.calibrationPage = dlg.host().currentTab() == kCalibrationPageIndex;
    MeasureDrawOptions &opts = in.measureOptions;
    opts.labelMode = doc.labelMode();
    opts.faceName = QString::fromStdString(doc.drawAttribute().faceName);
    opts.suffixLanguage = dlg.host().textLanguage();
    opts.selectedItem = doc.selectedItem();
    opts.selectionShown = dlg.host().currentTab() == TabMeasure || dlg.host().currentTab() == TabOption;
    opts.imageSize = in.source.size();
    return in;
}

}  // namespace orv

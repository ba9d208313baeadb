#include "app/mainwindow/composition_inputs.h"

#include "app/mainwindow/main_window.h"
#include "document/measure_document.h"

namespace orv {

LayerInputs CompositionInputs(MainWindow &mainWindow)
{
    LayerInputs in;
    in.source = mainWindow.sourceImage();
    MeasureDocument &doc = mainWindow.document();
    in.list = &doc.list();
    in.scale = doc.calibration().standard;
    in.calibration = doc.calibration().setting;
    in.calibrationPage = mainWindow.host().currentTab() == kCalibrationPageIndex;
    MeasureDrawOptions &opts = in.measureOptions;
    opts.labelMode = doc.labelMode();
    opts.faceName = QString::fromStdString(doc.drawAttribute().faceName);
    opts.suffixLanguage = mainWindow.host().textLanguage();
    opts.selectedItem = doc.selectedItem();
    opts.selectionShown =
        mainWindow.host().currentTab() == PageMeasure || mainWindow.host().currentTab() == PageOptions;
    opts.imageSize = in.source.size();
    return in;
}

}  // namespace orv

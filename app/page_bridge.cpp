#include "app/page_bridge.h"

#include "app/calib_tab.h"
#include "app/option_tab.h"
#include "calib/scale_bars.h"
#include "app/scroll_dlg.h"
#include "measure/render/draw_measures.h"
#include "app/orvalin_dlg.h"
#include "document/measure_document.h"
#include "app/tool_tab.h"
#include "measure/values.h"
#include "app/view_layer.h"


namespace orv::page_bridge {

CreatedPages CreatePages(COrvalinDlg &dlg, QWidget *parent, const LocaleSource &locale)
{
    CreatedPages pages;
    auto *calib = new CCalibTab(dlg.document(), parent, locale);
    calib->SetOwner(&dlg);
    pages.calib = calib;
    pages.calibWidget = calib;

    auto *tool = new CToolTab(parent, locale);
    tool->SetOwner(&dlg);
    tool->ToolSelect();
    pages.tool = tool;
    pages.toolWidget = tool;

    auto *option = new COptionTab(dlg.document(), parent, locale);
    option->SetOwner(&dlg);
    pages.option = option;
    pages.optionWidget = option;
    return pages;
}

std::unique_ptr<QWidget> CreateOverview(COrvalinDlg &dlg, CScrollDlg *&scroll)
{
    auto window = std::make_unique<CScrollDlg>();
    window->SetOwner(&dlg);
    scroll = window.get();
    return window;
}

void ToolSelect(CToolTab *tool)
{
    if (tool)
        tool->ToolSelect();
}

void EnableToolButtons(CToolTab *tool, bool on)
{
    if (tool)
        tool->EnableToolButtons(on);
}

void EnableCalibControls(CCalibTab *calib, bool on)
{
    if (calib)
        calib->EnableCalibControls(on);
}

void FreeScaleBars(CCalibTab *calib)
{
    if (calib)
        calib->FreeScaleBars();
}

void EnableOptionControls(COptionTab *option, bool on)
{
    if (option)
        option->EnableOptionControls(on);
}

void ShowRecordAttributes(COptionTab *option, MeasureItem *item)
{
    if (option && item)
        option->ShowRecordAttributes(item);
}

void RedrawSample(COptionTab *option)
{
    if (option)
        option->RedrawSample();
}

LayerInputs CompositionInputs(COrvalinDlg &dlg)
{
    LayerInputs in;
    in.source = dlg.sourceImage();
    MeasureDocument &doc = dlg.document();
    in.list = &doc.list();
    in.scale = doc.calibration().standard;
    in.calibration = doc.calibration().setting;
    in.calibrationPage = dlg.currentTab() == kCalibrationPageIndex;
    MeasureDrawOptions &opts = in.measureOptions;
    opts.labelMode = doc.labelMode();
    opts.faceName = QString::fromStdString(doc.drawAttribute().faceName);
    opts.suffixLanguage = dlg.textLanguage();
    opts.selectedItem = doc.selectedItem();
    opts.selectionShown = dlg.currentTab() == TabMeasure || dlg.currentTab() == TabOption;
    return in;
}

void PlaceOverview(COrvalinDlg &dlg, QPoint topLeft, QSize client)
{
    QWidget *w = dlg.overviewWindow();
    if (!w)
        return;
    if (CScrollDlg *scroll = dlg.scrollDlg())
        scroll->SetClientSize(client);
    w->resize(client);
    w->move(topLeft);
}

void ShowOverviewLabel(COrvalinDlg &dlg, bool shown)
{
    if (CScrollDlg *scroll = dlg.scrollDlg())
        scroll->ShowNotInitialized(shown);
}

void RepaintOverview(COrvalinDlg &dlg, bool compositeChanged)
{
    if (CScrollDlg *scroll = dlg.scrollDlg()) {
        // The overview keeps its own scaled copy; it is refreshed per rebuild.
        if (compositeChanged)
            scroll->SetPicture(dlg.composite());
        scroll->UpdateFrame();
    }
}

}  // namespace orv::page_bridge

#include "page_bridge.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include "calib_tab.h"
#include "render/draw_measures.h"
#include "orvalin_dlg.h"
#include "tool_tab.h"
#include "values.h"

#if __has_include("option_tab.h")
#include "option_tab.h"
#define ORV_HAVE_OPTION_TAB 1
#endif
#if __has_include("scroll_dlg.h")
#include "scroll_dlg.h"
#define ORV_HAVE_SCROLL_DLG 1
#endif
#if __has_include("scale_bars.h")
#include "scale_bars.h"
#define ORV_HAVE_SCALE_BARS 1
#endif

namespace orv::page_bridge {

CreatedPages CreatePages(COrvalinDlg &dlg, QWidget *parent, const LocaleSource &locale)
{
    CreatedPages pages;
    auto *calib = new CCalibTab(parent, locale);
    calib->SetOwner(&dlg);
    pages.calib = calib;
    pages.calibWidget = calib;

    auto *tool = new CToolTab(parent, locale);
    tool->SetOwner(&dlg);
    tool->ToolSelect();
    pages.tool = tool;
    pages.toolWidget = tool;

#ifdef ORV_HAVE_OPTION_TAB
    auto *option = new COptionTab(parent, locale);
    option->SetOwner(&dlg);
    pages.option = option;
    pages.optionWidget = option;
#else
    pages.optionWidget = new QWidget(parent);
#endif
    return pages;
}

std::unique_ptr<QWidget> CreateOverview(COrvalinDlg &dlg, CScrollDlg *&scroll)
{
#ifdef ORV_HAVE_SCROLL_DLG
    auto window = std::make_unique<CScrollDlg>();
    window->SetOwner(&dlg);
    scroll = window.get();
    return window;
#else
    (void)dlg;
    scroll = nullptr;
    auto window = std::make_unique<QDialog>();
    auto *label = new QLabel(QStringLiteral("Not Initialized"), window.get());
    label->setObjectName("static1029");
    label->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(window.get());
    layout->addWidget(label);
    return window;
#endif
}

MeasureList *MeasureListOf(CToolTab *tool)
{
    return tool ? &tool->measureList() : nullptr;
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

void EnableOptionControls([[maybe_unused]] COptionTab *option, [[maybe_unused]] bool on)
{
#ifdef ORV_HAVE_OPTION_TAB
    if (option)
        option->EnableOptionControls(on);
#endif
}

void ShowRecordAttributes([[maybe_unused]] COptionTab *option, [[maybe_unused]] MeasureItem *item)
{
#ifdef ORV_HAVE_OPTION_TAB
    if (option && item)
        option->ShowRecordAttributes(item);
#endif
}

void RedrawSample([[maybe_unused]] COptionTab *option)
{
#ifdef ORV_HAVE_OPTION_TAB
    if (option)
        option->RedrawSample();
#endif
}

void ComputeMeasureValue(COrvalinDlg &dlg, MeasureItem &item)
{
    if (CCalibTab *calib = dlg.calibTab())
        calib->ComputeMeasureValue(item);
    else
        orv::ComputeMeasureValue(item, ScaleFactors{}, dlg.textLanguage());
}

void DrawOverComposite(COrvalinDlg &dlg, QImage &composite)
{
#ifdef ORV_HAVE_SCALE_BARS
    if (CCalibTab *calib = dlg.calibTab())
        DrawScaleBars(composite, calib->standardScale(), calib->scaleSetting(), dlg.currentTab());
#endif
    MeasureDrawOptions opts;
#ifdef ORV_HAVE_OPTION_TAB
    if (COptionTab *option = dlg.optionTab()) {
        opts.labelMode = option->labelMode();
        opts.faceName = QString::fromStdString(option->drawAttribute().faceName);
    }
#endif
    opts.suffixLanguage = dlg.textLanguage();
    opts.selectedItem = dlg.selectedItem();
    opts.selectionShown = dlg.currentTab() == TabMeasure || dlg.currentTab() == TabOption;
    DrawAllMeasures(composite, dlg.measureList(), dlg.editItem(), opts);
}

void PlaceOverview(COrvalinDlg &dlg, QPoint topLeft, QSize client)
{
    QWidget *w = dlg.overviewWindow();
    if (!w)
        return;
#ifdef ORV_HAVE_SCROLL_DLG
    if (CScrollDlg *scroll = dlg.scrollDlg())
        scroll->SetClientSize(client);
#endif
    w->resize(client);
    w->move(topLeft);
}

void ShowOverviewLabel(COrvalinDlg &dlg, bool shown)
{
#ifdef ORV_HAVE_SCROLL_DLG
    if (CScrollDlg *scroll = dlg.scrollDlg()) {
        scroll->ShowNotInitialized(shown);
        return;
    }
#endif
    if (QWidget *w = dlg.overviewWindow())
        if (auto *label = w->findChild<QLabel *>("static1029"))
            label->setVisible(shown);
}

void RepaintOverview(COrvalinDlg &dlg, bool compositeChanged)
{
#ifdef ORV_HAVE_SCROLL_DLG
    if (CScrollDlg *scroll = dlg.scrollDlg()) {
        // The overview keeps its own scaled copy; it is refreshed per rebuild.
        if (compositeChanged)
            scroll->SetPicture(dlg.composite());
        scroll->UpdateFrame();
        return;
    }
#endif
    (void)compositeChanged;
    if (QWidget *w = dlg.overviewWindow(); w && w->isVisible())
        w->update();
}

}  // namespace orv::page_bridge

#pragma once
// Every call from the main window into the pages and the overview window, in
// one place, so the window's own files do not depend on the pages' details.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <memory>

#include "measure/language.h"
#include "measure/measure_item.h"
#include "calib/scale_setting.h"

namespace orv {

class CCalibTab;
class COptionTab;
class COrvalinDlg;
class CScrollDlg;
class CToolTab;
struct LayerInputs;

namespace page_bridge {

struct CreatedPages {
    CCalibTab *calib = nullptr;
    CToolTab *tool = nullptr;
    COptionTab *option = nullptr;
    // The page widgets in tab order after the image page.
    QWidget *calibWidget = nullptr;
    QWidget *toolWidget = nullptr;
    QWidget *optionWidget = nullptr;
};

// Creates the Scale, Measure and Option pages (in that order) and gives each
// its owner; the tool palette selects its first tool.
CreatedPages CreatePages(COrvalinDlg &dlg, QWidget *parent, const LocaleSource &locale);
// The overview window, without a parent.
std::unique_ptr<QWidget> CreateOverview(COrvalinDlg &dlg, CScrollDlg *&scroll);

void ToolSelect(CToolTab *tool);
void EnableToolButtons(CToolTab *tool, bool on);
void EnableCalibControls(CCalibTab *calib, bool on);
void FreeScaleBars(CCalibTab *calib);
void EnableOptionControls(COptionTab *option, bool on);
void ShowRecordAttributes(COptionTab *option, MeasureItem *item);
void RedrawSample(COptionTab *option);

// What the composite is drawn from (the view's cached layer compares it).
LayerInputs CompositionInputs(COrvalinDlg &dlg);

// Overview window placement (client size) and its "Not Initialized" label.
void PlaceOverview(COrvalinDlg &dlg, QPoint topLeft, QSize client);
void ShowOverviewLabel(COrvalinDlg &dlg, bool shown);
void RepaintOverview(COrvalinDlg &dlg, bool compositeChanged);

}  // namespace page_bridge
}  // namespace orv

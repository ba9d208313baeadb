#pragma once
// The main window's pages and widgets, found as they hang in Qt's object
// tree (by class or object name), for tests that drive them directly. The
// window itself hands none of them out.

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>

#include "app/mainwindow/main_window.h"
#include "app/pages/image/image_page.h"
#include "app/pages/measure/measure_page.h"
#include "app/pages/options/options_page.h"
#include "app/pages/scale/scale_page.h"
#include "app/view/image_view.h"
#include "app/view/overview_window.h"
#include "app/view/results_view.h"

namespace orv::test {

struct WindowParts {
    ImagePage *imagePage = nullptr;
    ScalePage *scalePage = nullptr;
    MeasurePage *measurePage = nullptr;
    OptionsPage *optionsPage = nullptr;
    // The overview: a window of its own whose owner is the main window.
    OverviewWindow *overview = nullptr;
    QWidget *overviewWindow = nullptr;
    QTabWidget *tabControl = nullptr;
    ResultsView *resultsView = nullptr;
    ImageView *imageView = nullptr;
    // The overview toggle is down and the overview window shows.
    bool overviewShown = false;
    // The window's outer height with the control column alone: the column
    // and the 40 pixels the window keeps below it.
    int columnHeight = 0;
};

inline WindowParts PartsOf(MainWindow &mainWindow)
{
    WindowParts p;
    p.imagePage = mainWindow.findChild<ImagePage *>();
    p.scalePage = mainWindow.findChild<ScalePage *>();
    p.measurePage = mainWindow.findChild<MeasurePage *>();
    p.optionsPage = mainWindow.findChild<OptionsPage *>();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *overview = qobject_cast<OverviewWindow *>(w); overview && overview->owner() == &mainWindow.host())
            p.overview = overview;
    p.overviewWindow = p.overview;
    p.tabControl = mainWindow.findChild<QTabWidget *>(QStringLiteral("tab1002"));
    p.resultsView = mainWindow.findChild<ResultsView *>(QStringLiteral("list1004"));
    p.imageView = mainWindow.findChild<ImageView *>(QStringLiteral("imageView"));
    if (const QPushButton *toggle = mainWindow.host().button(CommandId::Overview))
        p.overviewShown = toggle->isChecked() && p.overview && p.overview->isVisible();
    if (const QWidget *column = mainWindow.findChild<QWidget *>(QStringLiteral("controlColumn")))
        p.columnHeight = column->height() + 40;
    return p;
}

}  // namespace orv::test

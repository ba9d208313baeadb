#pragma once
// The real main window with a white still loaded, the pointer handlers
// installed and scripted prompts; helpers that drive the image view with
// Qt Test mouse events (positions relative to the view).

#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QTest>

#include <memory>
#include <vector>

#include "app/interaction/pointer_interaction.h"
#include "app/pages/measure/measure_page.h"
#include "app/view/image_view.h"
#include "app/view/results_view.h"
#include "document/measure_document.h"
#include "export/results_table.h"
#include "tests/app/scripted_prompter.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {

class InteractionTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Make("en", "en", {1280, 1024});
        // Start-up installs a handler for every drag mode.
        for (int mode = 0; mode < kDragModeCount; ++mode)
            ASSERT_NE(mainWindow->pointer().handler(static_cast<DragMode>(mode)), nullptr) << mode;
        // A mode outside the table has no handler rather than a read past it.
        for (int mode : {-1, kDragModeCount})
            ASSERT_EQ(mainWindow->pointer().handler(static_cast<DragMode>(mode)), nullptr) << mode;
        mainWindow->move(0, 0);
        mainWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
        ASSERT_TRUE(LoadFilled(QStringLiteral("still.png"), {320, 240}, Qt::white));
        mainWindow->host().SelectTab(PageMeasure);
        ASSERT_EQ(mainWindow->host().currentTab(), PageMeasure);
        view = PartsOf(*mainWindow).imageView;
        ASSERT_TRUE(view && view->isVisible());
    }

    MeasureList &list() { return mainWindow->document().list(); }
    ResultsTable &rows() { return mainWindow->document().results(); }
    void UseTool(int kind) { PartsOf(*mainWindow).measurePage->setCurrentTool(kind); }

    // A pointer move without buttons (a hover), or with the button held.
    void Hover(QPoint p)
    {
        // The platform reports no move to where the pointer already is.
        if (QCursor::pos() == view->mapToGlobal(p))
            QTest::mouseMove(view, p + QPoint(1, 0));
        QTest::mouseMove(view, p);
    }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(view, b, {}, p); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(view, b, {}, p); }
    // The pointer goes there, then a press and a release.
    void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        Hover(p);
        Press(p, b);
        Release(p, b);
    }
    // What the platform sends for a double click: press, release, double
    // click, release.
    void DoubleClick(QPoint p)
    {
        Click(p);
        QTest::mouseDClick(view, Qt::LeftButton, {}, p);
        Release(p);
    }
    void Drag(QPoint from, QPoint to)
    {
        Hover(from);
        Press(from);
        QTest::mouseMove(view, to);
        Release(to);
    }
    void RightClick(QPoint p) { Click(p, Qt::RightButton); }
    // A paint of the view now, after the queued composition (which gives the
    // labels their boxes), as the view's own repaint comes after it.
    void Paint()
    {
        QCoreApplication::processEvents();
        view->repaint();
    }

    // Places a measurement of kind with clicks at the points; open kinds end
    // with a double click at the last point.
    MeasureItem *Place(int kind, const std::vector<QPoint> &points)
    {
        UseTool(kind);
        const bool open = PointCountForKind(static_cast<std::uint32_t>(kind)) < 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (open && i + 1 == points.size())
                DoubleClick(points[i]);
            else
                Click(points[i]);
        }
        return list().empty() ? nullptr : &list().at(list().size() - 1);
    }

    // A right click on empty image: nothing stays selected.
    void ClearSelection(QPoint emptySpot = QPoint(315, 235))
    {
        Hover(emptySpot);
        RightClick(emptySpot);
    }

    ResultsView *listView() const { return PartsOf(*mainWindow).resultsView; }
    QPoint RowCenter(int row) const { return listView()->rowRect(row).center(); }

    static std::vector<QPoint> Positions(const MeasureItem &item)
    {
        std::vector<QPoint> out;
        for (const MeasurePoint &p : item.points)
            out.push_back(p.pos);
        return out;
    }

    ImageView *view = nullptr;
};

}  // namespace orv::test

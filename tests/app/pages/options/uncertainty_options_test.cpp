// The Option page's uncertainty group with the main window: the list gains
// and loses its column, and stated uncertainties reach every value as one
// undoable step.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QTest>

#include "app/pages/options/uncertainty_options.h"
#include "app/view/results_view.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

using UncertaintyOptionsTest = MainWindowTest;

void Type(QDoubleSpinBox *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

TEST_F(UncertaintyOptionsTest, ShownColumnAndStatedClicksReachTheList)
{
    MainWindow &d = MakeWithImage();
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    AddDistance({10, 10}, {110, 10});  // 100 px at 1 um per pixel
    d.host().SelectTab(PageOptions);
    QCoreApplication::processEvents();
    auto *group = d.findChild<UncertaintyOptions *>();
    ASSERT_NE(group, nullptr);
    ResultsView *view = PartsOf(d).resultsView;
    ASSERT_EQ(view->model()->columnCount(), 4);

    QTest::mouseClick(group->showBox(), Qt::LeftButton, {}, QPoint(5, group->showBox()->height() / 2));
    ASSERT_EQ(view->model()->columnCount(), 5);
    EXPECT_EQ(view->model()->headerData(ColumnUncertainty, Qt::Horizontal).toString(), QStringLiteral("\u00B1 (k=2)"));
    EXPECT_EQ(view->cellText(0, ColumnUncertainty), "0.82");  // 2 x sqrt(2) x 0.29 px

    Type(group->clickBox(), QStringLiteral("0.5"));
    EXPECT_EQ(view->cellText(0, ColumnUncertainty), "1.41");
    Type(group->horizontalBox(), QStringLiteral("1"));  // 1 % of the 100 px bar
    EXPECT_EQ(view->cellText(0, ColumnUncertainty), "2.45");  // 2 x sqrt(0.5 + 1)

    ASSERT_TRUE(d.document().Undo());
    EXPECT_EQ(view->cellText(0, ColumnUncertainty), "1.41");
    EXPECT_DOUBLE_EQ(group->horizontalBox()->value(), 0.0);
    ASSERT_TRUE(d.document().Undo());
    EXPECT_EQ(view->cellText(0, ColumnUncertainty), "0.82");

    QTest::mouseClick(group->showBox(), Qt::LeftButton, {}, QPoint(5, group->showBox()->height() / 2));
    EXPECT_EQ(view->model()->columnCount(), 4);
    EXPECT_EQ(d.document().results().text(0, ColumnUncertainty), "0.82");  // kept, not shown
}

}  // namespace
}  // namespace orv::test

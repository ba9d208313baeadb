// The results list: rows, numbering, selection, deletion and the CSV file.
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include <cerrno>
#include <cstring>

#include "app/interaction/interaction_ops.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/support/file_size_limit.h"

namespace orv::test {
namespace {

using Results = MainWindowTest;
using orv::test::FileSizeLimit;

TEST_F(Results, RowsFollowTheItemsThroughDuplicateDeleteAndRenumber)
{
    MainWindow &d = MakeWithImage();
    MeasureItem *first = AddDistance({10, 10}, {60, 10});
    AddPerpendicular(2);
    AddDistance({10, 50}, {90, 50});
    EXPECT_EQ(NumberColumn(), (QStringList{"1", "2", "2_1", "2_2", "3"}));
    EXPECT_EQ(Cell(0, 1), QString::fromUtf8(KindName(KindDistance2Points, Language::English)));
    EXPECT_EQ(Cell(3, 2), "2.00um");
    EXPECT_EQ(Cell(3, 3), "");
    // Appending selected the last row added.
    EXPECT_EQ(d.document().results().selectedRow(), 4);

    // Duplicate the perpendicular from its sub-row: the copy is listed last
    // with its own number and becomes the selection.
    d.document().results().SelectRow(3);
    d.commands().OnListDoubleClick();
    EXPECT_EQ(NumberColumn(), (QStringList{"1", "2", "2_1", "2_2", "3", "4", "4_1", "4_2"}));
    ASSERT_EQ(d.document().list().size(), 4u);
    EXPECT_EQ(d.document().selectedItem(), &d.document().list().at(3));
    EXPECT_EQ(d.document().list().at(3).points.front().pos, d.document().list().at(1).points.front().pos);
    EXPECT_TRUE(PartsOf(d).resultsView->isEnabled());

    // Deleting the first item renumbers the rest; its rows are gone.
    InteractionContext ctx{d.document(), d.pointer().view()};
    interaction::RemoveItem(ctx, first->id);
    EXPECT_EQ(NumberColumn(), (QStringList{"1", "1_1", "1_2", "2", "3", "3_1", "3_2"}));
    EXPECT_EQ(d.document().list().at(0).row, 0);
    EXPECT_EQ(d.document().list().at(1).row, 3);
    EXPECT_EQ(d.host().viewState(), ViewState::Rebuild);

    // The list widget shows the same texts.
    EXPECT_EQ(PartsOf(d).resultsView->cellText(5, 0), "3_1");
    EXPECT_EQ(PartsOf(d).resultsView->model()->rowCount(), 7);
}

TEST_F(Results, RightClickOnASubRowDeletesOnlyThatLineAfterAsking)
{
    MainWindow &d = MakeWithImage();
    AddPerpendicular(3);
    AddDistance({10, 50}, {90, 50});
    d.document().results().SelectRow(2);
    prompter.answers.push_back(UiPrompter::Answer::Yes);
    d.commands().OnListRightClick();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Delete this measurement result ?");
    EXPECT_EQ(NumberColumn(), (QStringList{"1", "1_1", "1_3", "2"}));
    EXPECT_EQ(d.document().list().at(0).subResults[1].row, -1);
    EXPECT_EQ(d.document().selectedItem(), nullptr);

    // A main row: No keeps it, Yes removes the item.
    d.document().results().SelectRow(3);
    prompter.answers.push_back(UiPrompter::Answer::No);
    d.commands().OnListRightClick();
    EXPECT_EQ(d.document().list().size(), 2u);
    d.document().results().SelectRow(3);
    prompter.answers.push_back(UiPrompter::Answer::Yes);
    d.commands().OnListRightClick();
    EXPECT_EQ(d.document().list().size(), 1u);
    EXPECT_EQ(NumberColumn(), (QStringList{"1", "1_1", "1_3"}));
}

TEST_F(Results, ClickingRowsSelectsTheirItemAndEmptySpaceKeepsTheSelection)
{
    MainWindow &d = MakeWithImage();
    MeasureItem *a = AddDistance({10, 10}, {60, 10});
    MeasureItem *b = AddPerpendicular(1);
    d.show();
    d.host().SelectTab(PageMeasure);
    Settle();
    d.host().setViewState(ViewState::UpToDate);

    QTest::mouseClick(PartsOf(d).resultsView->viewport(), Qt::LeftButton, {},
                      PartsOf(d).resultsView->rowRect(2).center());
    EXPECT_EQ(d.document().selectedItem(), b);
    EXPECT_EQ(d.host().viewState(), ViewState::Rebuild);

    // Empty space: the selected item's main row is selected again.
    const QPoint empty(5, PartsOf(d).resultsView->viewport()->height() - 3);
    QTest::mouseClick(PartsOf(d).resultsView->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(d.document().selectedItem(), b);
    EXPECT_EQ(d.document().results().selectedRow(), b->row);

    // With no item selected a click on empty space changes nothing.
    d.document().SelectItem(nullptr);
    d.document().results().ClearSelection();
    d.EnsureComposite();
    ASSERT_EQ(d.host().viewState(), ViewState::UpToDate);
    QTest::mouseClick(PartsOf(d).resultsView->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(d.document().selectedItem(), nullptr);
    EXPECT_EQ(d.host().viewState(), ViewState::UpToDate);

    // Right double click puts the selection back on the item's main row.
    d.document().SelectItem(a);
    d.document().results().SelectRow(2);
    d.commands().OnListRightDoubleClick();
    EXPECT_EQ(d.document().results().selectedRow(), a->row);
}

TEST_F(Results, DeleteAllAsksAndNoLeavesEverything)
{
    MainWindow &d = MakeWithImage();
    MeasureItem *a = AddDistance({10, 10}, {60, 10});
    AddDistance({10, 20}, {60, 20});
    d.document().SelectItem(a);
    QTest::mouseClick(d.host().button(CommandId::DeleteAll), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Delete All Data ?");
    EXPECT_EQ(d.document().list().size(), 2u);
    EXPECT_EQ(d.document().results().rowCount(), 2);
    EXPECT_EQ(d.document().selectedItem(), a);

    prompter.answers.push_back(UiPrompter::Answer::Yes);
    QTest::mouseClick(d.host().button(CommandId::DeleteAll), Qt::LeftButton);
    EXPECT_TRUE(d.document().list().empty());
    EXPECT_EQ(d.document().results().rowCount(), 0);
    EXPECT_EQ(d.document().selectedItem(), nullptr);
    EXPECT_TRUE(PartsOf(d).resultsView->isEnabled());
}

TEST_F(Results, JapaneseDeleteAllQuestionStartsWithABlank)
{
    Make("ja", "ja");
    mainWindow->LoadImageFile(WriteImage("j.png", {50, 50}));
    mainWindow->commands().DeleteAllResults();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral(" 計測データを全て削除しますか？"));
}

TEST_F(Results, CsvButtonWritesTheRowsAsShown)
{
    MainWindow &d = MakeWithImage();
    AddPerpendicular(2);
    prompter.savePaths.push_back(dir.filePath("results"));
    QTest::mouseClick(d.host().button(CommandId::SaveCsv), Qt::LeftButton);
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].filter, "CSV Files (*.csv);;All Files (*)");
    QFile f(dir.filePath("results.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("No.,Measurement,Value,Unit\r\n"));
    EXPECT_EQ(text.count("\r\n"), 4);
    EXPECT_TRUE(text.contains("\r\n1_2,"));

    // Cancelled: nothing written.
    QTest::mouseClick(d.host().button(CommandId::SaveCsv), Qt::LeftButton);
    EXPECT_EQ(prompter.saveRequests.size(), 2u);
}

TEST_F(Results, FailedCsvSaveSaysWhyAndKeepsTheEarlierFile)
{
    MainWindow &d = MakeWithImage();
    AddPerpendicular(2);
    const QString path = dir.filePath("results.csv");
    const QByteArray earlier = "No.,Measurement,Value,Unit\r\n1,earlier,1.00,mm\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(earlier), earlier.size());
    }
    prompter.savePaths.push_back(path);
    {
        // A full disk.
        const FileSizeLimit full(16);
        QTest::mouseClick(d.host().button(CommandId::SaveCsv), Qt::LeftButton);
    }
    EXPECT_EQ(prompter.messageTexts(),
              QStringList{"The CSV file could not be saved.\n\n" + path + "\n"
                          + QString::fromLocal8Bit(std::strerror(EFBIG))});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), earlier);
}

TEST_F(Results, ValuesAreNeverCutAndCarryTheirFullTextAsTooltip)
{
    for (const char *lang : {"en", "ja"}) {
        MainWindow &d = Make(lang, lang);
        d.show();
        ResultsView &view = *PartsOf(d).resultsView;
        ResultsTable &table = d.document().results();
        const std::string kind = KindName(KindAreaCircle, table.textLanguage());
        table.AddResultRow(1, kind, "11309.73", "um2");
        table.AddResultRow(1, KindName(KindDiameter, table.textLanguage()), "D = 120.00um", "");
        table.AddSubResultRow(12, 10, kind, "R = 60.00um");
        table.SetResultRow(0, 1, kind, "1234567.89", "um2");
        Settle();
        const int margin = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
        auto checkAllShown = [&] {
            for (int r = 0; r < table.rowCount(); ++r) {
                for (int c = 0; c < table.columnCount(); ++c) {
                    const QString text = view.cellText(r, c);
                    // The kind name gives way to the list's width (see below).
                    if (c != ColumnMeasurement) {
                        EXPECT_GE(view.columnWidth(c), view.fontMetrics().horizontalAdvance(text) + margin)
                            << lang << " row " << r << " column " << c << ": " << text.toStdString();
                    }
                    const QModelIndex idx = view.model()->index(r, c);
                    EXPECT_EQ(idx.data(Qt::ToolTipRole).toString(), text);
                }
            }
            for (int c = 0; c < table.columnCount(); ++c) {
                if (c != ColumnMeasurement) {
                    EXPECT_GE(view.columnWidth(c), ResultColumnWidth(c));
                }
            }
        };
        checkAllShown();
        // Wider than the list: it scrolls sideways instead of cutting.
        table.AddResultRow(2, kind, std::string(60, '8'), "um2");
        Settle();
        checkAllShown();
        EXPECT_GT(view.horizontalScrollBar()->maximum(), 0) << lang;
        // Once the wide row is gone the columns fit the remaining rows again.
        table.DeleteRow(3);
        Settle();
        checkAllShown();
        EXPECT_LT(view.columnWidth(ColumnValue), view.fontMetrics().horizontalAdvance(QString(60, '8')));
        table.DeleteAllRows();
        Settle();
        for (int c = 0; c < table.columnCount(); ++c) {
            if (c != ColumnMeasurement) {
                EXPECT_EQ(view.columnWidth(c), std::max(ResultColumnWidth(c), view.header()->sectionSizeHint(c)));
            }
        }
    }
}

TEST_F(Results, AtTheDefaultSizeValuesAndUnitsShowWholeAndTheKindNameGivesWay)
{
    struct Row {
        int number;
        std::string kind;
        const char *value;
        const char *unit;
    };
    for (const char *lang : {"en", "ja"}) {
        MainWindow &d = Make(lang, lang);
        d.show();
        Settle();
        ResultsView &view = *PartsOf(d).resultsView;
        ResultsTable &table = d.document().results();
        const Language text = table.textLanguage();
        const std::string longKind = std::string(KindName(KindAreaCircle, text)) + " / "
            + KindName(KindPerpendicular, text) + " / " + KindName(KindAngle2Lines, text);
        const std::vector<Row> rows = {
            {1, std::string(KindName(KindAreaCircle, text)), "7853.98", "um2"},
            {1, std::string(KindName(KindDiameter, text)), "D = 100.00um", ""},
            {1, std::string(KindName(KindRadius, text)), "R = 50.00um", ""},
            {2, longKind, "12345.67", "um2"},
        };
        for (const Row &r : rows)
            table.AddResultRow(r.number, r.kind, r.value, r.unit);
        Settle();
        const int margin = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
        const int room = view.viewport()->width();
        for (int r = 0; r < table.rowCount(); ++r) {
            for (int c : {ColumnNumber, ColumnValue, ColumnUnit}) {
                const QString shown = view.cellText(r, c);
                SCOPED_TRACE(std::string(lang) + " row " + std::to_string(r) + " " + shown.toStdString());
                EXPECT_GE(view.columnWidth(c), view.fontMetrics().horizontalAdvance(shown) + margin);
                // On screen without scrolling.
                EXPECT_LE(view.columnViewportPosition(c) + view.columnWidth(c), room);
            }
        }
        EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0) << lang;
        // The long kind name is cut with an ellipsis and whole in its tooltip.
        const QString kind = view.cellText(3, ColumnMeasurement);
        EXPECT_LT(view.columnWidth(ColumnMeasurement), view.fontMetrics().horizontalAdvance(kind) + margin) << lang;
        EXPECT_GT(view.columnWidth(ColumnMeasurement), view.fontMetrics().horizontalAdvance(QStringLiteral("MM")));
        EXPECT_NE(view.textElideMode(), Qt::ElideNone);
        EXPECT_EQ(view.model()->index(3, ColumnMeasurement).data(Qt::ToolTipRole).toString(), kind);
        // Its rows gone, the kind column takes its full width again.
        table.DeleteRow(3);
        Settle();
        for (int r = 0; r < table.rowCount(); ++r)
            EXPECT_GE(view.columnWidth(ColumnMeasurement),
                      std::min(view.fontMetrics().horizontalAdvance(view.cellText(r, ColumnMeasurement)) + margin,
                               room - view.columnWidth(ColumnNumber) - view.columnWidth(ColumnValue)
                                   - view.columnWidth(ColumnUnit)));
    }
}

}  // namespace
}  // namespace orv::test

#pragma once
// The results list on screen: an item model over the widget-free ResultsTable
// and the list widget that turns clicks into the main window's notifications.

#include <QAbstractTableModel>
#include <QTreeView>

#include <array>

#include "export/results_table.h"

namespace orv {

class ResultsModel : public QAbstractTableModel, public ResultsTableListener {
    Q_OBJECT

public:
    explicit ResultsModel(ResultsTable &table, QObject *parent = nullptr);
    ~ResultsModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // ResultsTableListener
    void rowsAboutToBeInserted(int first, int last) override;
    void rowsInserted(int first, int last) override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void rowsRemoved(int first, int last) override;
    void rowChanged(int row) override;
    void tableAboutToBeReset() override;
    void tableReset() override;
    void selectionChanged(int selectedRow, int focusedRow) override;

signals:
    void tableSelectionChanged(int selectedRow, int focusedRow);

private:
    ResultsTable &table_;
};

// Report view, single selection, full-row select; the selection shown is the
// table's. Notifications go out as signals; keys are discarded by the window.
class ResultsView : public QTreeView {
    Q_OBJECT

public:
    explicit ResultsView(ResultsTable &table, QWidget *parent = nullptr);

    ResultsTable &table() const { return table_; }
    // Row texts as shown.
    QString cellText(int row, int column) const;
    // Where a row is drawn, for tests and tooltips (empty for no row).
    QRect rowRect(int row) const;

signals:
    void listClicked();
    void listDoubleClicked();
    void listRightClicked();
    void listRightDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void SelectAt(const QPoint &pos);
    // Width a cell needs to show its whole text.
    int TextWidth(int row, int column) const;
    // Widens the columns to the texts of the given rows; never narrows them.
    void WidenColumns(int firstRow, int lastRow);
    // Fits every column anew (after rows went away).
    void RefitColumns();
    // Gives the columns their widths within the list's width.
    void LayOutColumns();
    void ShowTableSelection(int selectedRow, int focusedRow);

    ResultsTable &table_;
    ResultsModel *model_ = nullptr;
    // Width each column needs for its widest text (at least its standard width).
    std::array<int, kResultColumnCount> needed_{};
    // The release that ends a double click is not a click of its own.
    bool releaseOfDouble_ = false;
};

}  // namespace orv

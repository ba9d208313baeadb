#include "app/view/results_view.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>

#include <algorithm>
#include <utility>

namespace orv {

ResultsModel::ResultsModel(ResultsTable &table, QObject *parent) :
    QAbstractTableModel(parent),
    table_(table)
{
    table_.setListener(this);
}

ResultsModel::~ResultsModel()
{
    table_.setListener(nullptr);
}

int ResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.rowCount();
}

int ResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.columnCount();
}

QVariant ResultsModel::data(const QModelIndex &index, int role) const
{
    // The tooltip shows the full text too, whatever the column's width.
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return QString::fromStdString(table_.text(index.row(), index.column()));
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return QString::fromUtf8(ResultColumnTitle(section, table_.titleLanguage()));
}

void ResultsModel::rowsAboutToBeInserted(int first, int last)
{
    beginInsertRows({}, first, last);
}
void ResultsModel::rowsInserted(int, int)
{
    endInsertRows();
}
void ResultsModel::rowsAboutToBeRemoved(int first, int last)
{
    beginRemoveRows({}, first, last);
}
void ResultsModel::rowsRemoved(int, int)
{
    endRemoveRows();
}
void ResultsModel::tableAboutToBeReset()
{
    beginResetModel();
}
void ResultsModel::tableReset()
{
    endResetModel();
}

void ResultsModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, table_.columnCount() - 1));
}

void ResultsModel::selectionChanged(int selectedRow, int focusedRow)
{
    emit tableSelectionChanged(selectedRow, focusedRow);
}

ResultsView::ResultsView(ResultsTable &table, QWidget *parent) :
    QTreeView(parent),
    table_(table),
    model_(new ResultsModel(table, this))
{
    setObjectName("resultsList");
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::NoContextMenu);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // Numbers, values and units are never cut: a cut value ("1130…" for
    // 11309.73) would read as another number. The kind name gives way first
    // (elided, whole in its tooltip); only when that is not enough does the
    // list scroll sideways.
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RefitColumns();
    connect(model_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { WidenColumns(first, last); });
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) { WidenColumns(from.row(), to.row()); });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &ResultsView::RefitColumns);
    connect(model_, &QAbstractItemModel::modelReset, this, &ResultsView::RefitColumns);
    connect(model_, &ResultsModel::tableSelectionChanged, this, &ResultsView::ShowTableSelection);
    // Rows inserted after a selection change (the table selects a row as it
    // appends it, before the model has it) are shown selected once they exist.
    connect(model_, &QAbstractItemModel::rowsInserted, this,
            [this] { ShowTableSelection(table_.selectedRow(), table_.focusedRow()); });
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { ShowTableSelection(table_.selectedRow(), table_.focusedRow()); });
}

int ResultsView::TextWidth(int row, int column) const
{
    return sizeHintForIndex(model_->index(row, column)).width();
}

void ResultsView::WidenColumns(int firstRow, int lastRow)
{
    for (int c = 0; c < table_.columnCount(); ++c) {
        for (int r = firstRow; r <= lastRow; ++r)
            needed_[c] = std::max(needed_[c], TextWidth(r, c));
    }
    LayOutColumns();
}

void ResultsView::RefitColumns()
{
    // Back to the standard widths, or the titles' when wider, then the rows.
    for (int c = 0; c < table_.columnCount(); ++c)
        needed_[c] = std::max(ResultColumnWidth(c), header()->sectionSizeHint(c));
    WidenColumns(0, model_->rowCount() - 1);
}

void ResultsView::LayOutColumns()
{
    int others = 0;
    for (int c = 0; c < table_.columnCount(); ++c) {
        if (c == ColumnMeasurement)
            continue;
        others += needed_[c];
        if (columnWidth(c) != needed_[c])
            setColumnWidth(c, needed_[c]);
    }
    // The kind name takes what is left, down to a few letters and the ellipsis.
    const int kind = needed_[ColumnMeasurement];
    const int least = std::min(kind, fontMetrics().horizontalAdvance(QStringLiteral("MMM\u2026")));
    const int width = std::clamp(viewport()->width() - others, least, kind);
    if (columnWidth(ColumnMeasurement) != width)
        setColumnWidth(ColumnMeasurement, width);
}

QString ResultsView::cellText(int row, int column) const
{
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

QRect ResultsView::rowRect(int row) const
{
    return visualRect(model_->index(row, 0)).united(visualRect(model_->index(row, table_.columnCount() - 1)));
}

void ResultsView::ShowTableSelection(int selectedRow, int focusedRow)
{
    QItemSelectionModel *sel = selectionModel();
    if (!sel)
        return;
    const int rows = model_->rowCount();
    if (selectedRow >= 0 && selectedRow < rows) {
        sel->select(model_->index(selectedRow, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        sel->clearSelection();
    }
    if (focusedRow >= 0 && focusedRow < rows) {
        sel->setCurrentIndex(model_->index(focusedRow, 0), QItemSelectionModel::NoUpdate);
        scrollTo(model_->index(focusedRow, 0));
    }
}

void ResultsView::SelectAt(const QPoint &pos)
{
    const QModelIndex idx = indexAt(pos);
    if (idx.isValid())
        table_.SelectRow(idx.row());
    else
        table_.ClearSelection();
}

void ResultsView::mousePressEvent(QMouseEvent *event)
{
    // The list's own selection follows the table; a press picks the row under
    // the pointer (or none), as a single-selection list does.
    releaseOfDouble_ = false;
    if (!isEnabled())
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        SelectAt(event->position().toPoint());
    event->accept();
}

void ResultsView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (!isEnabled() || std::exchange(releaseOfDouble_, false))
        return;
    if (event->button() == Qt::LeftButton)
        emit listClicked();
    else if (event->button() == Qt::RightButton)
        emit listRightClicked();
}

void ResultsView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (!isEnabled())
        return;
    releaseOfDouble_ = true;
    SelectAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        emit listDoubleClicked();
    else if (event->button() == Qt::RightButton)
        emit listRightDoubleClicked();
}

void ResultsView::changeEvent(QEvent *event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        RefitColumns();
}

bool ResultsView::viewportEvent(QEvent *event)
{
    const bool handled = QTreeView::viewportEvent(event);
    // The room changes with the window and with the vertical scroll bar.
    if (event->type() == QEvent::Resize)
        LayOutColumns();
    return handled;
}

void ResultsView::mouseMoveEvent(QMouseEvent *event)
{
    // No drag selection.
    event->accept();
}

}  // namespace orv

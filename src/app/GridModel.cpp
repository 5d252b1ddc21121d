#include "GridModel.h"

#include "model/CellEditors.h"
#include "model/CellValidation.h"
#include "QtServices.h"
#include "services/DisplayText.h"
#include "settings/CellColouring.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

namespace {

constexpr std::size_t MaxShownCellBytes = 1024;

} // namespace

Qt::Alignment MainGridGetAlignment(int /*row*/, int column) {
    return column == ColRowNumber ? Qt::AlignRight : Qt::Alignment();
}

bool MainGridColumnSize(int column) {
    return column != ColRowNumber;
}

void GridModel::SetFixedCellFont(const QFont& font) {
    fixedCellFont_ = font;
    fixedCellFont_.setBold(true);
}

QFont GridModel::FixedCellFont() const {
    return fixedCellFont_;
}

GridModel::GridModel(EditContext& context, const SettingsStore& settings, QObject* parent)
    : QAbstractTableModel(parent), context_(context), settings_(settings) {
    SetFixedCellFont(QApplication::font());
    context_.table.SetObserver(this);
}

GridModel::~GridModel() {
    context_.table.SetObserver(nullptr);
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : context_.table.GetRowCountEx() - 1;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int row = TableRow(index);
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        // A cell shows no more than fits on a screen: a name of megabytes would otherwise be
        // converted and laid out whole at every paint.
        return ToQString(
            ShortenForDisplay(context_.table.GetCellEx(column, row), MaxShownCellBytes));
    case Qt::EditRole:
        return ToQString(context_.table.GetCellEx(column, row));
    case Qt::BackgroundRole:
        if (auto colour = MainGridGetCellColor(context_.table, settings_, row, column)) {
            return ToQColor(*colour);
        }
        // The row-number column looks like the fixed cells of a grid.
        if (column == ColRowNumber) {
            return QApplication::palette().button();
        }
        return {};
    case Qt::TextAlignmentRole:
        if (const Qt::Alignment horizontal = MainGridGetAlignment(row, column)) {
            return QVariant::fromValue(horizontal | Qt::AlignVCenter);
        }
        return {};
    case Qt::FontRole:
        if (column == ColRowNumber) {
            return FixedCellFont();
        }
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The captions are fixed cells, bold like the row numbers: the header view paints with
    // the font given here, not with its own.
    if (role == Qt::FontRole && orientation == Qt::Horizontal) {
        return FixedCellFont();
    }
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Horizontal) {
        return ToQString(context_.table.GetCellEx(section, 0));
    }
    return section + 1;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    // Row numbers are not part of a selection; a click on one selects its row.
    if (index.column() == ColRowNumber) {
        return Qt::ItemIsEnabled;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (MainGridCanEditCell(context_.table, TableRow(index), index.column())) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    const HistoryStep step(history_, "Edit");
    const CellVerdict verdict =
        ValidateCell(context_, index.column(), TableRow(index), ToUtf8(value.toString()));
    if (!verdict.accepted) {
        emit valueRefused(index, ToQString(verdict.reason));
        return false;
    }
    emit valueAccepted(index);
    return true;
}

void GridModel::PickFromList(const QModelIndex& index, const QString& label) {
    if (!index.isValid()) {
        return;
    }
    const HistoryStep step(history_, "Edit");
    MainGridComboChange(context_.table, index.column(), TableRow(index), ToUtf8(label));
    setData(index, label, Qt::EditRole);
}

void GridModel::RowsAboutToBeInserted(int first, int count) {
    beginInsertRows(QModelIndex(), first - 1, first + count - 2);
}

void GridModel::RowsInserted() {
    endInsertRows();
}

void GridModel::RowsAboutToBeRemoved(int first, int count) {
    beginRemoveRows(QModelIndex(), first - 1, first + count - 2);
}

void GridModel::RowsRemoved() {
    endRemoveRows();
}

void GridModel::AboutToReset() {
    beginResetModel();
}

void GridModel::ResetDone() {
    endResetModel();
}

void GridModel::CellsChanged(int left, int top, int right, int bottom) {
    top = std::max(top, 1);
    bottom = std::min(bottom, context_.table.GetRowCountEx() - 1);
    if (top > bottom) {
        return;
    }
    emit dataChanged(IndexOf(left, top), IndexOf(right, bottom));
}

void GridModel::SelectionChanged() {
    emit tableSelectionChanged();
}

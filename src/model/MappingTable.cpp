#include "MappingTable.h"

#include "Integers.h"
#include "services/TabrixError.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace {
const std::string EmptyText;
}

MappingTable::MappingTable() {
    auto header = std::make_unique<Row>();
    for (int c = 0; c < ColumnCount; ++c) {
        (*header)[c] = ColumnHeaders[c];
    }
    rows_.push_back(std::move(header));
    rows_.push_back(std::make_unique<Row>());
}

MappingTable::Rows MappingTable::NewRows(int count) {
    Rows rows;
    rows.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        rows.push_back(std::make_unique<Row>());
    }
    return rows;
}

void MappingTable::SetRowCountEx(int count) {
    count = std::max(count, 1);
    if (count == GetRowCountEx()) {
        return;
    }
    // Everything that may fail to allocate happens before a view hears of the change, so
    // that a failure never leaves it half way through one.
    std::vector<std::unique_ptr<Row>> fresh = NewRows(count - GetRowCountEx());
    rows_.reserve(static_cast<size_t>(count));
    if (observer_) {
        observer_->AboutToReset();
    }
    const int before = GetRowCountEx();
    Rows removed;
    if (count < before) {
        removed.assign(std::make_move_iterator(rows_.begin() + count),
                       std::make_move_iterator(rows_.end()));
        rows_.resize(static_cast<size_t>(count));
    } else {
        std::move(fresh.begin(), fresh.end(), std::back_inserter(rows_));
    }
    if (observer_) {
        observer_->ResetDone();
    }
    if (recorder_) {
        if (count < before) {
            recorder_->RowsRemoved(count, std::move(removed));
        } else {
            recorder_->RowsInserted(before, count - before);
        }
    }
    KeepSelectionInTable();
}

bool MappingTable::IsCell(int column, int row) const {
    return column >= 0 && column < ColumnCount && row >= 0 && row < GetRowCountEx();
}

const std::string& MappingTable::GetCellEx(int column, int row) const {
    return IsCell(column, row) ? (*rows_[static_cast<size_t>(row)])[column] : EmptyText;
}

void MappingTable::SetCellEx(int column, int row, std::string text) {
    if (!IsCell(column, row)) {
        return;
    }
    std::string& cell = (*rows_[static_cast<size_t>(row)])[column];
    if (cell != text) {
        std::swap(cell, text);
        NotifyCells(column, row, column, row);
        if (recorder_) {
            recorder_->CellChanged(column, row, std::move(text));
        }
    }
}

const std::string& MappingTable::GetWideCells(int column, int row) const {
    return GetCellEx(column, row);
}

void MappingTable::SetWideCells(int column, int row, std::string text) {
    SetCellEx(column, row, std::move(text));
}

int MappingTable::GetInts(int column, int row) const {
    const std::string& text = GetCellEx(column, row);
    if (auto value = ParseInteger(text)) {
        return *value;
    }
    throw TabrixError(FormatMessage("'%s' is not a valid integer value", text.c_str()));
}

void MappingTable::SetInts(int column, int row, int value) {
    SetCellEx(column, row, std::to_string(value));
}

void MappingTable::InsertRowsAt(int row, int count) {
    if (count > 0) {
        InsertRows(row, NewRows(count));
    }
}

void MappingTable::InsertRows(int row, Rows fresh) {
    row = std::clamp(row, 1, GetRowCountEx());
    const int count = static_cast<int>(fresh.size());
    if (count <= 0) {
        return;
    }
    // The insert below then cannot fail; growing by doubling keeps appends cheap.
    if (rows_.capacity() < rows_.size() + fresh.size()) {
        rows_.reserve(std::max(rows_.size() + fresh.size(), 2 * rows_.capacity()));
    }
    if (observer_) {
        observer_->RowsAboutToBeInserted(row, count);
    }
    rows_.insert(rows_.begin() + row, std::make_move_iterator(fresh.begin()),
                 std::make_move_iterator(fresh.end()));
    if (observer_) {
        observer_->RowsInserted();
    }
    if (recorder_) {
        recorder_->RowsInserted(row, count);
    }
}

void MappingTable::RemoveRowsAt(int row, int count) {
    if (row < 1 || row >= GetRowCountEx()) {
        return;
    }
    count = std::min(count, GetRowCountEx() - row);
    if (count <= 0) {
        return;
    }
    if (observer_) {
        observer_->RowsAboutToBeRemoved(row, count);
    }
    Rows removed;
    if (recorder_) {
        removed.assign(std::make_move_iterator(rows_.begin() + row),
                       std::make_move_iterator(rows_.begin() + row + count));
    }
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    if (observer_) {
        observer_->RowsRemoved();
    }
    if (recorder_) {
        recorder_->RowsRemoved(row, std::move(removed));
    }
    // Only once a view has followed the removal may it hear of the selection.
    KeepSelectionInTable();
}

void MappingTable::ClearRows(int row, int count) {
    ClearCellRect(0, row, ColumnCount - 1, row + count - 1);
}

void MappingTable::ClearCellRect(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 1);
    right = std::min(right, ColumnCount - 1);
    bottom = std::min(bottom, GetRowCountEx() - 1);
    if (left > right || top > bottom) {
        return;
    }
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            std::string& cell = (*rows_[static_cast<size_t>(r)])[c];
            if (recorder_ && !cell.empty()) {
                recorder_->CellChanged(c, r, std::move(cell));
            }
            cell.clear();
        }
    }
    NotifyCells(left, top, right, bottom);
}

void MappingTable::ClearSelection() {
    ClearCellRect(selection_.left, selection_.top, selection_.right, selection_.bottom);
}

void MappingTable::SelectRows(int row, int count) {
    SetSelection({ColAddress, row, ColConversionScale, row + count - 1});
}

void MappingTable::SetSelection(const Selection& selection) {
    if (selection_ == selection) {
        return;
    }
    const Selection before = selection_;
    selection_ = selection;
    if (observer_) {
        observer_->SelectionChanged();
    }
    if (recorder_) {
        recorder_->SelectionChanged(before);
    }
}

void MappingTable::KeepSelectionInTable() {
    const int lastRow = std::max(1, GetRowCountEx() - 1);
    Selection kept = selection_;
    kept.bottom = std::min(kept.bottom, lastRow);
    kept.top = std::min(kept.top, kept.bottom);
    SetSelection(kept);
}

void MappingTable::NotifyCells(int left, int top, int right, int bottom) {
    if (batchDepth_ > 0) {
        if (!batchDirty_) {
            batchRect_ = {left, top, right, bottom};
            batchDirty_ = true;
        } else {
            batchRect_ = {std::min(batchRect_.left, left), std::min(batchRect_.top, top),
                          std::max(batchRect_.right, right), std::max(batchRect_.bottom, bottom)};
        }
        return;
    }
    if (observer_) {
        observer_->CellsChanged(left, top, right, bottom);
    }
}

MappingTable::Batch::Batch(MappingTable& table) : table_(table) {
    ++table_.batchDepth_;
}

MappingTable::Batch::~Batch() {
    if (--table_.batchDepth_ == 0 && table_.batchDirty_) {
        table_.batchDirty_ = false;
        const Selection r = table_.batchRect_;
        table_.NotifyCells(r.left, r.top, r.right, r.bottom);
    }
}

void RenumberRows(MappingTable& table) {
    // Runs after every insertion and removal, over the whole table: only the numbers that
    // changed are written, and no text is built for the ones that did not.
    MappingTable::Batch batch(table);
    char digits[16];
    for (int row = 1; row < table.GetRowCountEx(); ++row) {
        const auto end = std::to_chars(digits, digits + sizeof digits, row).ptr;
        const std::string_view number(digits, static_cast<size_t>(end - digits));
        if (table.GetCellEx(ColRowNumber, row) != number) {
            table.SetCellEx(ColRowNumber, row, std::string(number));
        }
    }
}

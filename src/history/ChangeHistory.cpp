#include "ChangeHistory.h"

#include <utility>

ChangeHistory::ChangeHistory(MappingTable& table, ModifiedFlag& modified)
    : table_(table), modified_(modified) {
    table_.SetRecorder(this);
}

ChangeHistory::~ChangeHistory() {
    table_.SetRecorder(nullptr);
}

void ChangeHistory::BeginStep(const std::string& name) {
    if (depth_++ == 0) {
        open_ = std::make_unique<Step>();
        open_->name = name;
        open_->selectionBefore = table_.GetSelectionEx();
    }
}

void ChangeHistory::EndStep() {
    if (depth_ == 0 || --depth_ > 0) {
        return;
    }
    std::unique_ptr<Step> step = std::move(open_);
    if (step->changes.empty()) {
        return; // a refused value, a command that changed nothing
    }
    step->selectionAfter = table_.GetSelectionEx();
    undo_.push_back(std::move(*step));
    redo_.clear();
    if (savedAt_ >= static_cast<long>(undo_.size())) {
        savedAt_ = -1; // the saved state was undone, and this step replaces its redo
    }
    if (undo_.size() > MaxSteps) {
        undo_.pop_front();
        savedAt_ = savedAt_ > 0 ? savedAt_ - 1 : -1;
    }
    Changed();
}

void ChangeHistory::Changed() const {
    if (changed_) {
        changed_();
    }
}

std::string ChangeHistory::UndoName() const {
    return undo_.empty() ? std::string() : undo_.back().name;
}

std::string ChangeHistory::RedoName() const {
    return redo_.empty() ? std::string() : redo_.back().name;
}

ChangeHistory::Step ChangeHistory::Revert(Step step) {
    // The reverse step restores, when it is reverted in turn, the selection this one
    // ended with, and the other way round.
    Step reverse;
    reverse.name = step.name;
    reverse.selectionBefore = step.selectionAfter;
    reverse.selectionAfter = step.selectionBefore;
    open_ = std::make_unique<Step>();
    depth_ = 1;
    {
        MappingTable::Batch batch(table_);
        for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) {
            if (auto* cell = std::get_if<CellChange>(&*change)) {
                table_.SetCellEx(cell->column, cell->row, std::move(cell->text));
            } else if (auto* insert = std::get_if<RowsInsert>(&*change)) {
                table_.RemoveRowsAt(insert->row, insert->count);
            } else if (auto* removal = std::get_if<RowsRemoval>(&*change)) {
                table_.InsertRows(removal->row, std::move(removal->rows));
            } else if (auto* select = std::get_if<SelectionChange>(&*change)) {
                table_.SetSelection(select->selection);
            }
        }
        table_.SetSelection(step.selectionBefore);
    }
    reverse.changes = std::move(open_->changes);
    open_.reset();
    depth_ = 0;
    return reverse;
}

void ChangeHistory::Undo() {
    TakeBack(undo_, redo_);
}

void ChangeHistory::Redo() {
    TakeBack(redo_, undo_);
}

void ChangeHistory::TakeBack(std::deque<Step>& from, std::deque<Step>& to) {
    if (from.empty() || depth_ > 0) {
        return;
    }
    Step step = std::move(from.back());
    from.pop_back();
    to.push_back(Revert(std::move(step)));
    FollowSavedState();
    Changed();
}

void ChangeHistory::FollowSavedState() {
    modified_.SetModified(savedAt_ != static_cast<long>(undo_.size()));
}

void ChangeHistory::Clear(bool saved) {
    undo_.clear();
    redo_.clear();
    open_.reset();
    depth_ = 0;
    savedAt_ = saved ? 0 : -1;
    Changed();
}

void ChangeHistory::MarkSaved() {
    savedAt_ = static_cast<long>(undo_.size());
}

void ChangeHistory::CellChanged(int column, int row, std::string before) {
    if (open_) {
        open_->changes.emplace_back(CellChange{column, row, std::move(before)});
    }
}

void ChangeHistory::RowsInserted(int row, int count) {
    if (open_) {
        open_->changes.emplace_back(RowsInsert{row, count});
    }
}

void ChangeHistory::RowsRemoved(int row, MappingTable::Rows rows) {
    if (open_) {
        open_->changes.emplace_back(RowsRemoval{row, std::move(rows)});
    }
}

void ChangeHistory::SelectionChanged(const Selection& before) {
    if (open_) {
        open_->changes.emplace_back(SelectionChange{before});
    }
}

HistoryStep::HistoryStep(ChangeHistory* history, const std::string& name) : history_(history) {
    if (history_) {
        history_->BeginStep(name);
    }
}

HistoryStep::~HistoryStep() {
    if (history_) {
        history_->EndStep();
    }
}

#pragma once

#include "model/EditContext.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

class ChangeHistory;

// One step for as long as it lives; nothing when there is no history.
class HistoryStep {
  public:
    HistoryStep(ChangeHistory* history, const std::string& name);
    ~HistoryStep();
    HistoryStep(const HistoryStep&) = delete;
    HistoryStep& operator=(const HistoryStep&) = delete;

  private:
    ChangeHistory* history_;
};

// The change history behind Undo and Redo. It holds what each step changed (old cell
// texts, the rows taken out, selections), never copies of the table: a step that inserts
// or removes 10,000 rows holds their pointers. Each user command is one step; a step
// that changed nothing is not kept. At most MaxSteps steps are kept, the oldest dropped
// first.
class ChangeHistory : private TableChangeRecorder {
  public:
    static constexpr std::size_t MaxSteps = 1000;

    ChangeHistory(MappingTable& table, ModifiedFlag& modified);
    ~ChangeHistory() override;
    ChangeHistory(const ChangeHistory&) = delete;
    ChangeHistory& operator=(const ChangeHistory&) = delete;

    // Opens a step named for its command ("Paste", "Delete row"); steps opened inside an
    // open one belong to it.
    void BeginStep(const std::string& name);
    void EndStep();

    [[nodiscard]] bool CanUndo() const { return !undo_.empty(); }
    [[nodiscard]] bool CanRedo() const { return !redo_.empty(); }
    std::string UndoName() const;
    std::string RedoName() const;
    void Undo();
    void Redo();

    // A new or opened document: no steps. An opened one is the saved state.
    void Clear(bool saved);
    // Told whenever what Undo and Redo would do has changed.
    void SetChangedCallback(std::function<void()> changed) { changed_ = std::move(changed); }
    // The table is as the file now holds it.
    void MarkSaved();

  private:
    struct CellChange {
        int column;
        int row;
        std::string text;
    };
    struct RowsInsert {
        int row;
        int count;
    };
    struct RowsRemoval {
        int row;
        MappingTable::Rows rows;
    };
    struct SelectionChange {
        Selection selection;
    };
    using Change = std::variant<CellChange, RowsInsert, RowsRemoval, SelectionChange>;
    struct Step {
        std::string name;
        std::vector<Change> changes; // in the order they were made
        Selection selectionBefore;   // restored when the step is reverted
        Selection selectionAfter;    // restored when its reverse is reverted
    };

    void CellChanged(int column, int row, std::string before) override;
    void RowsInserted(int row, int count) override;
    void RowsRemoved(int row, MappingTable::Rows rows) override;
    void SelectionChanged(const Selection& before) override;

    // Takes a step back (or forward): its changes are reverted in reverse order, and
    // what that reverting changes is recorded as the step that goes the other way.
    Step Revert(Step step);
    // Undo (from the undo stack to the redo stack) or Redo (the other way).
    void TakeBack(std::deque<Step>& from, std::deque<Step>& to);
    void FollowSavedState();

    void Changed() const;

    MappingTable& table_;
    ModifiedFlag& modified_;
    std::function<void()> changed_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    std::unique_ptr<Step> open_; // the step being recorded
    int depth_ = 0;
    // How many steps back the saved state is, counted on the undo stack; -1 when it is no
    // longer reachable (or the document has none, a new one).
    long savedAt_ = -1;
};

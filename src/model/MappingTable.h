#pragma once

#include "Columns.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// A rectangle of grid cells, all bounds inclusive.
struct Selection {
    int left = 1;
    int top = 1;
    int right = 1;
    int bottom = 1;
    bool operator==(const Selection&) const = default;
};

// Told of every change, so that a view can follow the table.
class TableObserver {
  public:
    virtual ~TableObserver() = default;
    virtual void RowsAboutToBeInserted(int /*first*/, int /*count*/) {}
    virtual void RowsInserted() {}
    virtual void RowsAboutToBeRemoved(int /*first*/, int /*count*/) {}
    virtual void RowsRemoved() {}
    virtual void AboutToReset() {}
    virtual void ResetDone() {}
    virtual void CellsChanged(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) {}
    virtual void SelectionChanged() {}
};

class TableChangeRecorder;

// The grid's cell content as the document model: text per cell (UTF-8), row 0 the
// headers, column 0 the row numbers, data rows 1 to RowCount - 1.
class MappingTable {
  public:
    using Row = std::array<std::string, ColumnCount>;
    using Rows = std::vector<std::unique_ptr<Row>>;

    MappingTable();

    int GetRowCountEx() const { return static_cast<int>(rows_.size()); }
    // Rows including the header; rows added are empty, the header row always stays.
    void SetRowCountEx(int count);

    // An empty text for any cell outside the table; writes outside it are ignored.
    const std::string& GetCellEx(int column, int row) const;
    void SetCellEx(int column, int row, std::string text);
    // The Unicode name column (2); its text is UTF-8 as well.
    const std::string& GetWideCells(int column, int row) const;
    void SetWideCells(int column, int row, std::string text);
    // Throws TabrixError naming the text when the cell holds no whole number.
    int GetInts(int column, int row) const;
    void SetInts(int column, int row, int value);

    // count empty rows before row; later rows move down. row may be RowCount.
    void InsertRowsAt(int row, int count);
    // Rows row to row + count - 1, never the header nor past the last row.
    void RemoveRowsAt(int row, int count);
    // Puts rows that were taken out (by an undo) back before row.
    void InsertRows(int row, Rows rows);
    void ClearRows(int row, int count);
    void ClearCellRect(int left, int top, int right, int bottom);
    void ClearSelection();

    void SelectRows(int row, int count);
    Selection GetSelectionEx() const { return selection_; }
    void SetSelection(const Selection& selection);

    void SetObserver(TableObserver* observer) { observer_ = observer; }
    // Told of every change with what it replaced, so that it can be taken back.
    void SetRecorder(TableChangeRecorder* recorder) { recorder_ = recorder; }

    // While a batch is open, cell notifications are gathered into one rectangle that
    // is reported when the last batch closes: a file of many rows is one change.
    class Batch {
      public:
        explicit Batch(MappingTable& table);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        MappingTable& table_;
    };

  private:
    bool IsCell(int column, int row) const;
    void NotifyCells(int left, int top, int right, int bottom);
    static std::vector<std::unique_ptr<Row>> NewRows(int count);
    void KeepSelectionInTable();

    std::vector<std::unique_ptr<Row>> rows_;
    Selection selection_;
    TableObserver* observer_ = nullptr;
    TableChangeRecorder* recorder_ = nullptr;
    int batchDepth_ = 0;
    bool batchDirty_ = false;
    Selection batchRect_;
};

// What a change replaced, as the table tells it just after the change.
class TableChangeRecorder {
  public:
    virtual ~TableChangeRecorder() = default;
    virtual void CellChanged(int column, int row, std::string before) = 0;
    virtual void RowsInserted(int row, int count) = 0;
    // The rows removed from row on, handed over whole: nothing is copied.
    virtual void RowsRemoved(int row, MappingTable::Rows rows) = 0;
    virtual void SelectionChanged(const Selection& before) = 0;
};

// Rewrites column 0 of every data row with its row index.
void RenumberRows(MappingTable& table);

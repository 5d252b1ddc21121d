#pragma once

#include "history/ChangeHistory.h"
#include "model/EditContext.h"
#include "settings/SettingsStore.h"

#include <QAbstractTableModel>
#include <QFont>

// Row numbers are right-aligned; other columns keep the default.
Qt::Alignment MainGridGetAlignment(int row, int column);
// Only the row-number column may not be resized.
bool MainGridColumnSize(int column);

// The mapping table as a Qt model. Model rows are the table's data rows (row r of the
// model is table row r + 1); model columns are table columns; the header row of the
// table is the horizontal header. Edits go through the cell validators, which store
// the value themselves, so setData never writes the typed text.
class GridModel : public QAbstractTableModel, private TableObserver {
    Q_OBJECT
  public:
    GridModel(EditContext& context, const SettingsStore& settings, QObject* parent = nullptr);
    ~GridModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // Each accepted value or pick becomes one step of this history.
    void SetHistory(ChangeHistory* history) { history_ = history; }
    // A pick in a cell's drop-down list: stored at once, then validated as when the
    // editor closes, so that a pick left with Escape counts as well.
    void PickFromList(const QModelIndex& index, const QString& label);

    // The font of the fixed cells (captions and row numbers): this font, in bold.
    void SetFixedCellFont(const QFont& font);
    QFont FixedCellFont() const;

    static int TableRow(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex IndexOf(int column, int tableRow) const { return index(tableRow - 1, column); }

  signals:
    // The table's selection changed from the core (a row-number click, rows removed).
    void tableSelectionChanged();
    // A value offered to a cell was refused; reason says why, for the user.
    void valueRefused(const QModelIndex& index, const QString& reason);
    // A value offered to a cell was taken.
    void valueAccepted(const QModelIndex& index);

  private:
    void RowsAboutToBeInserted(int first, int count) override;
    void RowsInserted() override;
    void RowsAboutToBeRemoved(int first, int count) override;
    void RowsRemoved() override;
    void AboutToReset() override;
    void ResetDone() override;
    void CellsChanged(int left, int top, int right, int bottom) override;
    void SelectionChanged() override;

    EditContext& context_;
    const SettingsStore& settings_;
    QFont fixedCellFont_;
    ChangeHistory* history_ = nullptr;
};

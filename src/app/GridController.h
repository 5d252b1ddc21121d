#pragma once

#include "model/EditContext.h"

#include <QObject>

#include <memory>

class CellNotice;
class GridModel;
class GridView;

// Keeps the grid view and the mapping table in step. The view's selection is copied to
// the table when the user moves it; the table's is copied to the view when the core
// changes it and when rows have moved (the view's selection follows moved rows, the
// table's stays on its row numbers). Each copy runs in one direction for one event.
// It also owns the open cell editor as the commands see it, the Shift+click anchor of
// the row numbers and the notice of a refused value.
class GridController : public QObject, public CellEditorService {
    Q_OBJECT
  public:
    // Binds model to view: the model is set on the view here, after the controller has
    // heard of row changes, so that it knows of them before the view's selection does.
    GridController(GridView& view, GridModel& model, EditContext& edit, QObject* parent = nullptr);
    ~GridController() override;

    // The text being typed, taken as Enter takes it; nothing when no editor is open.
    void CommitOpenEditor();
    // Cut, Copy, Paste and Delete act on an open editor's text; every other command
    // takes that text into its cell first.
    static bool CommitsEditorFirst(const QString& actionName);

    // CellEditorService: the editor of the grid that has the focus.
    TextEditorService* ActiveEditor() override;

    // The cell notice, for tests: the last refusal's reason while it shows.
    const CellNotice& Notice() const { return *notice_; }

  signals:
    // The grid's click event: a click in it, or a move of its current cell.
    void clickedOrMoved();

  private:
    void FollowView();
    void ShowTableSelection();
    void ShowTableSelectionLater();
    void RowsMoving();
    void RowsMoved();
    void Clicked(const QModelIndex& index);
    Selection ViewSelection() const;

    GridView& view_;
    GridModel& model_;
    EditContext& edit_;
    CellNotice* notice_;
    std::unique_ptr<TextEditorService> activeEditor_;
    bool copying_ = false;        // one copy at a time, so that it is not heard back
    bool rowsMoving_ = false;     // between a row change's announcement and its end
    bool showPending_ = false;    // a deferred copy to the view is on its way
    int shiftClickAnchorRow_ = 1; // the table row whose number was clicked last
};

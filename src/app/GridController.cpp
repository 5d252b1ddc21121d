#include "GridController.h"

#include "CellNotice.h"
#include "GridModel.h"
#include "GridView.h"
#include "model/CellEditors.h"
#include "TabrixApplication.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>

namespace {

// The text box of a cell being edited, as the edit commands see it.
class LineEditEditor : public TextEditorService {
  public:
    explicit LineEditEditor(QLineEdit* edit) : edit_(edit) {}
    void CutToClipboard() override { edit_->cut(); }
    void CopyToClipboard() override { edit_->copy(); }
    void PasteFromClipboard() override { edit_->paste(); }

  private:
    QLineEdit* edit_;
};

} // namespace

GridController::GridController(GridView& view, GridModel& model, EditContext& edit, QObject* parent)
    : QObject(parent), view_(view), model_(model), edit_(edit) {
    // Heard before the view's selection model hears of the change, which reports the
    // moved selection in row numbers from before the move.
    connect(&model_, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] { RowsMoving(); });
    connect(&model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { RowsMoving(); });
    connect(&model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { RowsMoving(); });
    view_.setModel(&model_);
    // Heard after the view and its headers have followed the change, and before anything
    // that comes after it in the same command, such as the move of Tab to the next cell.
    connect(&model_, &QAbstractItemModel::rowsInserted, this, [this] { RowsMoved(); });
    connect(&model_, &QAbstractItemModel::rowsRemoved, this, [this] { RowsMoved(); });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { RowsMoved(); });

    notice_ = new CellNotice(view_);
    connect(view_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { FollowView(); });
    connect(view_.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (current != previous) {
                    notice_->Dismiss();
                }
                FollowView();
                emit clickedOrMoved();
            });
    connect(&model_, &GridModel::tableSelectionChanged, this, [this] { ShowTableSelection(); });
    connect(&model_, &GridModel::valueRefused, this,
            [this](const QModelIndex& index, const QString& reason) {
                notice_->ShowAt(index, reason);
            });
    connect(&model_, &GridModel::valueAccepted, notice_, &CellNotice::Dismiss);
    connect(&view_, &GridView::rowNumbersDragged, this, [this](int fromRow, int toRow) {
        TabrixApplication::Run([&] { MainGridSelectRowsBetween(edit_, fromRow, toRow); });
    });
    connect(&view_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { Clicked(index); });
}

GridController::~GridController() = default;

void GridController::Clicked(const QModelIndex& index) {
    const int row = GridModel::TableRow(index);
    if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) {
        // Shift+click on a row number: the whole rows from the last row clicked.
        if (index.column() == ColRowNumber) {
            TabrixApplication::Run(
                [&] { MainGridSelectRowsBetween(edit_, shiftClickAnchorRow_, row); });
        }
    } else {
        shiftClickAnchorRow_ = row;
        TabrixApplication::Run([&] { MainGridClickCell(edit_, row, index.column()); });
    }
    emit clickedOrMoved();
}

void GridController::FollowView() {
    if (copying_ || rowsMoving_) {
        return;
    }
    copying_ = true;
    TabrixApplication::Run([this] { MainGridSelectCells(edit_, ViewSelection()); });
    copying_ = false;
}

Selection GridController::ViewSelection() const {
    const QItemSelection selected = view_.selectionModel()->selection();
    Selection rect;
    if (!selected.isEmpty()) {
        rect = {ColumnCount, edit_.table.GetRowCountEx(), 0, 0};
        for (const QItemSelectionRange& range : selected) {
            rect.left = std::min(rect.left, range.left());
            rect.right = std::max(rect.right, range.right());
            rect.top = std::min(rect.top, GridModel::TableRow(range.topLeft()));
            rect.bottom = std::max(rect.bottom, GridModel::TableRow(range.bottomRight()));
        }
    } else if (const QModelIndex current = view_.currentIndex(); current.isValid()) {
        const int row = GridModel::TableRow(current);
        rect = {current.column(), row, current.column(), row};
    }
    return rect;
}

void GridController::ShowTableSelectionLater() {
    if (showPending_) {
        return;
    }
    showPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            showPending_ = false;
            ShowTableSelection();
        },
        Qt::QueuedConnection);
}

void GridController::ShowTableSelection() {
    // While rows move, the view cannot take a selection yet; it gets the table's once the
    // move is over. The table's answer to the view's own change (whole rows for a row
    // number, say) waits until the view has finished the key or click that made it: the
    // view would otherwise overwrite it with its own selection.
    if (rowsMoving_) {
        return;
    }
    if (copying_) {
        ShowTableSelectionLater();
        return;
    }
    const Selection rect = edit_.table.GetSelectionEx();
    if (rect.top < 1 || rect.top >= edit_.table.GetRowCountEx()) {
        return;
    }
    // The view's own change, heard back from the table: the current cell stays where the
    // keys or the mouse put it, or Shift and an arrow would start again from the corner.
    if (view_.currentIndex().isValid() && ViewSelection() == rect) {
        view_.viewport()->update();
        return;
    }
    copying_ = true;
    const QModelIndex topLeft = model_.IndexOf(rect.left, rect.top);
    view_.selectionModel()->select(QItemSelection(topLeft, model_.IndexOf(rect.right, rect.bottom)),
                                   QItemSelectionModel::ClearAndSelect);
    view_.selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    copying_ = false;
    view_.viewport()->update();
}

void GridController::RowsMoving() {
    rowsMoving_ = true;
}

void GridController::RowsMoved() {
    rowsMoving_ = false;
    ShowTableSelection();
}

void GridController::CommitOpenEditor() {
    const QModelIndex current = view_.currentIndex();
    QWidget* editor = current.isValid() ? view_.indexWidget(current) : nullptr;
    if (!editor) {
        return;
    }
    QAbstractItemDelegate* delegate = view_.itemDelegateForIndex(current);
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool GridController::CommitsEditorFirst(const QString& actionName) {
    static const QStringList editorAware = {"EditCut1", "EditCopy1", "EditPaste1", "EditDelete1"};
    return !editorAware.contains(actionName);
}

TextEditorService* GridController::ActiveEditor() {
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!edit || !view_.isAncestorOf(edit)) {
        return nullptr;
    }
    activeEditor_ = std::make_unique<LineEditEditor>(edit);
    return activeEditor_.get();
}

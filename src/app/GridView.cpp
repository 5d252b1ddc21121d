#include "GridView.h"

#include "model/Columns.h"

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (!next.isValid() || next.column() != ColRowNumber) {
        return next;
    }
    if (action == MovePrevious) {
        // Shift+Tab goes on to the last cell of the row above, and stops at the first cell.
        return next.row() > 0 ? model()->index(next.row() - 1, ColumnCount - 1) : currentIndex();
    }
    return model()->index(next.row(), ColAddress);
}

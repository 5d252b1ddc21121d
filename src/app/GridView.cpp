#include "GridView.h"

#include "GridModel.h"
#include "model/Columns.h"

#include <QMouseEvent>

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

void GridView::keyboardSearch(const QString& /*search*/) {}

void GridView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex pressed = indexAt(event->position().toPoint());
    const bool onNumber = event->button() == Qt::LeftButton && pressed.isValid() &&
                          pressed.column() == ColRowNumber &&
                          !(event->modifiers() & Qt::ShiftModifier);
    dragFromRow_ = onNumber ? GridModel::TableRow(pressed) : -1;
    QTableView::mousePressEvent(event);
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
    QTableView::mouseMoveEvent(event);
    if (dragFromRow_ < 0 || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    // The row under the mouse, whichever column it is over.
    const int viewRow = rowAt(event->position().toPoint().y());
    if (viewRow >= 0) {
        emit rowNumbersDragged(dragFromRow_, viewRow + 1);
    }
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    dragFromRow_ = -1;
}

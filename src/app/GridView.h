#pragma once

#include <QTableView>

// The grid's view: the keys move the current cell among the data cells only. The row
// numbers are no cell to edit or copy, and a highlight there would not be where the
// commands act.
class GridView : public QTableView {
    Q_OBJECT
  public:
    using QTableView::QTableView;

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

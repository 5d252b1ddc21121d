#pragma once

#include <QTableView>

// The grid's view: the keys move the current cell among the data cells only (the row
// numbers are no cell to edit or copy, and a highlight there would not be where the
// commands act), and a drag over the row numbers reports the rows it spans.
class GridView : public QTableView {
    Q_OBJECT
  public:
    using QTableView::QTableView;

    // No search by typing: a key on a cell that cannot be edited would move the current
    // cell to another row, and the keys after it would edit that row.
    void keyboardSearch(const QString& search) override;

  signals:
    // Table rows, from the row the drag started on to the row under the mouse.
    void rowNumbersDragged(int fromRow, int toRow);

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int dragFromRow_ = -1; // the table row whose number was pressed, or -1
};

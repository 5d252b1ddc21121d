#pragma once

#include <QStyledItemDelegate>

class GridModel;

// The cell editors by column: text boxes, drop-down lists of the column's labels that
// admit no free text, and digits-only boxes. A pick in a list goes to the model at once.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    GridDelegate(GridModel& model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  private:
    GridModel& model_;
};

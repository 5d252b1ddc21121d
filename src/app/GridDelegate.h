#pragma once

#include <QStyledItemDelegate>

class GridModel;
class MappingTable;

// The cell editors by column: text boxes, drop-down lists of the column's labels that
// admit no free text, and digits-only boxes. A pick in a list is stored at once.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    GridDelegate(MappingTable& table, GridModel& model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  private:
    MappingTable& table_;
    GridModel& model_;
};

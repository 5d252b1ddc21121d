#include "GridDelegate.h"

#include "GridModel.h"
#include "model/CellEditors.h"
#include "model/Vocabulary.h"
#include "QtServices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

GridDelegate::GridDelegate(MappingTable& table, QObject* parent)
    : QStyledItemDelegate(parent), table_(table) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                    const QModelIndex& index) const {
    const int column = index.column();
    const int row = GridModel::TableRow(index);
    switch (MainGridGetEditorType(column, row)) {
    case EditorKind::DropDownList: {
        auto* combo = new QComboBox(parent);
        combo->setObjectName("CellComboEditor");
        combo->setEditable(false);
        for (const char* label : ColumnVocabulary(column)) {
            combo->addItem(QString::fromLatin1(label));
        }
        connect(combo, &QComboBox::activated, this, [this, combo, column, row](int item) {
            MainGridComboChange(table_, column, row, ToUtf8(combo->itemText(item)));
        });
        return combo;
    }
    case EditorKind::Digits: {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName("CellDigitsEditor");
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        edit->setFrame(false);
        return edit;
    }
    case EditorKind::Text:
    case EditorKind::UnicodeText: {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName("CellTextEditor");
        edit->setFrame(false);
        return edit;
    }
    case EditorKind::None:
        break;
    }
    return nullptr;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // A cell may hold a label in other letter case; offer the label it stands for.
        combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
    }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, combo->currentIndex() < 0 ? QString() : combo->currentText());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, edit->text());
    }
}

#include "GridDelegate.h"

#include "GridModel.h"
#include "model/CellEditors.h"
#include "model/Vocabulary.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QRegularExpressionValidator>

#include <limits>

namespace {

QLineEdit* NewLineEditor(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setFrame(false);
    edit->setMaxLength(std::numeric_limits<int>::max()); // not Qt's 32767: a name is kept whole
    return edit;
}

// A line editor lays out and draws its whole text at each blink of its cursor: for a text
// this long that is a good part of a core. Its cursor stands still instead.
constexpr int MaxBlinkingCharacters = 16 * 1024;

// Qt sets an editor's blinking from the application's flash time as the editor gets the
// focus; the time is given back once the editor goes.
void KeepCursorStill(QLineEdit* edit) {
    static int keptFlashTime = -1;
    if (keptFlashTime < 0) {
        keptFlashTime = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);
    }
    QObject::connect(edit, &QObject::destroyed, [] {
        if (keptFlashTime >= 0) {
            QApplication::setCursorFlashTime(keptFlashTime);
            keptFlashTime = -1;
        }
    });
}

} // namespace

GridDelegate::GridDelegate(GridModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                    const QModelIndex& index) const {
    const int column = index.column();
    switch (MainGridGetEditorType(column, GridModel::TableRow(index))) {
    case EditorKind::DropDownList: {
        auto* combo = new QComboBox(parent);
        combo->setObjectName("CellComboEditor");
        combo->setEditable(false);
        for (const char* label : ColumnVocabulary(column)) {
            combo->addItem(QString::fromLatin1(label));
        }
        // The cell, not its row number: rows may move while the list is open.
        const QPersistentModelIndex cell(index);
        connect(combo, &QComboBox::activated, this, [this, combo, cell](int item) {
            model_.PickFromList(cell, combo->itemText(item));
        });
        return combo;
    }
    case EditorKind::Digits: {
        QLineEdit* edit = NewLineEditor(parent, "CellDigitsEditor");
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        return edit;
    }
    case EditorKind::Text:
    case EditorKind::UnicodeText: {
        QLineEdit* edit = NewLineEditor(parent, "CellTextEditor");
        if (index.data(Qt::EditRole).toString().size() > MaxBlinkingCharacters) {
            KeepCursorStill(edit);
        }
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

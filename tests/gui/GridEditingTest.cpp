#include "CellNotice.h"
#include "GuiFakes.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>

#include <ctime>
#include <QTemporaryDir>
#include <QtTest>

// Editing as a user does it: keys into the real grid and its editors.
class GridEditingTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<ScriptedMainForm> main_;

    TMainForm& Form() { return *main_->form; }
    QTableView* Grid() { return main_->form->Grid(); }
    MappingTable& Table() { return main_->form->Table(); }

    void SelectCell(int column, int tableRow) {
        const QModelIndex index = Grid()->model()->index(tableRow - 1, column);
        // As a plain click does, whatever modifiers an earlier key left behind.
        Grid()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        Grid()->setFocus();
    }

    QWidget* OpenEditor() {
        QTest::keyClick(Grid(), Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        return editor != Grid() ? editor : nullptr;
    }

    // A window with three data rows and these stored settings, shown and active.
    void Start(std::map<std::string, std::int64_t> storedSettings = {}) {
        main_ = std::make_unique<ScriptedMainForm>(std::move(storedSettings));
        Table().SetRowCountEx(4);
        RenumberRows(Table());
        Form().show();
        Form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Form()));
    }

    // Each key goes where a real key would: to whatever has the focus by then, after what
    // the event loop had queued before it. Tab and Return are written \t and \n.
    static void Type(const QString& keys) {
        for (const QChar c : keys) {
            QWidget* target = QApplication::focusWidget();
            if (c == '\t') {
                QTest::keyClick(target, Qt::Key_Tab);
            } else if (c == '\n') {
                QTest::keyClick(target, Qt::Key_Return);
            } else {
                QTest::keyClick(target, c.toLatin1());
            }
            QCoreApplication::processEvents();
        }
    }

  private slots:
    void init() { Start(); }

    void cleanup() { main_.reset(); }

    void typedAddressIsStoredInItsNormalForm() {
        SelectCell(ColAddress, 2);
        // Each key goes where a real key would: to whatever has the focus by then.
        for (const QChar c : QString(" 01/ 2/3abc")) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(Table().GetCellEx(ColAddress, 2), std::string("1/2/3"));
        QTRY_COMPARE(Grid()->model()->index(1, ColAddress).data().toString(), QString("1/2/3"));
        QVERIFY(!Form().Controller().Notice().isVisible());
        QVERIFY(Form().Document().Modified());
        QVERIFY(main_->Find("Save1")->isEnabled());
    }

    void refusedValueKeepsTheOldText() {
        Table().SetCellEx(ColAddress, 1, "1/0/1");
        SelectCell(ColAddress, 1);
        QWidget* editor = OpenEditor();
        QVERIFY(qobject_cast<QLineEdit*>(editor));
        qobject_cast<QLineEdit*>(editor)->setText("16/0/1");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid()));
        QCOMPARE(Table().GetCellEx(ColAddress, 1), std::string("1/0/1"));
        QCOMPARE(Grid()->currentIndex().data().toString(), QString("1/0/1"));
        QVERIFY(!Form().Document().Modified());
    }

    // Address, Tab, name, Tab ... at full speed: the same on the spare row, whose first
    // value appends a row, as on any other row.
    void keysAlongARowReachTheirCells_data() {
        QTest::addColumn<bool>("spareRow");
        QTest::addColumn<int>("startColumn");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("cells"); // address, name, type of the row afterwards
        const QString addressThenName = "1/0/7\tHall\n";
        QTest::newRow("address then name, spare row")
            << true << int(ColAddress) << addressThenName << QStringList{"1/0/7", "Hall", ""};
        QTest::newRow("address then name, other row")
            << false << int(ColAddress) << addressThenName << QStringList{"1/0/7", "Hall", ""};
        // The letter after Tab goes to the type's list, never to the name left behind.
        QTest::newRow("name then type, spare row") << true << int(ColName) << "Attic\tb\n"
                                                   << QStringList{"", "Attic", "Boolean"};
    }
    void keysAlongARowReachTheirCells() {
        QFETCH(bool, spareRow);
        QFETCH(int, startColumn);
        QFETCH(QString, keys);
        QFETCH(QStringList, cells);
        if (spareRow) {
            Start({{"CreateRowOnEdit", 1}, {"IncrementGroupAddress", 1}});
        }
        const int row = spareRow ? Table().GetRowCountEx() - 1 : 2;
        SelectCell(startColumn, row);
        Type(keys);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid()));
        QCOMPARE(Table().GetCellEx(ColAddress, row), cells[0].toStdString());
        QCOMPARE(Table().GetWideCells(ColName, row), cells[1].toStdString());
        QCOMPARE(Table().GetCellEx(ColType, row), cells[2].toStdString());
        QCOMPARE(Table().GetRowCountEx(), spareRow ? 5 : 4);
    }

    // A key on a cell that takes no value is not a search: it moves nothing and edits
    // nothing, here or in another row.
    void keysOnACellThatCannotBeEditedChangeNothing() {
        Table().SetCellEx(ColConversionRule, 1, "Add");
        Table().SetCellEx(ColConversionScale, 1, "32767");
        Table().SetCellEx(ColConversionRule, 2, "None");
        const QModelIndex locked = Grid()->model()->index(1, ColConversionScale);
        SelectCell(ColConversionScale, 2);
        Type("310\n");
        QTest::qWait(50); // a queued commit would have run by now
        QCOMPARE(Grid()->currentIndex(), locked);
        QCOMPARE(Table().GetCellEx(ColConversionScale, 1), std::string("32767"));
        QCOMPARE(Table().GetCellEx(ColConversionScale, 2), std::string(""));
        QVERIFY(!Form().Document().Modified());
    }

    // A refused value keeps the old text and says why at the cell, without a box; the note
    // goes when the current cell moves on.
    void refusedValueSaysWhy() {
        SelectCell(ColAddress, 1);
        Type("1/0/0\n");
        const CellNotice& notice = Form().Controller().Notice();
        QTRY_VERIFY(notice.isVisible());
        QCOMPARE(notice.text(), QString("1/0/0: the field address must be 1 to 255"));
        QVERIFY(main_->messageBox.shown.empty());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid()));
        QTest::keyClick(Grid(), Qt::Key_Down);
        QVERIFY(!notice.isVisible());
    }

    // A save that a row makes fail ends on the cell to mend, after the message.
    void failedSaveGoesToTheCellAtFault() {
        QTemporaryDir folder;
        Table().SetRowCountEx(2);
        Table().SetCellEx(ColAddress, 1, "1/0/1");
        Table().SetCellEx(ColType, 1, "Boolean");
        Form().Document().FileName = folder.filePath("plan.xml").toStdString();
        SelectCell(ColName, 1);
        QTest::keyClick(Grid(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(main_->messageBox.shown.size(), size_t(1));
        QVERIFY(main_->messageBox.shown[0].text.find("'' is not a valid integer value") !=
                std::string::npos);
        QTRY_COMPARE(Grid()->currentIndex(), Grid()->model()->index(0, ColIndex));
        QCOMPARE(Table().GetSelectionEx(), (Selection{ColIndex, 1, ColIndex, 1}));
    }

    // A name of megabytes costs no more to show than a screenful: the grid paints it at
    // once, and an editor opened on it has it whole and stays idle.
    void hugeNameCostsAScreenful() {
        const std::string huge(10'000'000, 'n');
        Table().SetWideCells(ColName, 1, huge);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 5; ++i) {
            Grid()->viewport()->repaint();
        }
        QVERIFY2(timer.elapsed() < 250, qPrintable(QString("%1 ms").arg(timer.elapsed())));
        QVERIFY(Grid()->model()->index(0, ColName).data().toString().size() <= 1025);

        Table().SetWideCells(ColName, 1, std::string(1'000'000, 'n'));
        SelectCell(ColName, 1);
        auto* edit = qobject_cast<QLineEdit*>(OpenEditor());
        QVERIFY(edit);
        QCOMPARE(edit->text().size(), 1'000'000);
        QTest::qWait(700); // the first layout of the text, once
        const std::clock_t cpuBefore = std::clock();
        QTest::qWait(1000);
        const double cpuSeconds = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
        QVERIFY2(cpuSeconds < 0.2, qPrintable(QString("%1 s of CPU in 1 s").arg(cpuSeconds)));
        // Typed on and entered like any other name.
        edit->end(false);
        QTest::keyClicks(edit, "x");
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid()));
        QCOMPARE(Table().GetWideCells(ColName, 1), std::string(1'000'000, 'n') + "x");
    }

    // Ctrl+Z and Ctrl+Y take back and redo one command at a time, and the Edit menu names
    // the step; back at the state saved, the document is unmodified.
    void undoAndRedoFollowTheCommands() {
        QTemporaryDir folder;
        Table().SetRowCountEx(3);
        for (int row : {1, 2}) {
            Table().SetCellEx(ColAddress, row, "1/0/" + std::to_string(row));
            Table().SetCellEx(ColIndex, row, std::to_string(row));
            Table().SetCellEx(ColConversionRule, row, "None");
        }
        main_->fileDialogs.saveAnswers.push_back(folder.filePath("plan.xml").toStdString());
        main_->Find("SaveAs1")->trigger();
        QVERIFY(main_->messageBox.shown.empty());
        QVERIFY(!Form().Document().Modified());
        QAction* undo = main_->Find("Undo1");
        QVERIFY(!undo->isEnabled());

        SelectCell(ColAddress, 2);
        Type("1/2/3\n");
        QTRY_COMPARE(Table().GetCellEx(ColAddress, 2), std::string("1/2/3"));
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QString("&Undo Edit\tCtrl+Z"));
        Table().SelectRows(1, 1);
        QTest::keyClick(Grid(), Qt::Key_Delete, Qt::ControlModifier); // Delete row
        QCOMPARE(Table().GetCellEx(ColAddress, 1), std::string("1/2/3"));
        QCOMPARE(undo->text(), QString("&Undo Delete row\tCtrl+Z"));

        QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Table().GetCellEx(ColAddress, 2), std::string("1/2/3"));
        QCOMPARE(Table().GetRowCountEx(), 3);
        QCOMPARE(main_->Find("Redo1")->text(), QString("&Redo Delete row\tCtrl+Y"));
        QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Table().GetCellEx(ColAddress, 2), std::string("1/0/2"));
        QVERIFY(!Form().Document().Modified()); // as saved: closing asks nothing
        QVERIFY(!undo->isEnabled());
        QTest::keyClick(Grid(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Table().GetCellEx(ColAddress, 2), std::string("1/2/3"));
        QVERIFY(Form().Document().Modified());
        QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Table().GetRowCountEx(), 2);
        QVERIFY(main_->messageBox.shown.empty());
    }

    // In an open editor Ctrl+Z undoes the typing, as in any text box; the table is left.
    void controlZInAnEditorUndoesTheTyping() {
        Table().SetCellEx(ColName, 1, "Hall");
        SelectCell(ColName, 1);
        auto* edit = qobject_cast<QLineEdit*>(OpenEditor());
        QVERIFY(edit);
        edit->end(false);
        QTest::keyClicks(edit, "way");
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("Hall"));
        QCOMPARE(Table().GetCellEx(ColName, 1), std::string("Hall"));
        QTest::keyClick(edit, Qt::Key_Escape);
    }

    void escapeCancelsAndTabMovesOn() {
        Table().SetCellEx(ColName, 1, "Hall");
        SelectCell(ColName, 1);
        QWidget* editor = OpenEditor();
        QVERIFY(editor);
        QTest::keyClicks(editor, " light");
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid()));
        QCOMPARE(Table().GetCellEx(ColName, 1), std::string("Hall"));
        QTest::keyClick(Grid(), Qt::Key_Tab);
        QCOMPARE(Grid()->currentIndex().column(), ColType);
    }

    void choosingNoneEmptiesTheValueAndLocksIt() {
        Table().SetCellEx(ColConversionRule, 3, "Add");
        Table().SetCellEx(ColConversionScale, 3, "10");
        SelectCell(ColConversionRule, 3);
        auto* combo = qobject_cast<QComboBox*>(OpenEditor());
        QVERIFY(combo);
        QStringList offered;
        for (int i = 0; i < combo->count(); ++i) {
            offered << combo->itemText(i);
        }
        QCOMPARE(offered, (QStringList{"None", "Add", "Subtract", "Multiply", "Divide"}));
        QVERIFY(!combo->isEditable());
        // Typing a letter picks the label that starts with it; the pick is stored at once.
        QTest::keyClick(combo, Qt::Key_N);
        QCOMPARE(combo->currentText(), QString("None"));
        emit combo->activated(combo->currentIndex());
        QCOMPARE(Table().GetCellEx(ColConversionRule, 3), std::string("None"));
        QCOMPARE(Table().GetCellEx(ColConversionScale, 3), std::string(""));
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid()));
        const QModelIndex value = Grid()->model()->index(2, ColConversionScale);
        QVERIFY(!(value.flags() & Qt::ItemIsEditable));
    }

    void pickLeftWithEscapeStaysAndMarksTheDocument() {
        Table().SetCellEx(ColConversionRule, 3, "Add");
        Table().SetCellEx(ColConversionScale, 3, "10");
        QVERIFY(!Form().Document().Modified());
        SelectCell(ColConversionRule, 3);
        auto* combo = qobject_cast<QComboBox*>(OpenEditor());
        QVERIFY(combo);
        QTest::keyClick(combo, Qt::Key_N);
        emit combo->activated(combo->currentIndex());
        QTest::keyClick(combo, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid()));
        QCOMPARE(Table().GetCellEx(ColConversionRule, 3), std::string("None"));
        QCOMPARE(Table().GetCellEx(ColConversionScale, 3), std::string(""));
        QVERIFY(Form().Document().Modified()); // else closing would drop the change unasked
    }

    // Text typed into a cell and not yet entered is part of the document for every command
    // that is not itself about the editor.
    void textBeingTypedCountsForNewAndClose_data() {
        QTest::addColumn<bool>("byClosing");
        QTest::newRow("New") << false;
        QTest::newRow("Close") << true;
    }
    void textBeingTypedCountsForNewAndClose() {
        QFETCH(bool, byClosing);
        SelectCell(ColName, 1);
        auto* edit = qobject_cast<QLineEdit*>(OpenEditor());
        QVERIFY(edit);
        QTest::keyClicks(edit, "Kitchen");
        main_->messageBox.answers = {IdCancel};
        if (byClosing) {
            Form().close();
        } else {
            QTest::keyClick(edit, Qt::Key_N, Qt::ControlModifier);
        }
        QCOMPARE(Table().GetCellEx(ColName, 1), std::string("Kitchen"));
        QVERIFY(Form().Document().Modified());
        QCOMPARE(main_->messageBox.shown.size(), size_t(1)); // the save-changes prompt
        QVERIFY(Form().isVisible());
        QCOMPARE(Table().GetCellEx(ColName, 1), std::string("Kitchen")); // Cancel kept it
    }

    // The highlight is where the commands act: on the table's selection, also after rows
    // were inserted above or removed below it.
    void highlightFollowsTheTablesSelectionWhenRowsMove() {
        Table().SetCellEx(ColName, 2, "Hall");
        Table().SetCellEx(ColName, 3, "Stairs");
        SelectCell(ColName, 2);
        const auto highlightedRow = [this] { return GridModel::TableRow(Grid()->currentIndex()); };

        QTest::keyClick(Grid(), Qt::Key_R, Qt::ControlModifier); // Insert row
        QCOMPARE(Table().GetCellEx(ColName, 3), std::string("Hall"));
        QCOMPARE(Table().GetSelectionEx().top, 2);
        QTRY_COMPARE(highlightedRow(), 2);
        QCOMPARE(Grid()->selectionModel()->selectedIndexes(),
                 QModelIndexList{Grid()->model()->index(1, ColName)});
        QTest::keyClick(Grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("")); // the new row's empty name

        QTest::keyClick(Grid(), Qt::Key_Delete, Qt::ControlModifier); // Delete row
        QCOMPARE(Table().GetCellEx(ColName, 2), std::string("Hall"));

        QTRY_COMPARE(highlightedRow(), 2);
        QCOMPARE(Table().GetSelectionEx().top, 2);
        QTest::keyClick(Grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("Hall"));
    }

    // A selection of separate pieces would reach the commands as the rectangle around
    // them, and Del would clear cells that were never selected.
    void controlClickKeepsTheSelectionOneRectangle() {
        Table().SetCellEx(ColName, 1, "Hall");
        Table().SetCellEx(ColName, 2, "Stairs");
        Table().SetCellEx(ColName, 3, "Attic");
        const auto click = [this](int column, int tableRow, Qt::KeyboardModifiers keys) {
            const QRect cell = Grid()->visualRect(Grid()->model()->index(tableRow - 1, column));
            QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, keys, cell.center());
        };
        click(ColName, 1, {});
        click(ColName, 3, Qt::ControlModifier);
        click(ColIndex, 2, Qt::ControlModifier);
        const QItemSelection shown = Grid()->selectionModel()->selection();
        QCOMPARE(shown.size(), 1);
        const Selection table = Table().GetSelectionEx();
        QCOMPARE(table, (Selection{shown[0].left(), shown[0].top() + 1, shown[0].right(),
                                   shown[0].bottom() + 1}));
        QTest::keyClick(Grid(), Qt::Key_Delete);
        for (int row = 1; row <= 3; ++row) {
            const bool highlighted = row >= table.top && row <= table.bottom &&
                                     ColName >= table.left && ColName <= table.right;
            QCOMPARE(Table().GetCellEx(ColName, row).empty(), highlighted);
        }
    }

    // Shift and the arrow keys grow or shrink the block from where it started, in every
    // direction, so that blocks and several rows can be selected from the keyboard.
    void shiftArrowsExtendTheSelectionFromItsAnchor() {
        SelectCell(ColType, 1);
        const std::pair<Qt::Key, Selection> steps[] = {
            {Qt::Key_Right, {ColType, 1, ColDirection, 1}},
            {Qt::Key_Down, {ColType, 1, ColDirection, 2}},
            {Qt::Key_Down, {ColType, 1, ColDirection, 3}},
            {Qt::Key_Right, {ColType, 1, ColIndex, 3}},
            {Qt::Key_Up, {ColType, 1, ColIndex, 2}},
            {Qt::Key_Left, {ColType, 1, ColDirection, 2}},
        };
        for (const auto& [key, expected] : steps) {
            QTest::keyClick(Grid(), key, Qt::ShiftModifier);
            QTRY_COMPARE(Table().GetSelectionEx(), expected);
            QTest::qWait(20); // a late echo of the table's selection must not move the cell
            QCOMPARE(Table().GetSelectionEx(), expected);
        }
    }

    // The row numbers are never the current cell: the commands would act elsewhere.
    void keysKeepTheCurrentCellOffTheRowNumbers() {
        const auto current = [this] {
            const QModelIndex index = Grid()->currentIndex();
            return std::pair(index.column(), GridModel::TableRow(index));
        };
        SelectCell(ColAddress, 2);
        QTest::keyClick(Grid(), Qt::Key_Backtab);
        QCOMPARE(current(), std::pair(int(ColConversionScale), 1));
        QTest::keyClick(Grid(), Qt::Key_Home);
        QCOMPARE(current(), std::pair(int(ColAddress), 1));
        QTest::keyClick(Grid(), Qt::Key_Left);
        QCOMPARE(current(), std::pair(int(ColAddress), 1));
        QTest::keyClick(Grid(), Qt::Key_Backtab);
        QCOMPARE(current(), std::pair(int(ColAddress), 1));
        SelectCell(ColConversionScale, 1);
        QTest::keyClick(Grid(), Qt::Key_Tab);
        QCOMPARE(current(), std::pair(int(ColAddress), 2));
    }

    void rowNumbersSelectSeveralWholeRows() {
        const auto numberOf = [this](int tableRow) {
            return Grid()->visualRect(Grid()->model()->index(tableRow - 1, ColRowNumber)).center();
        };
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, numberOf(1));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier, numberOf(3));
        QTRY_COMPARE(Table().GetSelectionEx(), (Selection{ColAddress, 1, ColConversionScale, 3}));

        // Dragged over, from the number of row 3 up to that of row 2.
        QTest::mousePress(Grid()->viewport(), Qt::LeftButton, {}, numberOf(3));
        QMouseEvent move(QEvent::MouseMove, numberOf(2),
                         Grid()->viewport()->mapToGlobal(numberOf(2)), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Grid()->viewport(), &move);
        QTest::mouseRelease(Grid()->viewport(), Qt::LeftButton, {}, numberOf(2));
        QTRY_COMPARE(Table().GetSelectionEx(), (Selection{ColAddress, 2, ColConversionScale, 3}));
        QTest::qWait(20);
        QCOMPARE(Table().GetSelectionEx(), (Selection{ColAddress, 2, ColConversionScale, 3}));
        QVERIFY(main_->Find("Cut1")->isEnabled());
    }

    void shiftF10OpensThePopUpMenu() {
        SelectCell(ColName, 2);
        auto* popup = Form().findChild<QMenu*>("AdvPopupMenu1");
        QVERIFY(popup);
        QTest::keyClick(Grid(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(popup->isVisible());
        popup->hide();
    }

    void digitsEditorAdmitsDigitsOnly() {
        SelectCell(ColIndex, 1);
        auto* edit = qobject_cast<QLineEdit*>(OpenEditor());
        QVERIFY(edit);
        QTest::keyClicks(edit, "-1a2");
        QCOMPARE(edit->text(), QString("12"));
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_COMPARE(Table().GetCellEx(ColIndex, 1), std::string("12"));
    }

    void clickOnRowNumberSelectsTheRowAndEnablesCut() {
        main_->form->Glyphs().EnableMenuEntry(main_->Find("Cut1"), false);
        const QRect cell = Grid()->visualRect(Grid()->model()->index(1, ColRowNumber));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QTRY_COMPARE(Table().GetSelectionEx(), (Selection{1, 2, 8, 2}));
        QVERIFY(main_->Find("Cut1")->isEnabled());
        QTRY_COMPARE(Grid()->selectionModel()->selectedIndexes().size(), 8);
    }

    void shortcutsActOnTheOpenEditorsText() {
        Table().SetCellEx(ColAddress, 1, "1/0/1");
        SelectCell(ColAddress, 1);
        auto* edit = qobject_cast<QLineEdit*>(OpenEditor());
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("1/0/1"));
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("1/0/11/0/1"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(Table().GetCellEx(ColAddress, 1), std::string("1/0/1"));
    }

    void deleteKeyClearsTheSelectionWithoutAnEditor() {
        Table().SetCellEx(ColName, 2, "Hall");
        Table().SetCellEx(ColAddress, 2, "1/0/2");
        SelectCell(ColName, 2);
        QTest::keyClick(Grid(), Qt::Key_Delete);
        QCOMPARE(Table().GetCellEx(ColName, 2), std::string(""));
        QCOMPARE(Table().GetCellEx(ColAddress, 2), std::string("1/0/2"));
        QVERIFY(Form().Document().Modified());
    }

    void copyAndPasteRowsThroughTheClipboard() {
        Table().SetCellEx(ColAddress, 1, "1/0/1");
        Table().SetCellEx(ColName, 1, "Küche Λ");
        Table().SetCellEx(ColType, 1, "Boolean");
        Table().SelectRows(1, 1);
        QTest::keyClick(Grid(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().contains("marvanezerezoderadazavodoclip"));
        SelectCell(ColAddress, 3);
        QTest::keyClick(Grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Table().GetRowCountEx(), 5);
        QCOMPARE(Table().GetCellEx(ColName, 3), std::string("Küche Λ"));
        QCOMPARE(Table().GetCellEx(ColRowNumber, 4), std::string("4"));
    }
};

QTEST_MAIN(GridEditingTest)
#include "GridEditingTest.moc"

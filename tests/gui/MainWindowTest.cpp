#include "GuiFakes.h"
#include "WindowPlacement.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    // The entries of a menu, separators as "-", each as "name|caption|glyph|tooltip".
    static QStringList Entries(const QMenu* menu) {
        QStringList entries;
        for (const QAction* entry : menu->actions()) {
            if (entry->isSeparator()) {
                entries << entry->objectName() + "|-";
                continue;
            }
            entries << QString("%1|%2|%3|%4")
                           .arg(entry->objectName(), entry->text())
                           .arg(MenuGlyphs::ImageIndex(entry))
                           .arg(entry->property("hint").toString().section('|', 0, 0));
        }
        return entries;
    }

    // The dark pixels of an image: the ink of the text drawn on it.
    static int Ink(const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        return dark;
    }

    static QImage TextImage(const QString& text, const QFont& font) {
        QImage image(QFontMetrics(font).horizontalAdvance(text) + 20, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(10, 28, text);
        return image;
    }

    static void ShowActive(QWidget* window) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

  private slots:
    void mainMenuHasTheMenusInOrder() {
        ScriptedMainForm main;
        QStringList menus;
        for (const QAction* entry : main.form->menuBar()->actions()) {
            menus << entry->text();
        }
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "&Settings", "&Help"}));
        QCOMPARE(main.form->menuBar()->objectName(), QString("AdvMainMenu1"));
    }

    void menuEntries_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("entries");
        // Save1 starts disabled with its greyed glyph: the first document is unchanged.
        QTest::newRow("File") << "File1"
                              << QStringList{"New1|&New\tCtrl+N|1|",
                                             "Open1|&Open...\tCtrl+O|3|Open",
                                             "Save1|&Save\tCtrl+S|4|",
                                             "SaveAs1|Save &As...|-1|Save As",
                                             "N2|-",
                                             "Exit1|E&xit|-1|Exit"};
        QTest::newRow("Edit") << "Edit1"
                              << QStringList{"Undo1|&Undo\tCtrl+Z|6|",
                                             "Redo1|&Redo\tCtrl+Y|8|",
                                             "N8|-",
                                             "Cut1|Cu&t\tCtrl+X|15|Cut",
                                             "Copy1|&Copy\tCtrl+C|17|Copy",
                                             "Paste1|&Paste\tCtrl+V|19|Paste",
                                             "Delete1|&Delete\tDel|21|Delete",
                                             "N3|-",
                                             "Insertrow1|Insert &row\tCtrl+R|13|",
                                             "Appendrow1|&Append row\tCtrl+Shift+R|-1|",
                                             "Deleterow1|D&elete row\tCtrl+Del|11|"};
        QTest::newRow("Settings")
            << "Settings1"
            << QStringList{"Autoincrementgroupaddress1|Auto increment &group address|-1|",
                           "Autoincrementvariableindex1|Auto increment variable &index|-1|",
                           "Createnewrowonedit1|&Create new row on edit|-1|",
                           "ChooseKonnexcellscolour1|Choose &Konnex cells colour...|-1|",
                           "ChooseModBuscellscolour1|Choose &ModBus cells colour...|-1|",
                           "Choosecellwitherrorscolour1|Choose cell with &errors colour...|-1|"};
        QTest::newRow("Help") << "Help1" << QStringList{"AboutTabrix1|&About Tabrix|-1|"};
        QTest::newRow("Pop-up") << "AdvPopupMenu1"
                                << QStringList{"Cut2|Cu&t\tCtrl+X|15|Cut",
                                               "Copy2|&Copy\tCtrl+C|17|Copy",
                                               "Paste2|&Paste\tCtrl+V|19|Paste",
                                               "Delete2|&Delete\tDel|21|Delete",
                                               "N6|-",
                                               "Insertrow2|Insert &row\tCtrl+R|13|",
                                               "Deleterow2|D&elete row\tCtrl+Del|11|"};
    }

    void menuEntries() {
        QFETCH(QString, menu);
        QFETCH(QStringList, entries);
        ScriptedMainForm main;
        const auto* found = main.form->findChild<QMenu*>(menu);
        QVERIFY(found);
        QCOMPARE(Entries(found), entries);
    }

    void settingsItemsCarryTagsAndCheckMarks() {
        ScriptedMainForm main({{"IncrementVariableIndex", 1}});
        const QStringList names = {"Autoincrementgroupaddress1", "Autoincrementvariableindex1",
                                   "Createnewrowonedit1"};
        for (int i = 0; i < names.size(); ++i) {
            QAction* item = main.Find(names[i].toLatin1());
            QVERIFY(item->isCheckable());
            QCOMPARE(item->property("tag").toInt(), i + 1);
            QCOMPARE(item->isChecked(), i == 1);
        }
    }

    void actionsHaveTheirShortcutsHintsAndCategories_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<QString>("hint");
        QTest::newRow("FileNew1") << "FileNew1"
                                  << "File"
                                  << "Ctrl+N"
                                  << "";
        QTest::newRow("FileOpen1") << "FileOpen1"
                                   << "File"
                                   << "Ctrl+O"
                                   << "Open|Opens an existing file";
        QTest::newRow("FileSave1") << "FileSave1"
                                   << "File"
                                   << "Ctrl+S"
                                   << "";
        QTest::newRow("EditCut1") << "EditCut1"
                                  << "Edit"
                                  << "Ctrl+X"
                                  << "Cut|Cuts the selection and puts it on the Clipboard";
        QTest::newRow("EditCopy1") << "EditCopy1"
                                   << "Edit"
                                   << "Ctrl+C"
                                   << "Copy|Copies the selection and puts it on the Clipboard";
        QTest::newRow("FileSaveAs1") << "FileSaveAs1"
                                     << "File"
                                     << ""
                                     << "Save As|Saves the active file with a new name";
        QTest::newRow("EditPaste1") << "EditPaste1"
                                    << "Edit"
                                    << "Ctrl+V"
                                    << "Paste|Inserts Clipboard contents";
        QTest::newRow("EditDelete1") << "EditDelete1"
                                     << "Edit"
                                     << "Del"
                                     << "Delete|Erases the selection";
        QTest::newRow("EditInsertRow1") << "EditInsertRow1"
                                        << "Edit"
                                        << "Ctrl+R"
                                        << "";
        QTest::newRow("EditAppendRow1") << "EditAppendRow1"
                                        << "Edit"
                                        << "Ctrl+Shift+R"
                                        << "";
        QTest::newRow("EditDeleteRow1") << "EditDeleteRow1"
                                        << "Edit"
                                        << "Ctrl+Del"
                                        << "";
        QTest::newRow("FileExit1") << "FileExit1"
                                   << "File"
                                   << ""
                                   << "Exit|Quits the application";
        QTest::newRow("About1") << "About1"
                                << "Help"
                                << ""
                                << "";
    }

    void actionsHaveTheirShortcutsHintsAndCategories() {
        QFETCH(QString, name);
        QFETCH(QString, category);
        QFETCH(QString, shortcut);
        QFETCH(QString, hint);
        ScriptedMainForm main;
        QAction* action = main.Find(name.toLatin1());
        QVERIFY(action);
        QCOMPARE(action->property("category").toString(), category);
        QCOMPARE(action->shortcut().toString(), shortcut);
        QCOMPARE(action->property("hint").toString(), hint);
    }

    void enableMenuEntryMovesOnlyThatItemsGlyph() {
        ScriptedMainForm main;
        QAction* save = main.Find("Save1");
        main.form->Glyphs().EnableMenuEntry(save, true);
        QVERIFY(save->isEnabled());
        QCOMPARE(MenuGlyphs::ImageIndex(save), 5);
        main.form->Glyphs().EnableMenuEntry(save, true);
        QCOMPARE(MenuGlyphs::ImageIndex(save), 5);
        main.form->Glyphs().EnableMenuEntry(save, false);
        QVERIFY(!save->isEnabled());
        QCOMPARE(MenuGlyphs::ImageIndex(save), 4);
        // The linked action keeps its state and glyph.
        QVERIFY(main.Find("FileSave1")->isEnabled());
        QCOMPARE(MenuGlyphs::ImageIndex(main.Find("FileSave1")), 5);

        QAction* saveAs = main.Find("SaveAs1");
        main.form->Glyphs().EnableMenuEntry(saveAs, false);
        QVERIFY(!saveAs->isEnabled());
        QCOMPARE(MenuGlyphs::ImageIndex(saveAs), -1);

        main.form->Glyphs().EnableMenuEntry(main.Find("Cut1"), false);
        QCOMPARE(MenuGlyphs::ImageIndex(main.Find("Cut1")), 14);
        QCOMPARE(MenuGlyphs::ImageIndex(main.Find("Cut2")), 15);
        QVERIFY(main.Find("Cut2")->isEnabled());
    }

    void glyphsAreElevenPairsOf16x16() {
        MenuGlyphs glyphs;
        QCOMPARE(glyphs.Count(), 22);
        for (int i = 0; i < glyphs.Count(); ++i) {
            const QPixmap picture = glyphs.Glyph(i).pixmap(16, 16);
            QVERIFY2(!picture.isNull(), qPrintable(QString("glyph %1").arg(i)));
            QCOMPARE(picture.size(), QSize(16, 16));
        }
    }

    void rowNumbersAreRightAlignedAndTheirColumnCannotBeResized() {
        ScriptedMainForm main;
        main.form->Table().SetRowCountEx(3);
        RenumberRows(main.form->Table());
        QAbstractItemModel* model = main.form->Grid()->model();
        for (int column = 0; column < ColumnCount; ++column) {
            const auto alignment = model->index(0, column).data(Qt::TextAlignmentRole);
            QCOMPARE(alignment.isValid() && (alignment.value<Qt::Alignment>() & Qt::AlignRight),
                     column == 0);
        }
        ShowActive(main.form.get());
        QHeaderView* header = main.form->Grid()->horizontalHeader();
        auto dragRightBorder = [header](int column) {
            const int border =
                header->sectionViewportPosition(column) + header->sectionSize(column) - 1;
            const QPoint from(border, header->height() / 2);
            QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
            QMouseEvent move(QEvent::MouseMove, from + QPoint(40, 0),
                             header->viewport()->mapToGlobal(from + QPoint(40, 0)), Qt::LeftButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(header->viewport(), &move);
            QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, from + QPoint(40, 0));
        };
        dragRightBorder(0);
        QCOMPARE(header->sectionSize(0), 64);
        dragRightBorder(2);
        QCOMPARE(header->sectionSize(2), 176 + 40);
    }

    void gridHasTheLaidOutColumnsAndKeepsItsHeaderWithoutRows() {
        ScriptedMainForm main;
        QTableView* grid = main.form->Grid();
        QCOMPARE(grid->objectName(), QString("MainGrid"));
        // The laid-out widths, widened only where the font would clip a caption.
        const QList<int> widths = {64, 75, 176, 158, 64, 64, 64, 101, 107};
        QHeaderView* header = grid->horizontalHeader();
        for (int column = 0; column < ColumnCount; ++column) {
            QCOMPARE(header->sectionSize(column),
                     std::max(widths[column], header->sectionSizeHint(column)));
        }
        QCOMPARE(grid->horizontalHeader()->height(), 22);
        QCOMPARE(main.form->Table().GetRowCountEx(), 1); // New left no data row
        QCOMPARE(grid->model()->rowCount(), 0);
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QString("Group address"));
        ShowActive(main.form.get());
        // The laid-out place and size wherever they fit the screen.
        const QRect available = main.form->screen()->availableGeometry();
        const QRect laidOut(QPoint(252, 259), main.form->frameGeometry().size());
        if (available.contains(laidOut)) {
            QCOMPARE(main.form->pos(), QPoint(252, 259));
            QCOMPARE(main.form->centralWidget()->size(), QSize(944, 304));
        }
    }

    // Every part of the window can be reached on the screen it opens on, the last column
    // and the scroll bar included.
    void windowFitsTheAvailableScreen() {
        ScriptedMainForm main;
        ShowActive(main.form.get());
        const QRect available = main.form->screen()->availableGeometry();
        QVERIFY2(available.contains(main.form->frameGeometry()),
                 qPrintable(QString("%1,%2 %3x%4")
                                .arg(main.form->x())
                                .arg(main.form->y())
                                .arg(main.form->width())
                                .arg(main.form->height())));
        QCOMPARE(main.form->size().boundedTo(available.size()), main.form->size());
    }

    void fitIntoArea_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("fitted");
        const QRect window(252, 259, 944, 330);
        QTest::newRow("fits") << window << QRect(0, 0, 1920, 1040) << window;
        QTest::newRow("past the right edge: moved left")
            << window << QRect(0, 0, 1024, 738) << QRect(80, 259, 944, 330);
        QTest::newRow("past the bottom: moved up")
            << window << QRect(0, 0, 1280, 500) << QRect(252, 170, 944, 330);
        QTest::newRow("wider than the screen: at its left edge, shrunk")
            << window << QRect(0, 0, 800, 600) << QRect(0, 259, 800, 330);
        QTest::newRow("an area that does not start at 0")
            << window << QRect(1920, 30, 1024, 738) << QRect(1920, 259, 944, 330);
        QTest::newRow("no area known") << window << QRect() << window;
    }
    void fitIntoArea() {
        QFETCH(QRect, frame);
        QFETCH(QRect, area);
        QFETCH(QRect, fitted);
        QCOMPARE(FitIntoArea(frame, area), fitted);
    }

    // The fixed cells, captions and row numbers alike, look bold: their strokes carry
    // clearly more ink than the same text in the regular face of the window's font (a
    // bold face whose outlines are of regular weight gives some 3 % more).
    void fixedCellsAreDrawnBold() {
        ScriptedMainForm main;
        main.form->Table().SetRowCountEx(13);
        RenumberRows(main.form->Table());
        ShowActive(main.form.get());
        QTableView* grid = main.form->Grid();
        QHeaderView* header = grid->horizontalHeader();
        QFont regular = grid->font();
        regular.setBold(false);
        const auto expectBold = [&](const QImage& drawn, const QString& text) {
            const int shown = Ink(drawn);
            const int plain = Ink(TextImage(text, regular));
            QVERIFY2(shown * 10 >= plain * 11,
                     qPrintable(QString("'%1': %2 dark pixels, %3 in regular")
                                    .arg(text)
                                    .arg(shown)
                                    .arg(plain)));
        };
        const int column = ColConversionRule;
        expectBold(header
                       ->grab(QRect(header->sectionViewportPosition(column), 0,
                                    header->sectionSize(column), header->height()))
                       .toImage(),
                   header->model()->headerData(column, Qt::Horizontal).toString());
        const QModelIndex number = grid->model()->index(11, ColRowNumber);
        expectBold(grid->viewport()->grab(grid->visualRect(number)).toImage(), "12");
    }

    void firstDocumentIsUntitledOne() {
        ScriptedMainForm main;
        QCOMPARE(main.form->windowTitle(), QString("Marvane Tabrix - Untitled1"));
        QCOMPARE(main.form->Document().UntitledCounter, 1);
    }

    void shortcutsRunTheirCommands() {
        ScriptedMainForm main;
        ShowActive(main.form.get());
        QTest::keyClick(main.form.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(main.form->windowTitle(), QString("Marvane Tabrix - Untitled2"));
        QTest::keyClick(main.form.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(main.form->windowTitle(), QString("Marvane Tabrix - Untitled3"));

        // Append row has no pop-up entry but its shortcut works from anywhere.
        QTest::keyClick(main.form->menuBar(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(main.form->Table().GetRowCountEx(), 2);
        QTest::keyClick(main.form->Grid(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(main.form->Table().GetRowCountEx(), 3);

        // Save works by its shortcut while the Save item is disabled.
        QVERIFY(!main.Find("Save1")->isEnabled());
        QTemporaryDir folder;
        main.form->Table().SetCellEx(ColAddress, 1, "1/0/1");
        main.form->Table().SetCellEx(ColAddress, 2, "1/0/2");
        main.form->Table().SetCellEx(ColIndex, 1, "1");
        main.form->Table().SetCellEx(ColIndex, 2, "2");
        main.form->Table().SetCellEx(ColConversionRule, 1, "None");
        main.form->Table().SetCellEx(ColConversionRule, 2, "None");
        const QString path = folder.filePath("saved.xml");
        main.fileDialogs.saveAnswers.push_back(path.toStdString());
        QTest::keyClick(main.form->Grid(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(main.messageBox.shown.size(), size_t(0));
        QVERIFY(QFile::exists(path));
        QCOMPARE(main.form->windowTitle(), "Marvane Tabrix - " + path);
    }

    void adapterStaysConsistentWhileRowsComeAndGo() {
        ScriptedMainForm main;
        QAbstractItemModelTester tester(main.form->Grid()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAction* insert = main.Find("EditInsertRow1");
        QAction* append = main.Find("EditAppendRow1");
        QAction* removeRow = main.Find("EditDeleteRow1");
        insert->trigger();
        append->trigger();
        append->trigger();
        QCOMPARE(main.form->Grid()->model()->rowCount(), 3);
        main.form->Table().SelectRows(1, 1);
        removeRow->trigger();
        QCOMPARE(main.form->Grid()->model()->rowCount(), 2);
        main.form->Table().SetRowCountEx(120);
        QCOMPARE(main.form->Grid()->model()->rowCount(), 119);
        main.Find("FileNew1")->trigger();
        QCOMPARE(main.form->Grid()->model()->rowCount(), 0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

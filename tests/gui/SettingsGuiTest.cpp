#include "GuiFakes.h"
#include "services/TabrixError.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// The settings as the program keeps them: QSettings in a private config folder.
class SettingsGuiTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir config_;

    QString StoreFile() const { return config_.filePath("Marvane/Tabrix.conf"); }

    void WriteStore(const QString& text) {
        QDir().mkpath(config_.filePath("Marvane"));
        QFile file(StoreFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    QString StoredValue(const char* name) {
        QSettings store(StoreFile(), QSettings::IniFormat);
        return store.value(name).toString();
    }

    // A main window on the real settings store, dialogs still scripted.
    std::unique_ptr<TMainForm> MakeForm(FakeColourDialog& colours) {
        PlatformOverrides overrides;
        overrides.colourDialog = &colours;
        return std::make_unique<TMainForm>(overrides);
    }

  private slots:
    void initTestCase() {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    }

    void cleanup() { QDir(config_.filePath("Marvane")).removeRecursively(); }

    void firstStartTakesTheDefaultsAndWritesNothing() {
        FakeColourDialog colours;
        auto form = MakeForm(colours);
        QCOMPARE(form->Settings().Option(TagCreateRowOnEdit), false);
        QCOMPARE(form->Settings().Colour(TagKonnexCellColour), TColor(0x00FFFFFF));
        QCOMPARE(form->Settings().Colour(TagModBusCellColour), TColor(0x00EAEAEA));
        QCOMPARE(form->Settings().Colour(TagErrorCellColour), TColor(0x000000FF));
        form.reset(); // nothing is written at exit either
        QVERIFY(!QFile::exists(StoreFile()));
    }

    void eachValueLoadsOrFallsBackOnItsOwn() {
        WriteStore("[General]\nIncrementGroupAddress=2\nIncrementVariableIndex=0\n"
                   "CreateRowOnEdit=1\nKonnexCellColour=65280\nModBusCellColour=light grey\n"
                   "ErrorCellColour=16711680\n");
        FakeColourDialog colours;
        auto form = MakeForm(colours);
        QVERIFY(form->Settings().Option(TagIncrementGroupAddress));
        QVERIFY(!form->Settings().Option(TagIncrementVariableIndex));
        QVERIFY(form->Settings().Option(TagCreateRowOnEdit));
        QVERIFY(form->findChild<QAction*>("Autoincrementgroupaddress1")->isChecked());
        QCOMPARE(form->Settings().Colour(TagKonnexCellColour), TColor(65280));
        QCOMPARE(form->Settings().Colour(TagModBusCellColour), TColor(0x00EAEAEA));
        QCOMPARE(form->Settings().Colour(TagErrorCellColour), TColor(16711680));
        // With the spare row on, the first document keeps one row.
        QCOMPARE(form->Table().GetRowCountEx(), 2);

        QAction* option = form->findChild<QAction*>("Autoincrementgroupaddress1");
        option->trigger();
        QVERIFY(!option->isChecked());
        QCOMPARE(StoredValue("IncrementGroupAddress"), QString("0"));
        option->trigger();
        QCOMPARE(StoredValue("IncrementGroupAddress"), QString("1"));
    }

    void corruptStoreLoadsWhatItCan() {
        WriteStore(QString("\x01garbage[[\nCreateRowOnEdit=1\n=\n[General\nKonnexCellColour=12\n") +
                   QString(3000, QChar('x')));
        FakeColourDialog colours;
        auto form = MakeForm(colours);
        QVERIFY(form->Settings().Loaded());
        QCOMPARE(form->Settings().Colour(TagErrorCellColour), TColor(0x000000FF));
    }

    void failedWriteIsReportedWithTheChangeInEffect() {
        // A file where the settings folder should be: the store cannot be written.
        QFile blocker(config_.filePath("Marvane"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        FakeColourDialog colours;
        auto form = MakeForm(colours);
        QVERIFY_THROWS_EXCEPTION(TabrixError,
                                 form->Settings().BooleanMenuItemOnClick(TagCreateRowOnEdit));
        QVERIFY(form->Settings().Option(TagCreateRowOnEdit));
        QFile::remove(config_.filePath("Marvane"));
    }

    void newColourRepaintsTheCells() {
        FakeColourDialog colours;
        auto form = MakeForm(colours);
        form->Table().SetRowCountEx(3);
        form->Table().SetCellEx(ColIndex, 2, "5");
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTableView* grid = form->Grid();
        auto pixelOf = [grid](int column, int tableRow) {
            const QRect cell = grid->visualRect(grid->model()->index(tableRow - 1, column));
            return grid->viewport()->grab().toImage().pixelColor(cell.center() + QPoint(20, 0));
        };
        QCOMPARE(pixelOf(ColIndex, 2), QColor(0xEA, 0xEA, 0xEA));

        colours.answers.push_back(TColor(0x00336699)); // blue 0x33, green 0x66, red 0x99
        form->findChild<QAction*>("ChooseModBuscellscolour1")->trigger();
        QCOMPARE(StoredValue("ModBusCellColour"), QString::number(0x00336699));
        QTRY_COMPARE(pixelOf(ColIndex, 2), QColor(0x99, 0x66, 0x33));
        // An empty required cell keeps the error colour.
        QCOMPARE(pixelOf(ColKroType, 2), QColor(0xFF, 0, 0));
    }
};

QTEST_MAIN(SettingsGuiTest)
#include "SettingsGuiTest.moc"

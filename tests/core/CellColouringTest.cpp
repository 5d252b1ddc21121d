#include "settings/CellColouring.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// Colours unlike the defaults, so that a default colour in the result shows.
constexpr TColor Konnex = 0x00101010;
constexpr TColor ModBus = 0x00202020;
constexpr TColor Error = 0x00303030;

enum class Paint { Own, Konnex, ModBus, Error };

// The painted cell is (row, column); every other cell of rows 1 to 111 holds "x". The
// painted cell holds text, and column 7 of its row holds rule unless the painted cell
// is column 7 itself.
struct ColourCase {
    const char* name;
    int row;
    int column;
    const char* text;
    const char* rule;
    int selectionTop;
    int selectionBottom;
    Paint want;
};

class CellColouringTest : public testing::Test {
  protected:
    void SetUp() override {
        backend.values = {
            {"KonnexCellColour", Konnex}, {"ModBusCellColour", ModBus}, {"ErrorCellColour", Error}};
        store.LoadSettings();
        bench.table.SetRowCountEx(MaxDataRows + 2);
        for (int row = 1; row < bench.table.GetRowCountEx(); ++row) {
            for (int column = ColAddress; column <= ColConversionScale; ++column) {
                bench.table.SetCellEx(column, row, "x");
            }
        }
        RenumberRows(bench.table);
    }
    std::optional<TColor> Colour(int row, int column) const {
        return MainGridGetCellColor(bench.table, store, row, column);
    }
    static std::optional<TColor> Expected(Paint paint) {
        switch (paint) {
        case Paint::Konnex:
            return Konnex;
        case Paint::ModBus:
            return ModBus;
        case Paint::Error:
            return Error;
        case Paint::Own:
            break;
        }
        return std::nullopt;
    }

    Workbench bench;
    FakeSettingsBackend backend;
    SettingsStore store{backend};
};

class CellColourTable : public CellColouringTest, public testing::WithParamInterface<ColourCase> {};

TEST_P(CellColourTable, PaintsBySideAndMarksMissingValues) {
    const ColourCase& c = GetParam();
    if (c.column != ColConversionRule) {
        bench.table.SetCellEx(ColConversionRule, c.row, c.rule);
    }
    bench.table.SetCellEx(c.column, c.row, c.text);
    bench.table.SetSelection({1, c.selectionTop, 8, c.selectionBottom});
    EXPECT_EQ(Colour(c.row, c.column), Expected(c.want));
}

// Row 3 is selected unless a case says otherwise; most cases paint row 5.
ColourCase Cell(const char* name, int column, const char* text, Paint want,
                const char* rule = "Add") {
    return {name, 5, column, text, rule, 3, 3, want};
}

ColourCase SelectedCell(const char* name, int column, const char* text, Paint want,
                        const char* rule = "Add") {
    return {name, 5, column, text, rule, 5, 5, want};
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CellColourTable,
    testing::Values(
        ColourCase{"HeaderAddress", 0, ColAddress, "Group address", "Add", 3, 3, Paint::Own},
        ColourCase{"HeaderRowNumber", 0, ColRowNumber, "", "Add", 3, 3, Paint::Own},
        ColourCase{"HeaderValue", 0, ColConversionScale, "", "Add", 3, 3, Paint::Own},
        Cell("RowNumber", ColRowNumber, "5", Paint::Own),
        ColourCase{"RowNumberOfRow110", 110, ColRowNumber, "110", "Add", 3, 3, Paint::Own},

        Cell("Address", ColAddress, "1/0/1", Paint::Konnex),
        Cell("Name", ColName, "n", Paint::Konnex), Cell("Type", ColType, "Boolean", Paint::Konnex),
        Cell("Direction", ColDirection, "IN", Paint::Konnex),
        Cell("Index", ColIndex, "1", Paint::ModBus), Cell("Kro", ColKroType, "Coil", Paint::ModBus),
        Cell("Rule", ColConversionRule, "Add", Paint::ModBus),
        Cell("Value", ColConversionScale, "3", Paint::ModBus),
        ColourCase{"Row110", 110, ColIndex, "1", "Add", 3, 3, Paint::ModBus},

        Cell("EmptyAddress", ColAddress, "", Paint::Error),
        Cell("EmptyName", ColName, "", Paint::Konnex), Cell("EmptyType", ColType, "", Paint::Error),
        Cell("EmptyDirection", ColDirection, "", Paint::Error),
        Cell("EmptyIndex", ColIndex, "", Paint::Error),
        Cell("EmptyKro", ColKroType, "", Paint::Error),
        Cell("EmptyRule", ColConversionRule, "", Paint::Error),
        Cell("SpaceIsFilled", ColAddress, " ", Paint::Konnex),
        Cell("EmptyRowNumber", ColRowNumber, "", Paint::Own),

        Cell("EmptyValueWithNone", ColConversionScale, "", Paint::ModBus, "None"),
        Cell("EmptyValueWithAdd", ColConversionScale, "", Paint::Error, "Add"),
        Cell("EmptyValueWithoutRule", ColConversionScale, "", Paint::Error, ""),
        Cell("EmptyValueWithLowerCaseNone", ColConversionScale, "", Paint::Error, "none"),
        Cell("ValueWithoutRule", ColConversionScale, "3", Paint::ModBus, ""),

        // The top row of the selection is where the user types: no missing marks.
        SelectedCell("SelectedEmptyAddress", ColAddress, "", Paint::Konnex),
        SelectedCell("SelectedEmptyIndex", ColIndex, "", Paint::ModBus),
        SelectedCell("SelectedEmptyValueWithAdd", ColConversionScale, "", Paint::ModBus),
        ColourCase{"TopOfSeveralSelectedRows", 5, ColType, "", "Add", 5, 7, Paint::Konnex},
        ColourCase{"LowerOfSeveralSelectedRows", 6, ColType, "", "Add", 5, 7, Paint::Error},

        // Beyond the row limit every cell is an error, selected or not.
        ColourCase{"Row111RowNumber", 111, ColRowNumber, "111", "Add", 3, 3, Paint::Error},
        ColourCase{"Row111Name", 111, ColName, "n", "Add", 3, 3, Paint::Error},
        ColourCase{"Row111Value", 111, ColConversionScale, "3", "Add", 3, 3, Paint::Error},
        ColourCase{"Row111Selected", 111, ColAddress, "1/0/1", "Add", 111, 111, Paint::Error},
        ColourCase{"Row111SelectedRowNumber", 111, ColRowNumber, "111", "Add", 111, 111,
                   Paint::Error}),
    [](const testing::TestParamInfo<ColourCase>& info) { return std::string(info.param.name); });

TEST_F(CellColouringTest, NothingIsPaintedBeforeTheSettingsAreLoaded) {
    FakeSettingsBackend freshBackend;
    const SettingsStore fresh{freshBackend};
    bench.table.SetCellEx(ColAddress, 5, "");
    for (auto [row, column] :
         {std::pair{5, ColAddress}, std::pair{5, ColIndex}, std::pair{111, ColRowNumber}}) {
        EXPECT_EQ(MainGridGetCellColor(bench.table, fresh, row, column), std::nullopt);
    }
}

// A new ModBus colour shows in the controller columns at once; error cells stay errors.
TEST_F(CellColouringTest, NewColourAppliesToEveryCellOfItsSide) {
    FakeColourDialog dialog;
    FakeWindow window;
    dialog.answers = {TColor{0x00404040}};
    store.ColourChooseMenuItemOnClick(TagModBusCellColour, dialog, window);
    bench.table.SetCellEx(ColIndex, 7, "");
    EXPECT_EQ(Colour(4, ColIndex), TColor{0x00404040});
    EXPECT_EQ(Colour(4, ColConversionScale), TColor{0x00404040});
    EXPECT_EQ(Colour(7, ColIndex), Error);
    EXPECT_EQ(Colour(4, ColAddress), Konnex);
}

} // namespace

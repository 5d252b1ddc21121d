#include "model/RowFill.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

namespace {

// Two data rows: row 1 the row above, row 2 the row being filled. Columns 1 to 8.
class RowFillTest : public testing::Test {
  protected:
    void Above(const std::string& address, const std::string& index) {
        bench.SetRows({{address, "above", "", "", index}, {}});
    }
    void Fill(int row = 2) { FillFromPreviousRow(bench.table, bench.options, row); }
    void BothOn() {
        bench.options.incrementAddress = true;
        bench.options.incrementIndex = true;
    }
    std::string Address(int row = 2) const { return bench.table.GetCellEx(ColAddress, row); }
    std::string Index(int row = 2) const { return bench.table.GetCellEx(ColIndex, row); }

    Workbench bench;
};

TEST_F(RowFillTest, EachOptionFillsOnlyItsOwnHalf) {
    struct Case {
        bool address;
        bool index;
        const char* wantAddress;
        const char* wantIndex;
    };
    for (const Case c : {Case{false, false, "", ""}, Case{true, false, "1/1/1", ""},
                         Case{false, true, "", "8"}, Case{true, true, "1/1/1", "8"}}) {
        SCOPED_TRACE(testing::Message() << "address " << c.address << ", index " << c.index);
        Above("1/0/255", "7");
        bench.options.incrementAddress = c.address;
        bench.options.incrementIndex = c.index;
        Fill();
        EXPECT_EQ(Address(), c.wantAddress);
        EXPECT_EQ(Index(), c.wantIndex);
        // Nothing but the two cells changes, and the document stays unmodified.
        std::vector<std::string> rest = bench.Row(2);
        rest[ColAddress - 1] = rest[ColIndex - 1] = "";
        EXPECT_EQ(rest, std::vector<std::string>(8, ""));
        EXPECT_EQ(bench.Row(1),
                  (std::vector<std::string>{"1/0/255", "above", "", "", "7", "", "", ""}));
        EXPECT_FALSE(bench.document.Modified());
    }
}

TEST_F(RowFillTest, IndexHalfStopsAtTheHighestIndex) {
    struct Case {
        const char* above;
        const char* want;
    };
    for (const Case c : {Case{"7", "8"}, Case{"10000", "10001"}, Case{"10001", ""}, Case{"", ""}}) {
        SCOPED_TRACE(c.above);
        Above("", c.above);
        BothOn();
        Fill();
        EXPECT_EQ(Index(), c.want);
    }
}

// A row above with no address to follow leaves the address empty without a word, and
// the index half still runs.
TEST_F(RowFillTest, AddressWithoutSuccessorLeavesTheCellEmpty) {
    for (const char* above : {"15/7/255", "", "16/0/1", "garbage"}) {
        SCOPED_TRACE(above);
        Above(above, "7");
        BothOn();
        Fill();
        EXPECT_EQ(Address(), "");
        EXPECT_EQ(Index(), "8");
        EXPECT_TRUE(bench.messageBox.shown.empty());
    }
}

TEST_F(RowFillTest, CellsThatHoldTextAreLeftAlone) {
    for (const char* held : {"3/3/3", "not an address"}) {
        SCOPED_TRACE(held);
        Above("1/0/1", "7");
        bench.table.SetCellEx(ColAddress, 2, held);
        BothOn();
        Fill();
        EXPECT_EQ(Address(), held);
        EXPECT_EQ(Index(), "8"); // the other half is not held back
    }
    Above("1/0/1", "7");
    bench.table.SetCellEx(ColIndex, 2, "42");
    BothOn();
    Fill();
    EXPECT_EQ(Address(), "1/0/2");
    EXPECT_EQ(Index(), "42");
}

// Row 1 has only the header above it. Even a header that happened to hold an address
// and an index must not feed it.
TEST_F(RowFillTest, FirstRowIsNeverFilled) {
    bench.SetRows({{}});
    bench.table.SetCellEx(ColAddress, 0, "1/0/1");
    bench.table.SetCellEx(ColIndex, 0, "7");
    BothOn();
    Fill(1);
    EXPECT_EQ(Address(1), "");
    EXPECT_EQ(Index(1), "");
}

TEST_F(RowFillTest, RowsOutsideTheTableAreIgnored) {
    Above("1/0/1", "7");
    BothOn();
    for (int row : {-1, 0, 3, 100}) {
        Fill(row);
    }
    EXPECT_EQ(bench.table.GetRowCountEx(), 3);
    EXPECT_EQ(Address(), "");
    EXPECT_EQ(Index(), "");
    EXPECT_EQ(bench.table.GetCellEx(ColAddress, 0), "Group address");
}

// Only the row directly above counts: no search for a free address, no duplicate check.
TEST_F(RowFillTest, LooksOnlyAtTheRowDirectlyAbove) {
    bench.SetRows({{"1/0/1", "", "", "", "7"}, {}, {"1/0/2"}});
    BothOn();
    Fill(3);
    EXPECT_EQ(Address(3), "1/0/2");
    EXPECT_EQ(Index(3), ""); // row 2 has no index

    Fill(2);
    EXPECT_EQ(Address(2), "1/0/2"); // the same address as row 3
    EXPECT_EQ(Index(2), "8");
}

} // namespace

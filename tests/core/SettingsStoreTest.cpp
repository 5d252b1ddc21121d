#include "settings/SettingsStore.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using Writes = std::vector<std::pair<std::string, std::int32_t>>;

constexpr TColor White = 0x00FFFFFF;
constexpr TColor LightGrey = 0x00EAEAEA;
constexpr TColor Red = 0x000000FF;

class SettingsStoreTest : public testing::Test {
  protected:
    // A value of every name that differs from its default.
    void StoreAllNonDefault() {
        backend.values = {{"IncrementGroupAddress", 1},     {"IncrementVariableIndex", 1},
                          {"CreateRowOnEdit", 1},           {"KonnexCellColour", 0x00112233},
                          {"ModBusCellColour", 0x00445566}, {"ErrorCellColour", 0x00778899}};
    }

    FakeSettingsBackend backend;
    SettingsStore store{backend};
    FakeColourDialog dialog;
    FakeWindow window;
};

TEST_F(SettingsStoreTest, NothingStoredGivesTheDefaultsAndWritesNothing) {
    EXPECT_FALSE(store.Loaded());
    store.LoadSettings();
    EXPECT_TRUE(store.Loaded());
    EXPECT_FALSE(store.IncrementGroupAddress());
    EXPECT_FALSE(store.IncrementVariableIndex());
    EXPECT_FALSE(store.CreateRowOnEdit());
    EXPECT_EQ(store.Colour(TagKonnexCellColour), White);
    EXPECT_EQ(store.Colour(TagModBusCellColour), LightGrey);
    EXPECT_EQ(store.Colour(TagErrorCellColour), Red);
    EXPECT_TRUE(backend.writes.empty());
}

TEST_F(SettingsStoreTest, StoredValuesLoadUnderTheirNames) {
    StoreAllNonDefault();
    store.LoadSettings();
    EXPECT_TRUE(store.Option(TagIncrementGroupAddress));
    EXPECT_TRUE(store.IncrementGroupAddress());
    EXPECT_TRUE(store.IncrementVariableIndex());
    EXPECT_TRUE(store.CreateRowOnEdit());
    EXPECT_EQ(store.Colour(TagKonnexCellColour), 0x00112233u);
    EXPECT_EQ(store.Colour(TagModBusCellColour), 0x00445566u);
    EXPECT_EQ(store.Colour(TagErrorCellColour), 0x00778899u);
    EXPECT_TRUE(backend.writes.empty());
}

TEST_F(SettingsStoreTest, AnyNonZeroOptionIsOnAndTogglingWritesZero) {
    backend.values = {
        {"IncrementVariableIndex", 2}, {"CreateRowOnEdit", -1}, {"IncrementGroupAddress", 0}};
    store.LoadSettings();
    EXPECT_FALSE(store.IncrementGroupAddress());
    EXPECT_TRUE(store.IncrementVariableIndex());
    EXPECT_TRUE(store.CreateRowOnEdit());

    store.BooleanMenuItemOnClick(TagIncrementVariableIndex);
    EXPECT_FALSE(store.IncrementVariableIndex());
    EXPECT_EQ(backend.writes, (Writes{{"IncrementVariableIndex", 0}}));
}

// A colour is used exactly as stored, whatever its top byte.
TEST_F(SettingsStoreTest, ColoursAreTakenAsStored) {
    backend.values = {{"KonnexCellColour", -1}, {"ModBusCellColour", 0}};
    store.LoadSettings();
    EXPECT_EQ(store.Colour(TagKonnexCellColour), 0xFFFFFFFFu);
    EXPECT_EQ(store.Colour(TagModBusCellColour), 0u);
}

// One value that is missing or is no 32-bit integer falls back to its own default;
// the five others load as stored. (A value of another type reads as missing.)
struct FallbackCase {
    const char* valueName;
    std::optional<std::int64_t> value; // nothing: missing
};

class SettingsFallbackTest : public SettingsStoreTest,
                             public testing::WithParamInterface<FallbackCase> {};

TEST_P(SettingsFallbackTest, OnlyTheBadValueTakesItsDefault) {
    StoreAllNonDefault();
    if (GetParam().value) {
        backend.values[GetParam().valueName] = *GetParam().value;
    } else {
        backend.values.erase(GetParam().valueName);
    }
    store.LoadSettings();
    const std::string bad = GetParam().valueName;
    EXPECT_EQ(store.IncrementGroupAddress(), bad != "IncrementGroupAddress");
    EXPECT_EQ(store.IncrementVariableIndex(), bad != "IncrementVariableIndex");
    EXPECT_EQ(store.CreateRowOnEdit(), bad != "CreateRowOnEdit");
    EXPECT_EQ(store.Colour(TagKonnexCellColour),
              bad == "KonnexCellColour" ? White : TColor{0x00112233});
    EXPECT_EQ(store.Colour(TagModBusCellColour),
              bad == "ModBusCellColour" ? LightGrey : TColor{0x00445566});
    EXPECT_EQ(store.Colour(TagErrorCellColour),
              bad == "ErrorCellColour" ? Red : TColor{0x00778899});
    EXPECT_TRUE(backend.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsFallbackTest,
                         testing::Values(FallbackCase{"IncrementGroupAddress", std::nullopt},
                                         FallbackCase{"IncrementVariableIndex", std::nullopt},
                                         FallbackCase{"CreateRowOnEdit", std::nullopt},
                                         FallbackCase{"KonnexCellColour", std::nullopt},
                                         FallbackCase{"ModBusCellColour", std::nullopt},
                                         FallbackCase{"ErrorCellColour", std::nullopt},
                                         FallbackCase{"CreateRowOnEdit", std::int64_t{1} << 32},
                                         FallbackCase{"ModBusCellColour", std::int64_t{1} << 32},
                                         FallbackCase{"ErrorCellColour", std::int64_t{-1} << 40}),
                         [](const testing::TestParamInfo<FallbackCase>& info) {
                             return std::string(info.param.valueName) +
                                    (info.param.value ? "Wide" : "Missing");
                         });

TEST_F(SettingsStoreTest, TwoClicksWriteOnThenOffAndRestoreTheCheckMark) {
    const std::pair<int, const char*> options[] = {
        {TagIncrementGroupAddress, "IncrementGroupAddress"},
        {TagIncrementVariableIndex, "IncrementVariableIndex"},
        {TagCreateRowOnEdit, "CreateRowOnEdit"}};
    store.LoadSettings();
    for (auto [tag, name] : options) {
        SCOPED_TRACE(name);
        backend.writes.clear();
        store.BooleanMenuItemOnClick(tag);
        EXPECT_TRUE(store.Option(tag));
        store.BooleanMenuItemOnClick(tag);
        EXPECT_FALSE(store.Option(tag));
        EXPECT_EQ(backend.writes, (Writes{{name, 1}, {name, 0}}));
    }
    EXPECT_FALSE(store.IncrementGroupAddress() || store.IncrementVariableIndex() ||
                 store.CreateRowOnEdit());
}

TEST_F(SettingsStoreTest, ColourDialogOffersTheCurrentColourAndCancelChangesNothing) {
    backend.values = {{"ModBusCellColour", 0x00445566}};
    store.LoadSettings();
    dialog.answers = {std::nullopt};
    store.ColourChooseMenuItemOnClick(TagModBusCellColour, dialog, window);
    EXPECT_EQ(dialog.offered, (std::vector<TColor>{0x00445566}));
    EXPECT_EQ(store.Colour(TagModBusCellColour), 0x00445566u);
    EXPECT_TRUE(backend.writes.empty());
    EXPECT_EQ(window.repaints, 0);
}

TEST_F(SettingsStoreTest, ColourOkWritesAndRepaintsEvenForTheSameColour) {
    const std::pair<int, const char*> colours[] = {{TagKonnexCellColour, "KonnexCellColour"},
                                                   {TagModBusCellColour, "ModBusCellColour"},
                                                   {TagErrorCellColour, "ErrorCellColour"}};
    store.LoadSettings();
    for (auto [tag, name] : colours) {
        SCOPED_TRACE(name);
        backend.writes.clear();
        window.repaints = 0;
        dialog.answers = {TColor{0x00ABCDEF}, TColor{0x00ABCDEF}};
        store.ColourChooseMenuItemOnClick(tag, dialog, window);
        EXPECT_EQ(store.Colour(tag), 0x00ABCDEFu);
        store.ColourChooseMenuItemOnClick(tag, dialog, window);
        EXPECT_EQ(backend.writes, (Writes{{name, 0x00ABCDEF}, {name, 0x00ABCDEF}}));
        EXPECT_EQ(window.repaints, 2);
    }
}

// The store cannot be written: the error reaches the caller, but the change is already
// in effect in memory. A colour then is not repainted, as the repaint follows the write.
TEST_F(SettingsStoreTest, FailedWriteThrowsButTheChangeStays) {
    store.LoadSettings();
    backend.failWrites = true;

    EXPECT_THROW(store.BooleanMenuItemOnClick(TagCreateRowOnEdit), TabrixError);
    EXPECT_TRUE(store.CreateRowOnEdit());

    dialog.answers = {TColor{0x00010203}};
    EXPECT_THROW(store.ColourChooseMenuItemOnClick(TagErrorCellColour, dialog, window),
                 TabrixError);
    EXPECT_EQ(store.Colour(TagErrorCellColour), 0x00010203u);
    EXPECT_EQ(window.repaints, 0);
    EXPECT_TRUE(backend.writes.empty());
}

} // namespace

#include "SettingsStore.h"

#include <limits>
#include <optional>

namespace {

size_t RowOf(int tag) {
    // Tags outside 1..3 would be a wiring fault; fall back to the first row.
    return (tag >= 1 && tag <= 3) ? static_cast<size_t>(tag - 1) : 0;
}

// Every setting is stored as a 32-bit integer; a wider value is not one and counts as
// unreadable, like a missing value.
std::optional<std::int64_t> Read32(SettingsBackend& backend, const char* name) {
    const auto value = backend.ReadInteger(name);
    if (value && *value >= std::numeric_limits<std::int32_t>::min() &&
        *value <= std::numeric_limits<std::uint32_t>::max()) {
        return value;
    }
    return std::nullopt;
}

} // namespace

SettingsStore::SettingsStore(SettingsBackend& backend)
    : backend_(backend), options_{{
                             {"IncrementGroupAddress", false, false},
                             {"IncrementVariableIndex", false, false},
                             {"CreateRowOnEdit", false, false},
                         }},
      colours_{{
          {"KonnexCellColour", 0x00FFFFFF, 0x00FFFFFF},
          {"ModBusCellColour", 0x00EAEAEA, 0x00EAEAEA},
          {"ErrorCellColour", 0x000000FF, 0x000000FF},
      }} {}

void SettingsStore::LoadSettings() {
    for (BooleanSetting& option : options_) {
        const auto value = Read32(backend_, option.valueName);
        option.checked = value ? *value != 0 : option.defaultValue;
    }
    for (ColourSetting& colour : colours_) {
        const auto value = Read32(backend_, colour.valueName);
        colour.current = value ? static_cast<TColor>(*value) : colour.defaultColour;
    }
    loaded_ = true;
}

bool SettingsStore::Option(int tag) const {
    return options_[RowOf(tag)].checked;
}

TColor SettingsStore::Colour(int tag) const {
    return colours_[RowOf(tag)].current;
}

void SettingsStore::BooleanMenuItemOnClick(int tag) {
    BooleanSetting& option = options_[RowOf(tag)];
    option.checked = !option.checked;
    backend_.WriteInteger(option.valueName, option.checked ? 1 : 0);
}

void SettingsStore::ColourChooseMenuItemOnClick(int tag, ColourDialogService& dialog,
                                                WindowService& window) {
    ColourSetting& colour = colours_[RowOf(tag)];
    const auto chosen = dialog.ChooseColour(colour.current);
    if (!chosen) {
        return;
    }
    colour.current = *chosen;
    backend_.WriteInteger(colour.valueName, static_cast<std::int32_t>(colour.current));
    window.RepaintGrid();
}

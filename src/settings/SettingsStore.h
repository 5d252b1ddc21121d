#pragma once

#include "model/EditContext.h"
#include "services/Services.h"

#include <array>

// Tags of the Settings menu items: the row of the option or colour table they refer to.
constexpr int TagIncrementGroupAddress = 1;
constexpr int TagIncrementVariableIndex = 2;
constexpr int TagCreateRowOnEdit = 3;
constexpr int TagKonnexCellColour = 1;
constexpr int TagModBusCellColour = 2;
constexpr int TagErrorCellColour = 3;

struct BooleanSetting {
    const char* valueName;
    bool defaultValue;
    bool checked; // the menu item's check mark mirrors this
};

struct ColourSetting {
    const char* valueName;
    TColor defaultColour;
    TColor current;
};

// The six per-user settings: read once at start, each change written at once.
class SettingsStore : public EditOptions {
  public:
    explicit SettingsStore(SettingsBackend& backend);

    // Each value is read and guarded on its own: missing or not an integer gives that
    // value's default.
    void LoadSettings();
    bool Loaded() const { return loaded_; }

    bool Option(int tag) const;
    TColor Colour(int tag) const;

    // Inverts the option and writes it. The new state is in effect even when the
    // write throws.
    void BooleanMenuItemOnClick(int tag);
    // Offers the colour dialog; on OK stores the colour, writes it, then repaints.
    void ColourChooseMenuItemOnClick(int tag, ColourDialogService& dialog, WindowService& window);

    bool IncrementGroupAddress() const override { return Option(TagIncrementGroupAddress); }
    bool IncrementVariableIndex() const override { return Option(TagIncrementVariableIndex); }
    bool CreateRowOnEdit() const override { return Option(TagCreateRowOnEdit); }

  private:
    SettingsBackend& backend_;
    bool loaded_ = false;
    std::array<BooleanSetting, 3> options_;
    std::array<ColourSetting, 3> colours_;
};

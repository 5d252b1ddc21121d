#include "CellColouring.h"

std::optional<TColor> MainGridGetCellColor(const MappingTable& table, const SettingsStore& settings,
                                           int row, int column) {
    if (!settings.Loaded() || row == 0) {
        return std::nullopt;
    }
    std::optional<TColor> colour;
    if (column >= ColAddress && column <= ColDirection) {
        colour = settings.Colour(TagKonnexCellColour);
    } else if (column >= ColIndex && column <= ColConversionScale) {
        colour = settings.Colour(TagModBusCellColour);
    }
    if (row != table.GetSelectionEx().top) {
        bool missing = false;
        switch (column) {
        case ColAddress:
        case ColType:
        case ColDirection:
        case ColIndex:
        case ColKroType:
        case ColConversionRule:
            missing = table.GetCellEx(column, row).empty();
            break;
        case ColConversionScale:
            missing = table.GetCellEx(ColConversionRule, row) != "None" &&
                      table.GetCellEx(column, row).empty();
            break;
        default:
            break;
        }
        if (missing) {
            colour = settings.Colour(TagErrorCellColour);
        }
    }
    if (row > MaxDataRows) {
        colour = settings.Colour(TagErrorCellColour);
    }
    return colour;
}

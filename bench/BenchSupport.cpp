#include "BenchSupport.h"

#include "model/GroupAddress.h"
#include "model/Vocabulary.h"
#include "project/ProjectWriter.h"

BenchDocument::BenchDocument()
    : services{silent, silent, silent, silent, silent, silent},
      document(silent), edit{table, options, document, services} {}

void FillTable(MappingTable& table, int rows) {
    MappingTable::Batch batch(table);
    table.SetRowCountEx(1);
    table.SetRowCountEx(rows + 1);
    constexpr int AddressesPerLine = 8 * 255;
    for (int row = 1; row <= rows; ++row) {
        const int k = (row - 1) % (16 * AddressesPerLine);
        const GroupAddress address{static_cast<std::uint32_t>(k / AddressesPerLine),
                                   static_cast<std::uint32_t>(k % AddressesPerLine / 255),
                                   static_cast<std::uint32_t>(k % 255 + 1)};
        table.SetCellEx(ColAddress, row, FormatGroupAddress(address));
        table.SetWideCells(ColName, row, "Datapoint " + std::to_string(row) + " K\u00fcche");
        table.SetCellEx(ColType, row, DatapointTypes[row % 6].label);
        table.SetCellEx(ColDirection, row, DirectionLabels[row % 2].label);
        table.SetInts(ColIndex, row, (row - 1) % MaxVariableIndex + 1);
        table.SetCellEx(ColKroType, row, KroTypeLabels[row % 2].label);
        const char* rule = ConversionRules[row % 5].label;
        table.SetCellEx(ColConversionRule, row, rule);
        if (row % 5 != 0) {
            table.SetInts(ColConversionScale, row, row % (MaxConversionScale + 1));
        }
    }
    RenumberRows(table);
}

std::string ProjectText(int rows) {
    MappingTable table;
    FillTable(table, rows);
    return BuildProjectDocument(table, PlainOptions());
}

FakeOptions PlainOptions() {
    FakeOptions options;
    options.incrementAddress = true;
    options.incrementIndex = true;
    return options;
}

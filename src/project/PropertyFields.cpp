#include "PropertyFields.h"

#include "model/Columns.h"
#include "model/Integers.h"
#include "model/Vocabulary.h"
#include "services/TabrixError.h"

#include <span>
#include <utility>

namespace {

const char* LabelForCode(std::span<const CodedLabel> codes, const std::string& text) {
    for (const CodedLabel& entry : codes) {
        if (text == entry.fileText) {
            return entry.label;
        }
    }
    return nullptr;
}

// An integer in range sets the part, one out of range unsets it, other text leaves it.
void ReadAddressPart(const std::string& text, int low, int high, int& part) {
    if (const auto value = ParseInteger(text)) {
        part = (*value >= low && *value <= high) ? *value : -1;
    }
}

} // namespace

void ReadPropertyField(PropertyValues& row, std::string_view name, const std::string& text) {
    if (name == "DatapointName") {
        row.name = text;
    } else if (name == "DatapointTypeCode") {
        for (const DatapointType& entry : DatapointTypes) {
            if (text == entry.dptCode) {
                row.type = entry.label;
            }
        }
    } else if (name == "DatapointDirection") {
        if (const char* label = LabelForCode(DirectionLabels, text)) {
            row.direction = label;
        }
    } else if (name == "KRO_VariableIndex") {
        if (auto value = ParseIntegerInRange(text, MinVariableIndex, MaxVariableIndex)) {
            row.index = value;
        }
    } else if (name == "KRO_VariableType") {
        if (const char* label = LabelForCode(KroTypeLabels, text)) {
            row.kroType = label;
        }
    } else if (name == "KRO_Conversion_Rule") {
        if (const char* label = LabelForCode(ConversionRules, text)) {
            row.rule = label;
        }
    } else if (name == "KRO_Conversion_Scale") {
        if (auto value = ParseIntegerInRange(text, MinConversionScale, MaxConversionScale)) {
            row.scale = value;
        }
    } else if (name == "Knx_DataPoint_Line_Address") {
        ReadAddressPart(text, 0, 15, row.line);
    } else if (name == "Knx_Datapoint_GroupAddress") {
        ReadAddressPart(text, 0, 7, row.group);
    } else if (name == "Knx_Datapoint_Z_FieldAddress") {
        ReadAddressPart(text, 1, 255, row.field);
    }
}

void StorePropertyValues(MappingTable& table, int row, PropertyValues& values) {
    if (values.name) {
        table.SetWideCells(ColName, row, std::move(*values.name));
    }
    const std::pair<int, const char*> labels[] = {{ColType, values.type},
                                                  {ColDirection, values.direction},
                                                  {ColKroType, values.kroType},
                                                  {ColConversionRule, values.rule}};
    for (const auto& [column, label] : labels) {
        if (label) {
            table.SetCellEx(column, row, label);
        }
    }
    if (values.index) {
        table.SetInts(ColIndex, row, *values.index);
    }
    if (values.scale) {
        table.SetInts(ColConversionScale, row, *values.scale);
    }
    if (values.line >= 0 && values.group >= 0 && values.field >= 0) {
        table.SetCellEx(ColAddress, row,
                        FormatMessage("%d/%d/%d", values.line, values.group, values.field));
    }
}

#include "ReferenceReader.h"

#include "model/Integers.h"
#include "model/RowFill.h"
#include "model/Vocabulary.h"
#include "project/ProjectReader.h"
#include "services/TabrixError.h"
#include "xml/SafeXmlParser.h"

#include <cstring>
#include <span>
#include <string>

namespace fuzz {

namespace {

struct AddressParts {
    int line = -1;
    int group = -1;
    int field = -1;
};

void ReadAddressPart(const std::string& text, int low, int high, int& part) {
    if (const auto value = ParseInteger(text)) {
        part = (*value >= low && *value <= high) ? *value : -1;
    }
}

void StoreIfInRange(MappingTable& table, int column, int row, const std::string& text, int low,
                    int high) {
    const auto value = ParseInteger(text);
    if (value && *value >= low && *value <= high) {
        table.SetInts(column, row, *value);
    }
}

void StoreLabelForCode(MappingTable& table, int column, int row, std::span<const CodedLabel> codes,
                       const std::string& text) {
    for (const CodedLabel& entry : codes) {
        if (text == entry.fileText) {
            table.SetCellEx(column, row, entry.label);
            return;
        }
    }
}

void ApplyField(MappingTable& table, int row, const std::string& name, const std::string& text,
                AddressParts& address) {
    if (name == "DatapointName") {
        table.SetWideCells(ColName, row, text);
    } else if (name == "DatapointTypeCode") {
        for (const DatapointType& entry : DatapointTypes) {
            if (text == entry.dptCode) {
                table.SetCellEx(ColType, row, entry.label);
            }
        }
    } else if (name == "DatapointDirection") {
        StoreLabelForCode(table, ColDirection, row, DirectionLabels, text);
    } else if (name == "KRO_VariableIndex") {
        StoreIfInRange(table, ColIndex, row, text, MinVariableIndex, MaxVariableIndex);
    } else if (name == "KRO_VariableType") {
        StoreLabelForCode(table, ColKroType, row, KroTypeLabels, text);
    } else if (name == "KRO_Conversion_Rule") {
        StoreLabelForCode(table, ColConversionRule, row, ConversionRules, text);
    } else if (name == "KRO_Conversion_Scale") {
        StoreIfInRange(table, ColConversionScale, row, text, MinConversionScale,
                       MaxConversionScale);
    } else if (name == "Knx_DataPoint_Line_Address") {
        ReadAddressPart(text, 0, 15, address.line);
    } else if (name == "Knx_Datapoint_GroupAddress") {
        ReadAddressPart(text, 0, 7, address.group);
    } else if (name == "Knx_Datapoint_Z_FieldAddress") {
        ReadAddressPart(text, 1, 255, address.field);
    }
}

} // namespace

bool ReadProjectTextByXPath(MappingTable& table, const EditOptions& options,
                            std::string_view bytes) {
    XmlDoc doc = ParseXmlSafely(bytes);
    if (!doc) {
        return false;
    }
    XmlXPathContext xpath(xmlXPathNewContext(doc.get()));
    XmlXPathObject result(xmlXPathEvalExpression(ToXml(PropertyPath), xpath.get()));
    const int count = (result && result->nodesetval) ? result->nodesetval->nodeNr : 0;
    table.SetRowCountEx(count + 1 + (options.CreateRowOnEdit() ? 1 : 0));
    for (int k = 0; k < count; ++k) {
        AddressParts address;
        for (xmlNodePtr child = result->nodesetval->nodeTab[k]->children; child;
             child = child->next) {
            if (child->type != XML_ELEMENT_NODE) {
                continue;
            }
            XmlText content(xmlNodeGetContent(child));
            ApplyField(table, k + 1, FromXml(child->name), content ? FromXml(content.get()) : "",
                       address);
        }
        if (address.line >= 0 && address.group >= 0 && address.field >= 0) {
            table.SetCellEx(ColAddress, k + 1,
                            FormatMessage("%d/%d/%d", address.line, address.group, address.field));
        }
    }
    RenumberRows(table);
    FillFromPreviousRow(table, options, table.GetRowCountEx() - 1);
    return true;
}

} // namespace fuzz

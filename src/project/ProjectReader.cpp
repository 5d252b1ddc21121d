#include "ProjectReader.h"

#include "model/Integers.h"
#include "model/RowFill.h"
#include "model/Vocabulary.h"
#include "SafeFile.h"
#include "services/TabrixError.h"
#include "xml/SafeXmlParser.h"

#include <climits>
#include <cstring>

const char* const PropertyPath =
    "/GatewayParameters/KonnexDevices/Device[@id=1]/Property_Identifiers/Property";

namespace {

// libxml2 takes its input length as an int.
constexpr std::size_t MaxProjectFileBytes = INT_MAX;

// Working values of one Property's group address; -1 is unset.
struct AddressParts {
    int line = -1;
    int group = -1;
    int field = -1;
};

// An integer in range sets the part, one out of range unsets it, other text leaves it.
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

void ApplyPropertyChild(MappingTable& table, int row, const char* name, const std::string& text,
                        AddressParts& address) {
    if (std::strcmp(name, "DatapointName") == 0) {
        table.SetWideCells(ColName, row, text);
    } else if (std::strcmp(name, "DatapointTypeCode") == 0) {
        for (const DatapointType& entry : DatapointTypes) {
            if (text == entry.dptCode) {
                table.SetCellEx(ColType, row, entry.label);
            }
        }
    } else if (std::strcmp(name, "DatapointDirection") == 0) {
        StoreLabelForCode(table, ColDirection, row, DirectionLabels, text);
    } else if (std::strcmp(name, "KRO_VariableIndex") == 0) {
        StoreIfInRange(table, ColIndex, row, text, MinVariableIndex, MaxVariableIndex);
    } else if (std::strcmp(name, "KRO_VariableType") == 0) {
        StoreLabelForCode(table, ColKroType, row, KroTypeLabels, text);
    } else if (std::strcmp(name, "KRO_Conversion_Rule") == 0) {
        StoreLabelForCode(table, ColConversionRule, row, ConversionRules, text);
    } else if (std::strcmp(name, "KRO_Conversion_Scale") == 0) {
        StoreIfInRange(table, ColConversionScale, row, text, MinConversionScale,
                       MaxConversionScale);
    } else if (std::strcmp(name, "Knx_DataPoint_Line_Address") == 0) {
        ReadAddressPart(text, 0, 15, address.line);
    } else if (std::strcmp(name, "Knx_Datapoint_GroupAddress") == 0) {
        ReadAddressPart(text, 0, 7, address.group);
    } else if (std::strcmp(name, "Knx_Datapoint_Z_FieldAddress") == 0) {
        ReadAddressPart(text, 1, 255, address.field);
    }
}

void ReadProperty(MappingTable& table, xmlNodePtr property, int row) {
    AddressParts address;
    for (xmlNodePtr child = property->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) {
            continue;
        }
        XmlText content(xmlNodeGetContent(child));
        const std::string text = content ? FromXml(content.get()) : "";
        ApplyPropertyChild(table, row, FromXml(child->name), text, address);
    }
    if (address.line >= 0 && address.group >= 0 && address.field >= 0) {
        table.SetCellEx(ColAddress, row,
                        FormatMessage("%d/%d/%d", address.line, address.group, address.field));
    }
}

} // namespace

bool FillTableFromProjectText(MappingTable& table, const EditOptions& options,
                              std::string_view bytes) {
    XmlDoc doc = ParseXmlSafely(bytes);
    if (!doc) {
        return false;
    }
    XmlXPathContext xpath(xmlXPathNewContext(doc.get()));
    if (!xpath) {
        return false;
    }
    XmlXPathObject result(xmlXPathEvalExpression(ToXml(PropertyPath), xpath.get()));
    const int count = (result && result->nodesetval) ? std::max(result->nodesetval->nodeNr, 0) : 0;

    MappingTable::Batch batch(table);
    table.SetRowCountEx(count + 1 + (options.CreateRowOnEdit() ? 1 : 0));
    for (int k = 0; k < count; ++k) {
        ReadProperty(table, result->nodesetval->nodeTab[k], k + 1);
    }
    RenumberRows(table);
    FillFromPreviousRow(table, options, table.GetRowCountEx() - 1);
    return true;
}

bool ReadProjectFile(DocumentContext& context, const std::string& path) {
    bool read = false;
    try {
        read = FillTableFromProjectText(context.edit.table, context.edit.options,
                                        ReadRegularFile(path, MaxProjectFileBytes));
    } catch (const TabrixError&) {
        // unreadable, not a regular file, or too large: reported below like bad XML
    }
    if (!read) {
        context.edit.services.messageBox.MessageBox("Unable to open file " + path,
                                                    "Error opening file", MbOk);
        return false;
    }
    context.state.FileName = path;
    context.edit.services.window.SetTitles(NamedTitle(path));
    return true;
}

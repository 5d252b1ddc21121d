#include "ProjectWriter.h"

#include "model/GroupAddress.h"
#include "model/StorableText.h"
#include "model/Vocabulary.h"
#include "SafeFile.h"
#include "services/TabrixError.h"
#include "xml/XmlWriter.h"

#include <optional>

namespace {

const char* FileTextOf(std::span<const CodedLabel> labels, const std::string& cell) {
    for (const CodedLabel& entry : labels) {
        if (cell == entry.label) {
            return entry.fileText;
        }
    }
    return nullptr;
}

// Runs one step that reads a cell; its error names that cell.
template <typename Step> auto AtCell(int column, int row, Step step) {
    try {
        return step();
    } catch (const CellSaveError&) {
        throw;
    } catch (const TabrixError& error) {
        throw CellSaveError(error.what(), column, row);
    }
}

void RequireStorable(const std::string& text, int column, int row) {
    if (!IsStorableText(text)) {
        throw CellSaveError(
            FormatMessage("Row %d holds a character that a project file cannot store", row), column,
            row);
    }
}

void WriteProperty(CheckedXmlWriter& writer, const MappingTable& table, int row) {
    const GroupAddress address = AtCell(
        ColAddress, row, [&] { return ParseGroupAddress(table.GetCellEx(ColAddress, row)); });
    const std::string& name = table.GetWideCells(ColName, row);
    const std::string& direction = table.GetCellEx(ColDirection, row);
    RequireStorable(name, ColName, row);
    RequireStorable(direction, ColDirection, row);

    writer.StartElement("Property");
    writer.Attribute("id", " general");
    writer.Element("Enabled", "False");
    writer.Element("DatapointName", name);
    const std::string& type = table.GetCellEx(ColType, row);
    for (const DatapointType& entry : DatapointTypes) {
        if (type == entry.label) {
            writer.Element("DatapointTypeName", entry.dptName);
            writer.Element("DatapointTypeCode", entry.dptCode);
            break;
        }
    }
    writer.Element("DatapointDirection", direction);
    writer.FormatIntElement("KRO_VariableIndex",
                            AtCell(ColIndex, row, [&] { return table.GetInts(ColIndex, row); }));
    writer.StartElement("KRO_Register");
    writer.EndElement();
    writer.StartElement("KRO_FunctionCode");
    writer.EndElement();
    writer.StartElement("KRO_VariableType");
    if (const char* code = FileTextOf(KroTypeLabels, table.GetCellEx(ColKroType, row))) {
        writer.String(code);
    }
    writer.EndElement();
    writer.StartElement("KRO_DataType");
    writer.EndElement();
    const std::string& rule = table.GetCellEx(ColConversionRule, row);
    writer.StartElement("KRO_Conversion_Rule");
    if (const char* code = FileTextOf(ConversionRules, rule)) {
        writer.String(code);
    }
    writer.EndElement();
    writer.StartElement("KRO_Conversion_Scale");
    if (rule != "None") {
        writer.FormatIntString(AtCell(ColConversionScale, row,
                                      [&] { return table.GetInts(ColConversionScale, row); }));
    }
    writer.EndElement();
    writer.FormatIntElement("Knx_DataPoint_Line_Address", static_cast<int>(address.line));
    writer.FormatIntElement("Knx_Datapoint_GroupAddress", static_cast<int>(address.group));
    writer.FormatIntElement("Knx_Datapoint_Z_FieldAddress", static_cast<int>(address.field));
    writer.EndElement();
}

// What a file takes without rows, and what a row takes beside its name (some 720 bytes,
// more with larger numbers): estimates that only size the writer's first allocation.
constexpr std::size_t EmptyProjectBytes = 512;
constexpr std::size_t PropertyBytesBesideTheName = 768;

void ShowSaveError(MessageBoxService& messageBox, const std::string& fileName, const char* what) {
    messageBox.MessageBox(FormatMessage("Error saving to file %s: %s.", fileName.c_str(), what),
                          "Error saving file.", MbOk);
}

} // namespace

std::string BuildProjectDocument(const MappingTable& table, const EditOptions& options) {
    CheckedXmlWriter writer(true);
    // Room for the whole file at once: a large file then grows without being copied.
    const int end = table.GetRowCountEx() - (options.CreateRowOnEdit() ? 1 : 0);
    std::size_t expected = EmptyProjectBytes;
    for (int row = 1; row < end; ++row) {
        expected += PropertyBytesBesideTheName + table.GetWideCells(ColName, row).size();
    }
    writer.Reserve(expected);
    writer.StartDocument();
    writer.Comment("Knx Project Main Schema");
    writer.StartElement("GatewayParameters");
    writer.Element("GwNetworkEnable", "False");
    writer.StartElement("GwSNA");
    writer.EndElement();
    writer.StartElement("GwNA");
    writer.EndElement();
    writer.StartElement("KonnexDevices");
    writer.Comment("New Konnex Device");
    writer.StartElement("Device");
    writer.Attribute("id", "1");
    writer.Element("ObjectName", "000 NSD Not Standard Device");
    writer.StartElement("DeviceIdentifier");
    writer.EndElement();
    writer.Element("NetEnable", "False");
    writer.StartElement("KnxSNA");
    writer.EndElement();
    writer.StartElement("KnxNA");
    writer.EndElement();
    writer.StartElement("Property_Identifiers");

    for (int row = 1; row < end; ++row) {
        WriteProperty(writer, table, row);
    }
    writer.EndDocument();
    return writer.Finish();
}

bool WriteProjectFile(MappingTable& table, const EditOptions& options,
                      MessageBoxService& messageBox, const std::string& fileName) {
    std::optional<Selection> faultyCell;
    try {
        ReplaceFileContents(fileName, BuildProjectDocument(table, options));
        return true;
    } catch (const CellSaveError& error) {
        ShowSaveError(messageBox, fileName, error.what());
        faultyCell = Selection{error.column, error.row, error.column, error.row};
    } catch (const TabrixError& error) {
        ShowSaveError(messageBox, fileName, error.what());
    }
    // After the box: the user is taken to the cell to mend.
    if (faultyCell) {
        table.SetSelection(*faultyCell);
    }
    return false;
}

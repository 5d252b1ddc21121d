#include "ClipboardRows.h"

#include "model/CellValidation.h"
#include "xml/SafeXmlParser.h"
#include "xml/XmlWriter.h"

#include <cstring>

const char* const ClipboardRootName = "marvanezerezoderadazavodoclip";

namespace {

// Field elements of a row, by column 1 to 8.
const char* const FieldNames[ColumnCount] = {
    nullptr,          "Address",         "Name", "Type", "Direction", "Index", "KROType",
    "ConversionRule", "ConversionScale",
};

int ColumnOfField(const char* name) {
    for (int column = ColAddress; column < ColumnCount; ++column) {
        if (std::strcmp(name, FieldNames[column]) == 0) {
            return column;
        }
    }
    return -1;
}

} // namespace

std::string WriteClipboardRows(const MappingTable& table, int top, int bottom) {
    CheckedXmlWriter writer(false);
    writer.StartDocument();
    writer.StartElement(ClipboardRootName);
    for (int row = top; row <= bottom; ++row) {
        writer.StartElement("row");
        for (int column = ColAddress; column < ColumnCount; ++column) {
            writer.Element(FieldNames[column], table.GetCellEx(column, row));
        }
        writer.EndElement();
    }
    writer.EndElement();
    return writer.Finish();
}

XmlDoc ParseClipboardRows(std::string_view text) {
    if (text.size() > MaxClipboardDocumentBytes) {
        return nullptr;
    }
    XmlDoc doc = ParseXmlSafely(text);
    // The first node must be the root itself: a comment or instruction before it is not ours.
    if (!doc || !doc->children || doc->children->type != XML_ELEMENT_NODE ||
        std::strcmp(FromXml(doc->children->name), ClipboardRootName) != 0) {
        return nullptr;
    }
    return doc;
}

std::vector<xmlNodePtr> ClipboardRowElements(xmlDocPtr document) {
    std::vector<xmlNodePtr> rows;
    for (xmlNodePtr child = xmlDocGetRootElement(document)->children; child; child = child->next) {
        // Text between rows (a pretty-printed document) is no row.
        if (child->type == XML_ELEMENT_NODE) {
            rows.push_back(child);
        }
    }
    return rows;
}

void ApplyClipboardRow(EditContext& context, xmlNodePtr rowElement, int targetRow) {
    for (xmlNodePtr field = rowElement->children; field; field = field->next) {
        if (field->type != XML_ELEMENT_NODE) {
            continue;
        }
        XmlText content(xmlNodeGetContent(field));
        if (!content || content.get()[0] == '\0') {
            continue;
        }
        // A refused value is dropped; unknown elements have no column.
        if (const int column = ColumnOfField(FromXml(field->name)); column > 0) {
            ValidateCellText(context, column, targetRow, FromXml(content.get()));
        }
    }
}

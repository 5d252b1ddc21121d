#include "ReferenceReader.h"

#include "model/RowFill.h"
#include "project/ProjectReader.h"
#include "project/PropertyFields.h"
#include "services/TabrixError.h"
#include "xml/SafeXmlParser.h"

#include <string>

namespace fuzz {

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
        // Which rows and what texts come from the tree and XPath; what a text means comes
        // from the reader's own mapping.
        PropertyValues values;
        for (xmlNodePtr child = result->nodesetval->nodeTab[k]->children; child;
             child = child->next) {
            if (child->type != XML_ELEMENT_NODE) {
                continue;
            }
            XmlText content(xmlNodeGetContent(child));
            ReadPropertyField(values, FromXml(child->name), content ? FromXml(content.get()) : "");
        }
        StorePropertyValues(table, k + 1, values);
    }
    RenumberRows(table);
    FillFromPreviousRow(table, options, table.GetRowCountEx() - 1);
    return true;
}

} // namespace fuzz

#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlwriter.h>
#include <libxml/xpath.h>

#include <memory>

// Owning handles for the libxml2 objects, so that every early return frees them.
struct XmlDocDeleter {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
struct XmlWriterDeleter {
    void operator()(xmlTextWriterPtr writer) const { xmlFreeTextWriter(writer); }
};
struct XmlXPathContextDeleter {
    void operator()(xmlXPathContextPtr context) const { xmlXPathFreeContext(context); }
};
struct XmlXPathObjectDeleter {
    void operator()(xmlXPathObjectPtr object) const { xmlXPathFreeObject(object); }
};
struct XmlCharDeleter {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

using XmlDoc = std::unique_ptr<xmlDoc, XmlDocDeleter>;
using XmlWriter = std::unique_ptr<xmlTextWriter, XmlWriterDeleter>;
using XmlXPathContext = std::unique_ptr<xmlXPathContext, XmlXPathContextDeleter>;
using XmlXPathObject = std::unique_ptr<xmlXPathObject, XmlXPathObjectDeleter>;
using XmlText = std::unique_ptr<xmlChar, XmlCharDeleter>;

inline const xmlChar* ToXml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

inline const char* FromXml(const xmlChar* text) {
    return reinterpret_cast<const char*>(text);
}

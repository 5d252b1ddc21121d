#include "SafeXmlParser.h"

#include "StartTagGuard.h"

#include <libxml/parserInternals.h>

#include <climits>

namespace {

struct ParseGuard {
    bool sawDoctype = false;
};

void RefuseDoctype(void* userData, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* context = static_cast<xmlParserCtxtPtr>(userData);
    static_cast<ParseGuard*>(context->_private)->sawDoctype = true;
    xmlStopParser(context);
}

struct ParserContextDeleter {
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

} // namespace

int SafeXmlParseOptions() {
    return XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
}

XmlDoc ParseXmlSafely(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX) ||
        !StartTagGuard().Feed(bytes.data(), bytes.size())) {
        return nullptr;
    }
    std::unique_ptr<xmlParserCtxt, ParserContextDeleter> context(
        xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())));
    if (!context || !context->sax) {
        return nullptr;
    }
    ParseGuard guard;
    context->_private = &guard;
    // The SAX handler block belongs to this context alone.
    context->sax->internalSubset = RefuseDoctype;
    xmlCtxtUseOptions(context.get(), SafeXmlParseOptions());

    xmlParseDocument(context.get());
    XmlDoc doc(context->myDoc);
    context->myDoc = nullptr;
    // A stopped parser can hand back a document without a root; judge the state too. The
    // memory parser takes a NUL byte for the end of the text, so it must have read it all.
    if (guard.sawDoctype || !context->wellFormed || !doc || !xmlDocGetRootElement(doc.get()) ||
        xmlByteConsumed(context.get()) != static_cast<long>(bytes.size())) {
        return nullptr;
    }
    return doc;
}

#include "XmlStream.h"

#include "SafeXmlParser.h"

#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

struct ParserContextDeleter {
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};
using ParserContext = std::unique_ptr<xmlParserCtxt, ParserContextDeleter>;

// libxml2 takes a chunk's size as an int; pieces of 1 MiB also keep its buffers small.
constexpr std::size_t PieceBytes = 1 << 20;

} // namespace

struct XmlStream::Parser {
    XmlStreamHandler& handler;
    xmlSAXHandler sax{};
    ParserContext context;
    StartTagGuard guard;
    int depth = 0;
    bool rootSeen = false;
    bool refused = false;
    bool outOfMemory = false;

    explicit Parser(XmlStreamHandler& h) : handler(h) {
        // Only these callbacks: nothing builds a tree.
        sax.initialized = XML_SAX2_MAGIC;
        sax.startElementNs = OnStart;
        sax.endElementNs = OnEnd;
        sax.characters = OnText;
        sax.cdataBlock = OnText;
        sax.comment = OnComment;
        sax.processingInstruction = OnInstruction;
        sax.internalSubset = OnDoctype;
    }

    void Refuse() {
        refused = true;
        if (context) {
            xmlStopParser(context.get());
        }
    }

    static Parser& Of(void* user) {
        return *static_cast<Parser*>(static_cast<xmlParserCtxtPtr>(user)->_private);
    }

    // An error thrown inside a callback must not cross libxml2's C frames: it ends the
    // parse as a refusal instead.
    template <typename Call> static void Guarded(void* user, Call call) {
        Parser& parser = Of(user);
        if (parser.refused) {
            return;
        }
        try {
            call(parser);
        } catch (const std::bad_alloc&) {
            parser.outOfMemory = true;
            parser.Refuse();
        } catch (const std::exception&) {
            parser.Refuse();
        }
    }

    static void OnStart(void* user, const xmlChar* localName, const xmlChar* prefix,
                        const xmlChar* uri, int, const xmlChar**, int attributeCount, int,
                        const xmlChar** attributes) {
        Guarded(user, [&](Parser& parser) {
            if (++parser.depth > MaxDepth) {
                parser.Refuse();
                return;
            }
            parser.rootSeen = true;
            std::string id;
            bool hasId = false;
            for (int i = 0; i < attributeCount; ++i) {
                const xmlChar** attribute = attributes + 5 * i;
                // A prefix, even an undeclared one, makes it another attribute than id.
                if (attribute[1] == nullptr && std::strcmp(FromXml(attribute[0]), "id") == 0) {
                    id.assign(FromXml(attribute[3]),
                              static_cast<size_t>(attribute[4] - attribute[3]));
                    hasId = true;
                }
            }
            // An undeclared prefix stays part of the name, as in the document tree.
            std::string qualified;
            if (prefix && !uri) {
                qualified = std::string(FromXml(prefix)) + ":" + FromXml(localName);
            }
            parser.handler.StartElement(qualified.empty() ? FromXml(localName) : qualified.c_str(),
                                        uri != nullptr, hasId ? id.c_str() : nullptr);
        });
    }

    static void OnEnd(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
        Guarded(user, [](Parser& parser) {
            --parser.depth;
            parser.handler.EndElement();
        });
    }

    static void OnText(void* user, const xmlChar* text, int length) {
        Guarded(user, [&](Parser& parser) {
            parser.handler.Text(FromXml(text), static_cast<size_t>(length));
        });
    }

    static void OnComment(void* user, const xmlChar*) {
        Guarded(user, [](Parser& parser) { parser.handler.OtherNode(); });
    }

    static void OnInstruction(void* user, const xmlChar*, const xmlChar*) {
        Guarded(user, [](Parser& parser) { parser.handler.OtherNode(); });
    }

    static void OnDoctype(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
        Of(user).Refuse();
    }
};

XmlStream::XmlStream(XmlStreamHandler& handler) : parser_(std::make_unique<Parser>(handler)) {}

XmlStream::~XmlStream() = default;

bool XmlStream::OutOfMemory() const {
    return parser_->outOfMemory;
}

void XmlStream::Stop() {
    parser_->Refuse();
}

bool XmlStream::Feed(const char* data, std::size_t size) {
    Parser& parser = *parser_;
    while (!parser.refused && size > 0) {
        const std::size_t piece = std::min(size, PieceBytes);
        if (!parser.guard.Feed(data, piece)) {
            parser.Refuse();
            break;
        }
        const int length = static_cast<int>(piece);
        if (!parser.context) {
            // The first bytes go with the creation, so the encoding is detected from them.
            parser.context.reset(
                xmlCreatePushParserCtxt(&parser.sax, nullptr, data, length, nullptr));
            if (!parser.context) {
                parser.Refuse();
                break;
            }
            parser.context->_private = &parser;
            xmlCtxtUseOptions(parser.context.get(), SafeXmlParseOptions());
        } else if (xmlParseChunk(parser.context.get(), data, length, 0) != 0) {
            parser.Refuse();
        }
        if (parser.context && !parser.context->wellFormed) {
            parser.Refuse();
        }
        data += piece;
        size -= piece;
    }
    return !parser.refused;
}

bool XmlStream::Finish() {
    Parser& parser = *parser_;
    if (parser.refused || !parser.context) {
        return false;
    }
    xmlParseChunk(parser.context.get(), nullptr, 0, 1);
    // No document node is ever built, so the root is judged by what was seen.
    return !parser.refused && parser.context->wellFormed && parser.depth == 0 && parser.rootSeen;
}

#pragma once

#include "StartTagGuard.h"

#include <cstddef>
#include <memory>

// What a streamed document tells its reader, in document order.
class XmlStreamHandler {
  public:
    virtual ~XmlStreamHandler() = default;
    // name is the local name, or the whole name where its prefix is undeclared (as the
    // document tree keeps it); id is the value of an unprefixed "id" attribute, if any.
    virtual void StartElement(const char* name, bool inNamespace, const char* id) = 0;
    virtual void EndElement() = 0;
    // Character data and CDATA sections, entities expanded.
    virtual void Text(const char* text, std::size_t length) = 0;
    // A comment or a processing instruction.
    virtual void OtherNode() {}
};

// Streams XML text to a handler through libxml2's push parser, so that no document tree
// is ever built: memory stays with what the handler keeps. The text is refused when it
// is not well-formed, has no root, carries a DOCTYPE (refused before its internal subset
// is read, so no entity can be declared), nests deeper than 256 elements, or has a start
// tag that StartTagGuard refuses (found before libxml2 sees its bytes, so that the time
// grows with the size of the text).
class XmlStream {
  public:
    explicit XmlStream(XmlStreamHandler& handler);
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // Feeds the next piece of the text; false once the text is refused or stopped.
    [[nodiscard]] bool Feed(const char* data, std::size_t size);
    // Ends the text; true when it was a whole document and nothing stopped it.
    [[nodiscard]] bool Finish();
    // The handler's own refusal: the parse ends here.
    void Stop();
    // True when the refusal came from memory running out inside a callback.
    bool OutOfMemory() const;

    static constexpr int MaxDepth = 256;

  private:
    struct Parser;
    std::unique_ptr<Parser> parser_;
};

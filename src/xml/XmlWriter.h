#pragma once

#include "XmlHandles.h"

#include <cstddef>
#include <string>

// What a save says when no writer or no file for the writer can be had.
extern const char* const XmlWriterOpenError;

// A text writer into memory whose every call is checked: a failed call throws
// TabrixError, so no half-written document is ever taken for a whole one. The text grows
// as a std::string, not in a libxml2 buffer, whose int length would end at 2 GiB.
class CheckedXmlWriter {
  public:
    explicit CheckedXmlWriter(bool indent);

    // Room for a text of this many bytes, so that writing it needs no further copies.
    void Reserve(std::size_t bytes) { text_.reserve(bytes); }

    void StartDocument();
    void Comment(const char* text);
    void StartElement(const char* name);
    void Attribute(const char* name, const char* value);
    void Element(const char* name, const std::string& text);
    void FormatIntElement(const char* name, int value);
    void String(const char* text);
    void FormatIntString(int value);
    void EndElement();
    void EndDocument();

    // Closes the writer, which flushes it, and gives the text written.
    std::string Finish();

  private:
    static int Append(void* context, const char* data, int length);
    void Check(int result);

    std::string text_;
    XmlWriter writer_;
};

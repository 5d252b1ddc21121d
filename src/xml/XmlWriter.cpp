#include "XmlWriter.h"

#include "services/TabrixError.h"

const char* const XmlWriterOpenError = "Unable to open XML writer.";

CheckedXmlWriter::CheckedXmlWriter(bool indent) : buffer_(xmlBufferCreate()) {
    if (!buffer_) {
        throw TabrixError(XmlWriterOpenError);
    }
    writer_.reset(xmlNewTextWriterMemory(buffer_.get(), 0));
    if (!writer_) {
        throw TabrixError(XmlWriterOpenError);
    }
    if (indent) {
        Check(xmlTextWriterSetIndent(writer_.get(), 1));
    }
}

void CheckedXmlWriter::Check(int result) {
    if (result < 0) {
        throw TabrixError("The XML writer failed.");
    }
}

void CheckedXmlWriter::StartDocument() {
    Check(xmlTextWriterStartDocument(writer_.get(), nullptr, "utf-8", "yes"));
}

void CheckedXmlWriter::Comment(const char* text) {
    Check(xmlTextWriterWriteComment(writer_.get(), ToXml(text)));
}

void CheckedXmlWriter::StartElement(const char* name) {
    Check(xmlTextWriterStartElement(writer_.get(), ToXml(name)));
}

void CheckedXmlWriter::Attribute(const char* name, const char* value) {
    Check(xmlTextWriterWriteAttribute(writer_.get(), ToXml(name), ToXml(value)));
}

void CheckedXmlWriter::Element(const char* name, const std::string& text) {
    Check(xmlTextWriterWriteElement(writer_.get(), ToXml(name), ToXml(text.c_str())));
}

void CheckedXmlWriter::FormatIntElement(const char* name, int value) {
    Check(xmlTextWriterWriteFormatElement(writer_.get(), ToXml(name), "%d", value));
}

void CheckedXmlWriter::String(const char* text) {
    Check(xmlTextWriterWriteString(writer_.get(), ToXml(text)));
}

void CheckedXmlWriter::FormatIntString(int value) {
    Check(xmlTextWriterWriteFormatString(writer_.get(), "%d", value));
}

void CheckedXmlWriter::EndElement() {
    Check(xmlTextWriterEndElement(writer_.get()));
}

void CheckedXmlWriter::EndDocument() {
    Check(xmlTextWriterEndDocument(writer_.get()));
}

std::string CheckedXmlWriter::Finish() {
    writer_.reset();
    const xmlChar* content = xmlBufferContent(buffer_.get());
    const int length = xmlBufferLength(buffer_.get());
    if (!content || length < 0) {
        throw TabrixError("The XML writer failed.");
    }
    return std::string(FromXml(content), static_cast<size_t>(length));
}

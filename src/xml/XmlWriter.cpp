#include "XmlWriter.h"

#include "services/TabrixError.h"

const char* const XmlWriterOpenError = "Unable to open XML writer.";

CheckedXmlWriter::CheckedXmlWriter(bool indent) {
    xmlOutputBufferPtr output = xmlOutputBufferCreateIO(Append, nullptr, &text_, nullptr);
    if (!output) {
        throw TabrixError(XmlWriterOpenError);
    }
    writer_.reset(xmlNewTextWriter(output)); // which owns the output from now on
    if (!writer_) {
        xmlOutputBufferClose(output);
        throw TabrixError(XmlWriterOpenError);
    }
    if (indent) {
        Check(xmlTextWriterSetIndent(writer_.get(), 1));
    }
}

int CheckedXmlWriter::Append(void* context, const char* data, int length) {
    // No exception may pass through libxml2; a failed append fails the writer call.
    try {
        static_cast<std::string*>(context)->append(data, static_cast<size_t>(length));
        return length;
    } catch (...) {
        return -1;
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
    Check(xmlTextWriterFlush(writer_.get()));
    writer_.reset();
    return std::move(text_);
}

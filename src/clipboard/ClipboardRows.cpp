#include "ClipboardRows.h"

#include "model/CellValidation.h"
#include "xml/XmlStream.h"
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

std::span<const ClipboardField> ClipboardRowSet::Row(std::size_t index) const {
    const std::size_t begin = rowStarts_.at(index);
    const std::size_t end = index + 1 < rowStarts_.size() ? rowStarts_[index + 1] : fields_.size();
    return std::span<const ClipboardField>(fields_).subspan(begin, end - begin);
}

void ClipboardRowSet::AddField(int column, std::string text) {
    fields_.push_back({column, std::move(text)});
}

namespace {

// Recognises a row document while it streams: its first node must be the root element
// (a comment or instruction before it is not ours); each element in the root is a row and
// each element in a row a field, whose text is everything inside it.
class RowDocumentReader : public XmlStreamHandler {
  public:
    explicit RowDocumentReader(ClipboardRowSet& rows) : rows_(rows) {}
    void SetStream(XmlStream& stream) { stream_ = &stream; }

    void StartElement(const char* name, bool /*inNamespace*/, const char* /*id*/) override {
        ++depth_;
        if (depth_ == 1 && (seenNode_ || std::strcmp(name, ClipboardRootName) != 0)) {
            stream_->Stop();
        } else if (depth_ == RowDepth) {
            rows_.StartRow();
        } else if (depth_ == FieldDepth) {
            fieldColumn_ = ColumnOfField(name);
            fieldText_.clear();
        }
        seenNode_ = true;
    }

    void EndElement() override {
        if (depth_ == FieldDepth && fieldColumn_ > 0 && !fieldText_.empty()) {
            rows_.AddField(fieldColumn_, std::move(fieldText_));
            fieldText_.clear();
        }
        --depth_;
    }

    void Text(const char* text, std::size_t length) override {
        if (depth_ >= FieldDepth && fieldColumn_ > 0) {
            fieldText_.append(text, length);
        }
    }

    void OtherNode() override {
        if (!seenNode_) {
            stream_->Stop();
        }
    }

  private:
    static constexpr int RowDepth = 2;
    static constexpr int FieldDepth = 3;

    ClipboardRowSet& rows_;
    XmlStream* stream_ = nullptr;
    int depth_ = 0;
    bool seenNode_ = false;
    int fieldColumn_ = -1;
    std::string fieldText_;
};

} // namespace

std::optional<ClipboardRowSet> ParseClipboardRows(std::string_view text) {
    if (text.empty() || text.size() > MaxClipboardDocumentBytes) {
        return std::nullopt;
    }
    ClipboardRowSet rows;
    RowDocumentReader reader(rows);
    XmlStream stream(reader);
    reader.SetStream(stream);
    if (!stream.Feed(text.data(), text.size()) || !stream.Finish()) {
        return std::nullopt;
    }
    return rows;
}

void ApplyClipboardRow(EditContext& context, std::span<const ClipboardField> fields,
                       int targetRow) {
    // A refused value is dropped.
    for (const ClipboardField& field : fields) {
        static_cast<void>(ValidateCellText(context, field.column, targetRow, field.text));
    }
}

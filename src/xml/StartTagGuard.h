#pragma once

#include <cstddef>
#include <string>

// A scan of XML bytes, cheap and linear, that finds the start tags whose cost in libxml2
// grows faster than their size: libxml2 compares each attribute (and each namespace
// declaration) of a tag with every earlier one. Comments, CDATA sections, processing
// instructions and quoted attribute values are stepped over. Fed piece by piece.
class StartTagGuard {
  public:
    static constexpr std::size_t MaxStartTagBytes = 64 * 1024;
    static constexpr int MaxAttributes = 256; // namespace declarations included

    // False once a start tag has passed a bound; it stays false.
    bool Feed(const char* data, std::size_t size);
    bool WithinBounds() const { return withinBounds_; }

  private:
    enum class State { Text, Open, StartTag, Quoted, Bang, Comment, CData, Instruction, Markup };

    void Step(char c);
    // True at the '>' after two of doubled: the end of a comment or a CDATA section.
    bool EndsDoubled(char c, char doubled);

    State state_ = State::Text;
    char quote_ = 0;
    std::size_t tagBytes_ = 0;
    int attributes_ = 0;
    std::string opener_;      // what followed "<!" so far, up to 7 bytes
    std::size_t matched_ = 0; // how much of a closer ("-->", "]]>", "?>") has been seen
    bool withinBounds_ = true;
};

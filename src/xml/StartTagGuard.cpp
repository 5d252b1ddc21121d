#include "StartTagGuard.h"

#include <algorithm>
#include <string_view>

namespace {

// What follows "<!" to open a comment or a CDATA section.
constexpr std::string_view CommentOpen = "--";
constexpr std::string_view CDataOpen = "[CDATA[";

} // namespace

bool StartTagGuard::EndsDoubled(char c, char doubled) {
    if (c == doubled) {
        matched_ = std::min<std::size_t>(matched_ + 1, 2);
        return false;
    }
    const bool ends = c == '>' && matched_ == 2;
    matched_ = 0;
    return ends;
}

bool StartTagGuard::Feed(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size && withinBounds_; ++i) {
        Step(data[i]);
    }
    return withinBounds_;
}

void StartTagGuard::Step(char c) {
    switch (state_) {
    case State::Text:
        if (c == '<') {
            state_ = State::Open;
        }
        return;
    case State::Open:
        if (c == '!') {
            state_ = State::Bang;
            opener_.clear();
        } else if (c == '?') {
            state_ = State::Instruction;
            matched_ = 0;
        } else if (c == '/') {
            state_ = State::Markup; // an end tag
        } else {
            state_ = State::StartTag;
            tagBytes_ = 2;
            attributes_ = 0;
        }
        return;
    case State::Bang: {
        // "<!--" opens a comment, "<![CDATA[" a section; anything else (a DOCTYPE) is
        // markup up to its '>', which the parser refuses anyway.
        opener_ += c;
        const std::string_view seen = opener_;
        if (seen == CommentOpen || seen == CDataOpen) {
            state_ = seen == CommentOpen ? State::Comment : State::CData;
            matched_ = 0;
        } else if (!CommentOpen.starts_with(seen) && !CDataOpen.starts_with(seen)) {
            state_ = c == '>' ? State::Text : State::Markup;
        }
        return;
    }
    case State::Comment:
        if (EndsDoubled(c, '-')) { // "-->"
            state_ = State::Text;
        }
        return;
    case State::CData:
        if (EndsDoubled(c, ']')) { // "]]>"
            state_ = State::Text;
        }
        return;
    case State::Instruction: // up to "?>"
        if (c == '>' && matched_ == 1) {
            state_ = State::Text;
        }
        matched_ = c == '?' ? 1 : 0;
        return;
    case State::Markup:
        if (c == '>') {
            state_ = State::Text;
        }
        return;
    case State::StartTag:
    case State::Quoted:
        break;
    }
    if (++tagBytes_ > MaxStartTagBytes) {
        withinBounds_ = false;
        return;
    }
    if (state_ == State::Quoted) {
        if (c == quote_) {
            state_ = State::StartTag;
        }
        return;
    }
    if (c == '"' || c == '\'') {
        state_ = State::Quoted;
        quote_ = c;
    } else if (c == '=' && ++attributes_ > MaxAttributes) {
        withinBounds_ = false;
    } else if (c == '>') {
        state_ = State::Text;
    }
}

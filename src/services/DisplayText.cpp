#include "DisplayText.h"

namespace {

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string ShortenForDisplay(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return std::string(text);
    }
    std::size_t cut = maxBytes;
    while (cut > 0 && IsContinuationByte(text[cut])) {
        --cut; // never split a character
    }
    return std::string(text.substr(0, cut)) + "\u2026";
}

#include "IniText.h"

#include <charconv>

namespace {

constexpr std::string_view RootGroup = "General";

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// One line of the text, without its line break, and where the next one starts.
struct Line {
    std::string_view text;
    std::size_t begin;
    std::size_t end; // after the line break
};

// Calls visit for each line in order, without holding them all.
template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t breakAt = text.find('\n', begin);
        const std::size_t end = breakAt == std::string_view::npos ? text.size() : breakAt + 1;
        const std::size_t length = (breakAt == std::string_view::npos ? end : breakAt) - begin;
        visit(Line{text.substr(begin, length), begin, end});
        begin = end;
    }
}

// The group a header line opens, or nothing for any other line.
std::optional<std::string_view> HeaderGroup(std::string_view line) {
    line = Trimmed(line);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        return Trimmed(line.substr(1, line.size() - 2));
    }
    return std::nullopt;
}

// The value of a "key=value" line for this key, or nothing.
std::optional<std::string_view> ValueOf(std::string_view line, std::string_view key) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trimmed(line.substr(0, equals)) != key) {
        return std::nullopt;
    }
    return Trimmed(line.substr(equals + 1));
}

} // namespace

std::optional<std::string> IniValue(std::string_view text, std::string_view group,
                                    std::string_view key) {
    std::optional<std::string> found;
    std::string_view current = RootGroup;
    ForEachLine(text, [&](const Line& line) {
        if (const auto header = HeaderGroup(line.text)) {
            current = *header;
        } else if (current == group) {
            if (const auto value = ValueOf(line.text, key)) {
                std::string_view plain = *value;
                if (plain.size() >= 2 && plain.front() == '"' && plain.back() == '"') {
                    plain = plain.substr(1, plain.size() - 2);
                }
                found = std::string(plain);
            }
        }
    });
    return found;
}

std::string WithIniValue(std::string_view text, std::string_view group, std::string_view key,
                         std::string_view value) {
    const std::string keyLine = std::string(key) + "=" + std::string(value) + "\n";
    std::string result;
    std::string_view current = RootGroup;
    bool groupSeen = false;
    bool written = false;
    std::size_t insertAt = std::string::npos; // after the group's last non-blank line
    ForEachLine(text, [&](const Line& line) {
        if (const auto header = HeaderGroup(line.text)) {
            current = *header;
        }
        const bool inGroup = current == group;
        groupSeen = groupSeen || inGroup;
        if (inGroup && ValueOf(line.text, key)) {
            if (!written) {
                result += keyLine;
                written = true;
            }
            return;
        }
        result += line.text;
        if (line.end > line.begin + line.text.size()) {
            result += '\n';
        }
        if (inGroup && !Trimmed(line.text).empty()) {
            insertAt = result.size();
        }
    });
    if (written) {
        return result;
    }
    if (groupSeen && insertAt != std::string::npos) {
        // A last line without its line break gets one before the new line.
        const std::string before = result.substr(0, insertAt);
        const bool needsBreak = !before.empty() && before.back() != '\n';
        return before + (needsBreak ? "\n" : "") + keyLine + result.substr(insertAt);
    }
    return "[" + std::string(group) + "]\n" + keyLine + (result.empty() ? "" : "\n") + result;
}

std::optional<long long> IniInteger(std::string_view value) {
    if (!value.empty() && value.front() == '+') {
        value.remove_prefix(1);
        if (!value.empty() && value.front() == '-') {
            return std::nullopt;
        }
    }
    long long number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || value.empty()) {
        return std::nullopt;
    }
    return number;
}

#include "text_cells.h"

#include <algorithm>
#include <cstdio>

namespace Brennovar::RefHost {

namespace {

/// The width of a UTF-8 text in characters (continuation bytes do not count).
std::size_t characters(std::string_view text) {
    std::size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

/// The longest prefix of at most `limit` characters, cut at a character boundary.
std::string_view prefix(std::string_view text, std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == limit)
            return text.substr(0, i);
    }
    return text;
}

} // namespace

std::string printable(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            result += c;
            continue;
        }
        switch (c) {
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default: {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            result += escaped;
        }
        }
    }
    return result;
}

std::string printableLines(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        result += printable(text.substr(start, end - start));
        if (end < text.size())
            result += '\n';
        start = end + 1;
    }
    return result;
}

std::string cell(std::string_view text, std::size_t width) {
    std::string shown = printable(text);
    const std::size_t room = width > 1 ? width - 1 : 1;
    if (characters(shown) > room)
        shown = std::string(prefix(shown, room - 1)) + "\xE2\x80\xA6";
    shown.append(width - std::min(width, characters(shown)), ' ');
    if (shown.empty() || shown.back() != ' ')
        shown += ' ';
    return shown;
}

} // namespace Brennovar::RefHost

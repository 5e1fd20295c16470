#include "refhost/timeline/svg_writer.h"

#include <charconv>
#include <ostream>

namespace Brennovar::RefHost {

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

bool continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

/// The length of the UTF-8 sequence at `at`, 0 when none starts there. Overlong forms,
/// surrogates and code points above U+10FFFF are no sequence.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead < 0x80   ? 1
                         : lead < 0xC2 ? 0
                         : lead < 0xE0 ? 2
                         : lead < 0xF0 ? 3
                         : lead < 0xF5 ? 4
                                       : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if (!continuation(byte(i)))
            return 0;
    const unsigned char second = length > 1 ? byte(1) : 0x80;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

} // namespace

SvgWriter::SvgWriter(std::ostream& out) : out_(out) {
    buffer_.reserve(kFlushSize + 256);
}

SvgWriter::~SvgWriter() {
    finish();
}

void SvgWriter::reserve(std::size_t more) {
    if (buffer_.size() + more > kFlushSize)
        finish();
}

SvgWriter& SvgWriter::raw(std::string_view markup) {
    reserve(markup.size());
    buffer_ += markup;
    return *this;
}

SvgWriter& SvgWriter::number(long long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return raw(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

SvgWriter& SvgWriter::text(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        const auto byte = static_cast<unsigned char>(text[at]);
        if (length == 0)
            raw("\xEF\xBF\xBD");
        else if (length > 1)
            raw(text.substr(at, length));
        else if (byte == '&')
            raw("&amp;");
        else if (byte == '<')
            raw("&lt;");
        else if (byte == '>')
            raw("&gt;");
        else if (byte == '"')
            raw("&quot;");
        else if (byte == '\'')
            raw("&#39;");
        else if (byte == '\n')
            raw("\\n");
        else if (byte == '\r')
            raw("\\r");
        else if (byte == '\t')
            raw("\\t");
        else if (byte < 0x20 || byte == 0x7F)
            raw("\\x")
                .raw(std::string_view(&kHex[byte >> 4], 1))
                .raw(std::string_view(&kHex[byte & 15], 1));
        else
            raw(text.substr(at, 1));
        at += length == 0 ? 1 : length;
    }
    return *this;
}

SvgWriter& SvgWriter::path(std::string_view classes) {
    pathX_ = 0;
    pathY_ = 0;
    if (classes.empty())
        return raw("<path d=\"");
    return raw("<path class=\"").raw(classes).raw("\" d=\"");
}

SvgWriter& SvgWriter::box(int x, int y, int width, int height) {
    // The first move of a path is absolute even when written relative: it starts from 0 0.
    raw("m").number(x - pathX_).raw(" ").number(y - pathY_).raw("h").number(width);
    raw("v").number(height).raw("h").number(-width).raw("z");
    pathX_ = x;
    pathY_ = y;
    return *this;
}

void SvgWriter::finish() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

} // namespace Brennovar::RefHost

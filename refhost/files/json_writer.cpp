#include "refhost/files/json_writer.h"

#include "refhost/core/text_conversion.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <ostream>

namespace Brennovar::RefHost {

namespace {

/// How many bytes the UTF-8 sequence that starts with `lead` has (0: not a lead byte), and the
/// range its second byte must lie in, which excludes overlong forms, surrogates and code points
/// past U+10FFFF.
struct Lead {
    int length;
    unsigned char low;
    unsigned char high;
};

Lead leadOf(unsigned char lead) noexcept {
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4, 0x80, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

/// The length of the well-formed UTF-8 sequence at the start of `text`, or, when it is not one,
/// minus the length of its longest start that could begin one (at least 1), which is replaced
/// by one U+FFFD.
std::ptrdiff_t sequenceAt(std::string_view text) noexcept {
    const Lead lead = leadOf(static_cast<unsigned char>(text[0]));
    if (lead.length == 0)
        return -1;
    for (int i = 1; i < lead.length; ++i) {
        const auto byte =
            static_cast<unsigned char>(i < static_cast<int>(text.size()) ? text[i] : 0);
        const bool fits = i == 1 ? byte >= lead.low && byte <= lead.high : (byte & 0xC0) == 0x80;
        if (!fits)
            return -i;
    }
    return lead.length;
}

/// Whether each byte stays as it is in a JSON string: printable ASCII but quote and backslash.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int byte = 0x20; byte < 0x80; ++byte)
        plain[static_cast<std::size_t>(byte)] = byte != '"' && byte != '\\';
    return plain;
}();

bool isPlain(unsigned char byte) noexcept {
    return kPlain[byte];
}

} // namespace

void JsonWriter::appendString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t i = 0;
    while (i < text.size()) {
        // Runs of characters that stay as they are go in at once.
        std::size_t plain = i;
        while (plain < text.size() && isPlain(static_cast<unsigned char>(text[plain])))
            ++plain;
        out.append(text.data() + i, plain - i);
        if ((i = plain) == text.size())
            break;
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            const std::ptrdiff_t length = sequenceAt(text.substr(i));
            if (length > 0)
                out.append(text.substr(i, static_cast<std::size_t>(length)));
            else
                out += "\xEF\xBF\xBD";
            i += static_cast<std::size_t>(length > 0 ? length : -length);
            continue;
        }
        ++i;
        switch (byte) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += static_cast<char>(byte);
            }
        }
    }
    out += '"';
}

JsonWriter::JsonWriter(std::string& out) : out_(out) {}

JsonWriter::JsonWriter(std::ostream& stream) : out_(buffer_), stream_(&stream) {}

JsonWriter::~JsonWriter() {
    finish();
}

void JsonWriter::finish() {
    if (stream_ && !out_.empty()) {
        stream_->write(out_.data(), static_cast<std::streamsize>(out_.size()));
        out_.clear();
    }
}

void JsonWriter::newline() {
    out_ += '\n';
    out_.append(2 * counts_.size(), ' ');
}

void JsonWriter::beforeValue() {
    if (stream_ && out_.size() >= (1u << 16))
        finish();
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (counts_.empty())
        return;
    if (counts_.back()++ > 0)
        out_ += ',';
    newline();
}

void JsonWriter::open(char bracket) {
    beforeValue();
    out_ += bracket;
    counts_.push_back(0);
}

void JsonWriter::close(char bracket) {
    const bool empty = counts_.back() == 0;
    counts_.pop_back();
    if (!empty)
        newline();
    out_ += bracket;
}

JsonWriter& JsonWriter::beginObject() {
    open('{');
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    close('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    open('[');
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    close(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    appendString(out_, name);
    out_ += ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    appendString(out_, text);
    return *this;
}

JsonWriter& JsonWriter::value(std::u16string_view text) {
    beforeValue();
    utf8(text, converted_);
    appendString(out_, converted_);
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    beforeValue();
    // What a dumped document has: null for what is not finite, otherwise the form the library's
    // serializer writes, made by the function it calls (without a document and a string made
    // for each number).
    if (!std::isfinite(number)) {
        out_ += "null";
        return *this;
    }
    char text[64];
    if (std::trunc(number) == number && std::fabs(number) < 1e15) {
        // A whole number below 10^15 has no exponent in that form: its digits and ".0" ("-0.0"
        // for minus zero), which it writes with no digit generation to do.
        char* end = std::signbit(number) && number == 0.0 ? text + 2 : text;
        if (end != text)
            std::memcpy(text, "-0", 2);
        else
            end = std::to_chars(text, text + sizeof text, static_cast<std::int64_t>(number)).ptr;
        out_.append(text, end);
        out_ += ".0";
        return *this;
    }
    out_.append(text, nlohmann::detail::to_chars(text, text + sizeof text, number));
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    beforeValue();
    char text[24];
    out_.append(text, std::to_chars(text, text + sizeof text, number).ptr);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    out_ += flag ? "true" : "false";
    return *this;
}

} // namespace Brennovar::RefHost

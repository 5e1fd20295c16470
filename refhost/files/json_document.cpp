#include "refhost/files/json_document.h"

#include "refhost/core/host_error.h"

#include <algorithm>
#include <vector>

namespace Brennovar::RefHost {

namespace {

using Json = nlohmann::json;
using Pointer = Json::json_pointer;
constexpr std::size_t kMaxNesting = JsonDocument::kMaxNesting;

/// Builds the document from the parser's events, refusing what a plain parse would let through:
/// a duplicate member (the document would keep only one of them) and nesting deeper than
/// kMaxNesting, which would otherwise let a small file take unbounded time and memory. Parse
/// errors become FileErrors with the line and column.
class DocumentBuilder {
public:
    DocumentBuilder(std::string_view text, const std::string& source)
        : text_(text), source_(source) {}

    Json take() { return std::move(document_); }

    bool null() { return put(nullptr); }
    bool boolean(bool value) { return put(value); }
    bool number_integer(Json::number_integer_t value) { return put(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return put(value); }
    bool number_float(Json::number_float_t value, const std::string&) { return put(value); }
    bool string(std::string& value) { return put(std::move(value)); }
    bool binary(Json::binary_t& value) { return put(std::move(value)); }
    bool start_object(std::size_t) { return open(Json::object()); }
    bool start_array(std::size_t) { return open(Json::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(std::string& key) {
        key_ = std::move(key);
        return true;
    }
    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& error) {
        if (error.id == 406)
            refuse(position - std::min(position, token.size()) + 1,
                   "the number " + token + " is too large for a double");
        // The library's message reads "[json.exception.parse_error.N] parse error at line L,
        // column C: what"; the rest after the place is the problem.
        const std::string message = error.what();
        const std::size_t colon = message.find(": ", message.find("column "));
        refuse(position, colon == std::string::npos ? "not JSON" : message.substr(colon + 2));
    }
    /// Throws the problem at the byte offset (counted from 1).
    [[noreturn]] void refuse(std::size_t position, const std::string& problem) const {
        throw FileError(source_, place(position), problem);
    }

private:
    bool put(Json value) {
        add(std::move(value));
        return true;
    }
    /// Puts the value into the open container (or makes it the document) and answers where it
    /// is, looking the member's key up once.
    Json& add(Json value) {
        if (open_.empty())
            return document_ = std::move(value);
        Json& container = *open_.back();
        if (container.is_array()) {
            container.push_back(std::move(value));
            return container.back();
        }
        auto [member, added] =
            container.get_ref<Json::object_t&>().try_emplace(std::move(key_), std::move(value));
        if (!added)
            throw FileError(source_, pointer(open_.size()),
                            "duplicate member \"" + member->first + "\"");
        return member->second;
    }
    bool open(Json container) {
        if (open_.size() >= kMaxNesting)
            throw FileError(source_, pointer(open_.size()),
                            "nested deeper than " + std::to_string(kMaxNesting) + " levels");
        open_.push_back(&add(std::move(container)));
        return true;
    }
    bool close() {
        open_.pop_back();
        return true;
    }
    /// The pointer of the container open at depth `depth` ("/" for the document).
    std::string pointer(std::size_t depth) const {
        Pointer result;
        for (std::size_t i = 0; i + 1 < depth; ++i) {
            if (open_[i]->is_array())
                result /= open_[i]->size() - 1;
            else
                for (const auto& [name, value] : open_[i]->items())
                    if (&value == open_[i + 1])
                        result /= name;
        }
        const std::string text = result.to_string();
        return text.empty() ? "/" : text;
    }
    /// "LINE:COLUMN" of a byte offset (both counted from 1).
    std::string place(std::size_t position) const {
        position = std::min(position, text_.size());
        const std::string_view before = text_.substr(0, position);
        const std::size_t line =
            static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
        const std::size_t lineStart = before.rfind('\n');
        const std::size_t column =
            lineStart == std::string_view::npos ? position : position - lineStart - 1;
        return std::to_string(line + 1) + ":" + std::to_string(std::max<std::size_t>(column, 1));
    }

    std::string_view text_;
    const std::string& source_;
    Json document_;
    std::vector<Json*> open_;
    std::string key_;
};

} // namespace

nlohmann::json JsonDocument::parse(std::string_view text, const std::string& source) {
    DocumentBuilder builder(text, source);
    // A NUL byte would end the text for a reader that takes it as a C string, and JSON allows
    // none: everything after it must not be ignored silently.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        builder.refuse(nul + 1, "a NUL byte, which JSON text may not hold");
    Json::sax_parse(text.begin(), text.end(), &builder);
    return builder.take();
}

} // namespace Brennovar::RefHost

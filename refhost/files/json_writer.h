#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

/// Writes a JSON document straight into a string, member by member, in the layout of a document
/// dumped with an indent of two spaces: no document tree is built, so writing a large project
/// or report takes time and memory in proportion to its text alone. Texts are escaped as JSON
/// requires; invalid UTF-8 is replaced by U+FFFD rather than failing. Numbers are written in
/// their shortest form that reads back the same.
///
/// Calls must nest properly: key() before each member value, values directly in arrays.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out);
    /// Writes to a stream, in pieces of some 64 KiB, so that a large document is never held
    /// whole; call finish() (or let the writer go) to write the rest.
    explicit JsonWriter(std::ostream& stream);
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    /// A text of the host (UTF-16), written as UTF-8; an unpaired surrogate becomes U+FFFD.
    JsonWriter& value(std::u16string_view text);
    JsonWriter& value(const std::u16string& text) { return value(std::u16string_view(text)); }
    JsonWriter& value(double number);
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(bool flag);

    /// Writes what is buffered to the stream (nothing for a writer into a string).
    void finish();

    /// Appends the text as a JSON string: quoted, with quote, backslash and control characters
    /// escaped (the short forms where JSON has them, otherwise \u00XX) and well-formed UTF-8 as
    /// it is. Each ill-formed piece (the longest start of a sequence that cannot be completed, or
    /// else one byte) becomes one U+FFFD, as a dumped document has it.
    static void appendString(std::string& out, std::string_view text);

    /// Shorthand for key(name).value(x).
    template <class T>
    JsonWriter& member(std::string_view name, const T& x) {
        return key(name).value(x);
    }

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    void newline();

    std::string buffer_;
    std::string& out_;
    // Where UTF-16 texts are converted, kept for the next.
    std::string converted_;
    std::ostream* stream_ = nullptr;
    // Per open container: how many values it holds so far.
    std::vector<std::size_t> counts_;
    bool afterKey_ = false;
};

} // namespace Brennovar::RefHost

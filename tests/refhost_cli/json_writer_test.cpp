#include "refhost/files/json_writer.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

namespace {

using Brennovar::RefHost::JsonWriter;

// Control characters, quotes and backslashes escaped; well-formed UTF-8 (up to U+10FFFF) as it
// is; each ill-formed piece one U+FFFD: a stray byte, an overlong form, a surrogate, a code point
// past U+10FFFF, a sequence cut short by another character or by the end.
TEST(JsonWriterTest, StringsAreEscapedAndIllFormedUtf8Replaced) {
    const std::string r = "\xEF\xBF\xBD";
    const struct {
        std::string text;
        std::string written;
    } cases[] = {
        {"plain /\x7F", "\"plain /\x7F\""},
        {"q\"b\\", R"("q\"b\\")"},
        {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
        {std::string("\0\x01\x1f", 3), R"("\u0000\u0001\u001f")"},
        {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x8E\xB5\xF4\x8F\xBF\xBF",
         "\"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x8E\xB5\xF4\x8F\xBF\xBF\""},
        {"a\x80z\xFF", "\"a" + r + "z" + r + "\""},
        {"\xC0\xAF", "\"" + r + r + "\""},
        {"\xE0\x9F\x80", "\"" + r + r + r + "\""},
        {"\xED\xA0\x80", "\"" + r + r + r + "\""},
        {"\xF4\x90\x80\x80", "\"" + r + r + r + r + "\""},
        {"\xE2\x82\x41\xF0\x9F\x8E", "\"" + r + "A" + r + "\""},
    };
    for (const auto& c : cases) {
        std::string out;
        JsonWriter::appendString(out, c.text);
        EXPECT_EQ(out, c.written) << c.text;
        // What a dumped document has, byte for byte.
        EXPECT_EQ(out, nlohmann::json(c.text).dump(-1, ' ', false,
                                                   nlohmann::json::error_handler_t::replace));
    }
}

} // namespace

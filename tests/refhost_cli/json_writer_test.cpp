#include "refhost/files/json_writer.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

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

// Numbers as a dumped document has them, byte for byte: whole numbers (written without the
// library's digit generation), fractions, extremes, minus zero, and what is not finite.
TEST(JsonWriterTest, NumbersAreWrittenAsADumpedDocumentHasThem) {
    std::vector<double> numbers = {0.0,
                                   -0.0,
                                   1.0,
                                   -1.0,
                                   2.5,
                                   0.1,
                                   0.3,
                                   1e15,
                                   -1e15,
                                   999999999999999.0,
                                   1e16,
                                   1e21,
                                   1e-5,
                                   1e-7,
                                   5e-324,
                                   1.7976931348623157e308,
                                   123456789012345.6,
                                   9007199254740993.0,
                                   std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN()};
    std::uint64_t bits = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        bits = bits * 6364136223846793005u + 1442695040888963407u;
        numbers.push_back(
            static_cast<double>(static_cast<std::int64_t>(bits >> 14) % 1000000000000000));
        numbers.push_back(static_cast<double>(bits >> 11) / 1024.0 - 4e12);
        double any = 0.0;
        std::memcpy(&any, &bits, sizeof any);
        numbers.push_back(any);
    }
    for (double number : numbers) {
        std::string out;
        JsonWriter(out).value(number);
        EXPECT_EQ(out, nlohmann::json(number).dump()) << number;
    }
}

// Texts of the host (UTF-16) are written as UTF-8, an unpaired surrogate as U+FFFD.
TEST(JsonWriterTest, HostTextsAreWrittenAsUtf8) {
    std::string out;
    JsonWriter(out)
        .beginArray()
        .value(std::u16string(u"Gr\u00fc\u00dfe \"\U0001F3AC"))
        .value(std::u16string_view(u"a\xD800"
                                   u"b",
                                   3))
        .endArray();
    EXPECT_EQ(out, "[\n  \"Gr\xC3\xBC\xC3\x9F"
                   "e \\\"\xF0\x9F\x8E\xAC\",\n  \"a\xEF\xBF\xBD"
                   "b\"\n]");
}

} // namespace

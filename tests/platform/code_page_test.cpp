#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace Brennovar::Platform {
namespace {

std::u16string toWide(std::uint32_t codePage, std::string_view text, bool expectOk = true) {
    std::u16string out = u"stale";
    EXPECT_EQ(multiByteToWide(codePage, text, out), expectOk) << "code page " << codePage;
    return out;
}

std::string toNarrow(std::uint32_t codePage, std::u16string_view text) {
    std::string out = "stale";
    EXPECT_TRUE(wideToMultiByte(codePage, text, out)) << "code page " << codePage;
    return out;
}

// UTF-8 at every length and boundary, and code page 932.
TEST(CodePageTest, ConvertsBothWays) {
    using namespace std::string_view_literals;
    struct Case {
        std::uint32_t codePage;
        std::string_view narrow;
        std::u16string_view wide;
    };
    const std::uint32_t utf8 = kCodePageUtf8, japanese = kCodePageJapanese;
    const Case cases[] = {
        {utf8, ""sv, u""sv},
        {utf8, "abc"sv, u"abc"sv},
        {utf8, "a\0b"sv, u"a\0b"sv},
        {utf8, "\x7F"sv, u"\u007F"sv},
        {utf8, "\xC2\x80"sv, u"\u0080"sv},
        {utf8, "\xDF\xBF"sv, u"\u07FF"sv},
        {utf8, "\xE0\xA0\x80"sv, u"\u0800"sv},
        {utf8, "\xE2\x82\xAC"sv, u"\u20AC"sv},
        {utf8, "\xEF\xBF\xBF"sv, u"\uFFFF"sv},
        {utf8, "\xF0\x90\x80\x80"sv, u"\U00010000"sv},
        {utf8, "\xF0\x9F\x98\x80"sv, u"\U0001F600"sv},
        {utf8, "\xF4\x8F\xBF\xBF"sv, u"\U0010FFFF"sv},
        {utf8, "Caf\xC3\xA9"sv, u"Caf\u00E9"sv},
        {japanese, "\x93\xFA\x96\x7B\x8C\xEA", u"\u65E5\u672C\u8A9E"}, // Japanese (the word)
        {japanese, "\x82\xA0\x82\xA2\x82\xA4", u"\u3042\u3044\u3046"}, // hiragana a i u
        {japanese, "\xB1\xB2", u"\uFF71\uFF72"},                       // half-width katakana
        {japanese, "C:\\x~", u"C:\\x~"},                               // 0x5C and 0x7E stay ASCII
        {japanese, "\x83\x7D\x81\x5B\x83\x4A\x81\x5B", u"\u30DE\u30FC\u30AB\u30FC"}, // "marker"
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toWide(c.codePage, c.narrow), c.wide);
        EXPECT_EQ(toNarrow(c.codePage, c.wide), c.narrow);
    }
}

// Invalid UTF-8, a truncated code page 932 text and an unknown code page fail, leaving nothing.
TEST(CodePageTest, InvalidInputOrAnUnknownCodePageFails) {
    const char* const invalid[] = {
        "\x80",             // stray continuation byte
        "\xC0\xAF",         // overlong '/'
        "\xE0\x9F\xBF",     // overlong U+07FF
        "\xF0\x8F\xBF\xBF", // overlong U+FFFF
        "\xED\xA0\x80",     // surrogate U+D800
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xF5\x80\x80\x80", // lead byte beyond the range
        "\xFE",
        "\xC3",           // truncated two-byte sequence
        "\xE2\x82",       // truncated three-byte sequence
        "ok\xF0\x9F\x98", // truncated four-byte sequence at the end
        "\xC3\x28",       // continuation byte missing
        "\xF0\x9F\x28\x80",
    };
    for (const char* text : invalid) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        EXPECT_EQ(toWide(kCodePageUtf8, text, false), u"");
    }
    EXPECT_EQ(toWide(kCodePageJapanese, "ab\x82", false), u"");
    EXPECT_EQ(toWide(1251, "abc", false), u"");
    std::string narrow = "stale";
    EXPECT_FALSE(wideToMultiByte(1251, u"abc", narrow));
    EXPECT_EQ(narrow, "");
}

// Windows-1252 maps 0x80 to 0x9F to its own characters where it has them.
TEST(CodePageTest, WesternRoundTripsEveryByte) {
    struct Case {
        unsigned char byte;
        char16_t unit;
    };
    const Case cases[] = {
        {0x80, u'\u20AC'}, {0x81, u'\u0081'}, {0x8A, u'\u0160'}, {0x8D, u'\u008D'},
        {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x93, u'\u201C'}, {0x9D, u'\u009D'},
        {0x9F, u'\u0178'}, {0xA0, u'\u00A0'}, {0xE9, u'\u00E9'}, {0xFF, u'\u00FF'},
    };
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    for (std::uint32_t codePage : {kCodePageDefault, kCodePageWestern}) {
        std::u16string wide = toWide(codePage, all);
        ASSERT_EQ(wide.size(), 256u);
        EXPECT_EQ(toNarrow(codePage, wide), all);
        for (const Case& c : cases)
            EXPECT_EQ(wide[c.byte], c.unit) << "byte " << +c.byte;
    }
}

TEST(CodePageTest, UnmappableCharactersBecomeReplacements) {
    struct Case {
        std::uint32_t codePage;
        std::u16string_view wide;
        std::string_view narrow;
    };
    // Unpaired surrogates become U+FFFD in UTF-8 and '?' elsewhere. U+0080 is a C1 control that
    // Windows-1252 does not carry (0x80 is the euro sign).
    const Case cases[] = {
        {kCodePageUtf8, u"a\xD800z", "a\xEF\xBF\xBDz"},
        {kCodePageUtf8, u"x\xD83D", "x\xEF\xBF\xBD"},
        {kCodePageUtf8, u"\xDC00", "\xEF\xBF\xBD"},
        {kCodePageWestern, u"a\u0080b\u0100c\u3042", "a?b?c?"},
        {kCodePageWestern, u"\U0001F600", "?"},
        {kCodePageDefault, u"\xD800", "?"},
        {kCodePageJapanese, u"a\u00E9b", "a?b"},
        {kCodePageJapanese, u"\U0001F600\u3042", "?\x82\xA0"},
        {kCodePageJapanese, u"x\xDC00y", "x?y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toNarrow(c.codePage, c.wide), c.narrow) << testing::PrintToString(c.narrow);
}

} // namespace
} // namespace Brennovar::Platform

#include "platform/code_page.h"
#include "text/text_string.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace Brennovar {
namespace {

// Reads the stored text without the converting reading operations.
std::string_view narrowOf(const String& s) {
    EXPECT_FALSE(s.isWide());
    return s.isEmpty() ? std::string_view()
                       : std::string_view(static_cast<const char*>(s.rawBuffer()), s.length());
}
std::u16string_view wideOf(const String& s) {
    EXPECT_TRUE(s.isWide());
    return s.isEmpty()
               ? std::u16string_view()
               : std::u16string_view(static_cast<const char16_t*>(s.rawBuffer()), s.length());
}

TEST(StringTest, NarrowConstructorsFollowLengthAndTerminatorRules) {
    struct Case {
        const char* text;
        int32 length;
        bool terminated;
        std::string_view expected;
    };
    using namespace std::string_view_literals;
    const Case cases[] = {
        {"abc", -1, true, "abc"sv}, {"abc", 2, true, "ab"sv},     {"abc", 10, true, "abc"sv},
        {"abc", 0, true, ""sv},     {"a\0c", 3, false, "a\0c"sv}, {"abc", -1, false, ""sv},
        {nullptr, -1, true, ""sv},  {nullptr, 3, false, ""sv},
    };
    for (const Case& c : cases)
        EXPECT_EQ(narrowOf(String(c.text, c.length, c.terminated)), c.expected) << &c - cases;
    EXPECT_EQ(wideOf(String(u"abc", 2)), u"ab");
    EXPECT_EQ(wideOf(String(u"abc")), u"abc");
    EXPECT_TRUE(String(u"abc", -1, false).isEmpty());
    String empty;
    EXPECT_TRUE(empty.isWide());
    ASSERT_NE(empty.narrowText(), nullptr);
    EXPECT_EQ(empty.narrowText()[0], 0);
}

TEST(StringTest, CodePageConstructorDecodesUtf8OrKeepsTheBytes) {
    EXPECT_EQ(wideOf(String("Caf\xC3\xA9 \xE6\x97\xA5", 65001)), u"Caf\u00E9 \u65E5");
    EXPECT_EQ(narrowOf(String("Caf\xE9", 65001)), "Caf\xE9");

    EXPECT_EQ(wideOf(String("\x80", Platform::kCodePageWestern)), u"\u20AC");
    EXPECT_EQ(wideOf(String("abcdef", Platform::kCodePageUtf8, 3)), u"abc");
}

TEST(StringTest, ReadingInTheOtherWidthConvertsInPlaceOrNotAtAll) {
    String s("Gr\xFC\xDF"
             "e");
    EXPECT_EQ(std::u16string_view(s.wideText()), u"Gr\u00FC\u00DFe");
    EXPECT_TRUE(s.isWide());
    EXPECT_EQ(std::string_view(s.narrowText()), "Gr\xFC\xDF"
                                                "e");
    EXPECT_FALSE(s.isWide());
    EXPECT_EQ(s.wideCharAt(2), u'\u00FC');
    EXPECT_TRUE(s.isWide());
    EXPECT_EQ(s.narrowCharAt(4), 'e');
    EXPECT_EQ(s.narrowCharAt(5), 0);
    EXPECT_FALSE(s.isWide());

    // Unmappable characters become '?' with code page 0.
    EXPECT_EQ(std::string_view(String(u"\u65E5x").narrowText()), "?x");

    // A failed conversion leaves the text unchanged.
    String bad("bad\xFF");
    EXPECT_FALSE(bad.convertToWide(Platform::kCodePageUtf8));
    EXPECT_EQ(narrowOf(bad), "bad\xFF");
    EXPECT_FALSE(bad.convertToWide(1251));
    EXPECT_FALSE(bad.isWide());

    String w(u"abc");
    EXPECT_FALSE(w.convertToNarrow(1251));
    EXPECT_EQ(wideOf(w), u"abc");

    // A one-byte 8-bit buffer must not be read as a 16-bit terminator.
    String empty;
    empty.adoptBuffer(std::calloc(1, 1), false);
    const char16_t* wide = empty.wideText();
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide[0], 0);
    EXPECT_TRUE(empty.isWide());
}

TEST(StringTest, AssigningOrAdoptingTheOwnTextIsSafe) {
    String s("Hello World");
    const void* before = s.rawBuffer();
    s.assign(static_cast<const char*>(s.rawBuffer()));
    EXPECT_EQ(s.rawBuffer(), before);
    EXPECT_EQ(narrowOf(s), "Hello World");
    s.assign(s);
    EXPECT_EQ(narrowOf(s), "Hello World");

    s.assign(ConstString(s, 6));
    EXPECT_EQ(narrowOf(s), "World");
    s.assign(ConstString(s, 0, 3));
    EXPECT_EQ(narrowOf(s), "Wor");
    s.assign(static_cast<const char*>(s.rawBuffer()) + 1);
    EXPECT_EQ(narrowOf(s), "or");

    auto* buffer = static_cast<char16_t*>(std::malloc(4 * sizeof(char16_t)));
    std::memcpy(buffer, u"Hut", 4 * sizeof(char16_t));
    s.adoptBuffer(buffer, true);
    s.adoptBuffer(s.rawBuffer(), true); // no double free
    EXPECT_EQ(wideOf(s), u"Hut");
}

TEST(StringTest, FormatGivesNarrowTextCutAt4095) {
    String s;
    s.format("%s%i", "AttributeMappingViewController", 3);
    EXPECT_EQ(narrowOf(s), "AttributeMappingViewController3");

    s.format("%5000d", 7);
    EXPECT_EQ(s.length(), 4095u);
    EXPECT_EQ(s.narrowCharAt(4094), ' ');
    s.format("%4095d", 7);
    EXPECT_EQ(s.length(), 4095u);
    EXPECT_EQ(s.narrowCharAt(4094), '7');

    String own("row");
    own.format("%s-%s", own.narrowText(), own.narrowText());
    EXPECT_EQ(narrowOf(own), "row-row");
}

} // namespace
} // namespace Brennovar

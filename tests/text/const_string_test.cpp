#include "module/tagged_value.h"
#include "text/const_string.h"

#include <gtest/gtest.h>
#include <string_view>

namespace Brennovar {
namespace {

std::string_view narrowOf(const ConstString& s) {
    return {s.narrowText(), s.length()};
}
std::u16string_view wideOf(const ConstString& s) {
    return {s.wideText(), s.length()};
}

TEST(ConstStringTest, TextOfTheOtherWidthOrOfNothingIsEmptyNotNull) {
    for (const ConstString& s : {ConstString(), ConstString("abc"), ConstString(u"abc")}) {
        ASSERT_NE(s.narrowText(), nullptr);
        ASSERT_NE(s.wideText(), nullptr);
        EXPECT_EQ(s.isWide() ? s.narrowText()[0] : s.wideText()[0], 0);
    }
    EXPECT_FALSE(ConstString().isWide());
    // Characters outside the text or in the other width read as 0.
    EXPECT_EQ(ConstString("abc").narrowCharAt(2), 'c');
    EXPECT_EQ(ConstString("abc").narrowCharAt(0xFFFFFFFFu), 0);
    EXPECT_EQ(ConstString("abc").wideCharAt(0), 0);
    EXPECT_EQ(ConstString(u"xyz").wideCharAt(3), 0);
}

TEST(ConstStringTest, ViewsATaggedValueByItsKind) {
    char narrow[] = "key";
    char16_t wide[] = u"Wert";
    const FTaggedValue string8 = FTaggedValue::fromString8(narrow);
    const FTaggedValue string16 = FTaggedValue::fromString16(wide);
    EXPECT_EQ(narrowOf(ConstString(string8)), "key");
    EXPECT_EQ(wideOf(ConstString(string16)), u"Wert");
    // A copy owns its text: types 4 | 0x10 and 0x20 | 0x10.
    EXPECT_EQ(narrowOf(ConstString(FTaggedValue(string8))), "key");
    EXPECT_EQ(wideOf(ConstString(FTaggedValue(string16))), u"Wert");
    EXPECT_TRUE(ConstString(FTaggedValue::fromInteger(42)).isEmpty());
    EXPECT_TRUE(ConstString(FTaggedValue()).isEmpty());
    EXPECT_TRUE(ConstString(FTaggedValue::fromString8(nullptr)).isEmpty());
}

TEST(ConstStringTest, CompareFollowsEmptinessLengthAndMode) {
    using M = ConstString::CompareMode;
    struct Case {
        ConstString a;
        ConstString b;
        int32 length;
        M mode;
        int32 expected;
    };
    const Case cases[] = {
        {"Project", "", -1, M::kCaseSensitive, 1},
        {"", "Project", -1, M::kCaseSensitive, -1},
        {"", "", -1, M::kCaseSensitive, 0},
        {ConstString(), "", -1, M::kCaseSensitive, 0},
        {"a", "b", 0, M::kCaseSensitive, 0},
        {"Project", "Project", -1, M::kCaseSensitive, 0},
        {"Project", "project", -1, M::kCaseInsensitive, 0},
        {"Project", "project", -1, M::kCaseSensitive, -1},
        {"abc", "abd", -1, M::kCaseSensitive, -1},
        {"abc", "abcd", -1, M::kCaseSensitive, -1},
        {"abcdef", "abcxyz", 3, M::kCaseSensitive, 0},
        {"\xE9", "z", -1, M::kCaseSensitive, 1}, // bytes compare unsigned
        {"[", "{", -1, M::kCaseInsensitive, -1}, // only A to Z fold
        {ConstString("abcdef", 3), "abc", -1, M::kCaseSensitive, 0},
        {u"Project", u"PROJECT", -1, M::kCaseInsensitive, 0},
        {u"\u00C9", u"\u00E9", -1, M::kCaseInsensitive, -1},
        {u"\uFFFF", u"a", -1, M::kCaseSensitive, 1},
        {"abc", u"abc", -1, M::kCaseSensitive, 0},
        {"abd", u"abc", -1, M::kCaseSensitive, 1},
        {"ABC", u"abc", -1, M::kCaseInsensitive, 0},
        {"\x80", u"\u20AC", -1, M::kCaseSensitive, 0}, // code page 0 is Windows-1252
        {"abcX", u"abcY", 3, M::kCaseSensitive, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a.compare(c.b, c.length, c.mode), c.expected)
            << testing::PrintToString(&c - cases);
    }
}

} // namespace
} // namespace Brennovar

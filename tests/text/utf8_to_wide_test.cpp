#include "text/utf8_to_wide.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

TEST(Utf8ToWideTest, DecodesTheGivenBytesOnly) {
    const char text[] = "K\xC3\xBC"
                        "che\xF0\x9F\x8E\xB5 rest";
    EXPECT_EQ(utf8ToWide(text, 10), u"K\u00FCche\U0001F3B5");
    EXPECT_EQ(utf8ToWide(text, 1), u"K");
}

TEST(Utf8ToWideTest, InvalidOrEmptyInputGivesEmpty) {
    EXPECT_EQ(utf8ToWide("abc\xC3", 4), u"");
    EXPECT_EQ(utf8ToWide("K\xC3\xBC", 2), u""); // cut inside a sequence
    EXPECT_EQ(utf8ToWide("\xED\xA0\x80", 3), u"");
    EXPECT_EQ(utf8ToWide("abc", 0), u"");
    EXPECT_EQ(utf8ToWide(nullptr, 5), u"");
}

} // namespace
} // namespace Brennovar::Zintara

// The Windows side of the platform layer, where it is more than a call into the system.

#include "platform/random_guid.h"
#include "platform/settings_folder.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace Brennovar::Platform {
namespace {

TEST(WindowsPlatformTest, SettingsFolderLiesInTheRoamingApplicationData) {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(settingsFolder(), std::filesystem::path(appData) / L"Brennovar");
}

// CoCreateGuid's fields are little-endian in memory: the version is the high nibble of byte 7,
// the variant the top bits of byte 8, as in a Guid's stored bytes.
TEST(WindowsPlatformTest, GuidsAreRandomVersionFour) {
    const Guid a = randomGuid();
    const Guid b = randomGuid();
    for (const Guid& g : {a, b}) {
        EXPECT_EQ(g.bytes[7] >> 4, 4);
        EXPECT_EQ(g.bytes[8] >> 6, 2);
    }
    EXPECT_NE(std::memcmp(a.bytes, b.bytes, sizeof a.bytes), 0);
}

} // namespace
} // namespace Brennovar::Platform

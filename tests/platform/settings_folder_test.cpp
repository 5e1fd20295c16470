#include "platform/settings_folder.h"
#include "scoped_environment.h"

#include <gtest/gtest.h>

namespace Brennovar::Platform {
namespace {

TEST(SettingsFolderTest, FollowsXdgConfigHomeThenHome) {
    struct Case {
        const char* configHome;
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {"/cfg", "/home/u", "/cfg/Brennovar"},
        {"/cfg/", "/home/u", "/cfg/Brennovar"},
        {nullptr, "/home/u", "/home/u/.config/Brennovar"},
        {"", "/home/u/", "/home/u/.config/Brennovar"},
        // A relative XDG_CONFIG_HOME is ignored, so settings never follow the working directory.
        {"cfg", "/home/u", "/home/u/.config/Brennovar"},
        {nullptr, nullptr, ""},
        {"", "", ""},
        {"relative", "also-relative", ""},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment("XDG_CONFIG_HOME", c.configHome);
        environment.set("HOME", c.home);
        EXPECT_EQ(settingsFolder(), c.folder) << &c - cases;
    }
}

} // namespace
} // namespace Brennovar::Platform

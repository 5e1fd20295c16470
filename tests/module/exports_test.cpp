// The module's dynamic symbol table defines exactly the three entry points.

#include "refhost/loading/module_exports.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(ExportsTest, OnlyTheThreeEntryPointsAreDefined) {
    const char* path = std::getenv("ZINTARA_MODULE");
    ASSERT_NE(path, nullptr);
    std::string error;
    auto names = Brennovar::RefHost::moduleExports(path, error);
    ASSERT_TRUE(names) << error;
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{"ExitDll", "GetPluginFactory", "InitDll"}));
}

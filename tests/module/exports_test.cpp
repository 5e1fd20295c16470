// The module's dynamic symbol table defines exactly the three entry points.

#include "refhost/loading/module_exports.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(ExportsTest, OnlyTheThreeEntryPointsAreDefined) {
    const char* path = std::getenv("ZINTARA_MODULE");
    ASSERT_NE(path, nullptr);
    auto names = Brennovar::RefHost::moduleExports(path);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ExitDll", "GetPluginFactory", "InitDll"}));
}

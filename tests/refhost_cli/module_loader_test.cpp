#include "host/host_object_provider.h"
#include "refhost/loading/module_loader.h"

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>

using namespace Brennovar;
using Brennovar::RefHost::ModuleLoader;

namespace {

/// A host context that answers IHostObjectProvider and offers no service; it counts the
/// references the module takes so that the test can check every one came back.
class CountingContext : public IHostObjectProvider {
public:
    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        if (id == FUnknown::iid || id == IHostObjectProvider::iid) {
            addRef();
            *obj = this;
            return ResultOk;
        }
        *obj = nullptr;
        return ResultNoInterface;
    }
    uint32 addRef() noexcept override { return static_cast<uint32>(++count); }
    uint32 release() noexcept override { return static_cast<uint32>(--count); }
    ResultCode getObject(const Guid&, void** obj) noexcept override {
        *obj = nullptr;
        return ResultNoInterface;
    }
    std::atomic<int> count{1};
};

std::string realModule() {
    const char* path = std::getenv("ZINTARA_MODULE");
    return path ? path : "";
}

std::string fakeModule(const char* fault) {
    return std::string(FAKE_MODULE_DIR) + "/fake_" + fault + ".so";
}

} // namespace

TEST(ModuleLoaderTest, ReadsTheBuiltModulesClassWithItsUnicodeRecord) {
    ModuleLoader loader;
    ASSERT_TRUE(loader.load(realModule())) << loader.error();
    ASSERT_EQ(loader.classes().size(), 1u);
    ASSERT_EQ(loader.serviceClassIndex(), 0);
    const RefHost::ModuleClass& service = loader.classes()[0];
    ASSERT_TRUE(service.hasInfo2 && service.hasInfoUnicode);
    EXPECT_EQ(RefHost::fieldText(service.infoUnicode.name), u"Zintara");
    EXPECT_EQ(RefHost::fieldText(service.infoUnicode.version), u"1.0.0.79");
    EXPECT_TRUE(loader.unload()) << loader.error();
    EXPECT_FALSE(loader.isLoaded());
}

TEST(ModuleLoaderTest, ModuleHandleIsTheLoadAddressOfTheModule) {
    ModuleLoader loader;
    ASSERT_TRUE(loader.load(realModule())) << loader.error();
    // The loader's library handle is private; a second dlopen of the same path returns the same
    // mapping, whose base dladdr reports for any of its symbols.
    void* library = dlopen(realModule().c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    Dl_info info{};
    ASSERT_NE(dladdr(dlsym(library, "InitDll"), &info), 0);
    EXPECT_EQ(loader.moduleHandle(), info.dli_fbase);
    dlclose(library);
}

TEST(ModuleLoaderTest, BuiltModuleRefusingAHostWithoutServicesIsAnErrorAndBalanced) {
    CountingContext context;
    {
        ModuleLoader loader;
        ASSERT_TRUE(loader.load(realModule())) << loader.error();
        // Without a dialog service the service object answers ResultFalse.
        EXPECT_FALSE(loader.startService(&context));
        EXPECT_NE(loader.error().find("initialize of the service failed: ResultFalse"),
                  std::string::npos)
            << loader.error();
        EXPECT_EQ(loader.service(), nullptr);
        EXPECT_TRUE(loader.unload()) << loader.error();
    }
    EXPECT_EQ(context.count, 1);
}

TEST(ModuleLoaderTest, HealthyModuleRunsAndGivesEveryReferenceBack) {
    for (bool stopBeforeUnload : {true, false}) {
        CountingContext context;
        ModuleLoader loader;
        ASSERT_TRUE(loader.load(fakeModule("healthy"))) << loader.error();
        ASSERT_EQ(loader.classes().size(), 2u);
        // The first "Service" class is picked, not the first class.
        EXPECT_EQ(loader.serviceClassIndex(), 1);
        EXPECT_FALSE(loader.classes()[1].hasInfoUnicode);
        ASSERT_TRUE(loader.startService(&context)) << loader.error();
        EXPECT_FALSE(loader.startService(&context));
        EXPECT_EQ(context.count, 2);
        if (stopBeforeUnload) {
            EXPECT_TRUE(loader.stopService()) << loader.error();
        }
        // Unloading stops a running service; the fake's ExitDll fails while any of its
        // references is outstanding.
        EXPECT_TRUE(loader.unload()) << loader.error();
        EXPECT_EQ(context.count, 1);
    }
}

TEST(ModuleLoaderTest, LoadingASecondTimeUnloadsTheFirst) {
    ModuleLoader loader;
    ASSERT_TRUE(loader.load(fakeModule("healthy"))) << loader.error();
    ASSERT_TRUE(loader.load(realModule())) << loader.error();
    EXPECT_EQ(RefHost::fieldText(loader.factoryInfo().vendor), "Brennovar");
}

TEST(ModuleLoaderTest, UnterminatedTextFieldsEndAtTheFieldWidth) {
    ModuleLoader loader;
    ASSERT_TRUE(loader.load(fakeModule("unterminated_text"))) << loader.error();
    EXPECT_EQ(RefHost::fieldText(loader.factoryInfo().vendor), std::string(64, 'V'));
    EXPECT_EQ(RefHost::fieldText(loader.factoryInfo().url), "https://fake.invalid");
}

struct BrokenModuleCase {
    const char* fault;
    bool loads;
    const char* message;
};

class BrokenModuleTest : public testing::TestWithParam<BrokenModuleCase> {};

TEST_P(BrokenModuleTest, FailsWithAClearMessage) {
    const BrokenModuleCase& c = GetParam();
    CountingContext context;
    {
        ModuleLoader loader;
        std::string path = fakeModule(c.fault);
        bool ok = loader.load(path) && loader.startService(&context);
        EXPECT_FALSE(ok);
        EXPECT_EQ(loader.isLoaded(), c.loads);
        EXPECT_EQ(loader.error().rfind("module " + path + ": ", 0), 0u) << loader.error();
        EXPECT_NE(loader.error().find(c.message), std::string::npos) << loader.error();
        EXPECT_EQ(loader.service(), nullptr);
        EXPECT_TRUE(loader.unload()) << loader.error();
    }
    EXPECT_EQ(context.count, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenModuleTest,
    testing::Values(BrokenModuleCase{"does_not_exist", false, "cannot be opened: "},
                    BrokenModuleCase{"missing_exports", false, "does not export ExitDll"},
                    BrokenModuleCase{"null_factory", false, "GetPluginFactory returned no factory"},
                    BrokenModuleCase{"no_service", true,
                                     "the factory lists no class of category \"Service\""},
                    BrokenModuleCase{"create_fails", true,
                                     "createInstance of the service class \"Fake Service\" failed: "
                                     "ResultNoInterface (0x80004002)"},
                    BrokenModuleCase{"initialize_fails", true,
                                     "initialize of the service failed: ResultFalse (0x00000001)"}),
    [](const testing::TestParamInfo<BrokenModuleCase>& info) { return info.param.fault; });

TEST(ModuleLoaderTest, StartServiceBeforeLoadIsRefused) {
    ModuleLoader loader;
    CountingContext context;
    EXPECT_FALSE(loader.startService(&context));
    EXPECT_NE(loader.error().find("not loaded"), std::string::npos);
    EXPECT_TRUE(loader.unload());
}

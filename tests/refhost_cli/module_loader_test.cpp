#include "refhost/host/host.h"
#include "refhost/loading/module_loader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <link.h>
#include <string>
#include <unistd.h>

using namespace Brennovar;
using Brennovar::RefHost::ModuleLoader;

namespace {

std::string realModule() {
    const char* path = std::getenv("ZINTARA_MODULE");
    return path ? path : "";
}

std::string fakeModule(const char* fault) {
    return std::string(FAKE_MODULE_DIR) + "/fake_" + fault + ".so";
}

// A copy of the healthy fake that ends one byte after the start of its last segment: every
// segment starts inside the file, but mapping the last one would fault on its missing bytes.
std::string cutInsideLastSegment() {
    std::ifstream in(fakeModule("healthy"), std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ElfW(Ehdr) header;
    std::memcpy(&header, bytes.data(), sizeof header);
    std::uint64_t lastStart = 0;
    std::uint64_t lastEnd = 0;
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment;
        std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (segment.p_type == PT_LOAD || segment.p_type == PT_DYNAMIC) {
            lastStart = std::max<std::uint64_t>(lastStart, segment.p_offset);
            lastEnd = std::max<std::uint64_t>(lastEnd, segment.p_offset + segment.p_filesz);
        }
    }
    EXPECT_LT(lastStart + 1, lastEnd);
    const std::string path =
        testing::TempDir() + "module_loader_" + std::to_string(getpid()) + "_cut.so";
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(lastStart + 1));
    return path;
}

} // namespace

TEST(ModuleLoaderTest, HealthyModuleRunsAndGivesEveryReferenceBack) {
    for (bool stopBeforeUnload : {true, false}) {
        RefHost::Host host;
        ModuleLoader loader;
        ASSERT_TRUE(loader.load(fakeModule("healthy"))) << loader.error();
        ASSERT_EQ(loader.classes().size(), 2u);
        // The first "Service" class is picked, not the first class.
        EXPECT_EQ(loader.serviceClassIndex(), 1);
        EXPECT_FALSE(loader.classes()[1].hasInfoUnicode);
        ASSERT_TRUE(loader.startService(host.context())) << loader.error();
        EXPECT_FALSE(loader.startService(host.context()));
        EXPECT_FALSE(host.references().clean()) << "the service holds the host's provider";
        if (stopBeforeUnload) {
            EXPECT_TRUE(loader.stopService()) << loader.error();
        }
        // Unloading stops a running service; the fake's ExitDll fails while any of its
        // references is outstanding.
        EXPECT_TRUE(loader.unload()) << loader.error();
        EXPECT_TRUE(host.references().clean()) << host.references().text();
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
    RefHost::Host host;
    {
        ModuleLoader loader;
        const std::string path = std::strcmp(c.fault, "cut_inside_last_segment") == 0
                                     ? cutInsideLastSegment()
                                     : fakeModule(c.fault);
        bool ok = loader.load(path) && loader.startService(host.context());
        EXPECT_FALSE(ok);
        EXPECT_EQ(loader.isLoaded(), c.loads);
        EXPECT_EQ(loader.error().rfind("module " + path + ": ", 0), 0u) << loader.error();
        EXPECT_NE(loader.error().find(c.message), std::string::npos) << loader.error();
        EXPECT_EQ(loader.service(), nullptr);
        EXPECT_TRUE(loader.unload()) << loader.error();
    }
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenModuleTest,
    testing::Values(
        BrokenModuleCase{"does_not_exist", false, "cannot be opened: "},
        BrokenModuleCase{"cut_inside_last_segment", false, "is truncated: the file is "},
        BrokenModuleCase{"missing_exports", false, "does not export ExitDll"},
        BrokenModuleCase{"null_factory", false, "GetPluginFactory returned no factory"},
        BrokenModuleCase{"no_service", true, "the factory lists no class of category \"Service\""},
        BrokenModuleCase{"create_fails", true,
                         "createInstance of the service class \"Fake Service\" failed: "
                         "ResultNoInterface (0x80004002)"},
        BrokenModuleCase{"initialize_fails", true,
                         "initialize of the service failed: ResultFalse (0x00000001)"},
        BrokenModuleCase{"missing_init_dll", false, "does not export InitDll"},
        BrokenModuleCase{"missing_factory", false, "does not export GetPluginFactory"},
        BrokenModuleCase{"init_dll_fails", false, "InitDll reported a failure"},
        BrokenModuleCase{"factory_info_fails", false, "getFactoryInfo failed: ResultFailed"},
        BrokenModuleCase{"class_info_fails", false, "getClassInfo(1) failed: ResultFailed"},
        BrokenModuleCase{"too_many_classes", false,
                         "countClasses answered 1025, expected 0 to 1024"},
        BrokenModuleCase{"no_plugin_base", true, "the service object does not answer IPluginBase"}),
    [](const testing::TestParamInfo<BrokenModuleCase>& info) { return info.param.fault; });

TEST(ModuleLoaderTest, AFailedTerminateFailsTheUnloadButGivesEverythingBack) {
    RefHost::Host host;
    {
        ModuleLoader loader;
        ASSERT_TRUE(loader.load(fakeModule("terminate_fails"))) << loader.error();
        ASSERT_TRUE(loader.startService(host.context())) << loader.error();
        EXPECT_FALSE(loader.unload());
        EXPECT_NE(loader.error().find("terminate of the service failed: ResultFalse"),
                  std::string::npos)
            << loader.error();
        EXPECT_FALSE(loader.isLoaded());
    }
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST(ModuleLoaderTest, StartServiceBeforeLoadIsRefused) {
    ModuleLoader loader;
    RefHost::Host host;
    EXPECT_FALSE(loader.startService(host.context()));
    EXPECT_NE(loader.error().find("not loaded"), std::string::npos);
    EXPECT_TRUE(loader.unload());
}

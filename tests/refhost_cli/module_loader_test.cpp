#include "refhost/host/host.h"
#include "refhost/loading/module_loader.h"
#include "refhost_cli/tool_run.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <elf.h>
#include <gmock/gmock.h>
#include <link.h>
#include <string>

using namespace Brennovar;
using namespace RefHostCliTest;
using Brennovar::RefHost::ModuleLoader;

namespace {

// A copy of the healthy fake that ends one byte after the start of its last segment: every
// segment starts inside the file, but mapping the last one would fault on its missing bytes.
std::string cutInsideLastSegment() {
    const std::string bytes = readText(fakeModule("healthy"));
    ElfW(Ehdr) header;
    std::memcpy(&header, bytes.data(), sizeof header);
    std::uint64_t lastStart = 0;
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment;
        std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (segment.p_type == PT_LOAD || segment.p_type == PT_DYNAMIC)
            lastStart = std::max<std::uint64_t>(lastStart, segment.p_offset);
    }
    const std::string path = temporary("cut.so");
    writeText(path, bytes.substr(0, lastStart + 1));
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

// Unterminated text fields end at the field width; loading a second time unloads the first.
TEST(ModuleLoaderTest, TextFieldsEndAtTheFieldWidthAndASecondLoadReplacesTheFirst) {
    ModuleLoader loader;
    ASSERT_TRUE(loader.load(fakeModule("unterminated_text"))) << loader.error();
    EXPECT_EQ(RefHost::fieldText(loader.factoryInfo().vendor), std::string(64, 'V'));
    EXPECT_EQ(RefHost::fieldText(loader.factoryInfo().url), "https://fake.invalid");
    ASSERT_TRUE(loader.load(modulePath())) << loader.error();
    EXPECT_EQ(RefHost::fieldText(loader.factoryInfo().vendor), "Brennovar");
}

TEST(ModuleLoaderTest, BrokenModulesFailWithAClearMessageAndGiveEverythingBack) {
    const struct {
        const char* fault;
        bool loads;
        const char* message;
    } cases[] = {
        {"does_not_exist", false, "cannot be opened: "},
        {"cut_inside_last_segment", false, "is truncated: the file is "},
        {"missing_exports", false, "does not export ExitDll"},
        {"null_factory", false, "GetPluginFactory returned no factory"},
        {"no_service", true, "the factory lists no class of category \"Service\""},
        {"create_fails", true,
         "createInstance of the service class \"Fake Service\" failed: "
         "ResultNoInterface (0x80004002)"},
        {"initialize_fails", true, "initialize of the service failed: ResultFalse (0x00000001)"},
        {"missing_init_dll", false, "does not export InitDll"},
        {"missing_factory", false, "does not export GetPluginFactory"},
        {"init_dll_fails", false, "InitDll reported a failure"},
        {"factory_info_fails", false, "getFactoryInfo failed: ResultFailed"},
        {"class_info_fails", false, "getClassInfo(1) failed: ResultFailed"},
        {"too_many_classes", false, "countClasses answered 1025, expected 0 to 1024"},
        {"no_plugin_base", true, "the service object does not answer IPluginBase"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        RefHost::Host host;
        ModuleLoader loader;
        const std::string path = std::strcmp(c.fault, "cut_inside_last_segment") == 0
                                     ? cutInsideLastSegment()
                                     : fakeModule(c.fault);
        EXPECT_FALSE(loader.load(path) && loader.startService(host.context()));
        EXPECT_EQ(loader.isLoaded(), c.loads);
        EXPECT_EQ(loader.error().rfind("module " + path + ": ", 0), 0u) << loader.error();
        EXPECT_THAT(loader.error(), testing::HasSubstr(c.message));
        EXPECT_EQ(loader.service(), nullptr);
        EXPECT_TRUE(loader.unload()) << loader.error();
        EXPECT_TRUE(host.references().clean()) << host.references().text();
    }
}

// Starting before loading is refused; a failed terminate fails the unload, but everything is
// given back.
TEST(ModuleLoaderTest, StartBeforeLoadAndAFailedTerminateAreReported) {
    RefHost::Host host;
    ModuleLoader loader;
    EXPECT_FALSE(loader.startService(host.context()));
    EXPECT_THAT(loader.error(), testing::HasSubstr("not loaded"));
    EXPECT_TRUE(loader.unload());
    ASSERT_TRUE(loader.load(fakeModule("terminate_fails"))) << loader.error();
    ASSERT_TRUE(loader.startService(host.context())) << loader.error();
    EXPECT_FALSE(loader.unload());
    EXPECT_THAT(loader.error(), testing::HasSubstr("terminate of the service failed: ResultFalse"));
    EXPECT_FALSE(loader.isLoaded());
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

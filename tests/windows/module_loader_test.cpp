// Zintara.dll as a host uses it: LoadLibrary, the three entry points by name, the factory's
// records, the service created, initialized against a minimal host and released, the resources
// found through the module handle, FreeLibrary; every reference given back; the version resource
// read as Windows reads it for the file's Details page.

#include "engine/fake_host.h"
#include "host/i_dialog_service.h"
#include "host/i_host_object_provider.h"
#include "host/plugin_base.h"
#include "host/plugin_factory.h"
#include "platform/embedded_resources.h"
#include "support/guid_text.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>

namespace Brennovar {
namespace {

Guid guid(const std::string& text) {
    Guid g;
    const auto bytes = Testing::storedBytes(text);
    std::memcpy(g.bytes, bytes.data(), sizeof g.bytes);
    return g;
}

std::string fileContent(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Reads a raw data resource the way the host does: by name and type, through the handle.
std::string resourceContent(HMODULE module, const char* name, WORD language) {
    HRSRC info = FindResourceExA(module, MAKEINTRESOURCEA(10), name, language);
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return "(missing)";
    return {static_cast<const char*>(bytes), SizeofResource(module, info)};
}

// One value of the version resource, found as the version API finds it; null when missing.
const void* versionValue(const std::vector<char>& block, const std::wstring& name) {
    void* value = nullptr;
    UINT size = 0;
    return VerQueryValueW(block.data(), name.c_str(), &value, &size) && size ? value : nullptr;
}

// Registering the skin fails on purpose: initialization then stops before it asks for anything
// else, which is all this test needs of a host.
struct DialogService : Zintara::Testing::FakeFace<IDialogService> {
    ResultCode registerSkin(ModuleHandle module, const char16_t* fileName) noexcept override {
        skinModule = module;
        skinName = fileName ? fileName : u"";
        return ResultFalse;
    }
    ResultCode runDialog(const char*, IPlugController*) noexcept override { return ResultFalse; }
    FUnknown* buildTemplateView(const char*, IPlugController*) noexcept override { return nullptr; }
    ModuleHandle skinModule = nullptr;
    std::u16string skinName;
};

struct Host : Zintara::Testing::FakeFace<IHostObjectProvider> {
    ResultCode getObject(const Guid& id, void** obj) noexcept override {
        if (id == IDialogService::iid)
            return dialogs.queryInterface(id, obj);
        *obj = nullptr;
        return ResultNoInterface;
    }
    DialogService dialogs;
};

class ModuleLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(ZINTARA_MODULE_PATH);
        ASSERT_NE(module, nullptr) << ZINTARA_MODULE_PATH << ": error " << GetLastError();
    }
    void TearDown() override {
        if (module) {
            EXPECT_TRUE(FreeLibrary(module));
        }
    }
    template <class Function>
    Function entryPoint(const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    HMODULE module = nullptr;
};

TEST_F(ModuleLoaderTest, FactoryRecordsAndServiceAsAHostSeesThem) {
    auto initDll = entryPoint<InitDllFunction>("InitDll");
    auto exitDll = entryPoint<ExitDllFunction>("ExitDll");
    auto getPluginFactory = entryPoint<GetPluginFactoryFunction>("GetPluginFactory");
    ASSERT_TRUE(initDll && exitDll && getPluginFactory);
    ASSERT_TRUE(initDll());

    IPluginFactory* factory = getPluginFactory();
    ASSERT_NE(factory, nullptr);
    FactoryInfo info{};
    EXPECT_EQ(factory->getFactoryInfo(&info), ResultOk);
    EXPECT_STREQ(info.vendor, "Brennovar");
    EXPECT_EQ(info.flags, 16);
    // The Details page: the project's version, the factory's vendor as the company, the licence;
    // the texts in the block the translation names (English, Unicode).
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(module, path, MAX_PATH), 0u);
    std::vector<char> block(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(versionValue(block, L"\\"));
    const auto* language =
        static_cast<const DWORD*>(versionValue(block, L"\\VarFileInfo\\Translation"));
    ASSERT_TRUE(fixed && language);
    const WORD numbers[] = {ZINTARA_VERSION_NUMBERS};
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(numbers[1], numbers[0]));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(numbers[3], numbers[2]));
    EXPECT_EQ(*language, MAKELONG(0x0409, 1200));
    const std::wstring vendor(info.vendor, info.vendor + std::strlen(info.vendor));
    for (const auto& [name, expected] :
         {std::pair<std::wstring, std::wstring>{L"CompanyName", vendor},
          {L"ProductName", L"Zintara"},
          {L"ProductVersion", L"" ZINTARA_PRODUCT_VERSION},
          {L"LegalCopyright",
           L"Copyright (c) 2026 " + vendor + L". Released under the MIT License."}}) {
        const void* text = versionValue(block, L"\\StringFileInfo\\040904b0\\" + name);
        EXPECT_EQ(text ? static_cast<const wchar_t*>(text) : L"(missing)", expected) << name;
    }
    ASSERT_EQ(factory->countClasses(), 1);
    ClassInfo classInfo{};
    ASSERT_EQ(factory->getClassInfo(0, &classInfo), ResultOk);
    EXPECT_EQ(classInfo.classId, guid("{D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA}"));
    EXPECT_STREQ(classInfo.category, "Service");
    EXPECT_STREQ(classInfo.name, "Zintara");

    void* object = nullptr;
    ASSERT_EQ(factory->createInstance(classInfo.classId,
                                      guid("{22888DDB-156E-45AE-8358-B34808190625}"), &object),
              ResultOk);
    auto* service = static_cast<IPluginBase*>(object);

    // The module hands the host the handle Windows gave it at process attach.
    Host host;
    EXPECT_EQ(service->initialize(&host), ResultFalse);
    EXPECT_EQ(host.dialogs.skinModule, static_cast<ModuleHandle>(module));
    EXPECT_EQ(host.dialogs.skinName, u"skin.kxp");
    EXPECT_EQ(service->terminate(), ResultOk);
    EXPECT_EQ(service->release(), 0u);
    EXPECT_EQ(factory->release(), 0u);
    EXPECT_TRUE(exitDll());
    EXPECT_EQ(host.references, 0);
    EXPECT_EQ(host.dialogs.references, 0);
}

TEST_F(ModuleLoaderTest, ResourcesAreTheLinuxBuildsBytesInGerman) {
    const WORD german = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN); // 1031
    for (auto [name, file] : {std::pair{"SKIN.KXP", ZINTARA_SKIN_CONTAINER_PATH},
                              std::pair{"TRANSLATION.XML", ZINTARA_TRANSLATION_PATH}}) {
        SCOPED_TRACE(name);
        const std::string expected = fileContent(file);
        ASSERT_FALSE(expected.empty()) << file;
        EXPECT_EQ(resourceContent(module, name, german), expected);
        // The names the host and the module's own loader use, in any case.
        std::string lower(name);
        for (char& ch : lower)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        auto found = Platform::findResource(module, lower);
        ASSERT_TRUE(found);
        EXPECT_EQ(std::string(found->begin(), found->end()), expected);
    }
    EXPECT_FALSE(Platform::findResource(module, "missing.xml"));
    EXPECT_FALSE(Platform::findResource(module, std::string_view("SKIN.KXP\0x", 10)));
}

} // namespace
} // namespace Brennovar

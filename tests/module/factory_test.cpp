// The factory as a host sees it: through the module loaded with dlopen.

#include "host/plugin_base.h"
#include "module/owned.h"
#include "support/guid_text.h"
#include "support/loaded_module.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

using namespace Brennovar;

namespace {

const Guid kServiceClass = Guid::fromText("D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA");

bool zeroFilledAfterText(const char* field, std::size_t width) {
    std::size_t length = strnlen(field, width);
    for (std::size_t i = length; i < width; ++i)
        if (field[i] != 0)
            return false;
    return true;
}

class FactoryTest : public ::testing::Test {
protected:
    Testing::LoadedModule module;
};

} // namespace

TEST_F(FactoryTest, EntryPointsCountLoads) {
    EXPECT_TRUE(module.initDll());
    EXPECT_TRUE(module.initDll());
    EXPECT_TRUE(module.exitDll());
    EXPECT_TRUE(module.exitDll());
    EXPECT_FALSE(module.exitDll()) << "one ExitDll more than InitDll";
    EXPECT_TRUE(module.initDll());
}

TEST_F(FactoryTest, TheFactoryIsSharedWhileAliveAndRebuiltAfterwards) {
    IPluginFactory* first = module.getPluginFactory();
    ASSERT_NE(first, nullptr);
    IPluginFactory* second = module.getPluginFactory();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->addRef(), 3u);
    EXPECT_EQ(first->release(), 2u);
    EXPECT_EQ(second->release(), 1u);
    EXPECT_EQ(first->release(), 0u);

    Owned<IPluginFactory> fresh(module.getPluginFactory());
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->countClasses(), 1);
}

TEST_F(FactoryTest, AnswersItsInterfaceIdsAndRefusesOthers) {
    Owned<IPluginFactory> factory(module.getPluginFactory());
    for (const char* id :
         {"{7A4D811C-5211-4A1F-AED9-D2EE0B43BF9F}", "{0007B650-F24B-4C0B-A464-EDB9F00B2ABB}",
          "{4555A2AB-C123-4E57-9B12-291036878931}", "{00000000-0000-0000-C000-000000000046}"}) {
        void* face = nullptr;
        ASSERT_EQ(factory->queryInterface(Guid::fromText(id), &face), ResultOk) << id;
        EXPECT_EQ(face, static_cast<void*>(factory.get()));
        static_cast<FUnknown*>(face)->release();
    }
    void* face = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->queryInterface(IPluginBase::iid, &face), ResultNoInterface);
    EXPECT_EQ(face, nullptr);
}

TEST_F(FactoryTest, FactoryInformation) {
    Owned<IPluginFactory> factory(module.getPluginFactory());
    FactoryInfo info;
    std::memset(&info, 0xCC, sizeof info);
    ASSERT_EQ(factory->getFactoryInfo(&info), ResultOk);
    EXPECT_STREQ(info.vendor, "Brennovar");
    EXPECT_EQ(std::string(info.email).rfind("mailto:", 0), 0u);
    EXPECT_GT(std::strlen(info.url), 0u);
    EXPECT_EQ(info.flags, 16);
    EXPECT_TRUE(zeroFilledAfterText(info.vendor, sizeof info.vendor));
    EXPECT_TRUE(zeroFilledAfterText(info.url, sizeof info.url));
    EXPECT_TRUE(zeroFilledAfterText(info.email, sizeof info.email));
    EXPECT_EQ(factory->getFactoryInfo(nullptr), ResultOk);
}

TEST_F(FactoryTest, ClassInformationInAllThreeForms) {
    Owned<IPluginFactory> factory(module.getPluginFactory());
    auto* factory3 = static_cast<IPluginFactory3*>(factory.get());
    ASSERT_EQ(factory->countClasses(), 1);

    ClassInfo info;
    ASSERT_EQ(factory->getClassInfo(0, &info), ResultOk);
    EXPECT_EQ(Testing::bytesOf(info.classId),
              Testing::storedBytes("{D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA}"));
    EXPECT_EQ(info.cardinality, 1);
    EXPECT_STREQ(info.category, "Service");
    EXPECT_STREQ(info.name, "Zintara");

    ClassInfo2 info2;
    std::memset(&info2, 0xCC, sizeof info2);
    ASSERT_EQ(factory3->getClassInfo2(0, &info2), ResultOk);
    EXPECT_EQ(info2.classFlags, 0u);
    EXPECT_STREQ(info2.version, "1.0.0.79");
    EXPECT_STREQ(info2.subCategories, "");
    EXPECT_STREQ(info2.vendor, "");
    EXPECT_STREQ(info2.sdkVersion, "");
    EXPECT_TRUE(zeroFilledAfterText(info2.category, sizeof info2.category));
    EXPECT_TRUE(zeroFilledAfterText(info2.version, sizeof info2.version));

    ClassInfoUnicode wide;
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), ResultOk);
    EXPECT_EQ(std::u16string(wide.name), u"Zintara");
    EXPECT_EQ(std::u16string(wide.version), u"1.0.0.79");
    EXPECT_STREQ(wide.category, "Service");
    EXPECT_EQ(std::u16string(wide.vendor), u"");
    EXPECT_EQ(wide.cardinality, 1);
    for (std::size_t i = 7; i < 64; ++i)
        EXPECT_EQ(wide.name[i], 0);
}

TEST_F(FactoryTest, BadIndexesAndNullRecordsAreRefused) {
    Owned<IPluginFactory> factory(module.getPluginFactory());
    auto* factory3 = static_cast<IPluginFactory3*>(factory.get());
    ClassInfo info;
    ClassInfo2 info2;
    ClassInfoUnicode wide;
    for (int32 index : {1, -1}) {
        EXPECT_EQ(factory->getClassInfo(index, &info), ResultInvalidArgument);
        EXPECT_EQ(factory3->getClassInfo2(index, &info2), ResultInvalidArgument);
        EXPECT_EQ(factory3->getClassInfoUnicode(index, &wide), ResultInvalidArgument);
    }
    EXPECT_EQ(factory->getClassInfo(0, nullptr), ResultInvalidArgument);
    EXPECT_EQ(factory3->getClassInfo2(0, nullptr), ResultInvalidArgument);
    EXPECT_EQ(factory3->getClassInfoUnicode(0, nullptr), ResultInvalidArgument);
    EXPECT_EQ(factory3->setHostContext(nullptr), ResultNotImplemented);
    EXPECT_EQ(factory3->setHostContext(factory.get()), ResultNotImplemented);
}

TEST_F(FactoryTest, CreateInstance) {
    Owned<IPluginFactory> factory(module.getPluginFactory());
    void* object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->createInstance(IPluginBase::iid, FUnknown::iid, &object), ResultNoInterface);
    EXPECT_EQ(object, nullptr);

    object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->createInstance(kServiceClass, IPluginFactory::iid, &object),
              ResultNoInterface)
        << "the service object does not answer the factory's id";
    EXPECT_EQ(object, nullptr);

    ASSERT_EQ(factory->createInstance(kServiceClass, FUnknown::iid, &object), ResultOk);
    auto* instance = static_cast<FUnknown*>(object);
    EXPECT_EQ(instance->addRef(), 2u) << "the caller holds the only reference";
    EXPECT_EQ(instance->release(), 1u);
    EXPECT_EQ(instance->release(), 0u);

    EXPECT_EQ(factory->createInstance(kServiceClass, FUnknown::iid, nullptr),
              ResultInvalidArgument);
}

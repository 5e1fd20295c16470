// The service object's faces as the host reaches them through the loaded module.

#include "host/plugin_base.h"
#include "module/fobject.h"
#include "module/owned.h"
#include "support/loaded_module.h"

#include <gtest/gtest.h>

using namespace Brennovar;

namespace {

const Guid kServiceClass = Guid::fromText("D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA");

class ServiceObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        module.initDll();
        factory.reset(module.getPluginFactory());
        ASSERT_TRUE(factory);
        ASSERT_EQ(factory->createInstance(kServiceClass, IPluginBase::iid, service.putVoid()),
                  ResultOk);
    }
    void TearDown() override {
        service.reset();
        factory.reset();
        module.exitDll();
    }

    template <class T>
    T* face() {
        void* out = nullptr;
        if (service->queryInterface(T::iid, &out) != ResultOk)
            return nullptr;
        static_cast<FUnknown*>(out)->release(); // the service keeps the object alive
        return static_cast<T*>(out);
    }

    Testing::LoadedModule module;
    Owned<IPluginFactory> factory;
    Owned<IPluginBase> service;
};

} // namespace

TEST_F(ServiceObjectTest, FacesAndTheirOrder) {
    auto* action = face<IActionHandler>();
    auto* device = face<IPlugDevice>();
    auto* base = face<IPluginBase>();
    ASSERT_NE(action, nullptr);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(base, service.get());
    EXPECT_EQ(static_cast<void*>(face<FUnknown>()), static_cast<void*>(action))
        << "FUnknown gives the first direct face";
    auto* dependent = face<IDependent>();
    ASSERT_NE(dependent, nullptr);
    EXPECT_NE(static_cast<void*>(dependent), static_cast<void*>(action));

    void* out = nullptr;
    // The object id is made when the module is loaded: the test program's own copy of the object
    // model has another one, which the module's objects do not answer.
    EXPECT_EQ(device->queryInterface(FObject::iid(), &out), ResultNoInterface);
    // All faces share one count.
    EXPECT_EQ(device->addRef(), 2u);
    EXPECT_EQ(face<IActionHandler>()->release(), 1u);
}

TEST_F(ServiceObjectTest, DeviceAnswers) {
    auto* device = face<IPlugDevice>();
    EXPECT_STREQ(device->getDeviceName(), "Zintara");
    // Slots 4 to 6 do nothing: no reference is taken or given back.
    device->deviceOperation4();
    device->deviceOperation5();
    device->deviceOperation6();
    EXPECT_EQ(device->addRef(), 2u);
    EXPECT_EQ(device->release(), 1u);
    EXPECT_EQ(device->deviceOperation7(), ResultNotImplemented);
    EXPECT_EQ(device->deviceOperation8(), ResultNotImplemented);
    EXPECT_EQ(device->deviceOperation9(), 0);
    EXPECT_EQ(device->deviceOperation10(), 0);
    EXPECT_TRUE(device->deviceOperation11());
    EXPECT_TRUE(device->deviceOperation12());
}
TEST_F(ServiceObjectTest, InitializeWithoutAUsableContext) {
    EXPECT_EQ(service->initialize(nullptr), ResultInvalidArgument);
    Owned<FObject> context(new FObject); // offers nothing, not even IHostObjectProvider
    EXPECT_EQ(service->initialize(context.get()), ResultFalse);
    EXPECT_EQ(service->terminate(), ResultOk) << "terminate after a failed initialize is safe";
}

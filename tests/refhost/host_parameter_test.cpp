// The host's parameter objects as the module's controllers meet them: made through getObject,
// menus numbered across sub-menus, user changes reported to the connected controller only.

#include "host/host_object_provider.h"
#include "module/owned.h"
#include "refhost/core/host.h"
#include "refhost/dialog/host_parameter.h"
#include "refhost/services/object_provider.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Brennovar;
using namespace Brennovar::RefHost;

namespace {

/// Records the tags it is told about; counts nothing (the host does not hold controllers).
class RecordingController : public IPlugController {
public:
    ResultCode queryInterface(const Guid&, void** obj) noexcept override {
        *obj = nullptr;
        return ResultNoInterface;
    }
    uint32 addRef() noexcept override { return 1; }
    uint32 release() noexcept override { return 1; }
    ResultCode getParameter(const char*, IHostParameter**) noexcept override { return ResultFalse; }
    ResultCode onParameterChanged(IHostParameter*, int32 tag) noexcept override {
        tags.push_back(tag);
        return ResultOk;
    }
    std::vector<int32> tags;
};

class HostParameterTest : public ::testing::Test {
protected:
    ~HostParameterTest() override {
        EXPECT_TRUE(host.references().clean()) << host.references().text();
    }

    template <class T>
    Owned<T> make(const Guid& id) {
        Owned<T> object;
        EXPECT_EQ(host.provider().getObject(id, object.putVoid()), ResultOk);
        return object;
    }
    HostParameter& resolve(IHostParameter* parameter) {
        return *host.environment().resolveAs<HostParameter>(parameter);
    }
    Owned<IMenuItem> item(const char16_t* title) {
        Owned<IMenuItem> made = make<IMenuItem>(IMenuItem::iid);
        made->setTitle(title);
        return made;
    }

    Host host;
};

} // namespace

TEST_F(HostParameterTest, MenuItemsAreNumberedTopLevelFirstThenEachSubMenu) {
    Owned<IHostParameter> parameter = make<IHostParameter>(HostClass::kMenuParameter);
    Owned<IMenuAccess> access = Owned<IMenuAccess>::query(parameter.get());
    ASSERT_TRUE(access);
    IMenu* menu = access->getMenu();
    Owned<ISubMenu> first = make<ISubMenu>(ISubMenu::iid);
    Owned<ISubMenu> second = make<ISubMenu>(ISubMenu::iid);
    first->insert(item(u"a1").get());
    second->insert(item(u"b1").get());
    second->insert(item(u"b2").get());
    menu->insert(item(u"-").get());
    menu->insert(Owned<IMenuItem>::query(first.get()).get());
    menu->insert(item(u"top").get());
    menu->insert(Owned<IMenuItem>::query(second.get()).get());
    EXPECT_EQ(menu->insert(nullptr), ResultInvalidArgument);
    EXPECT_EQ(first->insert(Owned<IMenuItem>::query(first.get()).get()), ResultInvalidArgument);
    EXPECT_EQ(menu->count(), 4);

    const std::vector<MenuEntry> entries = resolve(parameter.get()).menuEntries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].number, 0);
    EXPECT_TRUE(entries[1].isSubMenu());
    EXPECT_EQ(entries[2].number, 1);
    EXPECT_EQ(entries[1].items[0].number, 2);
    EXPECT_EQ(entries[3].items[1].title, u"b2");
    EXPECT_EQ(entries[3].items[1].number, 4);
    EXPECT_EQ(resolve(parameter.get()).userSetValue(5), ResultInvalidArgument);
}

TEST_F(HostParameterTest, UserChangesReachOnlyTheConnectedControllerWhileHeld) {
    RecordingController controller;
    Owned<IHostParameter> parameter = make<IHostParameter>(HostClass::kToggleParameter);
    HostParameter& host_side = resolve(parameter.get());
    parameter->connect(&controller, 7);
    const auto before = host_side.version();
    EXPECT_EQ(host_side.userSetValue(5), ResultOk);
    EXPECT_EQ(host_side.value(), 1);
    parameter->setValue(0, 0);
    EXPECT_EQ(host_side.version(), before + 2);
    parameter->connect(nullptr, 7);
    host_side.userSetValue(1);
    parameter->connect(&controller, 8);
    parameter.reset();
    host_side.userSetValue(0);
    EXPECT_EQ(controller.tags, std::vector<int32>{7});
}

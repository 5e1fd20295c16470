// The value lists configure host parameters in a fixed order and own them.

#include "dialog_host.h"
#include "module/pvalue_container.h"

#include <string>
#include <tuple>
#include <vector>

using namespace Brennovar;
using namespace Brennovar::Zintara::Testing;
using Calls = std::vector<std::string>;

namespace {

/// A controller the parameters are connected to; nothing here calls it.
struct QuietController : IPlugController {
    ResultCode queryInterface(const Guid&, void**) noexcept override { return ResultNoInterface; }
    uint32 addRef() noexcept override { return 1; }
    uint32 release() noexcept override { return 1; }
    ResultCode getParameter(const char*, IHostParameter**) noexcept override { return ResultFalse; }
    ResultCode onParameterChanged(IHostParameter*, int32) noexcept override { return ResultOk; }
};

class PValueContainerTest : public DialogHostTest {
protected:
    QuietController recorder;
    PValueContainer container{Zintara::hostObjectProvider(), &recorder};
};

} // namespace

TEST_F(PValueContainerTest, EachKindIsConfiguredInItsOrder) {
    const char16_t* strings[] = {u"first", u"second", nullptr};
    using Case = std::tuple<const char*, IHostParameter*, Calls>; // what, parameter, calls
    const Case cases[] = {
        {"integer",
         container.addInteger(1, "integer", 0, 1, 1, false, true),
         {"setMinimum 0", "setMaximum 1", "setValue 1", "setDisplayValue 1", "setDisplayFlag 1 0",
          "setDisplayFlag 16 1", "connect 1"}},
        {"toggle on",
         container.addToggle(2, "toggle", true, true),
         {"setValue 1", "setDisplayValue 1", "setDisplayFlag 1 1", "connect 2"}},
        {"toggle off",
         container.addToggle(3, "off", false, false),
         {"setValue 0", "setDisplayValue 0", "setDisplayFlag 1 0", "connect 3"}},
        {"text",
         container.addText(4, "text", u"hello", false),
         {"setText", "connect 4", "setDisplayFlag 1 0"}},
        {"string list",
         container.addStringList(5, "list", strings, nullptr, true),
         {"setStrings", "setText", "connect 5", "setDisplayFlag 1 1"}},
        {"empty string list",
         container.addStringList(6, "empty", nullptr, nullptr, false),
         {"connect 6", "setDisplayFlag 1 0"}},
    };
    for (const auto& [what, made, calls] : cases) {
        ASSERT_NE(hostSide(made), nullptr) << what;
        EXPECT_EQ(hostSide(made)->clientCalls(), calls) << what;
        EXPECT_EQ(hostSide(made)->controller(), &recorder) << what;
    }
    EXPECT_EQ(hostSide(std::get<1>(cases[4]))->text(), u"first");
    EXPECT_EQ(hostSide(std::get<1>(cases[4]))->strings().size(), 2u);
    EXPECT_EQ(hostSide(std::get<1>(cases[0]))->displayFlags(), 16);
}

TEST_F(PValueContainerTest, FindsTheFirstByNameOrTagAndLetsAllGo) {
    IHostParameter* first = container.addToggle(1, "same", false, false);
    IHostParameter* second = container.addToggle(2, "same", false, false);
    container.setController(nullptr);
    IHostParameter* unconnected = container.addToggle(3, "late", false, false);
    EXPECT_EQ(hostSide(unconnected)->clientCalls().back(), "setDisplayFlag 1 0");
    EXPECT_EQ(container.findByName("same"), first);
    EXPECT_EQ(container.findByName("Same"), nullptr);
    EXPECT_EQ(container.findByTag(2), second);
    EXPECT_EQ(container.findByTag(9), nullptr);
    container.addParameter(nullptr, 4, "none");
    Owned<IHostParameter> adopted;
    ASSERT_EQ(host.provider().getObject(HostClass::kTextParameter, adopted.putVoid()), ResultOk);
    container.addParameter(adopted.detach(), 5, nullptr); // released, not added
    container.removeAll();
    EXPECT_EQ(container.findByName("same"), nullptr);
    EXPECT_EQ(container.findByTag(1), nullptr);
    for (IHostParameter* released : {first, second, unconnected})
        EXPECT_EQ(hostSide(released)->clientReferences(), 0);
}

TEST_F(PValueContainerTest, WithoutAFactoryOrAClassNothingIsAdded) {
    PValueContainer orphan(nullptr, nullptr);
    EXPECT_EQ(orphan.addToggle(1, "toggle", true, false), nullptr);
    EXPECT_EQ(orphan.findByName("toggle"), nullptr);
    host.faults().refuseClass(HostClass::kIntegerParameter);
    EXPECT_EQ(container.addInteger(1, "integer", 0, 1, 0, false, false), nullptr);
    host.faults().refuseInterface(IParameterDisplay::iid);
    IHostParameter* toggle = container.addToggle(2, "toggle", true, false);
    EXPECT_EQ(hostSide(toggle)->clientCalls(), (Calls{"setValue 1", "connect 2"}));
    EXPECT_EQ(container.findByTag(1), nullptr);
}

// The dialog and row controllers against the live settings, driven as the host's dialog drives
// them: through the host's parameter objects, by name.

#include "dialog/dialog_controller.h"
#include "dialog_host.h"

#include <string>
#include <tuple>
#include <vector>

using namespace Brennovar;
using namespace Brennovar::Zintara;
using namespace Brennovar::Zintara::Testing;
using RefHost::HostParameter;

namespace {

class DialogControllerTest : public DialogHostTest {
protected:
    DialogControllerTest() { settings.getMappingModel().removeAllMappings(); }

    DialogController& open() {
        dialog_.reset(new DialogController(settings, &host.dialogService()));
        return *dialog_.get();
    }

    std::string rowText(std::size_t index) {
        const MappingEntry& entry = settings.getMappingModel().getMappings().at(index);
        return std::string(entry.source ? entry.source->getKey() : "-") + ">" +
               (entry.target ? entry.target->getKey() : "-");
    }

    Model settings;

private:
    Owned<DialogController> dialog_; // released before the settings go
};

} // namespace

// A host that reports the controller's own settings back to it (echo) changes nothing either.
TEST_F(DialogControllerTest, ParametersStartFromTheSettingsAndWriteNothingBack) {
    host.environment().behaviours().echo = true;
    settings.setMarkerType(7);
    settings.setTargetTrackType(9);
    settings.setCombineAdjacent(false);
    settings.getMappingModel().addMapping("EventName", "MarkerDescription");
    DialogController& dialog = open();
    EXPECT_EQ(settings.getTargetTrackType(), 9);
    EXPECT_EQ(rowText(0), "EventName>MarkerDescription");
    using Case = std::tuple<const char*, int32, int32>; // name, tag, value
    for (const auto& [name, tag, value] :
         {Case{"markerType", 0, -1}, Case{"markerTargetTrackType", 1, -1},
          Case{"combineAdjacentEvents", 2, 0}, Case{"attributeMappingChanged", 3, 0},
          Case{"addAttributeMapping", 4, 0}, Case{"ok", 5, 0}}) {
        HostParameter& p = user.parameter(dialog, name);
        EXPECT_EQ(p.tag(), tag) << name;
        EXPECT_EQ(p.value(), value) << name;
        EXPECT_EQ(p.controller() != nullptr, tag != 5) << name;
    }
    EXPECT_EQ(user.parameter(dialog, "markerTargetTrackType").strings(),
              (std::vector<std::u16string>{u"Active Marker Track", u"New Marker Track",
                                           u"New Marker Track per Source Track"}));
    EXPECT_EQ(user.parameter(dialog, "ok").text(), u"Add Markers");
    IHostParameter* none = nullptr;
    EXPECT_EQ(dialog.getParameter("MarkerType", &none), ResultFalse);
    EXPECT_EQ(dialog.getParameter("ok", nullptr), ResultInvalidArgument);

    user.parameter(dialog, "markerTargetTrackType").userSetValue(0);
    user.parameter(dialog, "combineAdjacentEvents").userSetValue(1);
    user.parameter(dialog, "markerType").userSetValue(1);
    EXPECT_EQ(settings.getTargetTrackType(), 0);
    EXPECT_TRUE(settings.getCombineAdjacent());
    EXPECT_EQ(settings.getMarkerType(), 1);
    // Rows change, each flipping "attributeMappingChanged", whose echo adds no row.
    std::vector<int32> flips;
    for (const char* row : {"addAttributeMapping", "addAttributeMapping"}) {
        user.parameter(dialog, row).userSetValue(1);
        flips.push_back(user.parameter(dialog, "attributeMappingChanged").value());
    }
    user.parameter(user.row(dialog, 1), "deleteAttribute").userSetValue(1);
    flips.push_back(user.parameter(dialog, "attributeMappingChanged").value());
    EXPECT_EQ(flips, (std::vector<int32>{1, 0, 1}));
    EXPECT_EQ(settings.getMappingModel().getMappings().size(), 2u);
    EXPECT_EQ(host.environment().problems(), std::vector<std::string>{});
}

TEST_F(DialogControllerTest, SubControllersAreNamedByRowIndex) {
    settings.getMappingModel().addMapping();
    settings.getMappingModel().addMapping();
    DialogController& dialog = open();
    IPlugController* untouched = nullptr;
    for (const char* refused :
         {"AttributeMappingViewController2", "attributemappingviewcontroller0",
          "AttributeMappingViewController", "AttributeMappingViewController01"})
        EXPECT_EQ(dialog.getSubController(refused, &untouched), ResultFalse) << refused;
    EXPECT_EQ(untouched, nullptr);
    IPlugController* first = &user.row(dialog, 0);
    EXPECT_NE(first, &user.row(dialog, 1));
    // A catalogue change is no change of the rows: same controllers, no refresh.
    settings.getMappingModel().addSourceAttribute(
        std::make_shared<MappingAttribute>("Extra", "Extra", kAttributeGroupNone, false));
    EXPECT_EQ(first, &user.row(dialog, 0));
    EXPECT_EQ(user.parameter(dialog, "attributeMappingChanged").value(), 0);
    EXPECT_EQ(dialog.buildView("ListHeader"), nullptr);
}

TEST_F(DialogControllerTest, DeletingTheMiddleRowRenumbersAndStaleControllersRefuse) {
    IMappingModel& mapping = settings.getMappingModel();
    mapping.addMapping("EventName", "MarkerDescription");
    mapping.addMapping("TrackName", "User:STR_MAComment");
    mapping.addMapping("Counter", "User:STR_MAReel");
    DialogController& dialog = open();
    // Row 2's controller, whose index is gone after the delete, and row 0's, whose index still
    // names a row: both are of an older build.
    auto stale = Owned<IPlugController>::share(&user.row(dialog, 2));
    auto staleFirst = Owned<IPlugController>::share(&user.row(dialog, 0));
    IHostParameter* staleDelete = &user.parameter(*stale.get(), "deleteAttribute");
    IHostParameter* staleFirstDelete = &user.parameter(*staleFirst.get(), "deleteAttribute");

    EXPECT_EQ(user.parameter(user.row(dialog, 1), "deleteAttribute").userSetValue(1), ResultOk);
    ASSERT_EQ(mapping.getMappings().size(), 2u);
    EXPECT_EQ(rowText(1), "Counter>User:STR_MAReel");
    EXPECT_NE(&user.row(dialog, 1), stale.get());
    EXPECT_FALSE(mapping.getTargetAttribute("User:STR_MAComment")->isUsed());
    EXPECT_EQ(stale->onParameterChanged(staleDelete, 2), ResultFalse);
    EXPECT_EQ(staleFirst->onParameterChanged(staleFirstDelete, 2), ResultFalse);
    EXPECT_EQ(mapping.getMappings().size(), 2u);
}

// A menu the host refilled without the empty choice numbers its own entries from 0; the other
// menu's numbers stay, and the row's target is shown again at its new number.
TEST_F(DialogControllerTest, AMenuWithoutTheEmptyChoiceMovesOnlyItsOwnNumbers) {
    settings.getMappingModel().addMapping("EventName", "MarkerDescription");
    DialogController& dialog = open();
    HostParameter& target = user.parameter(user.row(dialog, 0), "selectTargetAttribute");
    EXPECT_EQ(target.value(), 1);
    host.faults().failGetObjectAfter = 2; // the translation service, then the "-" item
    Owned<IOptionMenuCallback>::query(&user.row(dialog, 0))->updateMenu(&target);
    EXPECT_EQ(target.value(), 0);
    // "-" is number 0 in the source menu, then the sources in the catalogue's order.
    ASSERT_EQ(user.parameter(user.row(dialog, 0), "selectSourceAttribute").userSetValue(2),
              ResultOk);
    EXPECT_EQ(rowText(0), "Counter>MarkerDescription");
}

// Menu choices, the free-text toggle and the used targets are the random dialog test's case.
TEST_F(DialogControllerTest, FreeTextIsCopiedAndCutToTheBuffer) {
    settings.getMappingModel().addMapping("EventName", "MarkerDescription");
    DialogController& dialog = open();

    EXPECT_EQ(user.parameter(user.row(dialog, 0), "freeText").userSetText(u"Szene \u00e4"),
              ResultOk);
    EXPECT_EQ(std::u16string(settings.getMappingModel().getMappings()[0].data.string16),
              u"Szene \u00e4");
    user.parameter(dialog, "addAttributeMapping").userSetValue(1); // new row controllers
    EXPECT_EQ(user.parameter(user.row(dialog, 0), "freeText").text(), u"Szene \u00e4");
    user.parameter(user.row(dialog, 0), "freeText").userSetText(std::u16string(1500, u'x'));
    EXPECT_EQ(std::u16string(settings.getMappingModel().getMappings()[0].data.string16).size(),
              1023u);
}

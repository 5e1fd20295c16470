#include "mapping_rows.h"
#include "model/attribute_catalogue.h"
#include "model/mapping_model.h"
#include "model/model.h"
#include "module/owned.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace Brennovar::Zintara {
namespace {

using Kind = MappingChangeEvent::Kind;

struct Recorded {
    Kind kind;
    std::string key;
    int32 index;
    bool operator==(const Recorded&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Recorded& r) {
    return out << "{" << static_cast<int>(r.kind) << ", \"" << r.key << "\", " << r.index << "}";
}

/// Owns one listener that records every event it hears.
struct Recorder {
    MappingChangeListener* get() const { return listener.get(); }

    std::vector<Recorded> events;
    Owned<MappingChangeListener> listener{
        Core::makeChangeListener<MappingChangeEvent>([this](const MappingChangeEvent& e) {
            events.push_back({e.kind, e.key, e.index});
        })};
};

using namespace Testing;

/// Three rows: two complete ones with free texts and an empty one.
void fillThreeRows(IMappingModel& model) {
    model.addMapping("EventName", "MarkerDescription");
    model.addMapping("TrackName", "User:STR_MAComment");
    model.addMapping();
    model.getMappings()[0].data = FTaggedValue::fromString8("first");
    model.getMappings()[1].data = FTaggedValue::fromString16(u"second");
}

class MappingModelTest : public ::testing::Test {
protected:
    MappingModelTest() { addCatalogue(model); }

    MappingModel model;
    Recorder recorder;
};

TEST_F(MappingModelTest, EveryRefusedOperationLeavesRowsFlagsAndListenersAlone) {
    using M = IMappingModel&;
    // Rows 0 and 1 are complete, row 2 is empty; -1 and 3 lie outside.
    const std::function<void(M)> refused[] = {
        [](M m) { EXPECT_FALSE(m.setMappingSource(-1, "Counter")); },
        [](M m) { EXPECT_FALSE(m.setMappingSource(3, "Counter")); },
        [](M m) { EXPECT_FALSE(m.setMappingSource(2, nullptr)); },
        [](M m) { EXPECT_FALSE(m.setMappingSource(2, "")); },
        [](M m) { EXPECT_FALSE(m.setMappingSource(2, "Nope")); },
        [](M m) { EXPECT_FALSE(m.setMappingTarget(-1, "User:STR_MAReel")); },
        [](M m) { EXPECT_FALSE(m.setMappingTarget(3, "User:STR_MAReel")); },
        [](M m) { EXPECT_FALSE(m.setMappingTarget(2, nullptr)); },
        [](M m) { EXPECT_FALSE(m.setMappingTarget(2, "")); },
        [](M m) { EXPECT_FALSE(m.setMappingTarget(2, "Nope")); },
        // Taken by another row, on a complete and on an empty row, and the row's own.
        [](M m) { EXPECT_FALSE(m.setMappingTarget(0, "User:STR_MAComment")); },
        [](M m) { EXPECT_FALSE(m.setMappingTarget(2, "MarkerDescription")); },
        [](M m) { EXPECT_FALSE(m.setMappingTarget(1, "User:STR_MAComment")); },
        [](M m) { EXPECT_FALSE(m.removeMapping(-1)); },
        [](M m) { EXPECT_FALSE(m.removeMapping(3)); },
        [](M m) { m.clearMappingSource(-1); },
        [](M m) { m.clearMappingSource(3); },
        [](M m) { m.clearMappingTarget(-1); },
        [](M m) { m.clearMappingTarget(3); },
        [](M m) { m.addListener(nullptr); },
        [](M m) {
            Recorder stranger;
            m.removeListener(stranger.get());
        },
    };
    for (const auto& operation : refused) {
        SCOPED_TRACE(&operation - refused);
        MappingModel subject;
        addCatalogue(subject);
        fillThreeRows(subject);
        const auto rowsBefore = rowKeys(subject);
        const auto usedBefore = usedTargets(subject);
        Recorder listener;
        subject.addListener(listener.get());

        operation(subject);
        EXPECT_EQ(rowKeys(subject), rowsBefore);
        EXPECT_EQ(usedTargets(subject), usedBefore);
        EXPECT_EQ(text8(subject.getMappings()[0].data), "first");
        EXPECT_TRUE(listener.events.empty());
        // The listener list is intact: one change reaches the one listener exactly once.
        ASSERT_TRUE(subject.setMappingSource(2, "Counter"));
        EXPECT_EQ(listener.events, (std::vector<Recorded>{{Kind::kMappingChanged, "Counter", 2}}));
    }
}

TEST_F(MappingModelTest, AddMappingWithRefusedKeysIsUndoneWithEvents) {
    struct Case {
        const char* source;
        const char* target;
        std::vector<Recorded> events;
    };
    const Case cases[] = {
        {"EventName",
         "MarkerDescription", // target taken by the existing row
         {{Kind::kMappingAdded, "", 1},
          {Kind::kMappingChanged, "EventName", 1},
          {Kind::kMappingRemoved, "", 1}}},
        {"NoSuchSource",
         "User:STR_MAReel", // the target is given back
         {{Kind::kMappingAdded, "", 1},
          {Kind::kMappingChanged, "User:STR_MAReel", 1},
          {Kind::kMappingRemoved, "User:STR_MAReel", 1}}},
        {nullptr, "", {{Kind::kMappingAdded, "", 1}, {Kind::kMappingRemoved, "", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source ? c.source : "null");
        MappingModel subject;
        addCatalogue(subject);
        subject.addMapping("TrackName", "MarkerDescription");
        Recorder listener;
        subject.addListener(listener.get());

        subject.addMapping(c.source, c.target);

        EXPECT_EQ(rowKeys(subject), (std::vector<RowKeys>{{"TrackName", "MarkerDescription"}}));
        EXPECT_EQ(usedTargets(subject), std::vector<std::string>{"MarkerDescription"});
        EXPECT_EQ(listener.events, c.events);
    }
}

TEST_F(MappingModelTest, ClearingIsSilentWhileRemovingShiftsRowsAndGoesFromLastToFirst) {
    fillThreeRows(model);
    model.setMappingSource(2, "FreeText");
    model.getMappings()[2].data = FTaggedValue::fromString8("third");
    model.addListener(recorder.get());

    model.clearMappingSource(1);
    model.clearMappingTarget(1);
    EXPECT_EQ(rowKeys(model), (std::vector<RowKeys>{
                                  {"EventName", "MarkerDescription"}, {"", ""}, {"FreeText", ""}}));
    EXPECT_TRUE(recorder.events.empty());
    // The freed target can be taken again by another row.
    ASSERT_TRUE(model.setMappingTarget(2, "User:STR_MAComment"));

    ASSERT_TRUE(model.removeMapping(0));
    EXPECT_EQ(rowKeys(model), (std::vector<RowKeys>{{"", ""}, {"FreeText", "User:STR_MAComment"}}));
    EXPECT_EQ(text16(model.getMappings()[0].data), u"second");
    EXPECT_EQ(text8(model.getMappings()[1].data), "third");
    EXPECT_EQ(usedTargets(model), std::vector<std::string>{"User:STR_MAComment"});

    model.removeAllMappings();
    EXPECT_TRUE(usedTargets(model).empty());
    EXPECT_EQ(recorder.events,
              (std::vector<Recorded>{{Kind::kMappingChanged, "User:STR_MAComment", 2},
                                     {Kind::kMappingRemoved, "MarkerDescription", 0},
                                     {Kind::kMappingRemoved, "User:STR_MAComment", 1},
                                     {Kind::kMappingRemoved, "", 0}}));
}

TEST_F(MappingModelTest, ListenerChangingRegistrationsDuringNotificationIsSafe) {
    MappingChangeListener* self = nullptr;
    int calls = 0;
    // Removes itself and the recorder, then registers the recorder again behind itself.
    self = Core::makeChangeListener<MappingChangeEvent>([&](const MappingChangeEvent&) {
        ++calls;
        model.removeListener(self);
        model.removeListener(recorder.get());
        model.addListener(recorder.get());
    });
    model.addListener(self);
    model.addListener(recorder.get());

    model.addMapping();
    model.addMapping();

    EXPECT_EQ(calls, 1);
    EXPECT_EQ(recorder.events,
              (std::vector<Recorded>{{Kind::kMappingAdded, "", 0}, {Kind::kMappingAdded, "", 1}}));
    self->release();
}

} // namespace
} // namespace Brennovar::Zintara

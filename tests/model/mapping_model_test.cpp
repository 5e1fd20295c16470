#include "model/attribute_catalogue.h"
#include "model/mapping_model.h"

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
class Recorder {
public:
    Recorder()
        : listener_(
              Core::makeChangeListener<MappingChangeEvent>([this](const MappingChangeEvent& e) {
                  events.push_back({e.kind, e.key, e.index});
              })) {}
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    ~Recorder() { listener_->release(); }
    MappingChangeListener* get() const { return listener_; }

    std::vector<Recorded> events;

private:
    MappingChangeListener* listener_;
};

struct RowKeys {
    std::string source;
    std::string target;
    bool operator==(const RowKeys&) const = default;
};

std::vector<RowKeys> rowKeys(const IMappingModel& model) {
    std::vector<RowKeys> keys;
    for (const MappingEntry& row : model.getMappings())
        keys.push_back(
            {row.source ? row.source->getKey() : "", row.target ? row.target->getKey() : ""});
    return keys;
}

std::vector<std::string> usedTargets(const IMappingModel& model) {
    std::vector<std::string> used;
    for (const auto& entry : model.getTargetAttributes()) {
        if (entry->isUsed())
            used.emplace_back(entry->getKey());
    }
    return used;
}

bool ownsEntry(const MappingAttributeList& list, const IMappingAttribute* entry) {
    for (const auto& handle : list) {
        if (handle.get() == entry)
            return true;
    }
    return false;
}

std::string text8(const FTaggedValue& value) {
    return value.kind() == FTaggedValue::kString8 && value.string8 ? value.string8 : "<none>";
}

std::u16string text16(const FTaggedValue& value) {
    return value.kind() == FTaggedValue::kString16 && value.string16 ? value.string16 : u"<none>";
}

/// Three rows: two complete ones with free texts and an empty one.
void fillThreeRows(MappingModel& model) {
    model.addMapping("EventName", "MarkerDescription");
    model.addMapping("TrackName", "User:STR_MAComment");
    model.addMapping();
    model.getMappings()[0].data = FTaggedValue::fromString8("first");
    model.getMappings()[1].data = FTaggedValue::fromString16(u"second");
}

class MappingModelTest : public ::testing::Test {
protected:
    MappingModelTest() { addCatalogue(model); }
    void addThreeRows() { fillThreeRows(model); }

    MappingModel model;
    Recorder recorder;
};

TEST_F(MappingModelTest, EveryRefusedOperationLeavesRowsFlagsAndListenersAlone) {
    struct Case {
        const char* name;
        std::function<bool(IMappingModel&)> run;
    };
    const Case cases[] = {
        {"source index -1", [](IMappingModel& m) { return m.setMappingSource(-1, "Counter"); }},
        {"source index == size", [](IMappingModel& m) { return m.setMappingSource(3, "Counter"); }},
        {"source null key", [](IMappingModel& m) { return m.setMappingSource(2, nullptr); }},
        {"source empty key", [](IMappingModel& m) { return m.setMappingSource(2, ""); }},
        {"source unknown key", [](IMappingModel& m) { return m.setMappingSource(2, "Nope"); }},
        {"target index -1",
         [](IMappingModel& m) { return m.setMappingTarget(-1, "User:STR_MAReel"); }},
        {"target index == size",
         [](IMappingModel& m) { return m.setMappingTarget(3, "User:STR_MAReel"); }},
        {"target null key", [](IMappingModel& m) { return m.setMappingTarget(2, nullptr); }},
        {"target empty key", [](IMappingModel& m) { return m.setMappingTarget(2, ""); }},
        {"target unknown key", [](IMappingModel& m) { return m.setMappingTarget(2, "Nope"); }},
        {"target taken by another row",
         [](IMappingModel& m) { return m.setMappingTarget(0, "User:STR_MAComment"); }},
        {"target taken, on an empty row",
         [](IMappingModel& m) { return m.setMappingTarget(2, "MarkerDescription"); }},
        {"target the row already has",
         [](IMappingModel& m) { return m.setMappingTarget(1, "User:STR_MAComment"); }},
        {"remove index -1", [](IMappingModel& m) { return m.removeMapping(-1); }},
        {"remove index == size", [](IMappingModel& m) { return m.removeMapping(3); }},
        {"clear source -1", [](IMappingModel& m) { return m.clearMappingSource(-1), false; }},
        {"clear source == size", [](IMappingModel& m) { return m.clearMappingSource(3), false; }},
        {"clear target -1", [](IMappingModel& m) { return m.clearMappingTarget(-1), false; }},
        {"clear target == size", [](IMappingModel& m) { return m.clearMappingTarget(3), false; }},
        {"add null listener", [](IMappingModel& m) { return m.addListener(nullptr), false; }},
        {"remove unknown listener",
         [](IMappingModel& m) {
             Recorder stranger;
             m.removeListener(stranger.get());
             return false;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MappingModel subject;
        addCatalogue(subject);
        fillThreeRows(subject);
        const auto rowsBefore = rowKeys(subject);
        const auto usedBefore = usedTargets(subject);
        Recorder listener;
        subject.addListener(listener.get());

        EXPECT_FALSE(c.run(subject));

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

TEST_F(MappingModelTest, ReplacingTargetMovesTheUsedFlag) {
    model.addMapping("EventName", "MarkerDescription");
    model.addListener(recorder.get());
    ASSERT_TRUE(model.setMappingTarget(0, "User:STR_MAReel"));
    EXPECT_EQ(usedTargets(model), std::vector<std::string>{"User:STR_MAReel"});
    EXPECT_EQ(recorder.events,
              (std::vector<Recorded>{{Kind::kMappingChanged, "User:STR_MAReel", 0}}));
}

TEST_F(MappingModelTest, RemoveFirstRowShiftsLaterRowsWithTheirData) {
    addThreeRows();
    model.setMappingSource(2, "FreeText");
    model.getMappings()[2].data = FTaggedValue::fromString8("third");
    model.addListener(recorder.get());

    ASSERT_TRUE(model.removeMapping(0));

    EXPECT_EQ(rowKeys(model),
              (std::vector<RowKeys>{{"TrackName", "User:STR_MAComment"}, {"FreeText", ""}}));
    EXPECT_EQ(text16(model.getMappings()[0].data), u"second");
    EXPECT_EQ(text8(model.getMappings()[1].data), "third");
    EXPECT_EQ(usedTargets(model), std::vector<std::string>{"User:STR_MAComment"});
    EXPECT_EQ(recorder.events,
              (std::vector<Recorded>{{Kind::kMappingRemoved, "MarkerDescription", 0}}));
}

TEST_F(MappingModelTest, RemoveAllMappingsGoesFromLastRowToFirst) {
    addThreeRows();
    model.addListener(recorder.get());

    model.removeAllMappings();

    EXPECT_TRUE(model.getMappings().empty());
    EXPECT_TRUE(usedTargets(model).empty());
    EXPECT_EQ(recorder.events,
              (std::vector<Recorded>{{Kind::kMappingRemoved, "", 2},
                                     {Kind::kMappingRemoved, "User:STR_MAComment", 1},
                                     {Kind::kMappingRemoved, "MarkerDescription", 0}}));
}

TEST_F(MappingModelTest, ClearingASideIsSilentAndFreesTheTarget) {
    addThreeRows();
    model.addListener(recorder.get());

    model.clearMappingTarget(0);
    model.clearMappingSource(1);
    model.clearMappingTarget(2); // a row without target

    EXPECT_EQ(rowKeys(model),
              (std::vector<RowKeys>{{"EventName", ""}, {"", "User:STR_MAComment"}, {"", ""}}));
    EXPECT_EQ(usedTargets(model), std::vector<std::string>{"User:STR_MAComment"});
    EXPECT_TRUE(recorder.events.empty());
    // The freed target can be taken again by another row.
    EXPECT_TRUE(model.setMappingTarget(2, "MarkerDescription"));
}

TEST_F(MappingModelTest, ListenersAreCalledOncePerChangeInRegistrationOrder) {
    std::vector<int> order;
    auto* first = Core::makeChangeListener<MappingChangeEvent>(
        [&order](const MappingChangeEvent&) { order.push_back(1); });
    auto* second = Core::makeChangeListener<MappingChangeEvent>(
        [&order](const MappingChangeEvent&) { order.push_back(2); });
    model.addListener(first);
    model.addListener(second);
    model.addListener(first);

    model.addMapping();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    model.removeListener(first);
    model.addMapping();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 2}));

    model.removeListener(second);
    first->release();
    second->release();
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

TEST_F(MappingModelTest, CatalogueAdditionsAreReported) {
    MappingModel empty;
    empty.addListener(recorder.get());
    empty.addSourceAttribute(
        std::make_shared<MappingAttribute>("S", "Source", kAttributeGroupMedia, false));
    empty.addTargetAttribute(nullptr);
    empty.addTargetAttribute(
        std::make_shared<MappingAttribute>("T", "Target", kAttributeGroupNone, false));
    EXPECT_EQ(empty.getTargetAttributes().size(), 1u);
    EXPECT_EQ(recorder.events, (std::vector<Recorded>{{Kind::kSourceAttributeAdded, "S", 0},
                                                      {Kind::kTargetAttributeAdded, "T", 0}}));
}

TEST_F(MappingModelTest, CopyKeepsEveryRowAndTextAndRefersToItsOwnEntriesOnly) {
    addThreeRows();
    model.addMapping("Counter", "User:STR_MATakeNo");
    model.clearMappingSource(1);
    model.setMappingSource(2, "FreeText");
    model.getMappings()[2].data = FTaggedValue::fromString16(u"half-finished");
    model.addListener(recorder.get());

    MappingModel copy(model);

    ASSERT_EQ(copy.getSourceAttributes().size(), model.getSourceAttributes().size());
    for (std::size_t i = 0; i < copy.getSourceAttributes().size(); ++i)
        EXPECT_NE(copy.getSourceAttributes()[i].get(), model.getSourceAttributes()[i].get());
    for (const MappingEntry& row : copy.getMappings()) {
        EXPECT_TRUE(!row.source || ownsEntry(copy.getSourceAttributes(), row.source));
        EXPECT_TRUE(!row.target || ownsEntry(copy.getTargetAttributes(), row.target));
    }
    // The original's texts are freed before the copy's are read; the copy has no listeners.
    model.removeAllMappings();
    const auto heard = recorder.events.size();
    copy.removeMapping(3);

    EXPECT_EQ(recorder.events.size(), heard);
    EXPECT_EQ(rowKeys(copy), (std::vector<RowKeys>{{"EventName", "MarkerDescription"},
                                                   {"", "User:STR_MAComment"},
                                                   {"FreeText", ""}}));
    EXPECT_EQ(text8(copy.getMappings()[0].data), "first");
    EXPECT_EQ(text16(copy.getMappings()[1].data), u"second");
    EXPECT_EQ(text16(copy.getMappings()[2].data), u"half-finished");
    EXPECT_TRUE(copy.getMappings()[0].data.owns());
    EXPECT_EQ(usedTargets(copy),
              (std::vector<std::string>{"MarkerDescription", "User:STR_MAComment"}));
}

TEST_F(MappingModelTest, AssigningABackupUndoesEditsLikeACancelledDialog) {
    addThreeRows();
    const MappingModel backup(model);
    const auto rowsBefore = rowKeys(model);
    const auto usedBefore = usedTargets(model);

    // Edits a dialog could make: a new row, a changed text, a moved target, a removed row.
    model.addListener(recorder.get());
    model.addMapping("Counter", "User:STR_MAReel");
    model.getMappings()[0].data = FTaggedValue::fromString8("edited");
    model.clearMappingTarget(1);
    model.setMappingTarget(2, "User:STR_MAComment");
    model.removeMapping(0);

    model = backup;

    EXPECT_EQ(rowKeys(model), rowsBefore);
    EXPECT_EQ(usedTargets(model), usedBefore);
    EXPECT_EQ(text8(model.getMappings()[0].data), "first");
    EXPECT_EQ(text16(model.getMappings()[1].data), u"second");
    for (const MappingEntry& row : model.getMappings()) {
        EXPECT_TRUE(!row.source || ownsEntry(model.getSourceAttributes(), row.source));
        EXPECT_TRUE(!row.target || ownsEntry(model.getTargetAttributes(), row.target));
    }
    // The backup's empty listener list replaced the live one.
    const auto heard = recorder.events.size();
    model.addMapping();
    EXPECT_EQ(recorder.events.size(), heard);
}

TEST_F(MappingModelTest, CopyingRowDataIntoItselfKeepsTheText) {
    addThreeRows();
    MappingEntry& row = model.getMappings()[0];
    const FTaggedValue& alias = row.data;
    row.data = alias;
    EXPECT_EQ(text8(row.data), "first");
    model.getMappings()[1].data.copyFrom(model.getMappings()[1].data);
    EXPECT_EQ(text16(model.getMappings()[1].data), u"second");
    // The texts are still owned and freed once: copying the model duplicates them cleanly.
    MappingModel copy(model);
    EXPECT_EQ(text8(copy.getMappings()[0].data), "first");
}

} // namespace
} // namespace Brennovar::Zintara

#include "engine_host.h"
#include "fake_host.h"

#include <gmock/gmock.h>
#include <limits>
#include <memory>
#include <tuple>

namespace Brennovar::Zintara::Testing {
namespace {

using ::testing::ElementsAre;

struct RangeCase {
    const char* name;
    /// Name, start and length, in selection order, which the engine sorts by start.
    std::vector<std::tuple<const char*, double, double>> events;
    std::vector<std::string> markers;

    friend void PrintTo(const RangeCase& test, std::ostream* out) { *out << test.name; }
};

class RangeTest : public EngineHostTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeTest, CutsEachTrackIntoRangesNamedAfterTheirEarliestEvent) {
    const RangeCase& test = GetParam();
    map("EventName", "MarkerDescription");
    markerTrack();
    auto& audio = track("Audio 1");
    for (const auto& [name, start, length] : test.events)
        event(audio, name, start, length);
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_EQ(markersOn("Markers"), test.markers);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, RangeTest,
    ::testing::Values(
        RangeCase{"Touching", {{"B", 2, 1}, {"A", 0, 2}}, {"cycle-marker A 0+3"}},
        // 0.00001 - 0 is exactly the tolerance: the test is strict, so the events stay apart.
        RangeCase{"GapOfTolerance",
                  {{"A", 0, 0}, {"B", 0.00001, 1}},
                  {"cycle-marker A 0+0", "cycle-marker B 1e-05+1"}},
        RangeCase{
            "GapBelowTolerance", {{"A", 0, 0}, {"B", 0.0000099, 1}}, {"cycle-marker A 0+1.00001"}},
        RangeCase{"ContainedThenOverlapping",
                  {{"C", 4, 4}, {"B", 1, 1}, {"A", 0, 5}},
                  {"cycle-marker A 0+8"}},
        RangeCase{"ContainedLateThenApart",
                  {{"A", 0, 10}, {"B", 9, 0.5}, {"C", 20, 1}},
                  {"cycle-marker A 0+10", "cycle-marker C 20+1"}},
        RangeCase{"EarliestIsTheEventEvenWhenShorter",
                  {{"Long", 0.5, 9.5}, {"Short", 0, 1}},
                  {"cycle-marker Short 0+10"}}),
    [](const auto& info) { return std::string(info.param.name); });

/// A made-up selection installed as the module's host object provider; every reference handed
/// out must come back by the end of the test.
class MadeUpSelectionTest : public ::testing::Test {
protected:
    MadeUpSelectionTest() : provider(selection) { hostObjectProvider() = &provider; }
    ~MadeUpSelectionTest() override {
        hostObjectProvider() = nullptr;
        EXPECT_EQ(provider.references, 0);
        EXPECT_EQ(selection.references, 0);
        for (const auto& object : objects)
            EXPECT_EQ(object->references, 0);
        for (const auto& node : nodes)
            EXPECT_EQ(node->references, 0);
    }

    FakeObject& makeObject(std::u16string name, std::set<std::string> types, double start = 0,
                           double end = 0) {
        objects.push_back(
            std::make_unique<FakeObject>(std::move(name), std::move(types), start, end));
        return *objects.back();
    }
    FakeNode& makeNode(IHostObject* object, IHierarchyNode* parent = nullptr) {
        nodes.push_back(std::make_unique<FakeNode>(object, parent));
        return *nodes.back();
    }
    /// Selects a new event below the given node.
    FakeObject& select(IHierarchyNode& parent, std::u16string name, double start, double end) {
        FakeObject& event = makeObject(std::move(name), {"audio"}, start, end);
        selection.entries.emplace_back(&event, &makeNode(&event, &parent));
        return event;
    }
    static std::vector<std::u16string> namesOf(const SourceTrackGroup& group) {
        std::vector<std::u16string> names;
        for (const SelectedObject& entry : group.objects)
            names.push_back(entry.object->getName());
        return names;
    }

    FakeSelection selection;
    SelectionProvider provider;
    std::vector<std::unique_ptr<FakeObject>> objects;
    std::vector<std::unique_ptr<FakeNode>> nodes;
    Model settings;
};

TEST_F(MadeUpSelectionTest, CollectingSkipsNullAndForeignObjectsAndStopsAtTheLimit) {
    FakeNode& root = makeNode(nullptr);
    FakeObject& tempo = makeObject(u"tempo", {"tempo"});
    FakeNode notAnObject(nullptr); // answers no IHostObject
    selection.entries.emplace_back(nullptr, &root);
    selection.entries.emplace_back(&notAnObject, &root);
    selection.entries.emplace_back(&tempo, &root);
    FakeObject& first = select(root, u"first", 0, 1);
    select(root, u"second", 1, 2);

    MarkerCreator creator(settings);
    const std::vector<SelectedObject> one = creator.collectSelection(1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].object, &first);
    EXPECT_EQ(selection.reads, 4) << "reading stops as soon as the limit is reached";
    EXPECT_THAT(selection.refreshFlags, ElementsAre(1));
    EXPECT_EQ(creator.collectSelection(MarkerCreator::kUnlimited).size(), 2u);
    EXPECT_EQ(notAnObject.references, 0);
}

TEST_F(MadeUpSelectionTest, GroupsByTrackInOrderOfFirstSelectionAndSortsByStart) {
    FakeObject& trackA = makeObject(u"A", {"track"});
    FakeObject& trackB = makeObject(u"B", {"track"});
    FakeObject& part = makeObject(u"part", {"part"});
    FakeNode& root = makeNode(nullptr);
    FakeNode& nodeA = makeNode(&trackA, &root);
    FakeNode& nodeB = makeNode(&trackB, &root);
    FakeNode& partNode = makeNode(&part, &nodeA);
    select(nodeB, u"b3", 3, 4);
    select(nodeA, u"a2", 2, 3);
    select(partNode, u"a0 in part", 0, 1);
    select(nodeB, u"b1", 1, 2);
    select(nodeB, u"b-nan", std::numeric_limits<double>::quiet_NaN(), 0);
    select(nodeB, u"b1 again", 1, 5);

    MarkerCreator creator(settings);
    ASSERT_TRUE(creator.prepare());
    const auto& groups = creator.groups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].track, &trackB);
    EXPECT_EQ(groups[1].track, &trackA);
    EXPECT_EQ(groups[0].cursor, -1);
    // Equal starts keep their selection order; a start that is not a number goes last.
    EXPECT_THAT(namesOf(groups[0]), ElementsAre(u"b1", u"b1 again", u"b3", u"b-nan"));
    EXPECT_THAT(namesOf(groups[1]), ElementsAre(u"a0 in part", u"a2"));
}

TEST_F(MadeUpSelectionTest, TopmostObjectStandsInForAMissingTrackAndEntriesWithoutOneAreDropped) {
    FakeObject& bus = makeObject(u"Bus", {"bus"});
    FakeNode& busNode = makeNode(&bus);
    FakeNode& emptyTop = makeNode(nullptr);
    FakeNode& cycle = makeNode(nullptr);
    cycle.parent = &cycle; // a malformed hierarchy must not hang the walk
    FakeObject& onBus = select(busNode, u"on bus", 0, 1);
    FakeObject& lost = select(emptyTop, u"lost", 0, 1);
    FakeObject& looped = select(cycle, u"looped", 0, 1);

    MarkerCreator creator(settings);
    ASSERT_TRUE(creator.prepare());
    ASSERT_EQ(creator.groups().size(), 1u);
    EXPECT_EQ(creator.groups()[0].track, &bus);
    EXPECT_THAT(namesOf(creator.groups()[0]), ElementsAre(u"on bus"));
    // Dropped entries are deselected all the same.
    EXPECT_FALSE(onBus.selected);
    EXPECT_FALSE(lost.selected);
    EXPECT_FALSE(looped.selected);
}

} // namespace
} // namespace Brennovar::Zintara::Testing

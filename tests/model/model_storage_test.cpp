#include "../engine/fake_host.h"
#include "model/model.h"
#include "module/fobject.h"
#include "module/owned.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace Brennovar::Zintara {
namespace {

using Testing::FakeObject;

constexpr char kMarkerType[] = "CreateZintaraModelDataMarkerType";
constexpr char kTargetTrackType[] = "CreateZintaraModelDataTargetTrackType";
constexpr char kCombine[] = "CreateZintaraModelDataCombineAdjancent";
constexpr char kSize[] = "CreateZintaraModelDataMappingSize";

std::string sourceKey(int n) {
    return "CreateZintaraModelDataMappingSource" + std::to_string(n);
}
std::string targetKey(int n) {
    return "CreateZintaraModelDataMappingTarget" + std::to_string(n);
}
std::string dataKey(int n) {
    return "CreateZintaraModelDataMappingData" + std::to_string(n);
}

struct Row {
    std::string source;
    std::string target;
    bool operator==(const Row&) const = default;
};

std::vector<Row> rowsOf(const Model& model) {
    std::vector<Row> rows;
    for (const MappingEntry& row : model.getMappingModel().getMappings())
        rows.push_back(
            {row.source ? row.source->getKey() : "", row.target ? row.target->getKey() : ""});
    return rows;
}

std::vector<std::string> usedTargets(const Model& model) {
    std::vector<std::string> used;
    for (const auto& entry : model.getMappingModel().getTargetAttributes()) {
        if (entry->isUsed())
            used.emplace_back(entry->getKey());
    }
    return used;
}

const std::vector<Row> kDefaultRows = {{"EventName", "MarkerDescription"},
                                       {"TrackName", "User:STR_MAComment"}};

class ModelStorageTest : public ::testing::Test {
protected:
    ~ModelStorageTest() override {
        // Every reference that store or restore obtained has been given back.
        EXPECT_EQ(host.references, 0);
    }

    void putInteger(const std::string& key, int64 value) {
        host.put(key, FTaggedValue::fromInteger(value));
    }
    void putText(const std::string& key, const char* text) {
        host.put(key, FTaggedValue::fromString8(text));
    }
    void putRow(int n, const char* source, const char* target) {
        putText(sourceKey(n), source);
        putText(targetKey(n), target);
    }
    void restore() { model.restore(&host); }

    FakeObject host;
    Model model;
};

TEST_F(ModelStorageTest, StoreSkipsIncompleteRowsAndNumbersWithoutGaps) {
    IMappingModel& mapping = model.getMappingModel();
    mapping.removeAllMappings();
    mapping.addMapping("EventName", "MarkerDescription");
    mapping.addMapping();
    mapping.addMapping("TrackName", "User:STR_MAComment");
    mapping.getMappings()[2].data = FTaggedValue::fromString16(u"free text");
    model.setCombineAdjacent(false);

    model.store(&host);

    const std::vector<std::string> expected = {
        kMarkerType, kTargetTrackType, kCombine,     sourceKey(1), targetKey(1),
        dataKey(1),  sourceKey(2),     targetKey(2), dataKey(2),   kSize};
    EXPECT_EQ(host.written, expected);
    EXPECT_TRUE(host.at(dataKey(1)).isEmpty()) << "a row without data writes an empty value";
    EXPECT_TRUE(host.allFlagsTrue);
    const auto integer = [this](const char* key) {
        const FTaggedValue& value = host.at(key);
        return value.kind() == FTaggedValue::kInteger ? value.integer : -99;
    };
    EXPECT_EQ(integer(kMarkerType), 1);
    EXPECT_EQ(integer(kTargetTrackType), 0);
    EXPECT_EQ(integer(kCombine), 0);
    EXPECT_EQ(integer(kSize), 2);
    EXPECT_STREQ(host.at(sourceKey(1)).string8, "EventName");
    EXPECT_STREQ(host.at(targetKey(1)).string8, "MarkerDescription");
    EXPECT_STREQ(host.at(sourceKey(2)).string8, "TrackName");
    EXPECT_STREQ(host.at(targetKey(2)).string8, "User:STR_MAComment");
    ASSERT_EQ(host.at(dataKey(2)).kind(), FTaggedValue::kString16);
    EXPECT_EQ(std::u16string(host.at(dataKey(2)).string16), u"free text");
}

// Restoring a stored size of 0 used to keep the rows the model had, so a list the user had
// emptied came back with the default rows after the project was reopened.
TEST_F(ModelStorageTest, AListStoredEmptyAndASizeWithoutStoredRowsRestoreEmpty) {
    Model emptied;
    emptied.getMappingModel().removeAllMappings();
    FakeObject project;
    emptied.store(&project);
    model.restore(&project);
    EXPECT_TRUE(rowsOf(model).empty());

    putInteger(kSize, 1);
    Model subject;
    subject.restore(&host);
    EXPECT_TRUE(rowsOf(subject).empty());
    EXPECT_TRUE(usedTargets(subject).empty());
}

TEST_F(ModelStorageTest, SizesThatAreMissingMistypedOrNegativeLeaveTheRows) {
    struct Case {
        const char* name;
        bool present;
        FTaggedValue value;
    };
    const Case cases[] = {
        {"missing", false, {}},
        {"minus one", true, FTaggedValue::fromInteger(-1)},
        {"most negative", true, FTaggedValue::fromInteger(std::numeric_limits<int64>::min())},
        {"a text", true, FTaggedValue::fromString8("1")},
        {"empty value", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeObject project;
        if (c.present)
            project.put(kSize, c.value);
        project.put(sourceKey(1), FTaggedValue::fromString8("Counter"));
        project.put(targetKey(1), FTaggedValue::fromString8("User:STR_MAReel"));
        Model subject;
        subject.restore(&project);
        EXPECT_EQ(rowsOf(subject), kDefaultRows);
        EXPECT_EQ(project.references, 0);
    }
}

TEST_F(ModelStorageTest, HugeStoredSizeReadsOnlyWhatTheProjectHolds) {
    const int64 sizes[] = {std::numeric_limits<int32>::max(), int64{1} << 40,
                           std::numeric_limits<int64>::max()};
    for (int64 size : sizes) {
        SCOPED_TRACE(size);
        FakeObject project;
        project.put(kSize, FTaggedValue::fromInteger(size));
        project.put(sourceKey(1), FTaggedValue::fromString8("Counter"));
        project.put(targetKey(1), FTaggedValue::fromString8("User:STR_MAReel"));
        // Each row found starts the count of missing numbers anew: gaps of 598 and 599 add up
        // past the limit. 999 missing numbers are a gap, 1000 end the rows.
        const std::pair<int, const char*> stored[] = {{600, "User:STR_MATakeNo"},
                                                      {1200, "MarkerDescription"},
                                                      {2200, "User:STR_MAComment"},
                                                      {3201, "User:STR_MADialog"}};
        for (const auto& [number, target] : stored) {
            project.put(sourceKey(number), FTaggedValue::fromString8("FreeText"));
            project.put(targetKey(number), FTaggedValue::fromString8(target));
        }
        Model subject;
        subject.restore(&project);
        EXPECT_EQ(rowsOf(subject), (std::vector<Row>{{"Counter", "User:STR_MAReel"},
                                                     {"FreeText", "User:STR_MATakeNo"},
                                                     {"FreeText", "MarkerDescription"},
                                                     {"FreeText", "User:STR_MAComment"}}));
        // Three settings, the size, per row two keys and the data, per missing number two keys.
        EXPECT_LE(project.reads, 4 + 4 * 3 + (598 + 599 + 999 + 1000) * 2);
    }
}

TEST_F(ModelStorageTest, SettingsAreReadOneByOne) {
    struct Case {
        const char* name;
        const char* key;
        FTaggedValue value;
        int32 markerType;
        int32 targetTrackType;
        bool combine;
    };
    const Case cases[] = {
        {"target track type alone", kTargetTrackType, FTaggedValue::fromInteger(2), 1, 2, true},
        {"marker type", kMarkerType, FTaggedValue::fromInteger(0), 0, 0, true},
        {"marker type low 32 bits", kMarkerType, FTaggedValue::fromInteger((int64{1} << 32) | 7), 7,
         0, true},
        {"marker type negative", kMarkerType, FTaggedValue::fromInteger(-3), -3, 0, true},
        {"marker type as text", kMarkerType, FTaggedValue::fromString8("0"), 1, 0, true},
        {"target type as 16-bit text", kTargetTrackType, FTaggedValue::fromString16(u"1"), 1, 0,
         true},
        {"combine 0", kCombine, FTaggedValue::fromInteger(0), 1, 0, false},
        {"combine 5", kCombine, FTaggedValue::fromInteger(5), 1, 0, true},
        {"combine -1", kCombine, FTaggedValue::fromInteger(-1), 1, 0, true},
        {"combine as text", kCombine, FTaggedValue::fromString8("0"), 1, 0, true},
        {"correct spelling is not read", "CreateZintaraModelDataCombineAdjacent",
         FTaggedValue::fromInteger(0), 1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeObject project;
        project.put(c.key, c.value);
        Model subject;
        subject.restore(&project);
        EXPECT_EQ(subject.getMarkerType(), c.markerType);
        EXPECT_EQ(subject.getTargetTrackType(), c.targetTrackType);
        EXPECT_EQ(subject.getCombineAdjacent(), c.combine);
        EXPECT_EQ(rowsOf(subject), kDefaultRows);
    }
}

TEST_F(ModelStorageTest, FreeTextRowTakesA16BitTextAsOwnedCopy) {
    putInteger(kSize, 1);
    putRow(1, "FreeText", "User:STR_MADialog");
    host.put(dataKey(1), FTaggedValue::fromString16(u"Sz\u00e8ne 1"));
    restore();
    // The host changes its value afterwards; the row keeps its own copy.
    host.put(dataKey(1), FTaggedValue::fromString16(u"other"));
    ASSERT_EQ(rowsOf(model), (std::vector<Row>{{"FreeText", "User:STR_MADialog"}}));
    const FTaggedValue& data = model.getMappingModel().getMappings()[0].data;
    ASSERT_EQ(data.kind(), FTaggedValue::kString16);
    EXPECT_TRUE(data.owns());
    EXPECT_EQ(std::u16string(data.string16), u"Sz\u00e8ne 1");
}

TEST_F(ModelStorageTest, DuplicateTargetKeepsTheFirstRowAndItsData) {
    putInteger(kSize, 3);
    putRow(1, "FreeText", "User:STR_MAReel");
    putText(dataKey(1), "first");
    putRow(2, "Counter", "User:STR_MAReel");
    putText(dataKey(2), "second");
    putRow(3, "TrackName", "MarkerDescription");
    restore();
    EXPECT_EQ(rowsOf(model), (std::vector<Row>{{"FreeText", "User:STR_MAReel"},
                                               {"TrackName", "MarkerDescription"}}));
    const auto& rows = model.getMappingModel().getMappings();
    EXPECT_STREQ(rows[0].data.string8, "first");
    EXPECT_TRUE(rows[1].data.isEmpty());
    EXPECT_EQ(usedTargets(model),
              (std::vector<std::string>{"MarkerDescription", "User:STR_MAReel"}));
}

TEST_F(ModelStorageTest, UnreadableRowsAreSkippedAndLaterRowsRead) {
    putInteger(kSize, 6);
    putText(sourceKey(1), "Counter"); // target missing
    putRow(2, "Counter", "User:STR_MATargetTrack");
    host.put(sourceKey(3), FTaggedValue::fromInteger(4));
    putText(targetKey(3), "User:STR_MAReel");
    putText(sourceKey(4), "EventName");
    host.put(targetKey(4), FTaggedValue::fromString16(u"User:STR_MAReel"));
    putRow(5, "eventname", "User:STR_MAReel");
    putText(dataKey(5), "dropped with its row");
    putRow(6, "EventName", "User:STR_MATragetTrack");
    restore();
    EXPECT_EQ(rowsOf(model), (std::vector<Row>{{"EventName", "User:STR_MATragetTrack"}}));
    EXPECT_TRUE(model.getMappingModel().getMappings()[0].data.isEmpty());
    EXPECT_EQ(usedTargets(model), std::vector<std::string>{"User:STR_MATragetTrack"});
}

TEST_F(ModelStorageTest, StaleDataAndAGapNeitherMoveNorLoseRows) {
    putText(dataKey(3), "STALE"); // an earlier store's third row had a free text
    model.getMappingModel().addMapping("FreeText", "User:STR_MAReel");
    model.store(&host);
    host.attributes.erase(sourceKey(1)); // damaged: row 1 is gone
    host.attributes.erase(targetKey(1));
    Model restored;
    restored.restore(&host);
    ASSERT_EQ(rowsOf(restored), (std::vector<Row>{{"TrackName", "User:STR_MAComment"},
                                                  {"FreeText", "User:STR_MAReel"}}));
    EXPECT_TRUE(restored.getMappingModel().getMappings()[1].data.isEmpty());
}

TEST_F(ModelStorageTest, NoHostObjectMeansNothingIsStoredOrRestored) {
    model.store(nullptr);
    model.restore(nullptr);
    Owned<FObject> unrelated(new FObject); // not a host object
    model.store(unrelated.get());
    model.restore(unrelated.get());
    EXPECT_EQ(unrelated->referenceCount(), 1);
    EXPECT_EQ(rowsOf(model), kDefaultRows);
    EXPECT_EQ(model.getMarkerType(), kCycleMarker);
}

} // namespace
} // namespace Brennovar::Zintara

#include "../engine/fake_host.h"
#include "mapping_rows.h"
#include "model/model.h"
#include "module/fobject.h"
#include "module/owned.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Brennovar::Zintara {
namespace {

using namespace Testing;

constexpr char kMarkerType[] = "CreateZintaraModelDataMarkerType";
constexpr char kTargetTrackType[] = "CreateZintaraModelDataTargetTrackType";
constexpr char kCombine[] = "CreateZintaraModelDataCombineAdjancent";
constexpr char kSize[] = "CreateZintaraModelDataMappingSize";

std::string rowKey(const char* part, int n) {
    return "CreateZintaraModelDataMapping" + std::string(part) + std::to_string(n);
}
const auto sourceKey = [](int n) { return rowKey("Source", n); };
const auto targetKey = [](int n) { return rowKey("Target", n); };
const auto dataKey = [](int n) { return rowKey("Data", n); };

std::vector<RowKeys> rowsOf(const Model& model) {
    return rowKeys(model.getMappingModel());
}

const std::vector<RowKeys> kDefaultRows = {{"EventName", "MarkerDescription"},
                                           {"TrackName", "User:STR_MAComment"}};

class ModelStorageTest : public ::testing::Test {
protected:
    ~ModelStorageTest() override {
        // Every reference that store or restore obtained has been given back.
        EXPECT_EQ(host.references, 0);
    }

    void putText(const std::string& key, const char* text) {
        host.put(key, FTaggedValue::fromString8(text));
    }
    void putRow(int n, const char* source, const char* target) {
        putText(sourceKey(n), source);
        putText(targetKey(n), target);
    }

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
    std::vector<int64> integers;
    for (const char* key : {kMarkerType, kTargetTrackType, kCombine, kSize})
        integers.push_back(host.at(key).kind() == FTaggedValue::kInteger ? host.at(key).integer
                                                                         : -99);
    EXPECT_EQ(integers, (std::vector<int64>{1, 0, 0, 2}));
    EXPECT_STREQ(host.at(sourceKey(1)).string8, "EventName");
    EXPECT_STREQ(host.at(targetKey(1)).string8, "MarkerDescription");
    EXPECT_STREQ(host.at(sourceKey(2)).string8, "TrackName");
    EXPECT_STREQ(host.at(targetKey(2)).string8, "User:STR_MAComment");
    EXPECT_EQ(text16(host.at(dataKey(2))), u"free text");
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

    host.put(kSize, FTaggedValue::fromInteger(1));
    Model subject;
    subject.restore(&host);
    EXPECT_TRUE(rowsOf(subject).empty());
    EXPECT_TRUE(usedTargets(subject.getMappingModel()).empty());
}

// A size that is missing, mistyped or negative leaves the rows the model had; a huge one reads
// only what the project holds.
TEST_F(ModelStorageTest, StoredSizeDecidesWhetherAndHowFarRowsAreRead) {
    const std::vector<RowKeys> stored = {{"Counter", "User:STR_MAReel"},
                                         {"FreeText", "User:STR_MATakeNo"},
                                         {"FreeText", "MarkerDescription"},
                                         {"FreeText", "User:STR_MAComment"}};
    struct Case {
        const char* name;
        std::optional<FTaggedValue> value;
        const std::vector<RowKeys>& rows;
    };
    const Case cases[] = {
        {"missing", std::nullopt, kDefaultRows},
        {"minus one", FTaggedValue::fromInteger(-1), kDefaultRows},
        {"most negative", FTaggedValue::fromInteger(std::numeric_limits<int64>::min()),
         kDefaultRows},
        {"a text", FTaggedValue::fromString8("1"), kDefaultRows},
        {"empty value", FTaggedValue(), kDefaultRows},
        {"int32 max", FTaggedValue::fromInteger(std::numeric_limits<int32>::max()), stored},
        {"2^40", FTaggedValue::fromInteger(int64{1} << 40), stored},
        {"int64 max", FTaggedValue::fromInteger(std::numeric_limits<int64>::max()), stored},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeObject project;
        if (c.value)
            project.put(kSize, *c.value);
        project.put(sourceKey(1), FTaggedValue::fromString8("Counter"));
        project.put(targetKey(1), FTaggedValue::fromString8("User:STR_MAReel"));
        // Each row found starts the count of missing numbers anew: gaps of 598 and 599 add up
        // past the limit. 999 missing numbers are a gap, 1000 end the rows.
        const std::pair<int, const char*> rows[] = {{600, "User:STR_MATakeNo"},
                                                    {1200, "MarkerDescription"},
                                                    {2200, "User:STR_MAComment"},
                                                    {3201, "User:STR_MADialog"}};
        for (const auto& [number, target] : rows) {
            project.put(sourceKey(number), FTaggedValue::fromString8("FreeText"));
            project.put(targetKey(number), FTaggedValue::fromString8(target));
        }
        Model subject;
        subject.restore(&project);
        EXPECT_EQ(rowsOf(subject), c.rows);
        // Three settings, the size, per row two keys and the data, per missing number two keys.
        EXPECT_LE(project.reads, 4 + 4 * 3 + (598 + 599 + 999 + 1000) * 2);
        EXPECT_EQ(project.references, 0);
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

// Unreadable rows are skipped and later rows read; a target taken twice keeps its first row and
// that row's data; a 16-bit free text becomes the row's own copy.
TEST_F(ModelStorageTest, UnreadableRowsAndDuplicateTargetsAreSkippedAndLaterRowsRead) {
    host.put(kSize, FTaggedValue::fromInteger(10));
    putText(sourceKey(1), "Counter"); // target missing
    putRow(2, "Counter", "User:STR_MATargetTrack");
    host.put(sourceKey(3), FTaggedValue::fromInteger(4));
    putText(targetKey(3), "User:STR_MAReel");
    putText(sourceKey(4), "EventName");
    host.put(targetKey(4), FTaggedValue::fromString16(u"User:STR_MAReel"));
    putRow(5, "eventname", "User:STR_MAReel");
    putText(dataKey(5), "dropped with its row");
    putRow(6, "EventName", "User:STR_MATragetTrack");
    putRow(7, "FreeText", "User:STR_MAReel");
    putText(dataKey(7), "first");
    putRow(8, "Counter", "User:STR_MAReel");
    putText(dataKey(8), "second");
    putRow(9, "TrackName", "MarkerDescription");
    putRow(10, "FreeText", "User:STR_MADialog");
    host.put(dataKey(10), FTaggedValue::fromString16(u"Sz\u00e8ne 1"));
    model.restore(&host);
    host.put(dataKey(10), FTaggedValue::fromString16(u"other")); // the row keeps its own copy
    EXPECT_EQ(rowsOf(model), (std::vector<RowKeys>{{"EventName", "User:STR_MATragetTrack"},
                                                   {"FreeText", "User:STR_MAReel"},
                                                   {"TrackName", "MarkerDescription"},
                                                   {"FreeText", "User:STR_MADialog"}}));
    const auto& rows = model.getMappingModel().getMappings();
    EXPECT_TRUE(rows[0].data.isEmpty());
    EXPECT_EQ(text8(rows[1].data), "first");
    EXPECT_TRUE(rows[2].data.isEmpty());
    EXPECT_TRUE(rows[3].data.owns());
    EXPECT_EQ(text16(rows[3].data), u"Sz\u00e8ne 1");
    EXPECT_EQ(usedTargets(model.getMappingModel()),
              (std::vector<std::string>{"MarkerDescription", "User:STR_MAReel",
                                        "User:STR_MATragetTrack", "User:STR_MADialog"}));
}

TEST_F(ModelStorageTest, StaleDataAndAGapNeitherMoveNorLoseRows) {
    putText(dataKey(3), "STALE"); // an earlier store's third row had a free text
    model.getMappingModel().addMapping("FreeText", "User:STR_MAReel");
    model.store(&host);
    host.attributes.erase(sourceKey(1)); // damaged: row 1 is gone
    host.attributes.erase(targetKey(1));
    Model restored;
    restored.restore(&host);
    ASSERT_EQ(rowsOf(restored), (std::vector<RowKeys>{{"TrackName", "User:STR_MAComment"},
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

#include "refhost/host/host.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/project_object.h"
#include "refhost/timeline/timeline_page.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace Brennovar::RefHost {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Positions anywhere in a double's range map in order onto the drawing, infinite ones onto its
// edges; the width follows the extent at 10 px a second within its bounds; the ruler's ticks
// lie in order, each label telling its neighbours apart.
TEST(TimelinePageTest, ScaleDrawsAnyPositionInOrderWithinItsWidth) {
    const struct {
        double first, last;
        int width;
        std::vector<std::pair<double, int>> columns;
        std::vector<std::string> someLabels;
    } cases[] = {
        {0, 13.25, 1224, {{0, 12}, {2, 193}, {13.25, 1212}}, {"0", "1", "13"}},
        {-10, 10, 1224, {{-10, 12}, {0, 612}, {10, 1212}, {-kInfinity, 0}}, {"-10", "-8", "0"}},
        {0, 500, 5024, {{250, 2512}, {500, 5012}}, {"0", "10", "500"}},
        {0, 10800, 16024, {{5400, 8012}, {kInfinity, 16024}}, {"0", "100", "10800"}},
        {-kMax, kMax, 16024, {{-kMax, 12}, {0, 8012}, {kMax, 16012}}, {"-1.6e+308", "0"}},
        {-1e-9, 1e-9, 1224, {{0, 612}}, {"-1e-09", "0", "1e-09"}},
        {1e20, 1e20, 1224, {{1e20, 12}, {std::nan(""), 12}}, {"1e+20"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " to " + std::to_string(c.last));
        const TimeScale scale(c.first, c.last);
        EXPECT_EQ(scale.width(), c.width);
        for (const auto& [seconds, column] : c.columns)
            EXPECT_EQ(scale.column(seconds), column) << seconds;
        std::vector<std::string> labels;
        int previous = -1;
        for (const TimeScale::Tick& tick : scale.ticks()) {
            EXPECT_GT(tick.column, previous);
            EXPECT_LE(tick.column, scale.width());
            previous = tick.column;
            labels.push_back(tick.label);
        }
        for (const std::string& label : c.someLabels)
            EXPECT_NE(std::find(labels.begin(), labels.end(), label), labels.end())
                << label << " not in " << testing::PrintToString(labels);
    }
}

// Items of at least 3 px take the first row free where they start, up to 8 rows; narrower
// items and those that find no row are binned by style, each run of touching columns one shape.
TEST(TimelinePageTest, LanesDrawWideItemsInRowsAndBinTheRest) {
    struct Item {
        int first, end;
        bool highlighted;
        /// -1: binned.
        int row;
    };
    using Runs = std::vector<std::tuple<int, int, std::size_t>>;
    const struct {
        const char* what;
        std::vector<Item> items;
        Runs plain, highlighted;
    } cases[] = {
        {"overlaps",
         {{0, 10, false, 0}, {5, 15, false, 1}, {10, 20, true, 0}, {15, 25, false, 1}},
         {},
         {}},
        {"tiny",
         {{0, 2, false, -1}, {2, 3, false, -1}, {3, 5, false, -1}, {10, 10, false, -1}},
         {{0, 5, 3}, {10, 11, 1}},
         {}},
        {"full",
         {{0, 10, false, 0},
          {0, 10, false, 1},
          {0, 10, false, 2},
          {0, 10, false, 3},
          {0, 10, false, 4},
          {0, 10, false, 5},
          {0, 10, false, 6},
          {0, 10, false, 7},
          {0, 10, false, -1}},
         {{0, 10, 1}},
         {}},
        {"styles",
         {{0, 1, true, -1}, {0, 1, false, -1}, {0, 3, true, 0}},
         {{0, 1, 1}},
         {{0, 1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LanePacking packing;
        for (std::size_t i = 0; i < c.items.size(); ++i)
            packing.add(i, c.items[i].first, c.items[i].end, c.items[i].first, c.items[i].end,
                        c.items[i].highlighted);
        std::vector<int> rows(c.items.size(), -1), expected;
        for (const LanePacking::Placed& placed : packing.placed())
            rows[placed.item] = placed.row;
        for (const Item& item : c.items)
            expected.push_back(item.row);
        EXPECT_EQ(rows, expected);
        for (bool highlighted : {false, true}) {
            Runs runs;
            for (const ColumnBins::Run& run : packing.bins(highlighted).runs())
                runs.emplace_back(run.first, run.end, run.count);
            EXPECT_EQ(runs, highlighted ? c.highlighted : c.plain);
        }
    }
}

// The page shows every text of the project as text, marks the markers the run made and what
// was selected, and draws ten thousand events and a thousand markers too narrow to see as one
// shape each, the markers' with their count.
TEST(TimelinePageTest, PageEscapesTextsMarksTheRunAndBinsTinyItems) {
    Host host;
    Project& project = host.createProject("<Song> & \"B\"");
    ProjectObject& markers = project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    ProjectObject& old = project.addMarker(markers, ObjectKind::kCycleMarker, "Old", 0, 100);
    ProjectObject& made = project.addMarker(markers, ObjectKind::kPositionMarker, "Made\n<", 50);
    const FTaggedValue comment = FTaggedValue::fromString8("bad \xff byte");
    made.assignAttribute("User:Comment", &comment);
    for (int i = 0; i < 1000; ++i)
        project.addMarker(markers, ObjectKind::kCycleMarker, "tiny", i * 0.05, 0.001);
    ProjectObject& folder = project.addTrack(ObjectKind::kFolderTrack, "Folder");
    ProjectObject& track = project.addTrack(ObjectKind::kAudioTrack, "Audio 'quoted'", &folder);
    std::unordered_set<const ProjectObject*> selected;
    for (int i = 0; i < 10000; ++i)
        selected.insert(&project.addAudioEvent(track, "e", i * 0.01, 0.001));
    project.addAudioEvent(track, "Wide & plain", 0, 50);

    std::ostringstream out;
    const TimelinePage::Size size =
        TimelinePage::write(out, project, {selected, {&old}}, {"<h1>&", "detail"});
    const std::string html = out.str();
    EXPECT_EQ(size.lanes, 3u);
    EXPECT_EQ(size.width, TimelinePage::kNamesWidth + TimeScale(0, 100).width());
    // The audio lane's one row starts at 97 px: the ruler, the marker lane's two rows and the
    // folder's lane above it.
    for (const char* expected :
         {"<title>&lt;Song&gt; &amp; &quot;B&quot; - timeline</title>", "<h1>&lt;h1&gt;&amp;</h1>",
          "<text class=\"folder\" x=\"8\" y=", "<text x=\"22\" y=\"", ">Audio &#39;quoted&#39;<",
          "<g class=\"marker\"><title>Old\ncycle marker from 0.000 to 100.000 "
          "s\n/tracks/0/markers/0<",
          "<g class=\"marker made flag\"><title>Made\\n&lt;\nposition marker at 50.000 s, made by "
          "this run\n/tracks/0/markers/1\nUser:Comment = bad \xEF\xBF\xBD byte</title>",
          "<path class=\"markers made\" d=\"m12 ",
          "<title>1000 markers made by this run, 0.000 to 49.951 s</title>",
          "<path class=\"bin sel\" d=\"m12 97h1201v18h-1201z\"/>", "<path class=\"event\" d=\"m12 ",
          ">Wide &amp; plain<"})
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    EXPECT_EQ(html.find("<Song>"), std::string::npos);
    EXPECT_LT(html.size(), 20'000u);
}

} // namespace
} // namespace Brennovar::RefHost

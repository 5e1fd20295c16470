#include "refhost/timeline/timeline_page.h"
#include "refhost_cli/browser_screenshot.h"

#include <cstdio>
#include <filesystem>
#include <gmock/gmock.h>
#include <vector>

namespace {

using namespace Brennovar::RefHost;
using namespace RefHostCliTest;

/// A horizontal stretch of one colour: the columns [first, end) of the lanes' drawing.
using Span = std::pair<int, int>;

} // namespace

// The demo run's page opens in a real browser as the tool describes it: as large as it says,
// one stripe per lane in the names column, and the five markers the run made drawn in the
// marker lane over exactly their times, among them the one range the three overlapping
// "Dialogue" takes were combined into (2 to 13.25 s).
TEST(TimelineTest, ChromiumDrawsTheDemoRunsMarkersOverTheirEvents) {
    const std::filesystem::path folder = temporary("timeline");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path page = folder / "demo.html";
    const ToolRun run = runTool("run " + moduleArgument() + " --timeline " + quoted(page));
    ASSERT_EQ(run.status, 0) << run.err;
    std::size_t lanes = 0;
    int width = 0, height = 0;
    const std::size_t line = run.out.find("\nTimeline ");
    ASSERT_NE(line, std::string::npos) << run.out;
    ASSERT_EQ(std::sscanf(run.out.c_str() + run.out.find(": ", line), ": %zu lanes, %d x %d px",
                          &lanes, &width, &height),
              3);
    EXPECT_EQ(lanes, 6u);
    // The demo's events and markers lie between 0 and 13.25 s.
    const TimeScale scale(0.0, 13.25);
    EXPECT_EQ(width, TimelinePage::kNamesWidth + scale.width());

    const std::string browser = chromium();
    if (browser.empty())
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps --with-chromium "
                        "installs it); the browser check of the timeline page is skipped";
    ToolRun shown;
    const Image image = screenshot(browser, page, width, height, shown);
    ASSERT_EQ(shown.status, 0) << shown.err;
    ASSERT_EQ(image.width, static_cast<std::uint32_t>(width));
    ASSERT_EQ(image.height, static_cast<std::uint32_t>(height));

    // The lanes' stripes, read down the names column beside the (cut off) names.
    const std::uint32_t stripes[] = {rgb(TimelinePage::kLaneColours[0]),
                                     rgb(TimelinePage::kLaneColours[1])};
    std::vector<Span> laneRows;
    const int top = TimelinePage::kHeadingHeight + TimelinePage::kRulerHeight;
    for (int y = top; y < height; ++y) {
        const std::uint32_t colour = image.rgb(TimelinePage::kNamesWidth - 3, y);
        ASSERT_TRUE(colour == stripes[0] || colour == stripes[1]) << "at y " << y;
        if (laneRows.empty() || colour != image.rgb(TimelinePage::kNamesWidth - 3, y - 1))
            laneRows.push_back({y, y});
        laneRows.back().second = y + 1;
    }
    EXPECT_EQ(laneRows.size(), lanes);
    EXPECT_EQ(laneRows.back().second, height);

    // Each row of the marker lane, just under its top edge, where no text reaches.
    std::vector<Span> made;
    const auto [laneTop, laneEnd] = laneRows.front();
    for (int y = laneTop + TimelineLanes::kPadding + 2; y < laneEnd; y += TimelineLanes::kRowHeight)
        for (int x = 0; x < scale.width(); ++x) {
            const bool drawn =
                image.rgb(TimelinePage::kNamesWidth + x, y) == rgb(TimelinePage::kCreatedColour);
            if (drawn && (x == 0 || made.empty() || made.back().second != x))
                made.push_back({x, x});
            if (drawn)
                made.back().second = x + 1;
        }
    // A block ends a pixel short of its end, apart from the next.
    const auto span = [&](double start, double end) {
        return Span{scale.column(start), scale.column(end) - 1};
    };
    EXPECT_THAT(made,
                testing::UnorderedElementsAre(span(2.0, 13.25), span(2.0, 6.5), span(0.0, 4.0),
                                              span(8.0, 12.0), span(1.0, 9.0)));
}

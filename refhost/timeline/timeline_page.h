#pragma once

#include "refhost/timeline/timeline_lanes.h"

#include <array>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

class Project;

/// The texts above the timeline.
struct TimelineHeading {
    /// The run's summary line ("5 markers created on 1 track").
    std::string title;
    /// The command and the module's answer.
    std::string detail;
};

/// Writes a project's timeline (TimelineLanes) as one self-contained HTML page: the heading,
/// then a column with the lanes' names beside an inline SVG with the ruler in seconds, a grid
/// line at each tick, and the lanes. Events and parts are blocks with their names where these
/// fit, the selected ones outlined; cycle markers are ranges and position markers flags, each
/// with a title (what a browser shows on hover) giving its description, times, whether the run
/// made it, its place in the project's document and its attributes; the markers the run made
/// are drawn in kCreatedColour. Items that LanePacking bins are drawn as one shape per run of
/// pixel columns. Lanes alternate between the two kLaneColours, in the names column too; the
/// names stay in view while the lanes scroll.
///
/// The page is kNamesWidth plus the time scale's width wide and kHeadingHeight plus
/// kRulerHeight plus the lanes' height high.
class TimelinePage {
public:
    static constexpr int kHeadingHeight = 64;
    static constexpr int kNamesWidth = 200;
    static constexpr int kRulerHeight = 28;
    static constexpr std::string_view kPageColour = "#1b1d22";
    static constexpr std::array<std::string_view, 2> kLaneColours = {"#2a2e35", "#343943"};
    static constexpr std::string_view kCreatedColour = "#f5a623";

    struct Size {
        std::size_t lanes;
        int width;
        int height;
    };

    static Size write(std::ostream& out, const Project& project, const TimelineMarks& marks,
                      const TimelineHeading& heading);
};

} // namespace Brennovar::RefHost

#include "refhost/timeline/timeline_page.h"

#include "refhost/core/text_conversion.h"
#include "refhost/files/project_file.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"
#include "refhost/timeline/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Brennovar::RefHost {

namespace {

/// A block shows its name from this width on, cut off at its end.
constexpr int kLabelWidth = 24;
constexpr int kRowHeight = TimelineLanes::kRowHeight;
/// A track's name is indented this much per folder holding it, up to kMaxIndents folders.
constexpr int kIndent = 14;
constexpr int kMaxIndents = 8;

constexpr std::string_view kStyle = R"(
body { margin: 0; width: max-content; background: PAGE; color: #dfe3e8;
  font: 12px "DejaVu Sans", sans-serif; }
header { position: sticky; left: 0; box-sizing: border-box; height: HEADINGpx; max-width: 100vw;
  padding: 10px 16px; overflow: hidden; white-space: nowrap; text-overflow: ellipsis; }
h1 { margin: 0; font-size: 18px; line-height: 24px; font-weight: 600; }
p { margin: 4px 0 0; color: #aab1bb; overflow: hidden; text-overflow: ellipsis; }
#timeline { display: flex; }
#names { position: sticky; left: 0; z-index: 1; }
svg { display: block; flex: none; }
text { font-size: 11px; fill: #e6e9ee; }
.l0 { fill: LANE0; } .l1 { fill: LANE1; }
.ruler { fill: #15171b; } .tick { stroke: #6c7480; } .grid { stroke: rgba(255, 255, 255, 0.08); }
.tl { fill: #aab1bb; } .folder { font-weight: bold; }
.event { fill: #4f7fc4; } .part { fill: #4e9a6f; } .sel { stroke: #ffffff; stroke-width: 1.5; }
.bin { fill: #3c5a85; } .bin.sel { fill: #8ab0e6; stroke: none; }
.marker path { fill: #8f96a3; } .marker.made path { fill: CREATED; } .marker text { fill: #15171b; }
.flag text { fill: #e6e9ee; }
.markers { fill: #6d737d; } .markers.made { fill: #b87b1a; }
)";

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, std::abs(value) < 1e9 ? "%.3f" : "%.6g", value);
    return text;
}

std::string plural(std::size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string pageStyle() {
    std::string style(kStyle);
    const auto put = [&style](std::string_view name, std::string_view value) {
        style.replace(style.find(name), name.size(), value);
    };
    put("PAGE", TimelinePage::kPageColour);
    put("HEADING", std::to_string(TimelinePage::kHeadingHeight));
    put("LANE0", TimelinePage::kLaneColours[0]);
    put("LANE1", TimelinePage::kLaneColours[1]);
    put("CREATED", TimelinePage::kCreatedColour);
    return style;
}

class PageWriter {
public:
    PageWriter(std::ostream& out, const Project& project, const TimelineLanes& lanes)
        : out_(out), project_(project), lanes_(lanes) {}

    void head(const TimelineHeading& heading) {
        out_.raw("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
        out_.text(project_.name()).raw(" - timeline</title>\n<style>").raw(pageStyle());
        out_.raw("</style>\n</head>\n<body>\n<header><h1>").text(heading.title).raw("</h1><p>");
        out_.text(heading.detail).raw("</p></header>\n");
    }

    void timeline() {
        const int height = TimelinePage::kRulerHeight + lanes_.height();
        out_.raw("<div id=\"timeline\">\n");
        open("names", TimelinePage::kNamesWidth, height);
        names();
        out_.raw("</svg>\n");
        open("lanes", lanes_.scale().width(), height);
        ruler(height);
        for (const TimelineLanes::Lane& lane : lanes_.lanes())
            if (lane.markers)
                markers(lane);
            else
                events(lane);
        out_.raw("</svg>\n</div>\n</body>\n</html>\n");
        out_.finish();
    }

private:
    static int top(const TimelineLanes::Lane& lane, int row) {
        return TimelinePage::kRulerHeight + lane.rowTop(row);
    }

    void open(const char* id, int width, int height) {
        out_.raw("<svg id=\"").raw(id).raw("\" xmlns=\"http://www.w3.org/2000/svg\" width=\"");
        out_.number(width).raw("\" height=\"").number(height).raw("\">\n");
    }

    /// The lanes' backgrounds, alternating, as two paths.
    void backgrounds(int width) {
        for (int colour : {0, 1}) {
            out_.path(colour == 0 ? "l0" : "l1");
            for (std::size_t i = colour; i < lanes_.lanes().size(); i += 2) {
                const TimelineLanes::Lane& lane = lanes_.lanes()[i];
                out_.box(0, TimelinePage::kRulerHeight + lane.top, width, lane.height);
            }
            out_.raw("\"/>\n");
        }
    }

    void names() {
        const int width = TimelinePage::kNamesWidth;
        out_.raw("<clipPath id=\"cut\"><rect width=\"").number(width - 8);
        out_.raw("\" height=\"100%\"/></clipPath>\n");
        out_.path("ruler").box(0, 0, width, TimelinePage::kRulerHeight).raw("\"/>\n");
        backgrounds(width);
        out_.raw(
            "<text class=\"tl\" x=\"8\" y=\"18\">seconds</text>\n<g clip-path=\"url(#cut)\">\n");
        const ProjectObject* active = project_.activeMarkerTrack();
        for (const TimelineLanes::Lane& lane : lanes_.lanes()) {
            const bool folder = lane.track->kind() == ObjectKind::kFolderTrack;
            out_.raw(folder ? "<text class=\"folder\" x=\"" : "<text x=\"")
                .number(8 + kIndent * std::min(lane.depth, kMaxIndents));
            out_.raw("\" y=\"").number(top(lane, 0) + 13).raw("\">").text(lane.track->nameUtf8());
            out_.raw(lane.track == active ? " (active)</text>\n" : "</text>\n");
        }
        out_.raw("</g>\n");
    }

    void ruler(int height) {
        const int width = lanes_.scale().width();
        out_.path("ruler").box(0, 0, width, TimelinePage::kRulerHeight);
        out_.raw("\"/>\n");
        backgrounds(width);
        const auto ticks = lanes_.scale().ticks();
        out_.raw("<path class=\"tick\" d=\"");
        for (const TimeScale::Tick& tick : ticks)
            out_.raw("M").number(tick.column).raw(" 20v8");
        out_.raw("\"/>\n<path class=\"grid\" d=\"");
        for (const TimeScale::Tick& tick : ticks)
            out_.raw("M")
                .number(tick.column)
                .raw(" ")
                .number(TimelinePage::kRulerHeight)
                .raw("v")
                .number(height - TimelinePage::kRulerHeight);
        out_.raw("\"/>\n");
        for (const TimeScale::Tick& tick : ticks)
            out_.raw("<text class=\"tl\" x=\"")
                .number(tick.column + 3)
                .raw("\" y=\"16\">")
                .text(tick.label)
                .raw("</text>\n");
    }

    /// A block's name, cut off at the block's end.
    void label(const ProjectObject& object, int x, int y, int width) {
        out_.raw("<svg x=\"").number(x).raw("\" y=\"").number(y).raw("\" width=\"").number(width);
        out_.raw("\" height=\"").number(kRowHeight).raw("\"><text x=\"4\" y=\"13\">");
        out_.text(object.nameUtf8()).raw("</text></svg>\n");
    }

    void events(const TimelineLanes::Lane& lane) {
        const int rowsHeight = lane.packing.rows() * kRowHeight;
        for (bool selected : {false, true}) {
            const auto& runs = lane.packing.bins(selected).runs();
            if (runs.empty())
                continue;
            out_.path(selected ? "bin sel" : "bin");
            for (const ColumnBins::Run& run : runs)
                out_.box(run.first, top(lane, 0), run.end - run.first, rowsHeight);
            out_.raw("\"/>\n");
        }
        for (const char* kind : {"event", "part"})
            for (bool selected : {false, true})
                blocks(lane, kind, selected);
        for (const LanePacking::Placed& placed : lane.packing.placed())
            if (placed.end - placed.first >= kLabelWidth)
                label(*lane.items[placed.item].object, placed.first, top(lane, placed.row),
                      placed.end - placed.first - 1);
    }

    /// The lane's placed events (or parts), plain or selected, as one path.
    void blocks(const TimelineLanes::Lane& lane, std::string_view kind, bool selected) {
        bool any = false;
        for (const LanePacking::Placed& placed : lane.packing.placed()) {
            const TimelineLanes::Item& item = lane.items[placed.item];
            const bool part = item.object->kind() != ObjectKind::kAudioEvent;
            if (item.highlighted != selected || part != (kind == "part"))
                continue;
            if (!any)
                out_.path(std::string(kind) + (selected ? " sel" : ""));
            any = true;
            out_.box(placed.first, top(lane, placed.row) + 1, placed.end - placed.first - 1,
                     kRowHeight - 2);
        }
        if (any)
            out_.raw("\"/>\n");
    }

    void markers(const TimelineLanes::Lane& lane) {
        const int rowsHeight = lane.packing.rows() * kRowHeight;
        for (bool made : {false, true})
            for (const ColumnBins::Run& run : lane.packing.bins(made).runs()) {
                out_.path(made ? "markers made" : "markers");
                out_.box(run.first, top(lane, 0), run.end - run.first, rowsHeight)
                    .raw("\"><title>");
                out_.raw(plural(run.count, "marker")).raw(made ? " made by this run" : "");
                out_.raw(", ").raw(seconds(run.start)).raw(" to ").raw(seconds(run.stop));
                out_.raw(" s</title></path>\n");
            }
        for (const LanePacking::Placed& placed : lane.packing.placed()) {
            const TimelineLanes::Item& item = lane.items[placed.item];
            const ProjectObject& marker = *item.object;
            const int y = top(lane, placed.row);
            const bool flag = marker.kind() == ObjectKind::kPositionMarker;
            out_.raw("<g class=\"marker").raw(item.highlighted ? " made" : "");
            out_.raw(flag ? " flag\">" : "\">");
            title(marker, item.highlighted);
            out_.path("");
            if (flag)
                out_.box(placed.first, y + 1, 1, kRowHeight - 2)
                    .box(placed.first + 1, y + 1, TimelineLanes::kFlagWidth - 2, 7);
            else
                out_.box(placed.first, y + 1, placed.end - placed.first - 1, kRowHeight - 2);
            out_.raw("\"/>");
            // A flag's description stands beside it; a range's inside it, where it fits.
            const int indent = flag ? TimelineLanes::kFlagWidth - 4 : 0;
            if (placed.end - placed.first >= kLabelWidth)
                label(marker, placed.first + indent, y, placed.end - placed.first - indent - 1);
            out_.raw("</g>\n");
        }
    }

    void title(const ProjectObject& marker, bool made) {
        out_.raw("<title>").text(marker.nameUtf8()).raw("\n");
        if (marker.kind() == ObjectKind::kPositionMarker)
            out_.raw("position marker at ").raw(seconds(marker.start()));
        else
            out_.raw("cycle marker from ")
                .raw(seconds(marker.start()))
                .raw(" to ")
                .raw(seconds(marker.end()));
        out_.raw(made ? " s, made by this run\n" : " s\n").text(ProjectFile::pointerOf(marker));
        for (const auto& [key, value] : marker.attributes().entries())
            out_.raw("\n").text(key).raw(" = ").text(taggedValueText(value));
        out_.raw("</title>");
    }

    SvgWriter out_;
    const Project& project_;
    const TimelineLanes& lanes_;
};

} // namespace

TimelinePage::Size TimelinePage::write(std::ostream& out, const Project& project,
                                       const TimelineMarks& marks, const TimelineHeading& heading) {
    const TimelineLanes lanes(project, marks);
    PageWriter page(out, project, lanes);
    page.head(heading);
    page.timeline();
    return {lanes.lanes().size(), kNamesWidth + lanes.scale().width(),
            kHeadingHeight + kRulerHeight + lanes.height()};
}

} // namespace Brennovar::RefHost

#include "run_report.h"

#include "refhost/core/text_conversion.h"
#include "refhost/files/json_writer.h"
#include "refhost/files/object_pointers.h"
#include "refhost/loading/module_loader.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"
#include "text_cells.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace Brennovar::RefHost {

namespace {

/// Long descriptions are cut to this width in the table (the JSON output has them whole).
constexpr std::size_t kMaxCellWidth = 40;

std::string attributeText(const FTaggedValue& value) {
    switch (value.kind()) {
    case FTaggedValue::kInteger:
        return std::to_string(value.integer);
    case FTaggedValue::kString8:
        return value.string8 ? value.string8 : "";
    case FTaggedValue::kString16:
        return utf8(value.string16);
    default:
        return {};
    }
}

/// Seconds with three decimals; far-off numbers in exponent form rather than hundreds of digits.
std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, std::abs(value) < 1e9 ? "%.3f" : "%.6g", value);
    return text;
}

std::string plural(std::size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string resultLine(const RunReport& report) {
    if (!report.run.found)
        return "the module registered no command \"" + report.command + "\"; nothing ran";
    std::string code = resultText(report.run.result);
    if (!report.run.available)
        return code + ": the module declined the command (checkOnly); nothing ran";
    if (report.run.result != ResultOk)
        return code + ": the command ran and reported that it did not make markers";
    return code;
}

} // namespace

std::unordered_set<const ProjectObject*> RunReport::markersOf(const Project& project) {
    std::unordered_set<const ProjectObject*> markers;
    for (const ProjectObject* track : project.markerTracks())
        markers.insert(track->children().begin(), track->children().end());
    return markers;
}

void RunReport::captureProject(const Project& project,
                               const std::unordered_set<const ProjectObject*>& before) {
    const ObjectPointers pointers(project);
    markerTracks.clear();
    const ProjectObject* active = project.activeMarkerTrack();
    for (const ProjectObject* track : project.markerTracks()) {
        MarkerTrack entry{track->nameUtf8(), track == active, {}};
        for (const ProjectObject* object : track->children()) {
            Marker marker;
            marker.kind = object->kind() == ObjectKind::kPositionMarker ? "position" : "cycle";
            marker.start = object->start();
            marker.length = object->length();
            marker.description = object->nameUtf8();
            for (const auto& [key, value] : object->attributes().entries())
                marker.attributes[key] = attributeText(value);
            marker.selected = object->selected();
            marker.path = pointers.of(*object);
            marker.created = !before.contains(object);
            entry.markers.push_back(std::move(marker));
        }
        markerTracks.push_back(std::move(entry));
    }
    selection.clear();
    for (const ProjectObject* object : project.selection().objects())
        selection.push_back(
            {std::string(kindName(object->kind())), object->nameUtf8(), pointers.of(*object)});
}

std::string RunReport::summary() const {
    std::size_t created = 0;
    std::size_t tracks = 0;
    for (const MarkerTrack& track : markerTracks) {
        std::size_t onTrack = 0;
        for (const Marker& marker : track.markers)
            onTrack += marker.created;
        created += onTrack;
        tracks += onTrack > 0;
    }
    if (created == 0)
        return "no marker created";
    return plural(created, "marker") + " created on " + plural(tracks, "track");
}

void RunReport::json(std::ostream& stream) const {
    JsonWriter out(stream);
    out.beginObject();
    out.member("command", command).member("found", run.found).member("available", run.available);
    out.member("result", static_cast<std::int64_t>(run.result));
    out.member("resultText", resultText(run.result)).member("undoName", undoName);
    out.key("markerTracks").beginArray();
    for (const MarkerTrack& track : markerTracks) {
        out.beginObject().member("name", track.name).member("active", track.active);
        out.key("markers").beginArray();
        for (const Marker& marker : track.markers) {
            out.beginObject().member("kind", marker.kind).member("start", marker.start);
            out.member("length", marker.length).member("description", marker.description);
            out.key("attributes").beginObject();
            for (const auto& [key, value] : marker.attributes)
                out.member(key, value);
            out.endObject();
            out.member("selected", marker.selected).member("path", marker.path);
            out.member("created", marker.created).endObject();
        }
        out.endArray().endObject();
    }
    out.endArray();
    out.key("selection").beginArray();
    for (const Selected& object : selection)
        out.beginObject()
            .member("kind", object.kind)
            .member("name", object.name)
            .member("path", object.path)
            .endObject();
    out.endArray();
    if (undoRestored)
        out.member("undoRestored", *undoRestored);
    out.key("warnings").beginArray();
    for (const std::string& warning : warnings)
        out.value(warning);
    out.endArray();
    out.key("problems").beginArray();
    for (const std::string& problem : problems)
        out.value(problem);
    out.endArray();
    out.member("summary", summary());
    out.endObject();
    out.finish();
    stream << '\n';
}

std::string RunReport::table() const {
    std::string out = "Command  \"" + printable(command) + "\"\n";
    out += "Result   " + resultLine(*this) + "\n";
    out += "Undo     " +
           (undoName.empty() ? std::string("(no edit)") : "\"" + printable(undoName) + "\"") + "\n";
    if (undoRestored)
        out += std::string("Undone   ") +
               (*undoRestored ? "the project is as before the run" : "the project differs") + "\n";
    for (const MarkerTrack& track : markerTracks) {
        out += "\nMarker track \"" + printable(track.name) + "\"" +
               (track.active ? " (active)" : "") + ", " + plural(track.markers.size(), "marker") +
               "\n";
        if (track.markers.empty())
            continue;
        std::size_t descriptionWidth = std::string("description").size() + 2;
        for (const Marker& marker : track.markers)
            descriptionWidth = std::max(descriptionWidth, printable(marker.description).size() + 2);
        descriptionWidth = std::min(descriptionWidth, kMaxCellWidth);
        out += "  " + cell("kind", 10) + cell("start", 12) + cell("length", 12) +
               cell("description", descriptionWidth) + "attributes\n";
        for (const Marker& marker : track.markers) {
            std::string attributes;
            for (const auto& [key, value] : marker.attributes)
                attributes += (attributes.empty() ? "" : ", ") + key + "=" + value;
            out += "  " + cell(marker.kind + (marker.selected ? "*" : ""), 10) +
                   cell(seconds(marker.start), 12) + cell(seconds(marker.length), 12) +
                   cell(marker.description, descriptionWidth) + printable(attributes) + "\n";
        }
    }
    out += "\nSelection (" + std::to_string(selection.size()) + ")" +
           (selection.empty() ? "" : ", * marks selected markers") + "\n";
    for (const Selected& object : selection)
        out += "  " + cell(object.kind, 18) + cell("\"" + object.name + "\"", 26) +
               printable(object.path) + "\n";
    out += "\n" + summary() + "\n";
    return out;
}

} // namespace Brennovar::RefHost

#include "run_report.h"

#include "refhost/core/text_conversion.h"
#include "refhost/files/project_file.h"
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

/// Seconds with three decimals; far-off numbers in exponent form rather than hundreds of digits.
std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, std::abs(value) < 1e9 ? "%.3f" : "%.6g", value);
    return text;
}

std::string plural(std::size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

const char* markerKind(const ProjectObject& marker) {
    return marker.kind() == ObjectKind::kPositionMarker ? "position" : "cycle";
}

} // namespace

RunReport::RunReport(std::ostream& out, bool json)
    : out_(out), json_(json ? std::make_unique<JsonWriter>(out) : nullptr) {}

RunReport::~RunReport() = default;

std::string RunReport::resultLine(const std::string& command, const CommandRun& run) {
    if (!run.found)
        return "the module registered no command \"" + command + "\"; nothing ran";
    std::string code = resultText(run.result);
    if (!run.available)
        return code + ": the module declined the command (checkOnly); nothing ran";
    if (run.result != ResultOk)
        return code + ": the command ran and reported that it did not make markers";
    return code;
}

std::unordered_set<const ProjectObject*> RunReport::markersOf(const Project& project) {
    std::unordered_set<const ProjectObject*> markers;
    for (const ProjectObject* track : project.markerTracks())
        markers.insert(track->children().begin(), track->children().end());
    return markers;
}

void RunReport::writeRun(const std::string& command, const CommandRun& run,
                         const std::string& undoName, const Project& project,
                         const std::unordered_set<const ProjectObject*>& before) {
    created_ = 0;
    tracksWithCreated_ = 0;
    for (const ProjectObject* track : project.markerTracks()) {
        std::size_t onTrack = 0;
        for (const ProjectObject* marker : track->children())
            onTrack += !before.contains(marker);
        created_ += onTrack;
        tracksWithCreated_ += onTrack > 0;
    }
    if (json_)
        writeJson(command, run, undoName, project, before);
    else
        writeTable(command, run, undoName, project);
}

void RunReport::writeJson(const std::string& command, const CommandRun& run,
                          const std::string& undoName, const Project& project,
                          const std::unordered_set<const ProjectObject*>& before) {
    JsonWriter& out = *json_;
    out.beginObject();
    out.member("command", command).member("found", run.found).member("available", run.available);
    out.member("result", static_cast<std::int64_t>(run.result));
    out.member("resultText", resultText(run.result)).member("undoName", undoName);
    out.key("markerTracks").beginArray();
    const ProjectObject* active = project.activeMarkerTrack();
    for (const ProjectObject* track : project.markerTracks()) {
        out.beginObject().member("name", track->name()).member("active", track == active);
        out.key("markers").beginArray();
        for (const ProjectObject* marker : track->children()) {
            out.beginObject().member("kind", markerKind(*marker)).member("start", marker->start());
            out.member("length", marker->length()).member("description", marker->name());
            out.key("attributes").beginObject();
            for (const auto& [key, value] : marker->attributes().entries())
                out.member(key, taggedValueText(value));
            out.endObject();
            out.member("selected", marker->selected())
                .member("path", ProjectFile::pointerOf(*marker));
            out.member("created", !before.contains(marker)).endObject();
        }
        out.endArray().endObject();
    }
    out.endArray();
    out.key("selection").beginArray();
    for (const ProjectObject* object : project.selection().objects())
        out.beginObject()
            .member("kind", kindName(object->kind()))
            .member("name", object->name())
            .member("path", ProjectFile::pointerOf(*object))
            .endObject();
    out.endArray();
}

void RunReport::writeTable(const std::string& command, const CommandRun& run,
                           const std::string& undoName, const Project& project) {
    out_ << "Command  \"" << printable(command) << "\"\n";
    out_ << "Result   " << resultLine(command, run) << "\n";
    out_ << "Undo     "
         << (undoName.empty() ? std::string("(no edit)") : "\"" + printable(undoName) + "\"")
         << "\n";
    const ProjectObject* active = project.activeMarkerTrack();
    for (const ProjectObject* track : project.markerTracks()) {
        const auto& markers = track->children();
        out_ << "\nMarker track \"" << printable(track->nameUtf8()) << "\""
             << (track == active ? " (active)" : "") << ", " << plural(markers.size(), "marker")
             << "\n";
        if (markers.empty())
            continue;
        std::size_t descriptionWidth = std::string("description").size() + 2;
        for (const ProjectObject* marker : markers)
            descriptionWidth = std::max(descriptionWidth, printable(marker->nameUtf8()).size() + 2);
        descriptionWidth = std::min(descriptionWidth, kMaxCellWidth);
        out_ << "  " << cell("kind", 10) << cell("start", 12) << cell("length", 12)
             << cell("description", descriptionWidth) << "attributes\n";
        for (const ProjectObject* marker : markers) {
            std::string attributes;
            for (const auto& [key, value] : marker->attributes().entries())
                attributes += (attributes.empty() ? "" : ", ") + key + "=" + taggedValueText(value);
            out_ << "  "
                 << cell(std::string(markerKind(*marker)) + (marker->selected() ? "*" : ""), 10)
                 << cell(seconds(marker->start()), 12) << cell(seconds(marker->length()), 12)
                 << cell(marker->nameUtf8(), descriptionWidth) << printable(attributes) << "\n";
        }
    }
    const auto& selection = project.selection().objects();
    out_ << "\nSelection (" << selection.size() << ")"
         << (selection.empty() ? "" : ", * marks selected markers") << "\n";
    for (const ProjectObject* object : selection)
        out_ << "  " << cell(kindName(object->kind()), 18)
             << cell("\"" + object->nameUtf8() + "\"", 26)
             << printable(ProjectFile::pointerOf(*object)) << "\n";
}

void RunReport::finish(std::optional<bool> undoRestored, const std::vector<std::string>& warnings,
                       const std::vector<std::string>& problems) {
    if (!json_) {
        if (undoRestored)
            out_ << "\nUndone   "
                 << (*undoRestored ? "the project is as before the run" : "the project differs")
                 << "\n";
        out_ << "\n" << summary() << "\n";
        return;
    }
    JsonWriter& out = *json_;
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
    out_ << '\n';
}

std::string RunReport::summary() const {
    if (created_ == 0)
        return "no marker created";
    return plural(created_, "marker") + " created on " + plural(tracksWithCreated_, "track");
}

} // namespace Brennovar::RefHost

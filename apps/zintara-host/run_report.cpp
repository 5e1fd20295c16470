#include "run_report.h"

#include "refhost/core/text_conversion.h"
#include "refhost/files/object_pointers.h"
#include "refhost/loading/module_loader.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace Brennovar::RefHost {

namespace {

using OrderedJson = nlohmann::ordered_json;

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

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
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

void RunReport::captureProject(const Project& project) {
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
            entry.markers.push_back(std::move(marker));
        }
        markerTracks.push_back(std::move(entry));
    }
    selection.clear();
    for (const ProjectObject* object : project.selection().objects())
        selection.push_back(
            {std::string(kindName(object->kind())), object->nameUtf8(), pointers.of(*object)});
}

std::string RunReport::json() const {
    OrderedJson document = OrderedJson::object();
    document["command"] = command;
    document["found"] = run.found;
    document["available"] = run.available;
    document["result"] = run.result;
    document["resultText"] = resultText(run.result);
    document["undoName"] = undoName;
    OrderedJson tracks = OrderedJson::array();
    for (const MarkerTrack& track : markerTracks) {
        OrderedJson markers = OrderedJson::array();
        for (const Marker& marker : track.markers)
            markers.push_back({{"kind", marker.kind},
                               {"start", marker.start},
                               {"length", marker.length},
                               {"description", marker.description},
                               {"attributes", marker.attributes},
                               {"selected", marker.selected}});
        tracks.push_back(
            {{"name", track.name}, {"active", track.active}, {"markers", std::move(markers)}});
    }
    document["markerTracks"] = std::move(tracks);
    OrderedJson selected = OrderedJson::array();
    for (const Selected& object : selection)
        selected.push_back({{"kind", object.kind}, {"name", object.name}, {"path", object.path}});
    document["selection"] = std::move(selected);
    if (undoRestored)
        document["undoRestored"] = *undoRestored;
    document["problems"] = problems;
    return document.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

std::string RunReport::table() const {
    std::string out = "Command  \"" + command + "\"\n";
    out += "Result   " + resultLine(*this) + "\n";
    out +=
        "Undo     " + (undoName.empty() ? std::string("(no edit)") : "\"" + undoName + "\"") + "\n";
    if (undoRestored)
        out += std::string("Undone   ") +
               (*undoRestored ? "the project is as before the run" : "the project differs") + "\n";
    for (const MarkerTrack& track : markerTracks) {
        out += "\nMarker track \"" + track.name + "\"" + (track.active ? " (active)" : "") + ", " +
               std::to_string(track.markers.size()) + " marker(s)\n";
        if (track.markers.empty())
            continue;
        std::size_t descriptionWidth = std::string("description").size();
        for (const Marker& marker : track.markers)
            descriptionWidth = std::max(descriptionWidth, marker.description.size());
        out += "  " + padded("kind", 10) + padded("start", 11) + padded("length", 11) +
               padded("description", descriptionWidth + 2) + "attributes\n";
        for (const Marker& marker : track.markers) {
            std::string attributes;
            for (const auto& [key, value] : marker.attributes)
                attributes += (attributes.empty() ? "" : ", ") + key + "=" + value;
            out += "  " + padded(marker.kind + (marker.selected ? "*" : ""), 10) +
                   padded(seconds(marker.start), 11) + padded(seconds(marker.length), 11) +
                   padded(marker.description, descriptionWidth + 2) + attributes + "\n";
        }
    }
    out += "\nSelection (" + std::to_string(selection.size()) + ")" +
           (selection.empty() ? "" : ", * marks selected markers") + "\n";
    for (const Selected& object : selection)
        out += "  " + padded(object.kind, 18) + padded("\"" + object.name + "\"", 24) +
               object.path + "\n";
    return out;
}

} // namespace Brennovar::RefHost

#include "show_command.h"

#include "refhost/core/text_conversion.h"
#include "refhost/files/json_writer.h"
#include "refhost/files/project_file.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/demo_project.h"
#include "refhost/project/project_object.h"
#include "refhost/session/host_session.h"
#include "text_cells.h"
#include "tool_conventions.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace Brennovar::RefHost {

namespace {

struct ShowOptions {
    std::string project;
    std::string out;
    bool json = false;
};

struct Counts {
    std::size_t tracks = 0;
    std::size_t events = 0;
    std::size_t markers = 0;
};

void count(const ProjectObject& holder, Counts& counts) {
    for (const ProjectObject* child : holder.children()) {
        ObjectKind kind = child->kind();
        counts.tracks += isTrack(kind);
        counts.markers += isMarker(kind);
        counts.events += kind == ObjectKind::kAudioEvent || kind == ObjectKind::kAudioPart ||
                         kind == ObjectKind::kMidiPart;
        count(*child, counts);
    }
}

std::string summary(const Project& project) {
    Counts counts;
    count(project.root(), counts);
    return std::to_string(counts.tracks) + " tracks, " + std::to_string(counts.events) +
           " events and parts, " + std::to_string(counts.markers) + " markers, " +
           std::to_string(project.selection().size()) + " selected";
}

void printJson(const Project& project) {
    std::string text;
    JsonWriter out(text);
    out.beginObject().member("name", project.name());
    const ProjectObject* active = project.activeMarkerTrack();
    out.member("activeMarkerTrack", active ? ProjectFile::pointerOf(*active) : std::string());
    out.member("offersNewMarkerTrack", project.offersNewMarkerTrack());
    out.key("selection").beginArray();
    for (const ProjectObject* object : project.selection().objects())
        out.value(ProjectFile::pointerOf(*object));
    out.endArray().member("summary", summary(project)).endObject();
    std::cout << text << '\n';
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

/// " key=value" for each attribute: integers as numbers, 8-bit texts in single quotes, 16-bit
/// texts in double quotes.
std::string attributesText(const AttributeStore& attributes) {
    std::string text;
    for (const auto& [key, value] : attributes.entries()) {
        text += ' ' + printable(key) + '=';
        if (value.kind() == FTaggedValue::kInteger)
            text += std::to_string(value.integer);
        else if (value.kind() == FTaggedValue::kString8)
            text += '\'' + printable(value.string8 ? value.string8 : "") + '\'';
        else if (value.kind() == FTaggedValue::kString16)
            text += '"' + printable(utf8(value.string16)) + '"';
    }
    return text;
}

/// One line per object, indented by its depth, its texts escaped so that a name can never
/// break the listing. Tracks have no place on the timeline; what they hold shows its own.
void listObjects(const ProjectObject& holder, std::size_t depth) {
    for (const ProjectObject* object : holder.children()) {
        std::cout << std::string(depth * 2, ' ') << kindName(object->kind()) << " \""
                  << printable(object->nameUtf8()) << '"';
        if (!isTrack(object->kind()))
            std::cout << " start=" << number(object->start())
                      << " length=" << number(object->length());
        if (object->selected())
            std::cout << " selected";
        if (const auto* event = dynamic_cast<const AudioEvent*>(object)) {
            if (!event->description().empty())
                std::cout << " description=\"" << printable(utf8(event->description())) << '"';
            if (event->clip() && !event->clip()->fileName().empty())
                std::cout << " clip=\"" << printable(event->clip()->fileName()) << '"';
        }
        std::cout << attributesText(object->attributes()) << '\n';
        listObjects(*object, depth + 1);
    }
}

void printText(const Project& project) {
    std::cout << "project \"" << printable(project.root().nameUtf8()) << '"'
              << attributesText(project.root().attributes()) << '\n';
    listObjects(project.root(), 1);
    const ProjectObject* active = project.activeMarkerTrack();
    std::cout << "active marker track: "
              << (active ? ProjectFile::pointerOf(*active) : std::string("(none)")) << '\n';
    std::cout << "new marker track offered: " << (project.offersNewMarkerTrack() ? "yes" : "no")
              << '\n';
    std::cout << "selection:";
    for (const ProjectObject* object : project.selection().objects())
        std::cout << ' ' << ProjectFile::pointerOf(*object);
    std::cout << "\n\n" << summary(project) << '\n';
}

int show(const ShowOptions& options, bool outGiven) {
    // show loads no module, but the one the tool would load is never an output either.
    CommandInputs inputs;
    inputs.add("the module", kDefaultModule).add("the project", options.project);
    if (outGiven)
        ToolConventions::checkOutput("--out", options.out, inputs);
    Host host;
    const Project* project = options.project.empty() ? &DemoProject::build(host)
                                                     : &ProjectFile::read(host, options.project);
    if (outGiven)
        ProjectFile::save(*project, options.out, inputs);
    if (options.json)
        printJson(*project);
    else
        printText(*project);
    return kExitOk;
}

} // namespace

void addShowCommand(CLI::App& app) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = app.add_subcommand(
        "show", "Check and list a project file (or the demo project) without loading a module");
    command->add_option("--project", options->project,
                        "A project file (see docs/project-format.md); the built-in demo when "
                        "absent");
    command->add_option("--out", options->out, "Write the project to this file in canonical form");
    ToolConventions::addJsonFlag(*command, options->json);
    ToolConventions::setAction(*command, options->json, [options, command] {
        ToolConventions::refuseEmptyName(*command, {"--project"});
        return show(*options, command->count("--out") > 0);
    });
}

} // namespace Brennovar::RefHost

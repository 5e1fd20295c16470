#include "refhost/files/project_file.h"

#include "refhost/core/text_conversion.h"
#include "refhost/files/input_file.h"
#include "refhost/files/json_document.h"
#include "refhost/files/json_writer.h"
#include "refhost/files/output_file.h"
#include "refhost/files/project_document.h"
#include "refhost/files/project_outline.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/project.h"
#include "refhost/project/project_factory.h"
#include "refhost/project/project_object.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <unordered_set>
#include <vector>

namespace Brennovar::RefHost {

namespace {

using namespace ProjectDocument;
using Json = nlohmann::json;
using Pointer = Json::json_pointer;

std::string typeName(const Json& value) {
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::boolean:
        return "a boolean";
    case Json::value_t::string:
        return "a string";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::object:
        return "an object";
    default:
        return "a number";
    }
}

/// "an audio-event", "a marker-track".
std::string withArticle(std::string_view kind) {
    bool vowel =
        !kind.empty() && std::string_view("aeiou").find(kind.front()) != std::string_view::npos;
    return (vowel ? "an " : "a ") + std::string(kind);
}

/// The shortest text that reads back as the same double.
std::string number(double value) {
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : "?";
}

/// Reads a parsed document into a project, checking each value where it is used.
class DocumentReader {
public:
    DocumentReader(Project& project, const std::string& source)
        : project_(project), source_(source) {}

    /// Each track's part of the document is released once it is read, so the document and the
    /// project it becomes are not both held whole.
    void readDocument(Json& document) {
        const Pointer at;
        expectObject(document, at,
                     {"format", "version", "name", "attributes", "offersNewMarkerTrack",
                      "activeMarkerTrack", "clips", "tracks", "selection"});
        const Json& format = required(document, at, "format");
        if (!format.is_string() || format.get<std::string>() != kFormat)
            fail(at / "format", std::string("expected \"") + kFormat + "\"");
        const Json& version = required(document, at, "version");
        if (!version.is_number_integer() || version.get<int64>() != kVersion)
            fail(at / "version", "version " + version.dump() + " is not supported (expected " +
                                     std::to_string(kVersion) + ")");
        if (document.contains("name"))
            project_.root().assignName(utf16(text(document["name"], at / "name")));
        readAttributes(document, at, project_.root());
        if (document.contains("offersNewMarkerTrack"))
            project_.setOffersNewMarkerTrack(
                boolean(document["offersNewMarkerTrack"], at / "offersNewMarkerTrack"));
        readClips(document, at);
        readChildren(document, at, project_.root());
        if (document.contains("activeMarkerTrack"))
            readActiveMarkerTrack(document["activeMarkerTrack"], at / "activeMarkerTrack");
        readSelection(document, at);
    }

private:
    [[noreturn]] void fail(const Pointer& at, const std::string& problem) const {
        std::string place = at.to_string();
        throw FileError(source_, place.empty() ? "/" : place, problem);
    }

    void expectObject(const Json& value, const Pointer& at,
                      std::initializer_list<std::string_view> allowed) const {
        if (!value.is_object())
            fail(at, "expected an object, found " + typeName(value));
        for (const auto& [key, member] : value.items())
            if (std::find(allowed.begin(), allowed.end(), key) == allowed.end())
                fail(at / key, "unknown member \"" + key + "\"");
    }

    const Json& required(const Json& object, const Pointer& at, const std::string& key) const {
        if (!object.contains(key))
            fail(at, "the member \"" + key + "\" is missing");
        return object[key];
    }

    /// A text that reaches the module as a zero-terminated string, so it may not hold a zero.
    std::string text(const Json& value, const Pointer& at) const {
        if (!value.is_string())
            fail(at, "expected a string, found " + typeName(value));
        std::string result = value.get<std::string>();
        if (result.find('\0') != std::string::npos)
            fail(at, "a text may not contain the character U+0000");
        return result;
    }

    bool boolean(const Json& value, const Pointer& at) const {
        if (!value.is_boolean())
            fail(at, "expected true or false, found " + typeName(value));
        return value.get<bool>();
    }

    double position(const Json& value, const Pointer& at) const {
        if (!value.is_number())
            fail(at, "expected a number, found " + typeName(value));
        return value.get<double>();
    }

    void readAttributes(const Json& object, const Pointer& at, ProjectObject& target) const {
        if (!object.contains("attributes"))
            return;
        const Pointer attributesAt = at / "attributes";
        const Json& attributes = object["attributes"];
        if (!attributes.is_object())
            fail(attributesAt, "expected an object, found " + typeName(attributes));
        for (const auto& [key, value] : attributes.items()) {
            const Pointer valueAt = attributesAt / key;
            if (key.empty() || key.find('\0') != std::string::npos)
                fail(valueAt, "an attribute key must be a non-empty text without U+0000");
            if (!value.is_object() || value.size() != 1)
                fail(valueAt, "expected {\"integer\": N}, {\"string8\": \"...\"} or "
                              "{\"string16\": \"...\"}");
            const std::string& type = value.begin().key();
            const Json& payload = value.begin().value();
            if (type == "integer") {
                if (!payload.is_number_integer() ||
                    (payload.is_number_unsigned() &&
                     payload.get<std::uint64_t>() >
                         static_cast<std::uint64_t>(std::numeric_limits<int64>::max())))
                    fail(valueAt / type,
                         "expected a 64-bit signed integer, found " +
                             (payload.is_number() ? payload.dump() : typeName(payload)));
                FTaggedValue tagged = FTaggedValue::fromInteger(payload.get<int64>());
                target.assignAttribute(key, &tagged);
            } else if (type == "string8") {
                std::string content = text(payload, valueAt / type);
                FTaggedValue tagged = FTaggedValue::fromString8(content.c_str());
                target.assignAttribute(key, &tagged);
            } else if (type == "string16") {
                std::u16string content = utf16(text(payload, valueAt / type));
                FTaggedValue tagged = FTaggedValue::fromString16(content.c_str());
                target.assignAttribute(key, &tagged);
            } else {
                fail(valueAt / type, "unknown attribute type \"" + type +
                                         "\" (expected integer, string8 or string16)");
            }
        }
    }

    void readClips(const Json& document, const Pointer& at) {
        if (!document.contains("clips"))
            return;
        const Pointer clipsAt = at / "clips";
        const Json& clips = document["clips"];
        if (!clips.is_array())
            fail(clipsAt, "expected an array, found " + typeName(clips));
        for (std::size_t i = 0; i < clips.size(); ++i) {
            const Pointer clipAt = clipsAt / i;
            const Json& entry = clips[i];
            expectObject(entry, clipAt, {"file", "attributes"});
            std::string file = text(required(entry, clipAt, "file"), clipAt / "file");
            if (clips_.count(file))
                fail(clipAt / "file", "the clip \"" + file + "\" is listed twice");
            Clip& clip = project_.addClip(file);
            clips_[file] = &clip;
            if (!entry.contains("attributes"))
                continue;
            const Json& attributes = entry["attributes"];
            if (!attributes.is_object())
                fail(clipAt / "attributes", "expected an object, found " + typeName(attributes));
            for (const auto& [key, value] : attributes.items()) {
                if (key.empty())
                    fail(clipAt / "attributes" / key, "a media attribute key may not be empty");
                clip.setMediaAttribute(key, text(value, clipAt / "attributes" / key));
            }
        }
    }

    ObjectKind kindOf(const Json& object, const Pointer& at, ObjectKind holder) const {
        std::string name = holder == ObjectKind::kMidiPart && !object.contains("kind")
                               ? "midi-note"
                               : text(required(object, at, "kind"), at / "kind");
        std::optional<ObjectKind> kind;
        if (holder == ObjectKind::kMarkerTrack) {
            if (name == "position")
                kind = ObjectKind::kPositionMarker;
            else if (name == "cycle")
                kind = ObjectKind::kCycleMarker;
            else
                fail(at / "kind", "unknown marker kind \"" + name +
                                      "\" (expected position or "
                                      "cycle)");
        } else {
            kind = kindFromName(name);
            if (!kind)
                fail(at / "kind", "unknown kind \"" + name + "\"");
        }
        if (!canHold(holder, *kind))
            fail(at / "kind", (holder == ObjectKind::kRoot ? std::string("the project")
                                                           : withArticle(kindName(holder))) +
                                  " cannot hold " + withArticle(kindName(*kind)));
        return *kind;
    }

    void readChildren(Json& object, const Pointer& at, ProjectObject& holder) {
        const std::string member(childMember(holder.kind()));
        if (!object.contains(member))
            return;
        Json& list = object[member];
        if (!list.is_array())
            fail(at / member, "expected an array, found " + typeName(list));
        for (std::size_t i = 0; i < list.size(); ++i) {
            readObject(list[i], at / member / i, holder);
            list[i] = nullptr;
        }
    }

    void readObject(Json& object, const Pointer& at, ProjectObject& holder) {
        if (!object.is_object())
            fail(at, "expected an object, found " + typeName(object));
        ObjectKind kind = kindOf(object, at, holder.kind());
        ProjectObject& created = isTrack(kind)    ? readTrack(object, at, holder, kind)
                                 : isMarker(kind) ? readMarker(object, at, holder, kind)
                                                  : readEvent(object, at, holder, kind);
        readAttributes(object, at, created);
        if (object.contains("selected") && boolean(object["selected"], at / "selected"))
            selected_.push_back(&created);
        readChildren(object, at, created);
    }

    ProjectObject& readTrack(const Json& object, const Pointer& at, ProjectObject& holder,
                             ObjectKind kind) const {
        std::string member(childMember(kind));
        expectObject(object, at, {"kind", "name", "selected", "attributes", member});
        if (kind == ObjectKind::kFolderTrack) {
            int depth = 1;
            for (const ProjectObject* outer = &holder; outer->kind() == ObjectKind::kFolderTrack;
                 outer = outer->parent())
                ++depth;
            if (depth > kMaxFolderDepth)
                fail(at, "folder tracks nest deeper than " + std::to_string(kMaxFolderDepth) +
                             " levels");
        }
        std::string name = object.contains("name") ? text(object["name"], at / "name")
                                                   : utf8(project_.defaultTrackName(kind));
        return project_.addTrack(kind, name,
                                 holder.kind() == ObjectKind::kRoot ? nullptr : &holder);
    }

    ProjectObject& readMarker(const Json& object, const Pointer& at, ProjectObject& holder,
                              ObjectKind kind) const {
        expectObject(object, at,
                     {"kind", "description", "start", "length", "selected", "attributes"});
        std::string description = object.contains("description")
                                      ? text(object["description"], at / "description")
                                      : std::string();
        double start = position(required(object, at, "start"), at / "start");
        double length = 0.0;
        if (object.contains("length")) {
            length = position(object["length"], at / "length");
            if (length < 0.0)
                fail(at / "length", "a length may not be negative");
        }
        return project_.addMarker(holder, kind, description, start, length);
    }

    ProjectObject& readEvent(const Json& object, const Pointer& at, ProjectObject& holder,
                             ObjectKind kind) const {
        if (kind == ObjectKind::kAudioEvent)
            expectObject(
                object, at,
                {"kind", "name", "description", "clip", "start", "end", "selected", "attributes"});
        else if (holdsChildren(kind))
            expectObject(
                object, at,
                {"kind", "name", "start", "end", "selected", "attributes", childMember(kind)});
        else
            expectObject(object, at, {"kind", "name", "start", "end", "selected", "attributes"});
        std::string name = object.contains("name") ? text(object["name"], at / "name") : "";
        double start = position(required(object, at, "start"), at / "start");
        double end = position(required(object, at, "end"), at / "end");
        if (end < start)
            fail(at / "end", number(end) + " lies before the start " + number(start));
        if (kind != ObjectKind::kAudioEvent) {
            ProjectObject& created = project_.addObject(holder, kind, name, start, end - start);
            created.assignSpan(start, end);
            return created;
        }
        std::string description = object.contains("description")
                                      ? text(object["description"], at / "description")
                                      : std::string();
        Clip* clip = nullptr;
        if (object.contains("clip")) {
            std::string file = text(object["clip"], at / "clip");
            auto found = clips_.find(file);
            if (found == clips_.end())
                fail(at / "clip", "no clip \"" + file + "\" is listed in /clips");
            clip = found->second;
        }
        AudioEvent& event =
            project_.addAudioEvent(holder, name, start, end - start, clip, description);
        event.assignSpan(start, end);
        return event;
    }

    void readActiveMarkerTrack(const Json& value, const Pointer& at) {
        ProjectObject* track = objectAt(value, at);
        if (track->kind() != ObjectKind::kMarkerTrack)
            fail(at, value.get<std::string>() + " is " + withArticle(kindName(track->kind())) +
                         ", not a marker-track");
        project_.setActiveMarkerTrack(track);
    }

    /// The object a pointer names, found by walking its steps ("/tracks/2/children/0").
    ProjectObject* objectAt(const Json& value, const Pointer& at) const {
        std::string pointer = text(value, at);
        ProjectObject* found = resolvePointer(
            pointer, &project_.root(), static_cast<ProjectObject*>(nullptr),
            [](const ProjectObject* object) { return object->kind(); },
            [](const ProjectObject* object) -> const std::vector<ProjectObject*>& {
                return object->children();
            });
        if (!found)
            fail(at, "\"" + pointer + "\" does not name a track, event, note or marker");
        return found;
    }

    /// The listed objects come first, in their order; selected objects that are not listed
    /// follow in document order.
    void readSelection(const Json& document, const Pointer& at) {
        std::vector<ProjectObject*> order;
        std::unordered_set<const ProjectObject*> listed;
        const std::unordered_set<const ProjectObject*> selected(selected_.begin(), selected_.end());
        if (document.contains("selection")) {
            const Pointer listAt = at / "selection";
            const Json& list = document["selection"];
            if (!list.is_array())
                fail(listAt, "expected an array, found " + typeName(list));
            for (std::size_t i = 0; i < list.size(); ++i) {
                ProjectObject* object = objectAt(list[i], listAt / i);
                if (!selected.contains(object))
                    fail(listAt / i, list[i].get<std::string>() +
                                         " is listed but not marked \"selected\": true");
                if (!listed.insert(object).second)
                    fail(listAt / i, list[i].get<std::string>() + " is listed twice");
                order.push_back(object);
            }
        }
        for (ProjectObject* object : selected_)
            if (!listed.contains(object))
                order.push_back(object);
        for (ProjectObject* object : order)
            project_.select(*object);
    }

    Project& project_;
    const std::string& source_;
    std::map<std::string, Clip*> clips_;
    std::vector<ProjectObject*> selected_;
};

void writeAttributes(JsonWriter& out, const AttributeStore& store) {
    out.key("attributes").beginObject();
    for (const auto& [key, value] : store.entries()) {
        switch (value.kind()) {
        case FTaggedValue::kInteger:
            out.key(key).beginObject().member("integer", value.integer).endObject();
            break;
        case FTaggedValue::kString8:
            out.key(key).beginObject().member("string8", value.string8 ? value.string8 : "");
            out.endObject();
            break;
        case FTaggedValue::kString16:
            out.key(key).beginObject();
            out.member("string16", value.string16 ? std::u16string_view(value.string16) : u"");
            out.endObject();
            break;
        default:
            // The store holds nothing else; an object could not be written anyway.
            break;
        }
    }
    out.endObject();
}

void writeObject(JsonWriter& out, const ProjectObject& object) {
    out.beginObject();
    ObjectKind kind = object.kind();
    if (isMarker(kind)) {
        out.member("kind", kind == ObjectKind::kPositionMarker ? "position" : "cycle");
        out.member("description", object.name());
        out.member("start", object.start()).member("length", object.length());
    } else {
        out.member("kind", kindName(kind)).member("name", object.name());
        if (!isTrack(kind)) {
            if (const auto* event = dynamic_cast<const AudioEvent*>(&object)) {
                out.member("description", event->description());
                if (event->clip())
                    out.member("clip", event->clip()->fileName());
            }
            out.member("start", object.start()).member("end", object.end());
        }
    }
    if (object.selected())
        out.member("selected", true);
    if (!object.attributes().entries().empty())
        writeAttributes(out, object.attributes());
    if (holdsChildren(kind)) {
        out.key(childMember(kind)).beginArray();
        for (const ProjectObject* child : object.children())
            writeObject(out, *child);
        out.endArray();
    }
    out.endObject();
}

void writeDocument(const Project& project, JsonWriter& out);

/// The project read by ProjectOutline; null when it declines the text, which the document
/// reader then reads (and names its problem).
template <class Source>
Project* readOutline(ProjectFactory& host, Source& source, const std::string& name) {
    try {
        return ProjectOutline::read(host, source);
    } catch (const FileError&) {
        throw;
    } catch (const HostError& e) {
        // As build() has it: the host refused something the checks let through.
        throw FileError(name, "", e.what());
    }
}

} // namespace

Project& ProjectFile::read(ProjectFactory& host, const std::string& path) {
    {
        InputFile file(path);
        if (Project* project = readOutline(host, file, path))
            return *project;
    }
    Json document;
    {
        // The text goes before the project is built: only one of them is held at a time.
        const std::string text = InputFile::read(path);
        document = JsonDocument::parse(text, path);
    }
    return build(host, document, path);
}

Project& ProjectFile::parse(ProjectFactory& host, std::string_view text,
                            const std::string& source) {
    if (Project* project = readOutline(host, text, source))
        return *project;
    Json document = JsonDocument::parse(text, source);
    return build(host, document, source);
}

Project& ProjectFile::build(ProjectFactory& host, nlohmann::json& document,
                            const std::string& source) {
    Project& project = host.createProject("");
    try {
        DocumentReader(project, source).readDocument(document);
    } catch (const FileError&) {
        throw;
    } catch (const HostError& e) {
        // The host refused something the checks above let through; still the file's fault.
        throw FileError(source, "", e.what());
    } catch (const Json::exception& e) {
        throw FileError(source, "", e.what());
    }
    return project;
}

std::string ProjectFile::write(const Project& project) {
    std::string text;
    {
        JsonWriter out(text);
        writeDocument(project, out);
    }
    return text + '\n';
}

void ProjectFile::write(const Project& project, std::ostream& stream) {
    {
        JsonWriter out(stream);
        writeDocument(project, out);
    }
    stream << '\n';
}

namespace {

void writeDocument(const Project& project, JsonWriter& out) {
    out.beginObject().member("format", kFormat).member("version", kVersion);
    const ProjectObject& root = project.root();
    out.member("name", root.nameUtf8());
    if (!root.attributes().entries().empty())
        writeAttributes(out, root.attributes());
    out.member("offersNewMarkerTrack", project.offersNewMarkerTrack());
    if (const ProjectObject* active = project.activeMarkerTrack())
        out.member("activeMarkerTrack", ProjectFile::pointerOf(*active));
    if (!project.clips().empty()) {
        out.key("clips").beginArray();
        for (const Clip* clip : project.clips()) {
            out.beginObject().member("file", clip->fileName());
            bool any = false;
            for (const auto& [key, value] : clip->mediaAttributes()) {
                if (key == "FileName" && utf8(value) == clip->fileName())
                    continue;
                if (!any)
                    out.key("attributes").beginObject();
                any = true;
                out.member(key, utf8(value));
            }
            if (any)
                out.endObject();
            out.endObject();
        }
        out.endArray();
    }
    out.key("tracks").beginArray();
    for (const ProjectObject* track : root.children())
        writeObject(out, *track);
    out.endArray();
    // Selected objects are part of the project, so each has a pointer.
    if (project.selection().size() > 0) {
        out.key("selection").beginArray();
        for (const ProjectObject* object : project.selection().objects())
            out.value(ProjectFile::pointerOf(*object));
        out.endArray();
    }
    out.endObject();
}

} // namespace

void ProjectFile::save(const Project& project, const std::string& path,
                       const CommandInputs& inputs) {
    OutputFile::replace(
        path, [&project](std::ostream& out) { write(project, out); }, inputs);
}

std::string ProjectFile::pointerOf(const ProjectObject& object) {
    // Held objects know their place, so this costs the object's depth, whatever the project's
    // size; an explicit list rather than recursion, since folder tracks may nest deeply (and on
    // the stack while it is short, as it nearly always is).
    constexpr std::size_t kShort = 16;
    std::array<const ProjectObject*, kShort> shortChain;
    std::vector<const ProjectObject*> longChain;
    std::size_t depth = 0;
    const ProjectObject* top = &object;
    for (; top->parent(); top = top->parent(), ++depth) {
        if (depth < kShort) {
            shortChain[depth] = top;
        } else {
            if (longChain.empty())
                longChain.assign(shortChain.begin(), shortChain.end());
            longChain.push_back(top);
        }
    }
    if (top->kind() != ObjectKind::kRoot)
        return {};
    const ProjectObject* const* chain = longChain.empty() ? shortChain.data() : longChain.data();
    std::string pointer;
    for (std::size_t step = depth; step-- > 0;) {
        pointer += '/';
        pointer += childMember(chain[step]->parent()->kind());
        pointer += '/';
        char digits[24];
        pointer.append(digits,
                       std::to_chars(digits, digits + sizeof digits, chain[step]->place()).ptr);
    }
    return pointer;
}

} // namespace Brennovar::RefHost

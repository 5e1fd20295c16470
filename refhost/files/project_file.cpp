#include "refhost/files/project_file.h"

#include "refhost/core/host.h"
#include "refhost/core/text_conversion.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <vector>

namespace Brennovar::RefHost {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;
using Pointer = Json::json_pointer;

constexpr const char* kFormat = "zintara-project";
constexpr int kVersion = 1;

/// The member of a holder that lists what it holds.
std::string_view childMember(ObjectKind holder) {
    switch (holder) {
    case ObjectKind::kRoot:
        return "tracks";
    case ObjectKind::kFolderTrack:
        return "children";
    case ObjectKind::kMarkerTrack:
        return "markers";
    case ObjectKind::kMidiPart:
        return "notes";
    default:
        return "events";
    }
}

/// Whether objects of this kind hold anything in a document.
bool holdsChildren(ObjectKind kind) {
    return isTrack(kind) || kind == ObjectKind::kAudioPart || kind == ObjectKind::kMidiPart;
}

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

std::string number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

/// Turns a duplicate member into an error while the document is parsed: the DOM would keep only
/// one of them and silently drop the other. Tracks the JSON pointer of the value being parsed.
class DuplicateMemberCheck {
public:
    explicit DuplicateMemberCheck(const std::string& source) : source_(source) {}

    bool operator()(int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
        case Json::parse_event_t::object_start:
        case Json::parse_event_t::array_start:
            enterValue();
            frames_.push_back({event == Json::parse_event_t::array_start, -1, {}, {}});
            break;
        case Json::parse_event_t::key: {
            Frame& frame = frames_.back();
            frame.key = parsed.get<std::string>();
            if (!frame.keys.insert(frame.key).second)
                throw ProjectFileError(source_, path(frames_.size() - 1),
                                       "duplicate member \"" + frame.key + "\"");
            break;
        }
        case Json::parse_event_t::object_end:
        case Json::parse_event_t::array_end:
            frames_.pop_back();
            break;
        case Json::parse_event_t::value:
            enterValue();
            break;
        }
        return true;
    }

private:
    struct Frame {
        bool array;
        long index;
        std::string key;
        std::set<std::string> keys;
    };

    void enterValue() {
        if (!frames_.empty() && frames_.back().array)
            ++frames_.back().index;
    }
    /// The pointer of the container at depth `depth` ("" for the document).
    std::string path(std::size_t depth) const {
        Pointer pointer;
        for (std::size_t i = 0; i < depth; ++i)
            pointer /= frames_[i].array ? std::to_string(frames_[i].index) : frames_[i].key;
        std::string text = pointer.to_string();
        return text.empty() ? "/" : text;
    }

    const std::string& source_;
    std::vector<Frame> frames_;
};

/// Reads a parsed document into a project, checking each value where it is used.
class DocumentReader {
public:
    DocumentReader(Project& project, const std::string& source)
        : project_(project), source_(source) {}

    void readDocument(const Json& document) {
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
        throw ProjectFileError(source_, place.empty() ? "/" : place, problem);
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

    void readChildren(const Json& object, const Pointer& at, ProjectObject& holder) {
        const std::string member(childMember(holder.kind()));
        if (!object.contains(member))
            return;
        const Json& list = object[member];
        if (!list.is_array())
            fail(at / member, "expected an array, found " + typeName(list));
        for (std::size_t i = 0; i < list.size(); ++i)
            readObject(list[i], at / member / i, holder);
    }

    void readObject(const Json& object, const Pointer& at, ProjectObject& holder) {
        if (!object.is_object())
            fail(at, "expected an object, found " + typeName(object));
        ObjectKind kind = kindOf(object, at, holder.kind());
        ProjectObject& created = isTrack(kind)    ? readTrack(object, at, holder, kind)
                                 : isMarker(kind) ? readMarker(object, at, holder, kind)
                                                  : readEvent(object, at, holder, kind);
        readAttributes(object, at, created);
        if (object.contains("selected") && boolean(object["selected"], at / "selected"))
            selected_.push_back(&created);
        objects_[at.to_string()] = &created;
        readChildren(object, at, created);
    }

    ProjectObject& readTrack(const Json& object, const Pointer& at, ProjectObject& holder,
                             ObjectKind kind) const {
        std::string member(childMember(kind));
        expectObject(object, at, {"kind", "name", "selected", "attributes", member});
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
        if (kind != ObjectKind::kAudioEvent)
            return project_.addObject(holder, kind, name, start, end - start);
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
        return project_.addAudioEvent(holder, name, start, end - start, clip, description);
    }

    void readActiveMarkerTrack(const Json& value, const Pointer& at) {
        ProjectObject* track = objectAt(value, at);
        if (track->kind() != ObjectKind::kMarkerTrack)
            fail(at, value.get<std::string>() + " is " + withArticle(kindName(track->kind())) +
                         ", not a marker-track");
        project_.setActiveMarkerTrack(track);
    }

    ProjectObject* objectAt(const Json& value, const Pointer& at) const {
        std::string pointer = text(value, at);
        auto found = objects_.find(pointer);
        if (found == objects_.end())
            fail(at, "\"" + pointer + "\" does not name a track, event, note or marker");
        return found->second;
    }

    /// The listed objects come first, in their order; selected objects that are not listed
    /// follow in document order.
    void readSelection(const Json& document, const Pointer& at) {
        std::vector<ProjectObject*> order;
        if (document.contains("selection")) {
            const Pointer listAt = at / "selection";
            const Json& list = document["selection"];
            if (!list.is_array())
                fail(listAt, "expected an array, found " + typeName(list));
            for (std::size_t i = 0; i < list.size(); ++i) {
                ProjectObject* object = objectAt(list[i], listAt / i);
                if (std::find(selected_.begin(), selected_.end(), object) == selected_.end())
                    fail(listAt / i, list[i].get<std::string>() +
                                         " is listed but not marked \"selected\": true");
                if (std::find(order.begin(), order.end(), object) != order.end())
                    fail(listAt / i, list[i].get<std::string>() + " is listed twice");
                order.push_back(object);
            }
        }
        for (ProjectObject* object : selected_)
            if (std::find(order.begin(), order.end(), object) == order.end())
                order.push_back(object);
        for (ProjectObject* object : order)
            project_.select(*object);
    }

    Project& project_;
    const std::string& source_;
    std::map<std::string, Clip*> clips_;
    std::map<std::string, ProjectObject*> objects_;
    std::vector<ProjectObject*> selected_;
};

OrderedJson attributeJson(const AttributeStore& store) {
    OrderedJson result = OrderedJson::object();
    for (const auto& [key, value] : store.entries()) {
        switch (value.kind()) {
        case FTaggedValue::kInteger:
            result[key] = {{"integer", value.integer}};
            break;
        case FTaggedValue::kString8:
            result[key] = {{"string8", value.string8 ? value.string8 : ""}};
            break;
        case FTaggedValue::kString16:
            result[key] = {{"string16", utf8(value.string16)}};
            break;
        default:
            // The store holds nothing else; an object could not be written anyway.
            break;
        }
    }
    return result;
}

OrderedJson objectJson(const ProjectObject& object) {
    OrderedJson result = OrderedJson::object();
    ObjectKind kind = object.kind();
    if (isMarker(kind)) {
        result["kind"] = kind == ObjectKind::kPositionMarker ? "position" : "cycle";
        result["description"] = object.nameUtf8();
        result["start"] = object.start();
        result["length"] = object.length();
    } else {
        result["kind"] = kindName(kind);
        result["name"] = object.nameUtf8();
        if (!isTrack(kind)) {
            if (const auto* event = dynamic_cast<const AudioEvent*>(&object)) {
                result["description"] = utf8(event->description());
                if (event->clip())
                    result["clip"] = event->clip()->fileName();
            }
            result["start"] = object.start();
            result["end"] = object.end();
        }
    }
    if (object.selected())
        result["selected"] = true;
    if (!object.attributes().entries().empty())
        result["attributes"] = attributeJson(object.attributes());
    if (holdsChildren(kind)) {
        OrderedJson children = OrderedJson::array();
        for (const ProjectObject* child : object.children())
            children.push_back(objectJson(*child));
        result[std::string(childMember(kind))] = std::move(children);
    }
    return result;
}

} // namespace

ProjectFileError::ProjectFileError(std::string file, std::string place, std::string problem)
    : std::runtime_error(file +
                         (place.empty()          ? ": "
                          : place.front() == '/' ? ": at " + place + ": "
                                                 : ":" + place + ": ") +
                         problem),
      file_(std::move(file)), place_(std::move(place)), problem_(std::move(problem)) {}

Project& ProjectFile::read(Host& host, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ProjectFileError(path, "", "cannot be opened for reading");
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        throw ProjectFileError(path, "", "cannot be read");
    return parse(host, content.str(), path);
}

Project& ProjectFile::parse(Host& host, std::string_view text, const std::string& source) {
    Json document;
    try {
        document = Json::parse(text, DuplicateMemberCheck(source));
    } catch (const Json::parse_error& e) {
        // The library's message reads "[json.exception.parse_error.N] parse error at line L,
        // column C: what"; the place becomes "L:C" and the rest the problem.
        std::string message = e.what();
        int line = 0;
        int column = 0;
        std::size_t at = message.find("at line ");
        std::size_t colon = message.find(": ", at == std::string::npos ? 0 : at);
        if (at != std::string::npos &&
            std::sscanf(message.c_str() + at, "at line %d, column %d", &line, &column) == 2 &&
            colon != std::string::npos)
            throw ProjectFileError(source, std::to_string(line) + ":" + std::to_string(column),
                                   message.substr(colon + 2));
        throw ProjectFileError(source, "", message);
    } catch (const Json::exception& e) {
        throw ProjectFileError(source, "", e.what());
    }
    Project& project = host.createProject("");
    try {
        DocumentReader(project, source).readDocument(document);
    } catch (const std::invalid_argument& e) {
        // The host refused something the checks above let through; still the file's fault.
        throw ProjectFileError(source, "", e.what());
    } catch (const Json::exception& e) {
        throw ProjectFileError(source, "", e.what());
    }
    return project;
}

std::string ProjectFile::write(const Project& project) {
    OrderedJson document = OrderedJson::object();
    document["format"] = kFormat;
    document["version"] = kVersion;
    const ProjectObject& root = project.root();
    document["name"] = root.nameUtf8();
    if (!root.attributes().entries().empty())
        document["attributes"] = attributeJson(root.attributes());
    document["offersNewMarkerTrack"] = project.offersNewMarkerTrack();
    if (const ProjectObject* active = project.activeMarkerTrack())
        document["activeMarkerTrack"] = pointerOf(*active);
    if (!project.clips().empty()) {
        OrderedJson clips = OrderedJson::array();
        for (const Clip* clip : project.clips()) {
            OrderedJson entry = {{"file", clip->fileName()}};
            OrderedJson attributes = OrderedJson::object();
            for (const auto& [key, value] : clip->mediaAttributes())
                if (key != "FileName" || utf8(value) != clip->fileName())
                    attributes[key] = utf8(value);
            if (!attributes.empty())
                entry["attributes"] = std::move(attributes);
            clips.push_back(std::move(entry));
        }
        document["clips"] = std::move(clips);
    }
    OrderedJson tracks = OrderedJson::array();
    for (const ProjectObject* track : root.children())
        tracks.push_back(objectJson(*track));
    document["tracks"] = std::move(tracks);
    OrderedJson selection = OrderedJson::array();
    for (const ProjectObject* object : project.selection().objects()) {
        std::string pointer = pointerOf(*object);
        if (!pointer.empty())
            selection.push_back(pointer);
    }
    if (!selection.empty())
        document["selection"] = std::move(selection);
    // 8-bit attribute texts come from the module unchecked; invalid UTF-8 is replaced rather
    // than aborting the save.
    return document.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

void ProjectFile::save(const Project& project, const std::string& path) {
    std::string document = write(project);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw ProjectFileError(path, "", "cannot be opened for writing");
    out << document;
    out.flush();
    if (!out)
        throw ProjectFileError(path, "", "cannot be written");
}

std::string ProjectFile::pointerOf(const ProjectObject& object) {
    std::vector<std::string> steps;
    const ProjectObject* current = &object;
    while (const ProjectObject* holder = current->parent()) {
        const auto& siblings = holder->children();
        auto at = std::find(siblings.begin(), siblings.end(), current);
        if (at == siblings.end())
            return {};
        steps.push_back(std::to_string(at - siblings.begin()));
        steps.emplace_back(childMember(holder->kind()));
        current = holder;
    }
    if (current->kind() != ObjectKind::kRoot)
        return {};
    std::string pointer;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        pointer += "/" + *step;
    return pointer;
}

} // namespace Brennovar::RefHost

#include "refhost/project/project_state.h"

#include "refhost/core/text_conversion.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

#include <cstdio>
#include <functional>

namespace Brennovar::RefHost {

namespace {

std::map<std::string, AttributeState> captureAttributes(const AttributeStore& store) {
    std::map<std::string, AttributeState> attributes;
    for (const auto& [key, value] : store.entries()) {
        AttributeState state{value.kind(), 0, {}};
        if (value.kind() == FTaggedValue::kInteger)
            state.integer = value.integer;
        else if (value.kind() == FTaggedValue::kString8 && value.string8)
            state.text = value.string8;
        else if (value.kind() == FTaggedValue::kString16)
            state.text = utf8(value.string16);
        attributes.emplace(key, std::move(state));
    }
    return attributes;
}

ObjectState captureObject(const ProjectObject& object, CaptureOptions options) {
    ObjectState state;
    state.kind = kindName(object.kind());
    state.name = object.nameUtf8();
    state.start = object.start();
    state.length = object.length();
    state.selected = options.selection && object.selected();
    state.attributes = captureAttributes(object.attributes());
    if (const auto* event = dynamic_cast<const AudioEvent*>(&object)) {
        state.description = utf8(event->description());
        if (event->clip())
            state.clip = event->clip()->fileName();
    }
    for (const ProjectObject* child : object.children())
        state.children.push_back(captureObject(*child, options));
    return state;
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    return buffer;
}

std::string attributeText(const AttributeState& value) {
    switch (value.kind) {
    case FTaggedValue::kInteger:
        return std::to_string(value.integer);
    case FTaggedValue::kString8:
        return "'" + value.text + "'";
    default:
        return "\"" + value.text + "\"";
    }
}

bool visitStates(const std::vector<ObjectState>& objects,
                 const std::function<bool(const ObjectState&)>& visit) {
    for (const ObjectState& object : objects)
        if (!visit(object) || !visitStates(object.children, visit))
            return false;
    return true;
}

std::string differenceIn(const std::string& path, const ObjectState& a, const ObjectState& b);

std::string differenceIn(const std::string& path, const std::vector<ObjectState>& a,
                         const std::vector<ObjectState>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        std::string found = differenceIn(path + "[" + std::to_string(i) + "]", a[i], b[i]);
        if (!found.empty())
            return found;
    }
    if (a.size() != b.size())
        return path + ".size: " + std::to_string(a.size()) + " != " + std::to_string(b.size());
    return {};
}

std::string differenceIn(const std::string& path, const std::map<std::string, AttributeState>& a,
                         const std::map<std::string, AttributeState>& b) {
    for (const auto& [key, value] : a) {
        auto other = b.find(key);
        if (other == b.end())
            return path + "." + key + ": " + attributeText(value) + " != (none)";
        if (!(other->second == value))
            return path + "." + key + ": " + attributeText(value) +
                   " != " + attributeText(other->second);
    }
    for (const auto& [key, value] : b)
        if (!a.contains(key))
            return path + "." + key + ": (none) != " + attributeText(value);
    return {};
}

std::string differenceIn(const std::string& path, const ObjectState& a, const ObjectState& b) {
    auto text = [&](const char* field, const std::string& x, const std::string& y) {
        return x == y ? std::string() : path + "." + field + ": \"" + x + "\" != \"" + y + "\"";
    };
    auto value = [&](const char* field, double x, double y) {
        return x == y ? std::string() : path + "." + field + ": " + number(x) + " != " + number(y);
    };
    for (std::string found :
         {text("kind", a.kind, b.kind), text("name", a.name, b.name),
          value("start", a.start, b.start), value("length", a.length, b.length),
          text("selected", a.selected ? "true" : "false", b.selected ? "true" : "false"),
          text("description", a.description, b.description), text("clip", a.clip, b.clip),
          differenceIn(path + ".attributes", a.attributes, b.attributes),
          differenceIn(path + ".children", a.children, b.children)})
        if (!found.empty())
            return found;
    return {};
}

} // namespace

std::vector<const ObjectState*> ProjectState::markerTracks() const {
    std::vector<const ObjectState*> found;
    visitStates(tracks, [&](const ObjectState& object) {
        if (object.kind == kindName(ObjectKind::kMarkerTrack))
            found.push_back(&object);
        return true;
    });
    return found;
}

const ObjectState* ProjectState::find(const std::string& name) const {
    const ObjectState* found = nullptr;
    visitStates(tracks, [&](const ObjectState& object) {
        if (object.name == name)
            found = &object;
        return found == nullptr;
    });
    return found;
}

ProjectState captureState(const Project& project, CaptureOptions options) {
    ProjectState state;
    const ProjectObject& root = project.root();
    state.name = root.nameUtf8();
    state.attributes = captureAttributes(root.attributes());
    for (const ProjectObject* track : root.children())
        state.tracks.push_back(captureObject(*track, options));
    return state;
}

std::string describeDifference(const ProjectState& expected, const ProjectState& actual) {
    if (expected.name != actual.name)
        return "name: \"" + expected.name + "\" != \"" + actual.name + "\"";
    std::string found = differenceIn("attributes", expected.attributes, actual.attributes);
    if (found.empty())
        found = differenceIn("tracks", expected.tracks, actual.tracks);
    return found;
}

} // namespace Brennovar::RefHost

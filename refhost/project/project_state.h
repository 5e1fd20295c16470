#pragma once

#include "module/funknown.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

class Project;

/// A stored attribute as a plain value. Texts are UTF-8 (16-bit strings converted; 8-bit
/// strings as stored).
struct AttributeState {
    /// The tagged value's kind: 1 integer, 4 8-bit string, 0x20 16-bit string.
    std::uint16_t kind = 0;
    int64 integer = 0;
    std::string text;

    bool operator==(const AttributeState&) const = default;
};

/// One object of a project as plain data: what a tool prints and what tests compare.
struct ObjectState {
    /// The kind's own name (kindName): "marker-track", "cycle-marker", "audio-event", ...
    std::string kind;
    /// UTF-8. For markers this is the marker's description.
    std::string name;
    double start = 0.0;
    double length = 0.0;
    bool selected = false;
    std::map<std::string, AttributeState> attributes;
    /// Audio events only: the description and the clip's file name (empty without a clip).
    std::string description;
    std::string clip;
    /// Held objects, in project order.
    std::vector<ObjectState> children;

    bool operator==(const ObjectState&) const = default;
};

/// A whole project as plain data.
struct ProjectState {
    std::string name;
    std::map<std::string, AttributeState> attributes;
    /// The top-level tracks, in project order.
    std::vector<ObjectState> tracks;

    bool operator==(const ProjectState&) const = default;

    /// Every marker track (depth first), each with its markers as children.
    std::vector<const ObjectState*> markerTracks() const;
    /// The first object (depth first) with this name, or null.
    const ObjectState* find(const std::string& name) const;
};

/// What the state capture includes.
struct CaptureOptions {
    /// Selection flags are not part of the undo history; leave them out (all false) to compare
    /// states across undo and redo.
    bool selection = true;
};

/// The current state of the project (objects outside the project are not included).
ProjectState captureState(const Project& project, CaptureOptions options = {});

/// The first difference between two states as a line of text ("tracks[1].children[0].start:
/// 2 != 2.5"); empty when they are equal.
std::string describeDifference(const ProjectState& expected, const ProjectState& actual);

} // namespace Brennovar::RefHost

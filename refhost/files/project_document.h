#pragma once

#include "refhost/project/object_kind.h"

#include <charconv>
#include <cstddef>
#include <string_view>
#include <system_error>

namespace Brennovar::RefHost::ProjectDocument {

// What the readers of project documents share (docs/project-format.md): ProjectFile's document
// reader, which names every problem, and ProjectOutline, which reads valid documents in one pass.

constexpr const char* kFormat = "zintara-project";
constexpr int kVersion = 1;
/// Folder tracks inside folder tracks, at most.
constexpr int kMaxFolderDepth = 32;

/// The member of a holder that lists what it holds.
constexpr std::string_view childMember(ObjectKind holder) noexcept {
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
inline bool holdsChildren(ObjectKind kind) noexcept {
    return isTrack(kind) || kind == ObjectKind::kAudioPart || kind == ObjectKind::kMidiPart;
}

/// The object a pointer names ("/tracks/2/children/0"), found by walking its steps from the
/// root: each step is the member that lists what the holder holds and an index into it, written
/// without a leading zero. `none` when a step does not fit, and for a pointer to the root itself.
/// kindOf(node) is a node's kind; children(node) what it holds, with size() and operator[].
template <class Node, class KindOf, class Children>
Node resolvePointer(std::string_view pointer, Node root, Node none, KindOf kindOf,
                    Children children) {
    Node current = root;
    std::string_view rest = pointer;
    while (!rest.empty()) {
        const std::size_t member = rest.find('/', 1);
        const std::size_t index =
            member == std::string_view::npos ? member : rest.find('/', member + 1);
        const ObjectKind kind = kindOf(current);
        if (rest.front() != '/' || member == std::string_view::npos ||
            rest.substr(1, member - 1) != childMember(kind) ||
            (kind != ObjectKind::kRoot && !holdsChildren(kind)))
            return none;
        const std::string_view digits = rest.substr(member + 1, index - member - 1);
        std::size_t position = 0;
        const std::from_chars_result read =
            std::from_chars(digits.data(), digits.data() + digits.size(), position);
        const auto& held = children(current);
        if (read.ec != std::errc() || read.ptr != digits.data() + digits.size() || digits.empty() ||
            (digits.size() > 1 && digits.front() == '0') || position >= held.size())
            return none;
        current = held[position];
        rest = index == std::string_view::npos ? std::string_view() : rest.substr(index);
    }
    return current == root ? none : current;
}

} // namespace Brennovar::RefHost::ProjectDocument

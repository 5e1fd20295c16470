#include "refhost/project/object_kind.h"

#include <array>

namespace Brennovar::RefHost {

namespace {

struct KindInfo {
    ObjectKind kind;
    std::string_view name;
    /// The isType names besides the kind's own name (up to two).
    std::array<std::string_view, 2> alsoAnswers;
    /// Whether the kind's own name is an isType name too.
    bool answersOwnName;
};

constexpr std::array<KindInfo, 27> kKinds{{
    {ObjectKind::kRoot, "project", {}, true},
    {ObjectKind::kAudioTrack, "audio-track", {"track"}, true},
    {ObjectKind::kInstrumentTrack, "instrument-track", {"track"}, true},
    {ObjectKind::kMidiTrack, "midi-track", {"track"}, true},
    {ObjectKind::kGroupTrack, "group-track", {"track"}, true},
    {ObjectKind::kFolderTrack, "folder-track", {"track", "folder"}, true},
    {ObjectKind::kMarkerTrack, "marker-track", {"track", "marker"}, true},
    {ObjectKind::kAudioEvent, "audio-event", {"event", "audio"}, false},
    {ObjectKind::kAudioPart, "audio-part", {"part"}, true},
    {ObjectKind::kMidiPart, "midi-part", {"part"}, true},
    {ObjectKind::kPositionMarker, "position-marker", {"marker"}, true},
    {ObjectKind::kCycleMarker, "cycle-marker", {"marker"}, true},
    {ObjectKind::kAutomation, "automation", {}, true},
    {ObjectKind::kTranspose, "transpose", {}, true},
    {ObjectKind::kPlayOrder, "playorder", {}, true},
    {ObjectKind::kChord, "chord", {}, true},
    {ObjectKind::kTempo, "tempo", {}, true},
    {ObjectKind::kSignature, "signature", {}, true},
    {ObjectKind::kMidiNote, "midi-note", {}, true},
    {ObjectKind::kMidiController, "midi-controller", {}, true},
    {ObjectKind::kMidiPolyPressure, "midi-poly-pressure", {}, true},
    {ObjectKind::kMidiAftertouch, "midi-aftertouch", {}, true},
    {ObjectKind::kMidiProgram, "midi-program", {}, true},
    {ObjectKind::kMidiPitchbend, "midi-pitchbend", {}, true},
    {ObjectKind::kMidiSysex, "midi-sysex", {}, true},
    {ObjectKind::kMidiMeta, "midi-meta", {}, true},
    {ObjectKind::kMidiNoteChange, "midi-note-change", {}, true},
}};

// The table is indexed by kind.
static_assert([] {
    for (std::size_t i = 0; i < kKinds.size(); ++i)
        if (static_cast<std::size_t>(kKinds[i].kind) != i)
            return false;
    return true;
}());

const KindInfo& info(ObjectKind kind) noexcept {
    return kKinds[static_cast<std::size_t>(kind)];
}

bool isMidiNoteLevel(ObjectKind kind) noexcept {
    return kind >= ObjectKind::kMidiNote && kind <= ObjectKind::kMidiNoteChange;
}

bool isLaneObject(ObjectKind kind) noexcept {
    return kind >= ObjectKind::kAutomation && kind <= ObjectKind::kSignature;
}

} // namespace

std::string_view kindName(ObjectKind kind) noexcept {
    return info(kind).name;
}

std::optional<ObjectKind> kindFromName(std::string_view name) noexcept {
    for (const KindInfo& entry : kKinds)
        if (entry.kind != ObjectKind::kRoot && entry.name == name)
            return entry.kind;
    return std::nullopt;
}

bool answersType(ObjectKind kind, std::string_view typeName) noexcept {
    const KindInfo& entry = info(kind);
    if (entry.answersOwnName && entry.name == typeName)
        return true;
    for (std::string_view also : entry.alsoAnswers)
        if (!also.empty() && also == typeName)
            return true;
    return false;
}

bool isTrack(ObjectKind kind) noexcept {
    return kind >= ObjectKind::kAudioTrack && kind <= ObjectKind::kMarkerTrack;
}

bool isMarker(ObjectKind kind) noexcept {
    return kind == ObjectKind::kPositionMarker || kind == ObjectKind::kCycleMarker;
}

bool canHold(ObjectKind parent, ObjectKind child) noexcept {
    switch (parent) {
    case ObjectKind::kRoot:
    case ObjectKind::kFolderTrack:
        return isTrack(child);
    case ObjectKind::kMarkerTrack:
        return isMarker(child);
    case ObjectKind::kAudioTrack:
    case ObjectKind::kInstrumentTrack:
    case ObjectKind::kMidiTrack:
    case ObjectKind::kGroupTrack:
        return child == ObjectKind::kAudioEvent || child == ObjectKind::kAudioPart ||
               child == ObjectKind::kMidiPart || isLaneObject(child);
    case ObjectKind::kAudioPart:
        return child == ObjectKind::kAudioEvent;
    case ObjectKind::kMidiPart:
        return isMidiNoteLevel(child);
    default:
        return false;
    }
}

std::optional<ObjectKind> trackKindForType(std::string_view typeName) noexcept {
    if (typeName == "marker")
        return ObjectKind::kMarkerTrack;
    if (typeName == "audio")
        return ObjectKind::kAudioTrack;
    if (typeName == "instrument")
        return ObjectKind::kInstrumentTrack;
    if (typeName == "midi")
        return ObjectKind::kMidiTrack;
    if (typeName == "group")
        return ObjectKind::kGroupTrack;
    if (typeName == "folder")
        return ObjectKind::kFolderTrack;
    return std::nullopt;
}

std::u16string_view trackNameBase(ObjectKind kind) noexcept {
    switch (kind) {
    case ObjectKind::kMarkerTrack:
        return u"Markers";
    case ObjectKind::kAudioTrack:
        return u"Audio";
    case ObjectKind::kInstrumentTrack:
        return u"Instrument";
    case ObjectKind::kMidiTrack:
        return u"MIDI";
    case ObjectKind::kGroupTrack:
        return u"Group";
    case ObjectKind::kFolderTrack:
        return u"Folder";
    default:
        return u"Track";
    }
}

} // namespace Brennovar::RefHost

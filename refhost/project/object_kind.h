#pragma once

#include <optional>
#include <string_view>

namespace Brennovar::RefHost {

/// The kinds of objects a project holds.
///
/// isType answers true for exactly these names (names compare exactly, case included):
/// | kind | names |
/// |---|---|
/// | the project itself (the root) | "project" |
/// | audio, instrument, MIDI, group track | "track" and "audio-track", "instrument-track",
/// "midi-track", "group-track" | | folder track | "track", "folder-track", "folder" | | marker
/// track | "track", "marker-track", "marker" | | audio event | "event", "audio" | | audio part,
/// MIDI part | "part" and "audio-part", "midi-part" | | position marker, cycle marker | "marker"
/// and "position-marker", "cycle-marker" | | automation, transpose, play order, chord, tempo,
/// signature | "automation", "transpose", "playorder", "chord", "tempo", "signature" | | MIDI
/// note-level kinds | "midi-note", "midi-controller", "midi-poly-pressure", "midi-aftertouch",
/// "midi-program", "midi-pitchbend", "midi-sysex", "midi-meta", "midi-note-change" |
///
/// Tracks do not answer "audio" or "midi": only an audio event is "audio".
enum class ObjectKind {
    kRoot,
    kAudioTrack,
    kInstrumentTrack,
    kMidiTrack,
    kGroupTrack,
    kFolderTrack,
    kMarkerTrack,
    kAudioEvent,
    kAudioPart,
    kMidiPart,
    kPositionMarker,
    kCycleMarker,
    kAutomation,
    kTranspose,
    kPlayOrder,
    kChord,
    kTempo,
    kSignature,
    kMidiNote,
    kMidiController,
    kMidiPolyPressure,
    kMidiAftertouch,
    kMidiProgram,
    kMidiPitchbend,
    kMidiSysex,
    kMidiMeta,
    kMidiNoteChange,
};

/// The kind's own name, used by views and project files: "project", "audio-track",
/// "instrument-track", "midi-track", "group-track", "folder-track", "marker-track",
/// "audio-event", "audio-part", "midi-part", "position-marker", "cycle-marker", and for the
/// other kinds their isType name ("automation", "tempo", "midi-note", ...).
std::string_view kindName(ObjectKind kind) noexcept;
/// The kind with that own name; empty for an unknown name (and for "project").
std::optional<ObjectKind> kindFromName(std::string_view name) noexcept;

/// Whether isType(typeName) is true for an object of this kind (table above).
bool answersType(ObjectKind kind, std::string_view typeName) noexcept;

bool isTrack(ObjectKind kind) noexcept;
bool isMarker(ObjectKind kind) noexcept;

/// Where objects may be placed:
/// - the root and folder tracks hold tracks;
/// - marker tracks hold position and cycle markers;
/// - audio, instrument, MIDI and group tracks hold audio events, parts, automation, transpose,
///   play-order, chord, tempo and signature objects;
/// - audio parts hold audio events; MIDI parts hold the MIDI note-level kinds;
/// - nothing else holds anything.
bool canHold(ObjectKind parent, ObjectKind child) noexcept;

/// The kind createTrack makes for a type name: "marker", "audio", "instrument", "midi",
/// "group", "folder"; empty for any other name.
std::optional<ObjectKind> trackKindForType(std::string_view typeName) noexcept;

/// The base of the default name of a new track of this kind: "Markers", "Audio", "Instrument",
/// "MIDI", "Group", "Folder".
std::u16string_view trackNameBase(ObjectKind kind) noexcept;

} // namespace Brennovar::RefHost

#pragma once

namespace Brennovar::RefHost {

class ProjectFactory;
class Project;

/// The project that zintara-host runs when it is given none: a short film scene as a dialogue
/// editor would have it.
///
/// - "Dialogue" (audio): three takes of scene 12 with scene, take, BWF and file metadata; the
///   first two overlap, the third touches the second.
/// - "Boom" (audio): one event that lies over the first dialogue take, on its own clip.
/// - "Ambience" (folder) holding "Street" (audio): two events with a gap between them, one
///   without a clip, and an automation object.
/// - "Score" (instrument): a MIDI part with four notes, and a tempo object.
/// - "Markers" (marker track): a position marker and a cycle marker, active.
///
/// Nothing is selected; the project has no attributes, so the module's stored settings do
/// not apply until a run stores them.
class DemoProject {
public:
    /// Builds the demo as a new project of the host (not opened).
    static Project& build(ProjectFactory& host);
};

} // namespace Brennovar::RefHost

#include "refhost/project/demo_project.h"

#include "refhost/project/clip.h"
#include "refhost/project/project.h"
#include "refhost/project/project_factory.h"
#include "refhost/project/project_object.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace Brennovar::RefHost {

namespace {

using MediaAttributes = std::initializer_list<std::pair<const char*, const char*>>;

Clip& clip(Project& project, const char* fileName, MediaAttributes attributes) {
    Clip& result = project.addClip(fileName);
    for (const auto& [key, value] : attributes)
        result.setMediaAttribute(key, value);
    return result;
}

/// A production-sound take of scene 12, as a field recorder writes it.
Clip& take(Project& project, const char* fileName, const char* take, const char* note) {
    std::string description = std::string("sSCENE=12\r\nsTAKE=") + take + "\r\nsNOTE=" + note;
    return clip(project, fileName,
                {{"AudioScene", "12"},
                 {"AudioTake", take},
                 {"AudioNotes", note},
                 {"AudioBWFDescription", description.c_str()},
                 {"AudioBWFOrigRef", "FR-8/2024-03-14"},
                 {"AudioRecordDate", "2024-03-14"},
                 {"AudioReel", "R07"},
                 {"FilePath", "/media/production/day07"}});
}

} // namespace

Project& DemoProject::build(ProjectFactory& host) {
    Project& project = host.createProject("Demo Scene 12");

    ProjectObject& dialogue = project.addTrack(ObjectKind::kAudioTrack, "Dialogue");
    project.addAudioEvent(dialogue, "Sc12 T3", 2.0, 4.5,
                          &take(project, "Sc12_T3.wav", "3", "good, plane at end"),
                          "INT. KITCHEN - NIGHT");
    // Overlaps the end of T3.
    project.addAudioEvent(dialogue, "Sc12 T4", 6.0, 4.0,
                          &take(project, "Sc12_T4.wav", "4", "circled"), "INT. KITCHEN - NIGHT");
    // Starts exactly where T4 ends.
    project.addAudioEvent(dialogue, "Sc12 T5", 10.0, 3.25,
                          &take(project, "Sc12_T5.wav", "5", "pickup"), "INT. KITCHEN - NIGHT");

    ProjectObject& boom = project.addTrack(ObjectKind::kAudioTrack, "Boom");
    project.addAudioEvent(boom, "Boom Sc12 T3", 2.0, 4.5,
                          &take(project, "Boom_Sc12_T3.wav", "3", "boom, off axis"), "Boom");

    ProjectObject& ambience = project.addTrack(ObjectKind::kFolderTrack, "Ambience");
    ProjectObject& street = project.addTrack(ObjectKind::kAudioTrack, "Street", &ambience);
    project.addAudioEvent(
        street, "Street Day", 0.0, 4.0,
        &clip(
            project, "Street_Day.wav",
            {{"AudioScene", "12"}, {"AudioWildtrack", "1"}, {"MediaComment", "traffic, distant"}}),
        "Wild track");
    // Recorded on set without a file behind it yet: no clip.
    project.addAudioEvent(street, "Room Tone", 8.0, 4.0, nullptr, "Room tone, kitchen");
    project.addObject(street, ObjectKind::kAutomation, "Volume", 0.0, 13.25);

    ProjectObject& score = project.addTrack(ObjectKind::kInstrumentTrack, "Score");
    project.addObject(score, ObjectKind::kTempo, "120 BPM", 0.0, 0.0);
    ProjectObject& cue = project.addObject(score, ObjectKind::kMidiPart, "Cue 1M1", 1.0, 8.0);
    project.addObject(cue, ObjectKind::kMidiNote, "C3", 1.0, 1.0);
    project.addObject(cue, ObjectKind::kMidiNote, "E3", 2.0, 1.0);
    project.addObject(cue, ObjectKind::kMidiNote, "G3", 3.0, 2.0);
    project.addObject(cue, ObjectKind::kMidiNote, "C4", 5.0, 4.0);

    ProjectObject& markers = project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    project.addMarker(markers, ObjectKind::kPositionMarker, "Scene 12", 2.0);
    project.addMarker(markers, ObjectKind::kCycleMarker, "Rehearsal", 0.0, 1.5);
    project.setActiveMarkerTrack(&markers);
    return project;
}

} // namespace Brennovar::RefHost

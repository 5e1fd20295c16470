#include "refhost/files/command_inputs.h"
#include "refhost/files/project_file.h"
#include "refhost/host/host.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/demo_project.h"
#include "refhost/project/project_object.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Brennovar;
using namespace Brennovar::RefHost;
using testing::AllOf;

namespace {

std::vector<std::string> selectionPointers(const Project& project) {
    std::vector<std::string> result;
    for (const ProjectObject* object : project.selection().objects())
        result.push_back(ProjectFile::pointerOf(*object));
    return result;
}

/// A document with the mandatory members around `members` (which start with a comma).
std::string document(const std::string& members) {
    return R"({"format": "zintara-project", "version": 1)" + members + "}";
}

} // namespace

TEST(ProjectFileTest, DemoProjectSurvivesWriteAndReadAndHasPointersByLayout) {
    Host host;
    Project& demo = DemoProject::build(host);
    std::string written = ProjectFile::write(demo);
    Project& read = ProjectFile::parse(host, written, "demo.json");
    EXPECT_EQ(describeDifference(captureState(demo), captureState(read)), "");
    EXPECT_EQ(ProjectFile::write(read), written);
    ASSERT_NE(read.activeMarkerTrack(), nullptr);
    EXPECT_EQ(read.activeMarkerTrack()->nameUtf8(), "Markers");
    // Clips are shared by name, with every media attribute.
    ASSERT_EQ(read.clips().size(), demo.clips().size());
    for (std::size_t i = 0; i < demo.clips().size(); ++i)
        EXPECT_EQ(read.clips()[i]->mediaAttributes(), demo.clips()[i]->mediaAttributes());
    auto* event = dynamic_cast<AudioEvent*>(read.find("Sc12 T4"));
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->clip(), read.clips()[1]) << "an event holds the clip listed by name";

    // Pointers follow the document's layout; an object outside the tree has none.
    EXPECT_EQ(ProjectFile::pointerOf(*demo.find("Dialogue")), "/tracks/0");
    EXPECT_EQ(ProjectFile::pointerOf(*demo.find("Room Tone")), "/tracks/2/children/0/events/1");
    EXPECT_EQ(ProjectFile::pointerOf(*demo.find("C4")), "/tracks/3/events/1/notes/3");
    EXPECT_EQ(ProjectFile::pointerOf(*demo.find("Rehearsal")), "/tracks/4/markers/1");
    EXPECT_EQ(ProjectFile::pointerOf(demo.root()), "");
    EXPECT_EQ(ProjectFile::pointerOf(demo.createDetached(ObjectKind::kCycleMarker, u"loose")), "");
}

TEST(ProjectFileTest, TypedAttributesSelectionOrderAndMarkerTrackChoiceRoundTrip) {
    std::string text = document(R"(,
        "name": "Typed", "offersNewMarkerTrack": false, "activeMarkerTrack": "/tracks/2",
        "attributes": {"Count": {"integer": -9223372036854775808},
                       "Narrow": {"string8": "abc"}, "Wide": {"string16": "Grüße 🎬"}},
        "tracks": [
          {"kind": "audio-track", "name": "A", "events": [
            {"kind": "audio-event", "name": "e0", "start": 0, "end": 1, "selected": true},
            {"kind": "audio-event", "name": "e1", "start": 0.1, "end": 0.3, "selected": true},
            {"kind": "audio-part", "name": "p", "start": 2, "end": 3, "selected": true,
             "events": [{"kind": "audio-event", "name": "inner", "start": 2, "end": 2.5}]}]},
          {"kind": "marker-track", "name": "M1", "markers": [
            {"kind": "cycle", "description": "c", "start": 1, "length": 2, "selected": true,
             "attributes": {"User:Take": {"string16": "7"}}}]},
          {"kind": "marker-track", "name": "M2"}],
        "selection": ["/tracks/1/markers/0", "/tracks/0/events/1"])");
    Host host;
    Project& project = ProjectFile::parse(host, text, "typed.json");
    // Listed objects first, in their order, then the other selected ones in document order.
    EXPECT_EQ(selectionPointers(project),
              (std::vector<std::string>{"/tracks/1/markers/0", "/tracks/0/events/1",
                                        "/tracks/0/events/0", "/tracks/0/events/2"}));
    EXPECT_FALSE(project.offersNewMarkerTrack());
    EXPECT_EQ(project.activeMarkerTrack()->nameUtf8(), "M2");
    const auto& attributes = project.root().attributes();
    ASSERT_TRUE(attributes.find("Count") && attributes.find("Wide") && attributes.find("Narrow"));
    EXPECT_EQ(attributes.find("Count")->integer, INT64_MIN);
    ASSERT_EQ(attributes.find("Wide")->kind(), FTaggedValue::kString16);
    EXPECT_EQ(std::u16string(attributes.find("Wide")->string16), u"Grüße 🎬");
    EXPECT_EQ(attributes.find("Narrow")->kind(), FTaggedValue::kString8);

    // Events keep the numbers as written: an end of 0.3 is not start + length
    // (0.30000000000000004), so a file rewrites byte for byte and the module sees the user's end.
    std::string written = ProjectFile::write(project);
    EXPECT_NE(written.find(R"("end": 0.3)"), std::string::npos) << written;
    Project& again = ProjectFile::parse(host, written, "again.json");
    EXPECT_EQ(describeDifference(captureState(project), captureState(again)), "");
    EXPECT_EQ(selectionPointers(again), selectionPointers(project));
    EXPECT_EQ(ProjectFile::write(again), written);
    EXPECT_EQ(again.find("e1")->end(), 0.3);
    EXPECT_EQ(again.find("e1")->hostObject()->getEnd(nullptr), 0.3);
}

TEST(ProjectFileTest, MissingFileAndUnwritablePathAreReported) {
    Host host;
    EXPECT_THAT([&] { ProjectFile::read(host, "/nonexistent/song.json"); },
                testing::ThrowsMessage<FileError>(testing::StrEq(
                    "/nonexistent/song.json: cannot be opened for reading: No such file or "
                    "directory")));
    Project& demo = DemoProject::build(host);
    EXPECT_THROW(ProjectFile::save(demo, "/nonexistent/out.json", {}), FileError);
    EXPECT_THROW(ProjectFile::save(demo, "/dev/full", {}), FileError);
}

TEST(ProjectFileTest, InvalidUtf8FromTheModuleIsReplacedNotFatal) {
    Host host;
    Project& project = host.createProject("Song");
    const FTaggedValue text = FTaggedValue::fromString8("Caf\xE9");
    const char* key = "CreateZintaraModelDataMappingData1";
    project.root().assignAttribute(key, &text);
    const std::string written = ProjectFile::write(project);
    EXPECT_NE(written.find("\"Caf\xEF\xBF\xBD\""), std::string::npos) << written;
    Project& again = ProjectFile::parse(host, written, "again.json");
    EXPECT_STREQ(again.root().attributes().find(key)->string8, "Caf\xEF\xBF\xBD");
}

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

// A malformed file is refused with its name, the place in it and the problem.
TEST(ProjectFileTest, MalformedFilesNameFilePlaceAndProblem) {
    const std::string track = R"(,"tracks": [{"kind": "audio-track", "name": "A", "events": [)";
    const auto tracks = [](const std::string& t) { return document(R"(,"tracks": [)" + t + "]"); };
    const auto events = [&](const std::string& e) { return document(track + e + "]}]"); };
    const auto attributes = [](const std::string& a) { return document(R"(,"attributes": )" + a); };
    const std::string folders =
        tracks(repeated(R"({"kind": "folder-track", "children": [)", 33) + repeated("]}", 33));
    // Each text and what its error says after the file name.
    const std::pair<std::string, std::string> cases[] = {
        {"", ":1:1: syntax error while parsing value - unexpected end of input; expected '[', '{', "
             "or a literal"},
        {"{\"format\": \"zintara-project\",\n  \"version\": 1,\n  ]",
         ":3:3: syntax error while parsing object key - unexpected ']'; expected string literal"},
        {tracks(R"({"kind": "audio-track"}, {"kind": "audio-track", "kind": "midi-track"})"),
         ": at /tracks/1: duplicate member \"kind\""},
        {"[1, 2]", ": at /: expected an object, found an array"},
        {R"({"version": 1})", ": at /: the member \"format\" is missing"},
        {R"({"format": "song", "version": 1})", ": at /format: expected \"zintara-project\""},
        {R"({"format": "zintara-project", "version": 2})",
         ": at /version: version 2 is not supported (expected 1)"},
        {document(R"(,"trakcs": [])"), ": at /trakcs: unknown member \"trakcs\""},
        {tracks(R"({"kind": "audio"})"), ": at /tracks/0/kind: unknown kind \"audio\""},
        {tracks(R"({"kind": "audio-event", "start": 0, "end": 1})"),
         ": at /tracks/0/kind: the project cannot hold an audio-event"},
        {tracks(R"({"kind": "marker-track", "markers": [{"kind": "cycle-marker", "start": 0}]})"),
         ": at /tracks/0/markers/0/kind: unknown marker kind \"cycle-marker\" (expected position "
         "or cycle)"},
        {tracks(R"({"kind": "marker-track", "markers": [)"
                R"({"kind": "cycle", "start": 0, "length": -1}]})"),
         ": at /tracks/0/markers/0/length: a length may not be negative"},
        {events(R"({"kind": "audio-event", "start": 2, "end": 1.5})"),
         ": at /tracks/0/events/0/end: 1.5 lies before the start 2"},
        {events(R"({"kind": "audio-event", "start": "0", "end": 1})"),
         ": at /tracks/0/events/0/start: expected a number, found a string"},
        {events(R"({"kind": "audio-event", "start": 0})"),
         ": at /tracks/0/events/0: the member \"end\" is missing"},
        {events(R"({"kind": "midi-part", "start": 0, "end": 4, "notes": [{"start": 0, "end": 1}, )"
                R"({"kind": "audio-event", "start": 0, "end": 1}]})"),
         ": at /tracks/0/events/0/notes/1/kind: a midi-part cannot hold an audio-event"},
        {attributes(R"({"K": {"float": 1.5}})"),
         ": at /attributes/K/float: unknown attribute type \"float\" (expected integer, string8 or "
         "string16)"},
        {attributes(R"({"K": "v"})"), ": at /attributes/K: expected {\"integer\": N}, "
                                      "{\"string8\": \"...\"} or {\"string16\": \"...\"}"},
        {attributes(R"({"K": {"integer": 9223372036854775808}})"),
         ": at /attributes/K/integer: expected a 64-bit signed integer, found 9223372036854775808"},
        {attributes(R"({"a/b": {"integer": "1"}})"),
         ": at /attributes/a~1b/integer: expected a 64-bit signed integer, found a string"},
        {attributes(R"({"K": {"string8": "a\u0000b"}})"),
         ": at /attributes/K/string8: a text may not contain the character U+0000"},
        {attributes(R"({"": {"integer": 1}})"),
         ": at /attributes/: an attribute key must be a non-empty text without U+0000"},
        {document(R"(,"clips": {})"), ": at /clips: expected an array, found an object"},
        {document(R"(,"offersNewMarkerTrack": 1)"),
         ": at /offersNewMarkerTrack: expected true or false, found a number"},
        {events(R"({"kind": "audio-event", "start": 0, "end": 1, "clip": "x.wav"})"),
         ": at /tracks/0/events/0/clip: no clip \"x.wav\" is listed in /clips"},
        {document(R"(,"clips": [{"file": "x.wav"}, {"file": "x.wav"}])"),
         ": at /clips/1/file: the clip \"x.wav\" is listed twice"},
        {document(R"(,"selection": ["/tracks/5"])"),
         ": at /selection/0: \"/tracks/5\" does not name a track, event, note or marker"},
        {document(track + R"({"kind": "audio-event", "start": 0, "end": 1}]}],)"
                          R"("selection": ["/tracks/0/events/0"])"),
         ": at /selection/0: /tracks/0/events/0 is listed but not marked \"selected\": true"},
        {document(R"(,"tracks": [{"kind": "audio-track", "selected": true}],)"
                  R"("selection": ["/tracks/0", "/tracks/0"])"),
         ": at /selection/1: /tracks/0 is listed twice"},
        {events(R"({"kind": "audio-event", "start": 0, "end": 1e309})"),
         ":1:146: the number 1e309 is too large for a double"},
        {std::string(101, '['), ": at " + repeated("/0", 99) + ": nested deeper than 100 levels"},
        {folders, ": at /tracks/0" + repeated("/children/0", 32) +
                      ": folder tracks nest deeper than 32 levels"},
        {document(R"(,"tracks": [{"kind": "audio-track"}], "activeMarkerTrack": "/tracks/0")"),
         ": at /activeMarkerTrack: /tracks/0 is an audio-track, not a marker-track"},
    };
    Host host;
    for (const auto& [text, message] : cases)
        EXPECT_THAT([&] { ProjectFile::parse(host, text, "bad.json"); },
                    testing::Throws<FileError>(
                        AllOf(testing::Property(&FileError::file, "bad.json"),
                              testing::Property(&FileError::what, "bad.json" + message))))
            << text;
}

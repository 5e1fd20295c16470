#include "refhost/files/command_inputs.h"
#include "refhost/files/project_file.h"
#include "refhost/host/host.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/demo_project.h"
#include "refhost/project/project_object.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Brennovar;
using namespace Brennovar::RefHost;

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

// Events keep the numbers as written: an end of 0.3 is not start + length
// (0.30000000000000004), so a file rewrites byte for byte and the module sees the user's end.
TEST(ProjectFileTest, EventEndsStayAsWritten) {
    Host host;
    const std::string text = ProjectFile::write(
        ProjectFile::parse(host,
                           document(R"(,"tracks": [{"kind": "audio-track", "events": [)"
                                    R"({"kind": "audio-event", "start": 0.1, "end": 0.3}]}])"),
                           "exact.json"));
    EXPECT_NE(text.find(R"("end": 0.3)"), std::string::npos) << text;
    Project& again = ProjectFile::parse(host, text, "again.json");
    EXPECT_EQ(ProjectFile::write(again), text);
    EXPECT_EQ(again.find("", ObjectKind::kAudioEvent)->hostObject()->getEnd(nullptr), 0.3);
}

TEST(ProjectFileTest, DemoProjectSurvivesWriteAndRead) {
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
}

TEST(ProjectFileTest, TypedAttributesSelectionOrderAndMarkerTrackChoiceRoundTrip) {
    std::string text = document(R"(,
        "name": "Typed",
        "attributes": {"Count": {"integer": -9223372036854775808},
                       "Narrow": {"string8": "abc"}, "Wide": {"string16": "Grüße 🎬"}},
        "offersNewMarkerTrack": false,
        "activeMarkerTrack": "/tracks/2",
        "tracks": [
          {"kind": "audio-track", "name": "A", "events": [
            {"kind": "audio-event", "name": "e0", "start": 0, "end": 1, "selected": true},
            {"kind": "audio-event", "name": "e1", "start": 0.1, "end": 0.7, "selected": true},
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
    const FTaggedValue* count = project.root().attributes().find("Count");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->integer, INT64_MIN);
    const FTaggedValue* wide = project.root().attributes().find("Wide");
    ASSERT_NE(wide, nullptr);
    ASSERT_EQ(wide->kind(), FTaggedValue::kString16);
    EXPECT_EQ(std::u16string(wide->string16), u"Grüße 🎬");
    EXPECT_EQ(project.root().attributes().find("Narrow")->kind(), FTaggedValue::kString8);

    std::string written = ProjectFile::write(project);
    Project& again = ProjectFile::parse(host, written, "again.json");
    EXPECT_EQ(describeDifference(captureState(project), captureState(again)), "");
    EXPECT_EQ(selectionPointers(again), selectionPointers(project));
    EXPECT_EQ(ProjectFile::write(again), written);
    // An end read back from start + length is the end that was written.
    EXPECT_EQ(again.find("e1")->end(), 0.7);
}

TEST(ProjectFileTest, PointersFollowTheDocumentLayout) {
    Host host;
    Project& demo = DemoProject::build(host);
    EXPECT_EQ(ProjectFile::pointerOf(*demo.find("Dialogue")), "/tracks/0");
    EXPECT_EQ(ProjectFile::pointerOf(*demo.find("Room Tone")), "/tracks/2/children/0/events/1");
    EXPECT_EQ(ProjectFile::pointerOf(*demo.find("C4")), "/tracks/3/events/1/notes/3");
    EXPECT_EQ(ProjectFile::pointerOf(*demo.find("Rehearsal")), "/tracks/4/markers/1");
    EXPECT_EQ(ProjectFile::pointerOf(demo.root()), "");
    ProjectObject& loose = demo.createDetached(ObjectKind::kCycleMarker, u"loose");
    EXPECT_EQ(ProjectFile::pointerOf(loose), "");
}

TEST(ProjectFileTest, MissingFileAndUnwritablePathAreReported) {
    Host host;
    try {
        ProjectFile::read(host, "/nonexistent/song.json");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(),
                     "/nonexistent/song.json: cannot be opened for reading: No such file or "
                     "directory");
    }
    Project& demo = DemoProject::build(host);
    EXPECT_THROW(ProjectFile::save(demo, "/nonexistent/out.json", {}), FileError);
    EXPECT_THROW(ProjectFile::save(demo, "/dev/full", {}), FileError);
}

TEST(ProjectFileTest, InvalidUtf8FromTheModuleIsReplacedNotFatal) {
    Host host;
    Project& project = host.createProject("Song");
    const FTaggedValue text = FTaggedValue::fromString8("Caf\xE9");
    project.root().assignAttribute("CreateZintaraModelDataMappingData1", &text);
    const std::string written = ProjectFile::write(project);
    EXPECT_NE(written.find("\"Caf\xEF\xBF\xBD\""), std::string::npos) << written;
    EXPECT_STREQ(ProjectFile::parse(host, written, "again.json")
                     .root()
                     .attributes()
                     .find("CreateZintaraModelDataMappingData1")
                     ->string8,
                 "Caf\xEF\xBF\xBD");
}

struct MalformedCase {
    const char* label;
    std::string text;
    std::string message;
};

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

/// Members of a document: `depth` folder tracks, each inside the one before.
std::string nestedFolders(int depth) {
    return R"(,"tracks": [)" + repeated(R"({"kind": "folder-track", "children": [)", depth) +
           repeated("]}", depth) + "]";
}

class MalformedProjectTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedProjectTest, NamesFilePlaceAndProblem) {
    Host host;
    try {
        ProjectFile::parse(host, GetParam().text, "bad.json");
        FAIL() << "accepted";
    } catch (const FileError& e) {
        EXPECT_EQ(e.what(), GetParam().message);
        EXPECT_EQ(e.file(), "bad.json");
    }
}

const std::string kTrack = R"(,"tracks": [{"kind": "audio-track", "name": "A", "events": [)";

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedProjectTest,
    testing::Values(
        MalformedCase{"Empty", "",
                      "bad.json:1:1: syntax error while parsing value - unexpected end of input; "
                      "expected '[', '{', or a literal"},
        MalformedCase{"Syntax", "{\"format\": \"zintara-project\",\n  \"version\": 1,\n  ]",
                      "bad.json:3:3: syntax error while parsing object key - unexpected ']'; "
                      "expected string literal"},
        MalformedCase{"DuplicateNestedMember",
                      document(R"(,"tracks": [{"kind": "audio-track"}, )"
                               R"({"kind": "audio-track", "kind": "midi-track"}])"),
                      "bad.json: at /tracks/1: duplicate member \"kind\""},
        MalformedCase{"NotAnObject", "[1, 2]",
                      "bad.json: at /: expected an object, found an array"},
        MalformedCase{"NoFormat", R"({"version": 1})",
                      "bad.json: at /: the member \"format\" is missing"},
        MalformedCase{"OtherFormat", R"({"format": "song", "version": 1})",
                      "bad.json: at /format: expected \"zintara-project\""},
        MalformedCase{"NewerVersion", R"({"format": "zintara-project", "version": 2})",
                      "bad.json: at /version: version 2 is not supported (expected 1)"},
        MalformedCase{"MisspelledMember", document(R"(,"trakcs": [])"),
                      "bad.json: at /trakcs: unknown member \"trakcs\""},
        MalformedCase{"UnknownTrackKind", document(R"(,"tracks": [{"kind": "audio"}])"),
                      "bad.json: at /tracks/0/kind: unknown kind \"audio\""},
        MalformedCase{"EventAtTopLevel",
                      document(R"(,"tracks": [{"kind": "audio-event", "start": 0, "end": 1}])"),
                      "bad.json: at /tracks/0/kind: the project cannot hold an audio-event"},
        MalformedCase{"MarkerKindMisspelled",
                      document(R"(,"tracks": [{"kind": "marker-track", "markers": [)"
                               R"({"kind": "cycle-marker", "start": 0}]}])"),
                      "bad.json: at /tracks/0/markers/0/kind: unknown marker kind "
                      "\"cycle-marker\" (expected position or cycle)"},
        MalformedCase{"NegativeMarkerLength",
                      document(R"(,"tracks": [{"kind": "marker-track", "markers": [)"
                               R"({"kind": "cycle", "start": 0, "length": -1}]}])"),
                      "bad.json: at /tracks/0/markers/0/length: a length may not be negative"},
        MalformedCase{"EndBeforeStart",
                      document(kTrack + R"({"kind": "audio-event", "start": 2, "end": 1.5}]}])"),
                      "bad.json: at /tracks/0/events/0/end: 1.5 lies before the start 2"},
        MalformedCase{"StartIsText",
                      document(kTrack + R"({"kind": "audio-event", "start": "0", "end": 1}]}])"),
                      "bad.json: at /tracks/0/events/0/start: expected a number, found a string"},
        MalformedCase{"MissingEnd", document(kTrack + R"({"kind": "audio-event", "start": 0}]}])"),
                      "bad.json: at /tracks/0/events/0: the member \"end\" is missing"},
        MalformedCase{"NoteOfWrongKind",
                      document(kTrack + R"({"kind": "midi-part", "start": 0, "end": 4, "notes": [)"
                                        R"({"start": 0, "end": 1}, )"
                                        R"({"kind": "audio-event", "start": 0, "end": 1}]}]}])"),
                      "bad.json: at /tracks/0/events/0/notes/1/kind: a midi-part cannot hold an "
                      "audio-event"},
        MalformedCase{"UnknownAttributeType", document(R"(,"attributes": {"K": {"float": 1.5}})"),
                      "bad.json: at /attributes/K/float: unknown attribute type \"float\" "
                      "(expected integer, string8 or string16)"},
        MalformedCase{"UntypedAttribute", document(R"(,"attributes": {"K": "v"})"),
                      "bad.json: at /attributes/K: expected {\"integer\": N}, {\"string8\": "
                      "\"...\"} or {\"string16\": \"...\"}"},
        MalformedCase{"IntegerTooLarge",
                      document(R"(,"attributes": {"K": {"integer": 9223372036854775808}})"),
                      "bad.json: at /attributes/K/integer: expected a 64-bit signed integer, "
                      "found 9223372036854775808"},
        MalformedCase{"KeyWithSlash", document(R"(,"attributes": {"a/b": {"integer": "1"}})"),
                      "bad.json: at /attributes/a~1b/integer: expected a 64-bit signed integer, "
                      "found a string"},
        MalformedCase{"TextWithZero", document(R"(,"attributes": {"K": {"string8": "a\u0000b"}})"),
                      "bad.json: at /attributes/K/string8: a text may not contain the character "
                      "U+0000"},
        MalformedCase{"EmptyAttributeKey", document(R"(,"attributes": {"": {"integer": 1}})"),
                      "bad.json: at /attributes/: an attribute key must be a non-empty text "
                      "without U+0000"},
        MalformedCase{"ClipsNotAnArray", document(R"(,"clips": {})"),
                      "bad.json: at /clips: expected an array, found an object"},
        MalformedCase{"OffersNotABoolean", document(R"(,"offersNewMarkerTrack": 1)"),
                      "bad.json: at /offersNewMarkerTrack: expected true or false, found a number"},
        MalformedCase{"UnknownClip",
                      document(kTrack + R"({"kind": "audio-event", "start": 0, "end": 1, )"
                                        R"("clip": "x.wav"}]}])"),
                      "bad.json: at /tracks/0/events/0/clip: no clip \"x.wav\" is listed in "
                      "/clips"},
        MalformedCase{"ClipTwice", document(R"(,"clips": [{"file": "x.wav"}, {"file": "x.wav"}])"),
                      "bad.json: at /clips/1/file: the clip \"x.wav\" is listed twice"},
        MalformedCase{"SelectionOfNothing", document(R"(,"selection": ["/tracks/5"])"),
                      "bad.json: at /selection/0: \"/tracks/5\" does not name a track, event, "
                      "note or marker"},
        MalformedCase{"SelectionOfUnselected",
                      document(kTrack + R"({"kind": "audio-event", "start": 0, "end": 1}]}],)"
                                        R"("selection": ["/tracks/0/events/0"])"),
                      "bad.json: at /selection/0: /tracks/0/events/0 is listed but not marked "
                      "\"selected\": true"},
        MalformedCase{"SelectionTwice",
                      document(R"(,"tracks": [{"kind": "audio-track", "selected": true}],)"
                               R"("selection": ["/tracks/0", "/tracks/0"])"),
                      "bad.json: at /selection/1: /tracks/0 is listed twice"},
        MalformedCase{"NumberOutOfRange",
                      document(kTrack + R"({"kind": "audio-event", "start": 0, "end": 1e309}]}])"),
                      "bad.json:1:146: the number 1e309 is too large for a double"},
        MalformedCase{"NestedTooDeep", std::string(101, '['),
                      "bad.json: at " + repeated("/0", 99) + ": nested deeper than 100 levels"},
        MalformedCase{"FoldersTooDeep", document(nestedFolders(33)),
                      "bad.json: at /tracks/0" + repeated("/children/0", 32) +
                          ": folder tracks nest deeper than 32 levels"},
        MalformedCase{"ActiveTrackNotAMarkerTrack",
                      document(R"(,"tracks": [{"kind": "audio-track"}],)"
                               R"("activeMarkerTrack": "/tracks/0")"),
                      "bad.json: at /activeMarkerTrack: /tracks/0 is an audio-track, not a "
                      "marker-track"}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return info.param.label; });

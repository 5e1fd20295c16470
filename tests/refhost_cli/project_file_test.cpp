#include "refhost/files/command_inputs.h"
#include "refhost/files/input_file.h"
#include "refhost/files/json_document.h"
#include "refhost/files/project_file.h"
#include "refhost/files/project_outline.h"
#include "refhost/host/host.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/demo_project.h"
#include "refhost/project/project_object.h"

#include <cstdio>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
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

namespace {

/// What the document reader alone (JsonDocument and ProjectFile::build, without the outline that
/// ProjectFile::parse tries first) makes of a text: the project written, or the message.
std::string byDocumentReader(std::string_view text) {
    Host host;
    try {
        nlohmann::json document = JsonDocument::parse(text, "t.json");
        return ProjectFile::write(ProjectFile::build(host, document, "t.json"));
    } catch (const FileError& e) {
        return std::string("refused: ") + e.what();
    }
}

/// What ProjectFile::parse makes of it.
std::string byParse(std::string_view text) {
    Host host;
    try {
        return ProjectFile::write(ProjectFile::parse(host, text, "t.json"));
    } catch (const FileError& e) {
        return std::string("refused: ") + e.what();
    }
}

/// Valid documents in forms the writer never makes: members in any order, escapes, texts beyond
/// ASCII, numbers in every form JSON has, defaults left out.
const std::string kUnusualDocuments[] = {
    R"({"tracks": [{"events": [{"end": 1, "selected": true, "start": -0, "kind": "audio-event",
        "clip": "b.wav"}], "kind": "audio-track"}, {"kind": "marker-track"}], "clips": [{"attributes": {"FileName": "x",
        "AudioScene": "1\u00e4"}, "file": "b.wav"}], "version": 1, "format": "zintara-project",
        "selection": ["/tracks/0/events/0"], "activeMarkerTrack": "/tracks/1"  ,
        "name": "Caf\u00e9 \ud83c\udfac \"q\" \\ \/ \b\f\n\r\t", "offersNewMarkerTrack": false,
        "attributes": {"b": {"integer": 9223372036854775807}, "a": {"integer": -9223372036854775808},
        "k\u0069": {"string8": "Gr\u00fc\u00dfe"}, "w/~": {"string16": "\ud83c\udfac"}}}
    )",
    "{\r\n\t\"format\"\t:\r\"zintara-project\" , "
    "\"version\":1,\"tracks\":[{\"kind\":\"marker-track\","
    "\"markers\":[{\"kind\":\"cycle\",\"start\":1E2,\"length\":1e-7,\"description\":\"Grüße 🎬\"},"
    "{\"start\":0.30000000000000004,\"kind\":\"position\",\"selected\":true}]},"
    "{\"kind\":\"folder-track\",\"children\":[{\"kind\":\"midi-track\",\"events\":[{\"kind\":"
    "\"midi-part\",\"start\":-1.5e+3,\"end\":9007199254740993,\"notes\":[{\"start\":5e-324,"
    "\"end\":1e308},{\"kind\":\"midi-sysex\",\"start\":18446744073709551615,\"end\":"
    "18446744073709551616.5}]}]},{\"kind\":\"marker-track\"},{\"kind\":\"marker-track\"}]},"
    "{\"kind\":\"audio-track\",\"events\":[{\"kind\":\"audio-part\",\"start\":0,\"end\":-0.0,"
    "\"events\":[{\"kind\":\"audio-event\",\"start\":0,\"end\":0,\"description\":\"\"}]},"
    "{\"kind\":\"tempo\",\"start\":2,\"end\":3,\"attributes\":{}}]}],\"selection\":[],\"clips\":[]"
    "}",
    R"({"format": "zintara-project", "version": 1, "tracks": [], "attributes": {}})",
};

} // namespace

// The quick reader (ProjectOutline) reads what the document reader reads, to the same project,
// and leaves every problem to it: each unusual document, and each of them broken at every place
// in a few ways, comes to the same project or the same message by both ways.
TEST(ProjectFileTest, TheQuickReaderAndTheDocumentReaderAgree) {
    for (const std::string& text : kUnusualDocuments) {
        const std::string expected = byDocumentReader(text);
        ASSERT_EQ(expected.rfind("refused", 0), std::string::npos) << expected;
        EXPECT_EQ(byParse(text), expected) << text;
        Host host;
        EXPECT_NE(ProjectOutline::read(host, text), nullptr) << "read by the quick reader";
        for (std::size_t at = 0; at < text.size(); ++at) {
            for (const char* change : {"", "\"", "}", "\\", "\x80"}) {
                std::string broken = text;
                broken.replace(at, 1, change);
                ASSERT_EQ(byParse(broken), byDocumentReader(broken)) << broken;
            }
        }
    }
}

// A file is read in pieces: strings, escapes, characters of several bytes and numbers that
// straddle two pieces read as they do whole, wherever the pieces are cut.
TEST(ProjectFileTest, FilesReadInPiecesReadAsTheirText) {
    std::string events;
    for (int i = 0; i < 1500; ++i)
        events += std::string(i ? "," : "") + R"({"kind": "audio-event", "name": "T\u00e4ke \")" +
                  std::to_string(i) + R"( 🎬 Grüße", "start": )" + std::to_string(i) +
                  ".0625e0, \"end\": 1234567.890123, \"selected\": true}";
    const std::string body = R"("format": "zintara-project", "version": 1, "tracks": [)"
                             R"({"kind": "audio-track", "name": "A", "events": [)" +
                             events + "]}]}";
    ASSERT_GT(body.size(), std::size_t{1} << 17);
    const std::string path = ::testing::TempDir() + "pieces-" + std::to_string(getpid()) + ".json";
    // Shifting the text by one byte at a time moves each cut across every kind of token.
    for (std::size_t shift = 0; shift < 160; ++shift) {
        const std::string text = "{" + std::string(shift, ' ') + body;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        Host host;
        EXPECT_EQ(ProjectFile::write(ProjectFile::read(host, path)), byParse(text)) << shift;
        InputFile file(path);
        EXPECT_NE(ProjectOutline::read(host, file), nullptr) << "read by the quick reader";
    }
    EXPECT_EQ(byParse("{" + body), byDocumentReader("{" + body));
    std::remove(path.c_str());
}

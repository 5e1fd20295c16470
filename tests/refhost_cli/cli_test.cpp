#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Per process: ctest runs the cases of this file in parallel processes.
std::string temporary(const std::string& name) {
    return testing::TempDir() + "refhost_cli_" + std::to_string(getpid()) + "_" + name;
}

/// Runs zintara-host with the arguments (already quoted where needed) and collects its exit
/// status and both output streams.
ToolRun runTool(const std::string& arguments, const std::string& shellPrefix = "") {
    std::string out = temporary("stdout.txt");
    std::string err = temporary("stderr.txt");
    std::string command = shellPrefix + "'" + ZINTARA_HOST_TOOL + "' " + arguments + " >'" + out +
                          "' 2>'" + err + "'";
    int raw = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readText(out);
    run.err = readText(err);
    return run;
}

std::string moduleArgument() {
    const char* path = std::getenv("ZINTARA_MODULE");
    return std::string("--module '") + (path ? path : "") + "'";
}

std::string fakeModule(const char* fault) {
    return std::string("'") + FAKE_MODULE_DIR + "/fake_" + fault + ".so'";
}

nlohmann::json runJson(const std::string& arguments, int expectedStatus = 0) {
    ToolRun run = runTool("run --json " + moduleArgument() + " " + arguments);
    EXPECT_EQ(run.status, expectedStatus) << run.err;
    try {
        return nlohmann::json::parse(run.out);
    } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << e.what() << "\n" << run.out << run.err;
        return {};
    }
}

std::size_t markerCount(const nlohmann::json& report) {
    std::size_t count = 0;
    for (const auto& track : report["markerTracks"])
        count += track["markers"].size();
    return count;
}

/// The demo project holds two markers before any run.
constexpr std::size_t kDemoMarkers = 2;

} // namespace

TEST(CliTest, InfoDescribesFactoryClassServiceResourcesAndDialogTexts) {
    ToolRun run = runTool("info --lang de " + moduleArgument());
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected :
         {"vendor          Brennovar", "flags           16 (class information in 16-bit text)",
          "[0] Zintara", "class id        {D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA}",
          "category        Service", "version         1.0.0.79", "16-bit record   the same texts",
          "initialize      ResultOk", "name \"Create Markers From Selected Events...\", flags 2",
          "\"Create Markers from Selected Events (with Current Settings)\"",
          "skin            skin.kxp (registered)", "Dialog texts (de)",
          "Add Markers -> Marker hinzuf\xc3\xbcgen"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    EXPECT_EQ(run.out.find("not found"), std::string::npos) << run.out;
}

TEST(CliTest, RunMakesOneMarkerPerSelectedRangeAsOneUndoableEdit) {
    nlohmann::json report = runJson("--undo");
    EXPECT_EQ(report["result"], 0);
    EXPECT_EQ(report["undoName"], "Create Markers from Events");
    EXPECT_EQ(report["problems"], nlohmann::json::array());
    EXPECT_EQ(report["undoRestored"], true);
    ASSERT_EQ(report["markerTracks"].size(), 1u);
    const auto& track = report["markerTracks"][0];
    std::size_t made = markerCount(report) - kDemoMarkers;
    EXPECT_GT(made, 0u);
    // The new markers are selected, and they are the whole selection.
    ASSERT_EQ(report["selection"].size(), made);
    for (std::size_t i = kDemoMarkers; i < track["markers"].size(); ++i) {
        EXPECT_EQ(track["markers"][i]["selected"], true);
        EXPECT_EQ(track["markers"][i]["kind"], "cycle");
    }
    EXPECT_EQ(report["selection"][0]["kind"], "cycle-marker");
    EXPECT_EQ(report["selection"][0]["path"], "/tracks/4/markers/2");
}

TEST(CliTest, RunWithNothingSelectedOrACancelledDialogMakesNoMarkerAndStillSucceeds) {
    for (auto [arguments, available] :
         {std::pair{"--select none", false}, std::pair{"--command dialog", true}}) {
        nlohmann::json report = runJson(arguments);
        EXPECT_EQ(report["available"], available) << arguments;
        EXPECT_EQ(report["result"], 1) << arguments;
        EXPECT_EQ(markerCount(report), kDemoMarkers) << arguments;
    }
}

TEST(CliTest, SavedProjectCarriesMarkersAndSettingsIntoTheNextRun) {
    std::string saved = temporary("saved.json");
    std::remove(saved.c_str());
    nlohmann::json first = runJson("--out '" + saved + "'");
    nlohmann::json document = nlohmann::json::parse(readText(saved));
    EXPECT_EQ(document["attributes"]["CreateZintaraModelDataMarkerType"]["integer"], 1);
    EXPECT_EQ(document["attributes"]["CreateZintaraModelDataCombineAdjancent"]["integer"], 1);
    nlohmann::json second = runJson("--select all --project '" + saved + "'");
    EXPECT_EQ(second["result"], 0);
    EXPECT_EQ(markerCount(second), 2 * markerCount(first) - kDemoMarkers);
}

TEST(CliTest, MalformedProjectExitsWithStatus2AndNamesThePlace) {
    std::string bad = temporary("bad.json");
    std::ofstream(bad) << R"({"format": "zintara-project", "version": 1,
        "tracks": [{"kind": "audio", "name": "A"}]})";
    ToolRun run = runTool("run " + moduleArgument() + " --project '" + bad + "'");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "zintara-host: " + bad + ": at /tracks/0/kind: unknown kind \"audio\"\n");
    EXPECT_EQ(run.out, "");
}

TEST(CliTest, ExitStatusesForUsageModuleAndOutputFailures) {
    EXPECT_EQ(runTool("run " + moduleArgument() + " --select some").status, 2);
    EXPECT_EQ(runTool("run " + moduleArgument() + " --lang german").status, 2);
    EXPECT_EQ(runTool("frobnicate").status, 2);
    EXPECT_EQ(runTool("run --module " + fakeModule("missing_exports")).status, 3);
    EXPECT_EQ(runTool("run --module " + fakeModule("initialize_fails")).status, 3);
    ToolRun info = runTool("info --module " + fakeModule("initialize_fails"));
    EXPECT_EQ(info.status, 3);
    // The factory part is still shown.
    EXPECT_NE(info.out.find("[1] Fake Service"), std::string::npos) << info.out;
    ToolRun run = runTool("run " + moduleArgument() + " --out /nonexistent/dir/out.json");
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.err.find("/nonexistent/dir/out.json: cannot be written"), std::string::npos)
        << run.err;
}

TEST(CliTest, LeakedAndDoublyReleasedHostReferencesFailTheRun) {
    for (const char* fault : {"leaks_host_reference", "releases_host_twice"}) {
        ToolRun run = runTool("run --module " + fakeModule(fault));
        EXPECT_EQ(run.status, 1) << fault;
        // The stand-in registers no command; that alone is not a failure.
        EXPECT_NE(run.out.find("the module registered no command"), std::string::npos) << run.out;
        EXPECT_NE(run.err.find("object provider"), std::string::npos) << run.err;
    }
}

TEST(CliTest, ShowWritesTheExampleBackUnchanged) {
    std::string copy = temporary("example.json");
    std::string example = std::string(ZINTARA_EXAMPLES_DIR) + "/scene-12.json";
    ToolRun run = runTool("show --project '" + example + "' --out '" + copy + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readText(copy), readText(example));
    EXPECT_NE(run.out.find("selection: /tracks/1/events/0 /tracks/0/events/1 /tracks/3/events/1"),
              std::string::npos)
        << run.out;
}

TEST(CliTest, SettingsFromTheCommandLineDecideTheRunAndTravelInTheFile) {
    std::string settings = temporary("settings.json");
    std::string saved = temporary("with-settings.json");
    std::remove(saved.c_str());
    {
        std::ofstream file(settings);
        file << R"({"markerType": "position", "targetTrackType": "new", "combineAdjacent": false,
                    "mappings": [{"source": "AudioScene", "target": "User:STR_MASceneNo"},
                                 {"source": "FreeText", "target": "MarkerDescription",
                                  "text": "Szene \u00e4"}]})";
    }
    nlohmann::json report = runJson("--settings '" + settings + "' --out '" + saved + "'");
    EXPECT_EQ(report["result"], 0);
    ASSERT_EQ(report["markerTracks"].size(), 2u) << "the demo's track and one new track";
    const auto& made = report["markerTracks"][1]["markers"];
    ASSERT_GT(made.size(), 0u);
    for (const auto& marker : made) {
        EXPECT_EQ(marker["kind"], "position");
        EXPECT_EQ(marker["description"], "Szene \xc3\xa4");
    }
    EXPECT_EQ(made[0]["attributes"]["User:STR_MASceneNo"], "12");
    nlohmann::json document = nlohmann::json::parse(readText(saved));
    EXPECT_EQ(document["attributes"]["CreateZintaraModelDataTargetTrackType"]["integer"], 1);
    EXPECT_EQ(document["attributes"]["CreateZintaraModelDataMappingSize"]["integer"], 2);

    std::ofstream(settings) << R"({"markerType": "diamond"})";
    ToolRun bad = runTool("run " + moduleArgument() + " --settings '" + settings + "'");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("/markerType"), std::string::npos) << bad.err;
}

TEST(CliTest, SkinExtractsTheModulesFilesAndNeverWritesOutsideTheFolder) {
    const std::string folder = temporary("skin");
    std::filesystem::remove_all(folder);
    ToolRun run = runTool("skin " + moduleArgument() + " --extract '" + folder + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(": 3 entries, digest "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("the skin is valid"), std::string::npos) << run.out;
    for (const char* name : {"icons-zintara.png", "icons-zintara_2.00x.png", "skin.xml"})
        EXPECT_EQ(readText(folder + "/" + name),
                  readText(std::string(ZINTARA_EXAMPLES_DIR) + "/../resource/" + name))
            << name;

    const std::string inner = folder + "/unsafe";
    std::filesystem::create_directories(inner);
    run = runTool("skin --module " + fakeModule("unsafe_skin") + " --extract '" + inner + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "zintara-host: refusing to write the entry named \"../escaped.txt\"\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "/escaped.txt"));
    EXPECT_TRUE(std::filesystem::is_empty(inner));
    std::filesystem::remove_all(folder);
}

TEST(CliTest, DialogShowsTheRenderedDialogAndTheExampleScriptPasses) {
    ToolRun dialog = runTool("dialog --json --lang de " + moduleArgument());
    ASSERT_EQ(dialog.status, 0) << dialog.err;
    nlohmann::json shown = nlohmann::json::parse(dialog.out);
    EXPECT_EQ(shown["title"], "Marker aus ausgewählten Events erzeugen");
    EXPECT_EQ(shown["problems"], nlohmann::json::array());
    EXPECT_EQ(shown["hostProblems"], nlohmann::json::array());

    ToolRun script = runTool("run --json " + moduleArgument() + " --script '" +
                             ZINTARA_EXAMPLES_DIR + "/dialog-session.json'");
    ASSERT_EQ(script.status, 0) << script.out << script.err;
    nlohmann::json report = nlohmann::json::parse(script.out);
    EXPECT_EQ(report["passed"], true);
    EXPECT_EQ(report["steps"].size(), 16u);
    EXPECT_EQ(report["hostProblems"], nlohmann::json::array());

    // --confirm presses ok in the rendered dialog.
    nlohmann::json confirmed = runJson("--command dialog --confirm");
    EXPECT_EQ(confirmed["result"], 0);
    EXPECT_GT(markerCount(confirmed), kDemoMarkers);
}

namespace {

std::string modulePath() {
    const char* path = std::getenv("ZINTARA_MODULE");
    return path ? path : "";
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

// A write that fails (here at a file-size limit) or an output that is one of the inputs never
// costs the user a file: the old content stays, and the status says why.
TEST(CliTest, OutputsNeverDestroyWhatWasThere) {
    const std::string project = temporary("keep.json");
    const std::string before = R"({"format": "zintara-project", "version": 1})";
    const std::string module = temporary("module-copy.so");
    ASSERT_EQ(std::system(("cp " + quoted(modulePath()) + " " + quoted(module)).c_str()), 0);
    const std::string moduleBytes = readText(module);
    const std::string withModule = "run --module " + quoted(module);
    const struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        // The demo project is larger than the 1 KiB the shell allows to be written.
        {"show --json --out " + quoted(project), 4, "the previous file is unchanged"},
        {"show --project " + quoted(project) + " --out " + quoted(project), 2, "an input"},
        {withModule + " --out " + quoted(module), 2, "an input"},
        {withModule + " --project " + quoted(project) + " --out " + quoted(project), 2, "an input"},
        {withModule + " --out ''", 2, "--out needs a file name"},
    };
    for (const auto& testCase : cases) {
        writeText(project, before);
        ToolRun run = runTool(testCase.arguments, "ulimit -f 2; ");
        EXPECT_EQ(run.status, testCase.status) << testCase.arguments << "\n" << run.err;
        // Under --json the error is on standard output.
        EXPECT_NE((run.out + run.err).find(testCase.message), std::string::npos)
            << testCase.arguments << "\n"
            << run.err;
        EXPECT_EQ(readText(project), before) << testCase.arguments;
        EXPECT_EQ(readText(module), moduleBytes) << testCase.arguments;
    }
}

// Hostile or mistaken input ends with the documented status and a message naming the fault,
// never with a signal, a hang or unbounded memory.
TEST(CliTest, BadInputEndsWithAStatusAndAMessage) {
    const std::string folder = temporary("inputs");
    std::system(("mkdir -p " + quoted(folder)).c_str());
    const std::string module = modulePath();
    const std::string truncated = folder + "/truncated.so";
    writeText(truncated, readText(module).substr(0, 4096));
    std::string flipped = readText(module);
    flipped[39] = '\x7f'; // e_phoff: the program headers now lie far beyond the file
    writeText(folder + "/flipped.so", flipped);
    writeText(folder + "/copy.so", readText(module));
    std::string deep = R"({"format": "zintara-project", "version": 1, "tracks": [)";
    for (int i = 0; i < 40; ++i)
        deep += R"({"kind": "folder-track", "children": [)";
    for (int i = 0; i < 40; ++i)
        deep += "]}";
    writeText(folder + "/deep.json", deep + "]}");
    writeText(folder + "/type2.json", R"({"markerType": 2})");
    writeText(folder + "/track7.json", R"({"targetTrackType": 7})");
    writeText(folder + "/twice.json", R"({"markerType": 0, "markerType": 1})");
    const std::string run = "run --module " + quoted(module);
    const struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"show --project /dev/zero", 2, "/dev/zero: is not a regular file"},
        {run + " --settings /dev/zero", 2, "/dev/zero: is not a regular file"},
        {"show --project " + quoted(folder + "/deep.json"), 2, "folder tracks nest deeper than 32"},
        {run + " --settings " + quoted(folder + "/type2.json"), 2,
         "at /markerType: the number 2 stands for no choice"},
        {run + " --settings " + quoted(folder + "/track7.json"), 2, "at /targetTrackType"},
        {run + " --settings " + quoted(folder + "/twice.json"), 2,
         "at /: duplicate member \"markerType\""},
        {"run --module " + quoted(truncated), 3, "is truncated"},
        {"run --module " + quoted(folder + "/flipped.so"), 3, "program headers"},
        {"skin --module " + quoted(truncated), 3, "is truncated"},
        {"run --module ''", 2, "--module needs a file name"},
        {run + " --confirm", 2, "--confirm has no effect here"},
        {"frobnicate", 2, "unknown command \"frobnicate\"; the commands are"},
        {"rn", 2, "unknown command \"rn\" (did you mean \"run\"?)"},
        {"Shwo", 2, "unknown command \"Shwo\" (did you mean \"show\"?)"},
    };
    for (const auto& testCase : cases) {
        ToolRun result = runTool(testCase.arguments);
        EXPECT_EQ(result.status, testCase.status) << testCase.arguments << "\n" << result.err;
        EXPECT_NE(result.err.find(testCase.message), std::string::npos)
            << testCase.arguments << "\n"
            << result.err;
    }
    // A bare file name is a file of the current folder, not one on the library path.
    EXPECT_EQ(runTool("run --module copy.so", "cd " + quoted(folder) + " && ").status, 0);
}

// Scripts get one JSON object, errors included; every marker says where it is and whether the
// run made it; text output ends with a summary.
TEST(CliTest, JsonOutputAndSummaryFollowTheToolsConventions) {
    nlohmann::json error = runJson("--project /nonexistent/song.json", 2);
    EXPECT_EQ(error["error"]["status"], 2);
    EXPECT_EQ(error["error"]["file"], "/nonexistent/song.json");
    nlohmann::json report = runJson("");
    const auto& markers = report["markerTracks"][0]["markers"];
    EXPECT_EQ(markers[0]["created"], false);
    EXPECT_EQ(markers[kDemoMarkers]["created"], true);
    EXPECT_EQ(markers[kDemoMarkers]["path"], "/tracks/4/markers/2");
    EXPECT_EQ(report["summary"],
              std::to_string(markerCount(report) - kDemoMarkers) + " markers created on 1 track");
    ToolRun text = runTool("run " + moduleArgument());
    EXPECT_NE(text.out.find("\n5 markers created on 1 track\n"), std::string::npos) << text.out;
    EXPECT_EQ(runTool("--version").out, "zintara-host 1.0.0\n");
    ToolRun unknown = runTool("run " + moduleArgument() + " --lang DE --json");
    EXPECT_NE(nlohmann::json::parse(unknown.out)["warnings"][0].get<std::string>().find(
                  "the module offers no language \"DE\" (did you mean \"de\"?)"),
              std::string::npos)
        << unknown.out;
    for (const char* offered : {"de", "xx"})
        EXPECT_TRUE(runJson(std::string("--lang ") + offered)["warnings"].empty()) << offered;
}

// Every step's line comes as the step ends, printable and honest about what the module got; a
// name path that matches several objects is refused, a pointer selects any object.
TEST(CliTest, ScriptStepsReportWhatHappenedAndSelectByPointer) {
    const std::string twins = temporary("twins.json");
    writeText(twins, R"({"format": "zintara-project", "version": 1, "tracks": [
        {"kind": "audio-track", "name": "A", "events": [{"kind": "audio-event", "name": "e", "start": 0, "end": 1}]},
        {"kind": "audio-track", "name": "A", "events": [{"kind": "audio-event", "name": "e", "start": 2, "end": 3}]}]})");
    const std::string dialog =
        R"({"do": "select", "objects": "all"}, {"do": "run", "command": "dialog"}, )";
    const std::string emoji = std::string(1022, 'a') + "\\ud83d\\ude00";
    const struct {
        std::string script;
        std::string options;
        int status;
        const char* output;
    } cases[] = {
        {R"({"do": "undo"})", "", 1, "step 1 (undo): refused: there is nothing to undo\n"},
        {R"({"do": "select", "objects": ["\u001b[31m\u0007"]})", "", 1,
         "no object \"\\x1b[31m\\x07\""},
        {dialog + R"({"do": "addRow"}, {"do": "source", "row": 3, "choose": "Free Text"},
            {"do": "type", "row": 3, "text": ")" +
             emoji + R"("}, {"do": "ok"})",
         "", 0, "(shortened by the module to its first 1022 of 1024 UTF-16 units)"},
        {dialog + R"({"do": "ok"})", "--json", 0,
         "\"markersMade\": 5,\n      \"message\": \"\\\"Create Markers From Selected "
         "Events...\\\": "
         "ResultOk, 5 markers made\",\n      \"moduleResult\": 0,\n      \"moduleResultText\": "
         "\"ResultOk (0x00000000)\""},
        {R"({"do": "select", "objects": ["A/e"]})", "--project " + quoted(twins), 1,
         "\"A/e\" names 2 objects (/tracks/0/events/0, /tracks/1/events/0)"},
        {R"({"do": "select", "objects": ["/tracks/1/events/0", "/tracks/0"]})",
         "--project " + quoted(twins), 0, "2 objects selected"},
        {R"({"do": "undo", "do": "store"})", "--json", 2,
         "\"place\": \"/0\",\n    \"problem\": \"duplicate member \\\"do\\\"\""},
    };
    const std::string script = temporary("script.json");
    for (const auto& testCase : cases) {
        writeText(script, "[" + testCase.script + "]");
        ToolRun run = runTool("run " + moduleArgument() + " --script " + quoted(script) + " " +
                              testCase.options);
        EXPECT_EQ(run.status, testCase.status) << testCase.script << "\n" << run.out << run.err;
        EXPECT_NE(run.out.find(testCase.output), std::string::npos) << testCase.script << "\n"
                                                                    << run.out << run.err;
    }
}

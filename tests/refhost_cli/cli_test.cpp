#include "refhost_cli/tool_run.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>

using namespace RefHostCliTest;
using testing::HasSubstr;

namespace {

std::string fakeArgument(const char* fault) {
    return "--module " + quoted(fakeModule(fault));
}

/// What a successful command reports; a report that is no JSON fails the test at its first lookup.
nlohmann::json runJson(const std::string& arguments, const std::string& command = "run") {
    ToolRun run = runTool(command + " --json " + moduleArgument() + " " + arguments);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    return nlohmann::json::parse(run.out, nullptr, false);
}

std::size_t markerCount(const nlohmann::json& report) {
    std::size_t count = 0;
    for (const auto& track : report["markerTracks"])
        count += track["markers"].size();
    return count;
}

/// The demo project holds two markers before any run.
constexpr std::size_t kDemoMarkers = 2;

/// Every file of the folder with a digest of its content.
std::map<std::string, std::size_t> filesIn(const std::string& folder) {
    std::map<std::string, std::size_t> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] =
            std::hash<std::string>()(readText(entry.path().string()));
    return files;
}

} // namespace

TEST(CliTest, InfoDescribesFactoryClassServiceResourcesAndDialogTexts) {
    EXPECT_EQ(runTool("--version").out, "zintara-host 1.0.0\nmodule " + modulePath() +
                                            " (the build's own module), version 1.0.0.79\n");
    ToolRun run = runTool("info --lang de " + moduleArgument());
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected :
         {".so (--module)\n  load address", "vendor          Brennovar",
          "flags           16 (class information in 16-bit text)", "[0] Zintara",
          "class id        {D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA}", "category        Service",
          "version         1.0.0.79", "16-bit record   the same texts", "initialize      ResultOk",
          "name \"Create Markers From Selected Events...\", flags 2",
          "\"Create Markers from Selected Events (with Current Settings)\"",
          "skin            skin.kxp (registered)", "Dialog texts (de)",
          "Add Markers -> Marker hinzuf\xc3\xbcgen"})
        EXPECT_THAT(run.out, HasSubstr(expected));
    EXPECT_EQ(run.out.find("not found"), std::string::npos) << run.out;
}

// Every marker says where it is and whether the run made it; text output ends with a summary.
TEST(CliTest, RunMakesOneMarkerPerSelectedRangeAsOneUndoableEdit) {
    nlohmann::json report = runJson("--undo");
    EXPECT_EQ(report["result"], 0);
    EXPECT_EQ(report["undoName"], "Create Markers from Events");
    EXPECT_EQ(report["problems"], nlohmann::json::array());
    EXPECT_EQ(report["undoRestored"], true);
    EXPECT_EQ(report["summary"], "5 markers created on 1 track");
    ASSERT_EQ(report["markerTracks"].size(), 1u);
    const auto& markers = report["markerTracks"][0]["markers"];
    ASSERT_EQ(markers.size(), kDemoMarkers + 5);
    EXPECT_EQ(markers[0]["created"], false);
    // The new markers are selected, and they are the whole selection.
    ASSERT_EQ(report["selection"].size(), 5u);
    for (std::size_t i = kDemoMarkers; i < markers.size(); ++i) {
        EXPECT_EQ(markers[i]["created"], true);
        EXPECT_EQ(markers[i]["selected"], true);
        EXPECT_EQ(markers[i]["kind"], "cycle");
    }
    EXPECT_EQ(markers[kDemoMarkers]["path"], "/tracks/4/markers/2");
    EXPECT_EQ(report["selection"][0]["kind"], "cycle-marker");
    EXPECT_EQ(report["selection"][0]["path"], "/tracks/4/markers/2");
    EXPECT_THAT(runTool("run " + moduleArgument()).out,
                HasSubstr("\n5 markers created on 1 track\n"));
}

// With nothing selected or a cancelled dialog the run makes no marker and still succeeds;
// --confirm presses ok in the rendered dialog.
TEST(CliTest, RunWithNothingSelectedOrACancelledDialogMakesNoMarkerAndStillSucceeds) {
    for (auto [arguments, available, result, made] :
         {std::tuple{"--select none", false, 1, 0u}, std::tuple{"--command dialog", true, 1, 0u},
          std::tuple{"--command dialog --confirm", true, 0, 5u}}) {
        SCOPED_TRACE(arguments);
        nlohmann::json report = runJson(arguments);
        EXPECT_EQ(report["available"], available);
        EXPECT_EQ(report["result"], result);
        EXPECT_EQ(markerCount(report), kDemoMarkers + made);
    }
}

TEST(CliTest, SavedProjectCarriesMarkersAndSettingsIntoTheNextRun) {
    std::string saved = temporary("saved.json");
    nlohmann::json first = runJson("--out '" + saved + "'");
    nlohmann::json document = nlohmann::json::parse(readText(saved));
    EXPECT_EQ(document["attributes"]["CreateZintaraModelDataMarkerType"]["integer"], 1);
    EXPECT_EQ(document["attributes"]["CreateZintaraModelDataCombineAdjancent"]["integer"], 1);
    nlohmann::json second = runJson("--select all --project '" + saved + "'");
    EXPECT_EQ(second["result"], 0);
    EXPECT_EQ(markerCount(second), 2 * markerCount(first) - kDemoMarkers);
}

// Show writes a project back unchanged, and lists one line per object with its texts escaped; a
// track has no place on the timeline.
TEST(CliTest, ShowWritesTheExampleBackUnchanged) {
    const std::string example = temporary("example.json");
    const std::string copy = temporary("copy.json");
    std::string text = readText(std::string(ZINTARA_EXAMPLES_DIR) + "/scene-12.json");
    writeText(example, text.replace(text.find("\"Dialogue\""), 10, "\"Dia\\nlogue\""));
    ToolRun run = runTool("show --project " + quoted(example) + " --out " + quoted(copy));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readText(copy), text);
    EXPECT_THAT(run.out,
                HasSubstr("selection: /tracks/1/events/0 /tracks/0/events/1 /tracks/3/events/1"));
    EXPECT_THAT(run.out,
                HasSubstr("\n  audio-track \"Dia\\nlogue\"\n    audio-event \"Sc12 T3\" start=2 "
                          "length=4.5 description="));
}

TEST(CliTest, SettingsFromTheCommandLineDecideTheRun) {
    const std::string settings = temporary("settings.json");
    writeText(settings, R"({"markerType": "position", "targetTrackType": "new",
        "combineAdjacent": false, "mappings": [
        {"source": "AudioScene", "target": "User:STR_MASceneNo"},
        {"source": "FreeText", "target": "MarkerDescription", "text": "Szene \u00e4"}]})");
    nlohmann::json report = runJson("--settings " + quoted(settings));
    EXPECT_EQ(report["result"], 0);
    ASSERT_EQ(report["markerTracks"].size(), 2u) << "the demo's track and one new track";
    const auto& made = report["markerTracks"][1]["markers"];
    ASSERT_GT(made.size(), 0u);
    for (const auto& marker : made) {
        EXPECT_EQ(marker["kind"], "position");
        EXPECT_EQ(marker["description"], "Szene \xc3\xa4");
    }
    EXPECT_EQ(made[0]["attributes"]["User:STR_MASceneNo"], "12");

    // A mistyped key is said once, though --check-fit reads the settings in every language.
    const std::string typoFile = writeText(
        settings, R"({"mappings": [{"source": "EventNmae", "target": "User:STR_MAComment"}]})");
    ToolRun typo = runTool("dialog --check-fit " + moduleArgument() + " --settings " + typoFile);
    EXPECT_EQ(typo.err, "zintara-host: warning: " + settings +
                            ": at /mappings/0/source: the module offers no source \"EventNmae\"; "
                            "it will drop the row\n");
}

TEST(CliTest, SkinExtractsTheModulesFilesAndNeverWritesOutsideTheFolder) {
    const std::string folder = temporary("skin");
    std::filesystem::remove_all(folder);
    ToolRun run = runTool("skin " + moduleArgument() + " --extract '" + folder + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr(": 3 entries, digest "));
    EXPECT_THAT(run.out, HasSubstr("the skin is valid"));
    for (const char* name : {"icons-zintara.png", "icons-zintara_2.00x.png", "skin.xml"})
        EXPECT_EQ(readText(folder + "/" + name),
                  readText(std::string(ZINTARA_EXAMPLES_DIR) + "/../resource/" + name))
            << name;

    const std::string inner = folder + "/unsafe";
    std::filesystem::create_directories(inner);
    run = runTool("skin " + fakeArgument("unsafe_skin") + " --extract '" + inner + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "zintara-host: refusing to write the entry named \"../escaped.txt\"\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "/escaped.txt"));
    EXPECT_TRUE(std::filesystem::is_empty(inner));
    std::filesystem::remove_all(folder);
}

TEST(CliTest, DialogShowsTheRenderedDialogAndTheExampleScriptPasses) {
    nlohmann::json shown = runJson("--lang de", "dialog");
    EXPECT_EQ(shown["title"], "Marker aus ausgewählten Events erzeugen");
    EXPECT_EQ(shown["problems"], nlohmann::json::array());
    EXPECT_EQ(shown["hostProblems"], nlohmann::json::array());

    nlohmann::json report =
        runJson("--script " + quoted(std::string(ZINTARA_EXAMPLES_DIR) + "/dialog-session.json"));
    EXPECT_EQ(report["passed"], true);
    EXPECT_EQ(report["steps"].size(), 16u);
    EXPECT_EQ(report["hostProblems"], nlohmann::json::array());
}

// No writer costs the user a file. An output that is an input of its command, by any name (a
// longer path, a hard link), is refused, and so are two outputs naming one file; a write that fails
// (here at a file-size limit) leaves the old file; either way the folder is as it was, without a
// temporary file, and the status says why.
TEST(CliTest, OutputsNeverDestroyWhatWasThere) {
    const std::string folder = temporary("writers");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string project = folder + "/keep.json";
    const std::string settings = folder + "/settings.json";
    // Named as an entry of its own skin, so that extracting the skin beside it would replace it.
    const std::string module = folder + "/skin.xml";
    writeText(project, R"({"format": "zintara-project", "version": 1})");
    writeText(settings, "{}");
    writeText(module, readText(modulePath()));
    std::filesystem::create_hard_link(project, folder + "/linked.json");
    const auto saveScript = [&](const std::string& name, const std::string& file) {
        return " --script " +
               writeText(folder + "/" + name, R"([{"do": "save", "file": ")" + file + R"("}])");
    };
    const std::string saveSelf = saveScript("self.json", folder + "/self-link.json");
    std::filesystem::create_hard_link(folder + "/self.json", folder + "/self-link.json");
    const std::string M = " --module " + quoted(module);
    const std::string P = " --project " + quoted(project);
    const std::string S = " --settings " + quoted(settings);
    const struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        // The demo project is larger than the 2 KiB the shell allows to be written.
        {"show --json --out " + quoted(project), 4, "the previous file is unchanged"},
        {"show" + P + " --out " + quoted(project), 2, "is the project"},
        {"show" + P + " --out " + quoted(folder + "/./keep.json"), 2, "is the project"},
        {"show" + P + " --out " + quoted(folder + "/linked.json"), 2, "is the project"},
        {"run" + M + " --out " + quoted(module), 2, "is the module"},
        {"run" + M + P + " --out " + quoted(project), 2, "is the project"},
        {"run" + M + S + " --out " + quoted(settings), 2, "is the settings file"},
        {"run" + M + " --out ''", 2, "--out needs a file name"},
        {"run" + M + " --timeline " + quoted(folder + "/page.html"), 4, "no file was left behind"},
        {"run" + M + " --timeline " + quoted(module), 2, "is the module"},
        {"run" + M + P + " --timeline " + quoted(folder + "/linked.json"), 2, "is the project"},
        {"run" + M + S + " --timeline " + quoted(settings), 2, "is the settings file"},
        {"run" + M + " --timeline ''", 2, "--timeline needs a file name"},
        {"run" + M + " --out " + quoted(folder + "/page.html") + " --timeline " +
             quoted(folder + "/./page.html"),
         2, "one would replace the other"},
        {"run" + M + saveScript("save-module.json", module), 4, "step 1 (save): refused"},
        {"run" + M + P + saveScript("save-project.json", project), 4, "is the project"},
        {"run" + M + S + saveScript("save-settings.json", settings), 4, "is the settings file"},
        {"run" + M + saveSelf, 4, "is the script"},
        {"dialog" + M + " --html " + quoted(module), 2, "is the module"},
        {"dialog" + M + P + " --html " + quoted(project), 2, "is the project"},
        {"dialog" + M + S + " --html " + quoted(settings), 2, "is the settings file"},
        {"skin" + M + " --extract " + quoted(folder), 2, "is the module"},
    };
    const auto before = filesIn(folder);
    for (const auto& testCase : cases) {
        ToolRun run = runTool(testCase.arguments, "ulimit -f 2; ");
        SCOPED_TRACE(testCase.arguments);
        EXPECT_EQ(run.status, testCase.status);
        // Under --json the error is on standard output.
        EXPECT_THAT(run.out + run.err, HasSubstr(testCase.message));
        EXPECT_EQ(filesIn(folder), before);
    }

    // Writing through a symbolic link replaces the file it leads to and keeps the link; the
    // file keeps its permissions; a name as long as the folder allows is written too.
    const std::string target = folder + "/target.json";
    writeText(target, "{}");
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(target, mode);
    std::filesystem::create_symlink("target.json", folder + "/link.json");
    const std::string longName = folder + "/" + std::string(250, 'n') + ".json";
    for (const std::string& out : {folder + "/link.json", longName})
        EXPECT_EQ(runTool("show --out " + quoted(out)).status, 0) << out;
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "/link.json"));
    EXPECT_EQ(readText(target), readText(longName));
    EXPECT_EQ(std::filesystem::status(target).permissions(), mode);
    std::filesystem::remove_all(folder);
}

// Under --json standard output is one JSON object and standard error stays empty, for every
// command and however it ends: an outcome with its warnings, or an error with its status.
TEST(CliTest, UnderJsonEveryCommandPrintsOneObjectAndNothingElse) {
    const auto file = [](const std::string& name, const std::string& text) {
        return writeText(temporary(name), text);
    };
    const std::string typo = file(
        "typo.json", R"({"mappings": [{"source": "EventNmae", "target": "MarkerDescription"}]})");
    const std::string twice = file("twice.json", R"({"mappings": [
        {"source": "EventName", "target": "MarkerDescription"},
        {"source": "Counter", "target": "MarkerDescription"}]})");
    const std::string selectAll = file("all.json", R"([{"do": "select", "objects": "all"}])");
    const std::string mod = moduleArgument();
    const std::string run = "run " + mod;
    const struct {
        std::string arguments;
        int status;
        const char* expected;
        /// How many warnings the outcome lists; -1 for an error.
        int warnings;
    } cases[] = {
        {"--version", 0, R"("chosen": "the build's own module",)", -1},
        {"info", 0, R"("moduleChosen": "the build's own module")", 0},
        {"frobnicate", 2, "unknown command", -1},
        {"info " + mod + " --lang zz", 0, "no language \\\"zz\\\"", 1},
        {"info " + fakeArgument("missing_exports"), 3, "does not export ExitDll", -1},
        {run + " --lang DE", 0, "(did you mean \\\"de\\\"?)", 1},
        {run + " --lang de", 0, R"("result": 0)", 0},
        {run + " --lang xx", 0, R"("result": 0)", 0},
        {"run " + fakeArgument("leaks_host_reference"), 1, "object provider", 0},
        {"run " + fakeArgument("releases_host_twice"), 1, "over-release", 0},
        {run + " --select some", 2, "--select", -1},
        {run + " --lang german", 2, "two-letter", -1},
        {"run " + fakeArgument("initialize_fails"), 3, "initialize", -1},
        // The factory part is shown although the service cannot start.
        {"info " + fakeArgument("initialize_fails"), 3, "Fake Service", -1},
        {run + " --project /nonexistent/song.json", 2, R"("file": "/nonexistent/song.json")", -1},
        {run + " --out /nonexistent/dir/out.json", 4, "cannot be written", 0},
        {run + " --timeline /nonexistent/dir/page.html", 4, "cannot be written", 0},
        {run + " --timeline " + quoted(temporary("page.html")), 0, R"("result": 0)", 0},
        {run + " --script " + selectAll + " --timeline page.html", 2, "has no effect", -1},
        {run + " --script " + selectAll + " --lang zz", 0, "no language", 1},
        {run + " --script " + file("undo.json", R"([{"do": "undo"}])"), 1, "nothing to undo", 0},
        {run + " --script " + file("cut.json", R"([{"do": "select",)"), 2,
         R"("problem": "syntax error while parsing object key)", -1},
        {run + " --script " + file("nowhere.json", R"([{"do": "save", "file": "/nonexistent/x"}])"),
         4, "cannot be written", 0},
        {"run " + fakeArgument("missing_exports") + " --script " + selectAll, 3,
         "does not export ExitDll", -1},
        {"show", 0, "6 tracks, 7 events and parts, 2 markers, 0 selected", -1},
        {"show --project /dev/zero", 2, "is not a regular file", -1},
        {"show --out /nonexistent/dir/out.json", 4, "cannot be written", -1},
        {"skin " + mod, 0, R"("valid": true)", -1},
        {"skin " + fakeArgument("unsafe_skin") + " --extract " + quoted(temporary("skin")), 1,
         "refusing to write", -1},
        {"skin --module /dev/zero", 3, "is not a regular file", -1},
        {"skin " + mod + " --extract /proc/zintara", 4, "cannot create", -1},
        {"validate " + mod + " --include exports --seed 18446744073709551615 --timeout 86400", 0,
         R"("passed": 1)", -1},
        {"validate --list", 0, "load-bind-now", -1},
        {"validate --level 1 --include entry-point-cycles " + fakeArgument("leaks_host_reference"),
         1, "leak", -1},
        {"validate --include bogus", 2, "no test is called \\\"bogus\\\"", -1},
        {"validate --module /dev/zero --include exports", 3, "is not a regular file", -1},
        {"dialog " + mod + " --settings " + typo, 0, "offers no source \\\"EventNmae\\\"", 1},
        // Each language is laid out from the same settings; their warning is given once.
        {"dialog " + mod + " --check-fit --settings " + typo, 1, "EventNmae", 1},
        {"dialog " + mod + " --html " + quoted(temporary("page.html")) + " --settings " + twice, 0,
         "is already the target of /mappings/0", 1},
        {"dialog " + fakeArgument("healthy"), 1, "not available", 0},
        {"dialog " + mod + " --settings /dev/zero", 2, "is not a regular file", -1},
        {"dialog " + fakeArgument("missing_exports"), 3, "does not export ExitDll", -1},
        {"dialog " + mod + " --html /nonexistent/dir/page.html", 4, "cannot be written", 0},
        {"dialog " + mod + " --host-behaviour all", 0, R"("hostProblems": [])", 0},
        {"dialog " + mod + " --host-behaviour echo,twice", 2, "unknown host behaviour", -1},
        {run + " --host-behaviour echo", 2, "has no effect", -1},
        {run + " --script " + selectAll + " --host-behaviour late-rebuild,double-click", 0,
         R"("passed": true)", 0},
        {"validate " + mod + " --level 1 --include dialog-host-behaviours --host-behaviour echo", 0,
         R"("passed": 1)", -1},
    };
    for (const auto& testCase : cases) {
        const ToolRun result = runTool(testCase.arguments + " --json");
        SCOPED_TRACE(testCase.arguments + "\n" + result.out);
        EXPECT_EQ(result.status, testCase.status);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out.find("[json.exception"), std::string::npos);
        EXPECT_THAT(result.out, HasSubstr(testCase.expected));
        const auto outcome = nlohmann::json::parse(result.out, nullptr, false);
        ASSERT_TRUE(outcome.is_object());
        if (testCase.warnings >= 0) {
            EXPECT_EQ(outcome["warnings"].size(), std::size_t(testCase.warnings));
        }
    }
}

// Hostile or mistaken input ends with the documented status and a message naming the fault,
// never with a signal, a hang or unbounded memory.
TEST(CliTest, BadInputEndsWithAStatusAndAMessage) {
    const std::string folder = temporary("inputs");
    std::filesystem::create_directories(folder);
    const std::string module = modulePath();
    const auto file = [&](const std::string& name, const std::string& text) {
        return writeText(folder + "/" + name, text);
    };
    const std::string truncated = file("truncated.so", readText(module).substr(0, 4096));
    std::string flipped = readText(module);
    flipped[39] = '\x7f'; // e_phoff: the program headers now lie far beyond the file
    file("copy.so", readText(module));
    std::filesystem::remove(folder + "/fifo");
    ASSERT_EQ(mkfifo((folder + "/fifo").c_str(), 0600), 0);
    const std::string run = "run --module " + quoted(module);
    const struct {
        std::string arguments;
        int status;
        std::string message;
    } cases[] = {
        {"show --project /dev/zero", 2, "/dev/zero: is not a regular file"},
        {run + " --settings /dev/zero", 2, "/dev/zero: is not a regular file"},
        {run + " --project " + file("audio.json", R"({"format": "zintara-project", "version": 1,
            "tracks": [{"kind": "audio", "name": "A"}]})"),
         2, folder + "/audio.json: at /tracks/0/kind: unknown kind \"audio\"\n"},
        {run + " --settings " + file("type2.json", R"({"markerType": 2})"), 2,
         "at /markerType: the number 2 stands for no choice"},
        {run + " --settings " + file("twice.json", R"({"markerType": 0, "markerType": 1})"), 2,
         "at /: duplicate member \"markerType\""},
        {"run --module " + truncated, 3, "is truncated"},
        {"run --module " + file("flipped.so", flipped), 3, "program headers"},
        {"skin --module " + truncated, 3, "is truncated"},
        {"run --module ''", 2, "--module needs a file name"},
        {"validate --module ''", 2, "--module needs a file name"},
        {"validate --include exports --module " + quoted(folder + "/fifo"), 3,
         "is not a regular file"},
        {"validate --in-process --include exports --module " + quoted(folder + "/fifo"), 3,
         "is not a regular file"},
        {"validate --seed -1", 2, "--seed takes a whole number"},
        {"validate --seed 18446744073709551616", 2, "--seed takes"},
        {"validate --seed 99999999999999999999999", 2, "--seed takes"},
        {"validate --seed ''", 2, "--seed takes"},
        {"validate --timeout 1e20", 2, "--timeout takes seconds from 0.1 to 86400"},
        {"validate --timeout 1e300", 2, "--timeout takes"},
        {"validate --timeout nan", 2, "--timeout takes"},
        {"validate --timeout 0", 2, "--timeout takes"},
        {"validate --timeout -5", 2, "--timeout takes"},
        {run + " --confirm", 2, "--confirm has no effect here"},
        {"frobnicate", 2, "unknown command \"frobnicate\"; the commands are"},
        {"rn", 2, "unknown command \"rn\" (did you mean \"run\"?)"},
        {"Shwo", 2, "unknown command \"Shwo\" (did you mean \"show\"?)"},
    };
    for (const auto& testCase : cases) {
        ToolRun result = runTool(testCase.arguments);
        SCOPED_TRACE(testCase.arguments + "\n" + result.out + result.err);
        EXPECT_EQ(result.status, testCase.status);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("zintara-host: ", 0), 0u);
        EXPECT_THAT(result.err, HasSubstr(testCase.message));
    }
    // A bare file name is a file of the current folder, not one on the library path.
    EXPECT_EQ(runTool("run --module copy.so", "cd " + quoted(folder) + " && ").status, 0);
}

// Every step's line comes as the step ends, printable and honest about what the module got; a
// name path that matches several objects is refused, a pointer selects any object.
TEST(CliTest, ScriptStepsReportWhatHappenedAndSelectByPointer) {
    const std::string twins = writeText(temporary("twins.json"),
                                        R"({"format": "zintara-project", "version": 1, "tracks": [
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
        {R"({"do": "select", "objects": ["A/e"]})", "--project " + twins, 1,
         "\"A/e\" names 2 objects (/tracks/0/events/0, /tracks/1/events/0)"},
        {R"({"do": "select", "objects": ["/tracks/1/events/0", "/tracks/0"]})",
         "--project " + twins, 0, "2 objects selected"},
        {R"({"do": "undo", "do": "store"})", "--json", 2,
         "\"place\": \"/0\",\n    \"problem\": \"duplicate member \\\"do\\\"\""},
    };
    for (const auto& testCase : cases) {
        const std::string script = writeText(temporary("script.json"), "[" + testCase.script + "]");
        ToolRun run =
            runTool("run " + moduleArgument() + " --script " + script + " " + testCase.options);
        SCOPED_TRACE(testCase.script + "\n" + run.out + run.err);
        EXPECT_EQ(run.status, testCase.status);
        EXPECT_THAT(run.out, HasSubstr(testCase.output));
    }
}

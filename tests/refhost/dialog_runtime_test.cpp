#include "frontend/module_in_host.h"
#include "refhost/dialog/dialog_runtime.h"
#include "refhost/dialog/dialog_state_report.h"
#include "refhost/files/project_file.h"
#include "refhost/files/settings_file.h"
#include "refhost/script/script_runner.h"
#include "support/controller_user.h"

#include <gmock/gmock.h>
#include <tuple>

namespace Brennovar::Testing {
namespace {

using RefHost::DialogRuntime;
using RefHost::ScriptReport;
using RefHost::StepOutcome;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using json = nlohmann::json;

constexpr const char* kOneRow =
    R"({"markerType": "cycle", "combineAdjacent": false, "mappings": [{"source": "EventName", "target": "MarkerDescription"}]})";

class DialogRuntimeTest : public ModuleInHost {
protected:
    RefHost::Project& open(const std::string& settings = kOneRow, bool starting = true) {
        EXPECT_TRUE(!starting || start());
        RefHost::Project& project = songWithEvents();
        RefHost::SettingsFile::applyText(settings, "settings", project);
        host.openProject(project);
        return project;
    }
    ScriptReport play(RefHost::Project& project, const std::string& script) {
        return RefHost::ScriptRunner(host, project, {})
            .run(RefHost::SessionScript::parse(script, "script"));
    }
};

const json* control(const json& controls, const std::string& name) {
    for (const json& item : controls) {
        if (item.value("name", "") == name)
            return &item;
        if (item.contains("controls"))
            if (const json* found = control(item["controls"], name))
                return found;
    }
    return nullptr;
}

std::vector<std::string> titles(const json& items, bool disabledOnly = false) {
    std::vector<std::string> result;
    for (const json& item : items)
        if (!disabledOnly || !item["enabled"].get<bool>())
            result.push_back(item["title"]);
    return result;
}

TEST_F(DialogRuntimeTest, MenusShowTheCatalogueWithUsedTargetsDisabled) {
    RefHost::Project& project = open(R"({"mappings": [
        {"source": "EventName", "target": "MarkerDescription"},
        {"source": "TrackName", "target": "User:STR_MAComment"}]})");
    const ScriptReport report = play(project, R"([{"do": "run", "command": "dialog"},
        {"do": "show"}, {"do": "cancel"}])");
    const json& state = report.steps.at(0).shownJson;
    EXPECT_TRUE(state["problems"].empty()) << state["problems"];
    const json& source = control(state["controls"], "selectSourceAttribute")->at("menu");
    EXPECT_THAT(titles(source), ::testing::ElementsAre(
                                    "-", "Free Text", "Counter", "Project Name", "Track Name",
                                    "Event Name", "Event Description", "Media", "Audio - Assets"));
    EXPECT_EQ(source[7]["items"].size(), 34u);
    EXPECT_EQ(source[8]["items"].size(), 20u);
    const json& target = control(state["controls"], "selectTargetAttribute")->at("menu");
    EXPECT_EQ(target.size(), 24u);
    EXPECT_EQ(target[0]["title"], "-");
    EXPECT_THAT(titles(target, true), ::testing::ElementsAre("Description", "Comment"));
    EXPECT_EQ(state["buttons"][0]["title"], "Add Markers");
}

// A confirmed dialog is used by its own run and by a later run with the current settings.
TEST_F(DialogRuntimeTest, AConfirmedScriptMakesMarkersCarryingTheTypedText) {
    RefHost::Project& project = open();
    ScriptReport report = play(project, R"([{"do": "run", "command": "dialog"},
        {"do": "markerType", "choose": "Position"}, {"do": "addRow"},
        {"do": "source", "row": 2, "choose": "Free Text"},
        {"do": "type", "row": 2, "text": "Take from the script"},
        {"do": "target", "row": 2, "choose": "Comment"}, {"do": "ok"},
        {"do": "select", "objects": "all"}, {"do": "run", "command": "current"}])");
    ASSERT_TRUE(report.passed()) << report.text();
    // The run that opened the dialog ends after the dialog's steps.
    EXPECT_EQ(report.steps[6].number, 1u);
    EXPECT_THAT(report.steps[6].message, HasSubstr("ResultOk, 3 markers made"));
    const RefHost::ProjectState state = host.state();
    auto tracks = state.markerTracks();
    ASSERT_EQ(tracks.size(), 1u);
    ASSERT_EQ(tracks[0]->children.size(), 6u);
    for (const RefHost::ObjectState& marker : tracks[0]->children) {
        EXPECT_EQ(marker.kind, "position-marker");
        EXPECT_EQ(marker.attributes.at("User:STR_MAComment").text, "Take from the script");
    }
}

// Cancel, and a dialog that fails after the user's edits, restore everything the dialog changed.
TEST_F(DialogRuntimeTest, ACancelledOrFailedDialogLeavesTheStoredSettingsByteIdentical) {
    RefHost::Project& project = open();
    host.storeProject();
    const std::string before = RefHost::ProjectFile::write(project);
    ScriptReport report = play(project, R"([{"do": "run", "command": "dialog"},
        {"do": "markerType", "choose": "Position"}, {"do": "combine"},
        {"do": "targetTrack", "choose": "New Marker Track"}, {"do": "addRow"},
        {"do": "source", "row": 2, "choose": "Free Text"}, {"do": "type", "row": 2, "text": "gone"},
        {"do": "deleteRow", "row": 1}, {"do": "cancel"}, {"do": "store"}])");
    ASSERT_TRUE(report.passed()) << report.text();
    EXPECT_EQ(RefHost::ProjectFile::write(project), before);

    ControllerUser user(host.environment());
    host.dialogService().setDialogRunner([&](const char*, IPlugController* dialog) {
        user.parameter(*dialog, "markerType").userSetValue(0);
        user.parameter(*dialog, "addAttributeMapping").userSetValue(1);
        user.parameter(user.row(*dialog, 0), "deleteAttribute").userSetValue(1);
        return ResultFailed;
    });
    EXPECT_EQ(host.runCommand(kDialogCommand).result, ResultFalse);
    host.storeProject();
    EXPECT_EQ(RefHost::ProjectFile::write(project), before);
}

TEST_F(DialogRuntimeTest, StepsAPersonCouldNotDoAreRefusedAndStopTheScript) {
    std::string eightRows = R"({"do": "run", "command": "dialog"})";
    for (int row = 2; row <= 9; ++row) // the last one is refused
        eightRows += R"(, {"do": "addRow"})";
    const std::pair<const char*, const char*> cases[] = {
        {R"({"do": "undo"})", "there is nothing to undo"},
        {R"({"do": "addRow"})", "no dialog is open"},
        {R"({"do": "run", "command": "dialog"}, {"do": "undo"})", "the dialog is open"},
        {R"({"do": "run", "command": "dialog"}, {"do": "source", "row": 1, "choose": "Nope"})",
         "the source menu of row 1 has no item \"Nope\""},
        {R"({"do": "run", "command": "dialog"}, {"do": "source", "row": 1, "choose": ["Nowhere", "Take"]})",
         "the source menu of row 1 has no sub-menu \"Nowhere\""},
        {R"({"do": "run", "command": "dialog"}, {"do": "target", "row": 1, "choose": "Description"})",
         "the item \"Description\" is disabled in the target menu of row 1"},
        {R"({"do": "run", "command": "dialog"}, {"do": "type", "row": 1, "text": "x"})",
         "the dialog does not show the text field of row 1"},
        {R"({"do": "run", "command": "dialog"}, {"do": "deleteRow", "row": 2})",
         "there is no row 2 (the dialog shows 1)"},
        {R"({"do": "run", "command": "dialog"}, {"do": "targetTrack", "choose": "Elsewhere"})",
         "has no entry \"Elsewhere\""},
        {eightRows.c_str(), "the add button is disabled (the dialog shows 8 rows)"},
        {R"({"do": "select", "objects": ["Dialog/Take 9"]})", "no object \"Dialog/Take 9\""},
        {R"({"do": "select", "objects": "none"}, {"do": "run", "command": "dialog"})",
         "is not available now"},
    };
    RefHost::Project& project = open();
    for (const auto& [shownSteps, refusal] : cases) {
        SCOPED_TRACE(shownSteps);
        const std::string steps = std::string("[") + shownSteps;
        ScriptReport report = play(project, steps + R"(, {"do": "cancel"}])");
        ASSERT_EQ(report.steps.size(), report.steps.back().number);
        auto refused = std::find_if(report.steps.begin(), report.steps.end(), [](auto& step) {
            return step.result == StepOutcome::Result::kRefused;
        });
        ASSERT_NE(refused, report.steps.end()) << report.text();
        EXPECT_EQ(refused->number, report.steps.size() - 1);
        EXPECT_THAT(refused->message, HasSubstr(refusal));
        EXPECT_EQ(report.steps.back().result, StepOutcome::Result::kSkipped);
        EXPECT_FALSE(report.passed());
        // The same step stated as expected to be refused lets the script go on.
        std::string expected = steps.substr(0, steps.size() - 1) + R"(, "expect": "refused"})";
        EXPECT_TRUE(play(project, expected + "]").passed()) << expected;
    }
}

// However the host reports and rebuilds, each press acts once, on the row the user clicked, and
// the module's own settings of its parameters change nothing.
TEST_F(DialogRuntimeTest, UnderEveryHostBehaviourAPressActsOnceOnTheRowTheUserClicked) {
    constexpr const char* kThreeRows = R"({"mappings": [
        {"source": "EventName", "target": "MarkerDescription"},
        {"source": "TrackName", "target": "User:STR_MAComment"},
        {"source": "Counter", "target": "User:STR_MAReel"}]})";
    const std::tuple<const char*, const char*, std::vector<std::string>> cases[] = {
        {"echo",
         R"({"do": "deleteRow", "row": 2}, {"do": "addRow"},
            {"do": "source", "row": 3, "choose": "Free Text"},
            {"do": "type", "row": 3, "text": "echoed"})",
         {"Event Name", "Counter", "Free Text"}},
        // The second press reaches the controller of the row the dialog still shows as row 2.
        {"late-rebuild",
         R"({"do": "deleteRow", "row": 2}, {"do": "deleteRow", "row": 2, "expect": "refused"},
            {"do": "source", "row": 1, "choose": "Counter", "expect": "refused"}, {"do": "wait"},
            {"do": "deleteRow", "row": 2})",
         {"Event Name"}},
        {"double-click",
         R"({"do": "deleteRow", "row": 2}, {"do": "addRow"})",
         {"Event Name", "Counter", "-", "-"}},
        {"immediate-rebuild",
         R"({"do": "deleteRow", "row": 2}, {"do": "deleteRow", "row": 2},
            {"do": "source", "row": 1, "choose": "Counter"})",
         {"Counter"}},
        {"all",
         R"({"do": "deleteRow", "row": 1}, {"do": "wait"}, {"do": "addRow"})",
         {"Track Name", "Counter", "-", "-"}},
    };
    ASSERT_TRUE(start());
    for (const auto& [behaviours, steps, expected] : cases) {
        SCOPED_TRACE(behaviours);
        host.environment().behaviours() = RefHost::HostBehaviours::parse(behaviours);
        RefHost::Project& project = open(kThreeRows, false);
        ScriptReport report =
            play(project, std::string(R"([{"do": "run", "command": "dialog"},)") + steps +
                              R"(, {"do": "wait"}, {"do": "show"}, {"do": "ok"}])");
        EXPECT_TRUE(report.passed()) << report.text();
        std::vector<std::string> sources;
        const auto show = std::find_if(report.steps.begin(), report.steps.end(),
                                       [](const StepOutcome& step) { return step.kind == "show"; });
        ASSERT_NE(show, report.steps.end());
        for (const json& row : show->shownJson["controls"])
            if (row.contains("row"))
                sources.push_back(
                    control(row["controls"], "selectSourceAttribute")->value("shows", ""));
        EXPECT_EQ(sources, expected) << report.text();
        EXPECT_THAT(host.environment().problems(), ::testing::IsEmpty());
    }
}

TEST_F(DialogRuntimeTest, ASkinTheControllerDoesNotMatchIsReportedAsProblems) {
    open();
    std::vector<std::string> problems;
    const auto skin = RefHost::SkinDocument::parse(R"(<skin><template name="Broken">
        <option-menu name="noSuchParameter"/><view name="NoSuchTemplate"/>
        <symbol name="asNoIcon"/><for variable="[i]" range="3"/>
        <controller name="AttributeMappingViewController[i]"/></template></skin>)");
    host.runCommand(kDialogCommand, "Project", [&](DialogRuntime& shown) {
        DialogRuntime broken(skin, host.environment(), host.translationService());
        EXPECT_FALSE(broken.open("Missing", shown.root()->context.controller));
        EXPECT_TRUE(broken.open("Broken", shown.root()->context.controller));
        problems = broken.problems();
    });
    EXPECT_THAT(problems,
                ::testing::ElementsAre(
                    "the skin has no template \"Missing\"",
                    "template \"Broken\" line 2: option-menu \"noSuchParameter\": the controller "
                    "has no parameter of that name",
                    "template \"Broken\" line 2: the skin has no template \"NoSuchTemplate\"",
                    "template \"Broken\" line 3: symbol: no atlas section \"asNoIcon\"",
                    "template \"Broken\" line 3: for: the range \"3\" is not \"first,end\" with at "
                    "most 1000 steps"));
}

TEST(SkinDocumentTest, MalformedSkinsAreRefusedWithTheirPlace) {
    const std::pair<const char*, const char*> cases[] = {
        {"<skin><template name=\"a\"></skin>", "line 1: mismatched tag"},
        {"<skins/>", "the root element is <skins>, not <skin>"},
        {"<skin>\n<template name=\"a\"/>\n<template name=\"a\"/></skin>",
         "line 3: a second template named \"a\""},
        {"", "line 1: no element found"},
    };
    for (const auto& [xml, error] : cases)
        EXPECT_THAT([&] { RefHost::SkinDocument::parse(xml); },
                    ::testing::Throws<RefHost::HostError>(
                        ::testing::Property(&RefHost::HostError::problem, error)))
            << xml;
}

// Errors name the file, the place and the problem, as those of project files do.
TEST(SessionScriptTest, BadScriptsNameTheStepAndThePlace) {
    using namespace std::string_literals;
    const std::pair<std::string, const char*> cases[] = {
        {"{}", "s: at /: a script is a JSON list of steps"},
        {"[{\"do\": \"fly\"}]", "s: at /0/do: step 1: unknown step \"fly\"; the steps are select"},
        {"[{\"do\": \"ok\"}, {\"do\": \"source\", \"row\": 0, \"choose\": \"-\"}]",
         "s: at /1/row: step 2: \"row\" must be a row number counted from 1"},
        {"[{\"do\": \"addRow\", \"row\": 1}]", "s: at /0/row: step 1: a \"addRow\" step takes no"},
        {"[{\"do\": \"run\", \"command\": \"all\"}]", "s: at /0/command: step 1: the command is"},
        {"[{\"do\": \"ok\", \"expect\": \"done\"}]", "at /0/expect: step 1: the only expectation"},
        {"[{\"do\": \"markerType\", \"choose\": [\"a\", \"b\"]}]", "\"choose\" is one text here"},
        {"[{\"do\": \"undo\", \"do\": \"store\"}]", "s: at /0: duplicate member \"do\""},
        {"[{\"do\": \"store\"}]\0[{\"do\": \"x\"}]"s, "s:1:18: a NUL byte, which JSON text"},
        {"[{\"do\": \"type\", \"row\": 1, \"text\": \"ab\\u0000cd\"}]",
         "s: at /0/text: step 1: a text may not contain the character U+0000"},
        {"[{\"do\": \"select\", \"objects\": [\"a\", \"b\\u0000\"]}]", "at /0/objects/1: step 1"},
        {"[{\"do\": \"undo\"", "s:1:14: syntax error while parsing object - unexpected end"},
    };
    for (const auto& [text, error] : cases)
        EXPECT_THAT([&] { RefHost::SessionScript::parse(text, "s"); },
                    ::testing::ThrowsMessage<RefHost::FileError>(
                        AllOf(HasSubstr(error), Not(HasSubstr("json.exception")))))
            << text;
}

} // namespace
} // namespace Brennovar::Testing

#include "refhost/script/script_runner.h"

#include "module/module_names.h"
#include "refhost/core/text_conversion.h"
#include "refhost/dialog/dialog_runtime.h"
#include "refhost/dialog/dialog_state_report.h"
#include "refhost/dialog/dialog_user.h"
#include "refhost/files/project_file.h"
#include "refhost/host/host.h"
#include "refhost/project/project_object.h"

#include <optional>
#include <unordered_map>

namespace Brennovar::RefHost {

namespace {

using Zintara::Names::kCommandCategory;
using Zintara::Names::kCurrentSettingsCommand;
using Zintara::Names::kDialogCommand;

using Result = StepOutcome::Result;

StepOutcome outcome(bool done, std::string message) {
    StepOutcome result;
    result.result = done ? Result::kDone : Result::kRefused;
    result.message = std::move(message);
    return result;
}

std::size_t countMarkers(const ProjectObject& object) {
    std::size_t count =
        object.kind() == ObjectKind::kPositionMarker || object.kind() == ObjectKind::kCycleMarker;
    for (const ProjectObject* child : object.children())
        count += countMarkers(*child);
    return count;
}

// The object a JSON pointer of the project's document names ("/tracks/0/events/1"); null when
// it names none.
ProjectObject* atPointer(ProjectObject& root, std::string_view pointer) {
    ProjectObject* at = &root;
    while (!pointer.empty()) {
        // "/member/index": the member is checked against the found object's pointer below.
        const std::size_t slash = pointer.find('/', 1);
        const std::size_t next =
            slash == std::string_view::npos ? pointer.size() : pointer.find('/', slash + 1);
        if (slash == std::string_view::npos)
            return nullptr;
        const std::string_view digits =
            pointer.substr(slash + 1, std::min(next, pointer.size()) - slash - 1);
        std::size_t index = 0;
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string_view::npos)
            return nullptr;
        for (char digit : digits)
            index = index * 10 + static_cast<std::size_t>(digit - '0');
        if (index >= at->children().size())
            return nullptr;
        at = at->children()[index];
        pointer = next == std::string_view::npos ? std::string_view() : pointer.substr(next);
    }
    return at;
}

// Every object of the project under its path of names ("Dialog/Take 1"), from the top-level
// tracks down, built in one walk so that selecting many objects by name takes linear time.
class NamePaths {
public:
    explicit NamePaths(ProjectObject& root) {
        std::vector<std::pair<ProjectObject*, std::string>> pending{{&root, std::string()}};
        while (!pending.empty()) {
            auto [object, path] = std::move(pending.back());
            pending.pop_back();
            // Last child first onto the stack, so that matches are listed in document order.
            const auto& children = object->children();
            for (auto child = children.rbegin(); child != children.rend(); ++child) {
                std::string childPath =
                    (object == &root ? "" : path + "/") + utf8((*child)->name());
                pending.emplace_back(*child, childPath);
            }
            if (object != &root)
                paths_[path].push_back(object);
        }
    }

    const std::vector<ProjectObject*>* find(const std::string& path) const {
        auto found = paths_.find(path);
        return found == paths_.end() ? nullptr : &found->second;
    }

private:
    std::unordered_map<std::string, std::vector<ProjectObject*>> paths_;
};

} // namespace

std::string StepOutcome::line() const {
    std::string text = "step " + std::to_string(number) + " (" + kind + "): " + resultName();
    if (!message.empty())
        text += ": " + message;
    return text;
}

const char* StepOutcome::resultName() const noexcept {
    switch (result) {
    case Result::kDone:
        return "done";
    case Result::kRefused:
        return "refused";
    case Result::kRefusedAsExpected:
        return "refused as expected";
    case Result::kDoneUnexpectedly:
        return "done, but expected to be refused";
    case Result::kSkipped:
        return "skipped";
    }
    return "?";
}

bool ScriptTally::passed() const noexcept {
    return counts_[static_cast<int>(Result::kRefused)] == 0 &&
           counts_[static_cast<int>(Result::kDoneUnexpectedly)] == 0 &&
           counts_[static_cast<int>(Result::kSkipped)] == 0;
}

std::string ScriptTally::summary() const {
    std::size_t total = 0;
    for (std::size_t count : counts_)
        total += count;
    std::string text = std::to_string(total) + " steps: " + std::to_string(counts_[0]) + " done, " +
                       std::to_string(counts_[2]) + " refused as expected";
    const char* others[] = {nullptr, "refused", nullptr, "done but expected to be refused",
                            "skipped"};
    for (int result : {1, 3, 4})
        if (counts_[result])
            text += ", " + std::to_string(counts_[result]) + " " + others[result];
    return text;
}

std::string ScriptReport::text() const {
    std::string text;
    for (const StepOutcome& step : steps)
        text += step.line() + "\n" + step.shown;
    return text + tally.summary() + "\n";
}

ScriptTally ScriptRunner::run(const std::vector<ScriptStep>& steps, const StepSink& sink) {
    {
        const DialogService::DriverScope scope(host_.dialogService(), dialogDriver(steps, &sink));
        while (next_ < steps.size() && !stopped_) {
            const std::size_t number = ++next_;
            end(perform(steps[number - 1], nullptr), steps[number - 1], number);
        }
    }
    for (; next_ < steps.size(); ++next_) {
        StepOutcome skipped;
        skipped.number = next_ + 1;
        skipped.kind = steps[next_].kind;
        tally_.add(skipped);
        sink(std::move(skipped));
    }
    return tally_;
}

ScriptReport ScriptRunner::run(const std::vector<ScriptStep>& steps) {
    ScriptReport report;
    report.tally =
        run(steps, [&report](StepOutcome&& step) { report.steps.push_back(std::move(step)); });
    return report;
}

std::function<void(DialogRuntime&)> ScriptRunner::dialogDriver(const std::vector<ScriptStep>& steps,
                                                               const StepSink* sink) {
    steps_ = &steps;
    sink_ = sink;
    next_ = 0;
    stopped_ = false;
    tally_ = {};
    return [this](DialogRuntime& runtime) { playDialog(runtime); };
}

void ScriptRunner::playDialog(DialogRuntime& runtime) {
    DialogUser user(runtime);
    while (!runtime.closed() && !stopped_ && next_ < steps_->size()) {
        const std::size_t number = ++next_;
        end(perform((*steps_)[number - 1], &user), (*steps_)[number - 1], number);
    }
}

void ScriptRunner::end(StepOutcome outcome, const ScriptStep& step, std::size_t number) {
    outcome.number = number;
    outcome.kind = step.kind;
    if (step.expectRefused)
        outcome.result = outcome.result == Result::kRefused ? Result::kRefusedAsExpected
                                                            : Result::kDoneUnexpectedly;
    if (outcome.result == Result::kRefused || outcome.result == Result::kDoneUnexpectedly)
        stopped_ = true;
    tally_.add(outcome);
    if (sink_ && *sink_)
        (*sink_)(std::move(outcome));
}

StepOutcome ScriptRunner::perform(const ScriptStep& step, DialogUser* user) {
    if (step.inDialog() && !user)
        return outcome(false, "no dialog is open (run the dialog command first)");
    if (!step.inDialog() && user)
        return outcome(false, "the dialog is open: press ok or cancel first");
    return user ? dialogStep(step, *user) : hostStep(step);
}

StepOutcome ScriptRunner::hostStep(const ScriptStep& step) {
    if (step.kind == "select")
        return select(step);
    if (step.kind == "run")
        return runCommand(step);
    if (step.kind == "undo")
        return host_.undo() ? outcome(true, "the last edit was undone")
                            : outcome(false, "there is nothing to undo");
    if (!host_.storeProject())
        return outcome(false, "no project is open");
    if (step.kind == "store")
        return outcome(true, "the project was stored (the module wrote its settings)");
    try {
        ProjectFile::save(project_, step.text, inputs_);
    } catch (const FileError& e) {
        if (!step.expectRefused)
            tally_.noteOutputFailed();
        return outcome(false, e.what());
    }
    return outcome(true, "the project was stored and saved to " + step.text);
}

StepOutcome ScriptRunner::dialogStep(const ScriptStep& step, DialogUser& user) {
    UserAction action;
    if (step.kind == "markerType")
        action = user.chooseMarkerType(step.choose.front());
    else if (step.kind == "targetTrack")
        action = user.chooseTargetTrack(step.choose.front());
    else if (step.kind == "combine")
        action = user.toggleCombine();
    else if (step.kind == "addRow")
        action = user.addRow();
    else if (step.kind == "source")
        action = user.chooseSource(step.row, step.choose);
    else if (step.kind == "target")
        action = user.chooseTarget(step.row, step.choose);
    else if (step.kind == "type")
        action = user.typeText(step.row, step.text);
    else if (step.kind == "deleteRow")
        action = user.deleteRow(step.row);
    else if (step.kind == "ok" || step.kind == "cancel")
        action = user.press(step.kind);
    else if (step.kind == "wait") {
        user.runtime().pause();
        return outcome(true, "the user paused; the host rebuilt the views whose parameters "
                             "changed");
    } else {
        StepOutcome shown = outcome(true, "");
        shown.shownJson = DialogStateReport::capture(user.runtime());
        shown.shown = DialogStateReport::text(shown.shownJson);
        return shown;
    }
    return outcome(action.done, std::move(action.message));
}

StepOutcome ScriptRunner::runCommand(const ScriptStep& step) {
    const char* name = step.command == "dialog" ? kDialogCommand : kCurrentSettingsCommand;
    const std::size_t markersBefore = countMarkers(project_.root());
    const std::size_t dialogsBefore = host_.dialogService().dialogRuns().size();
    const CommandRun run = host_.runCommand(name, kCommandCategory);
    if (!run.found)
        return outcome(false, std::string("the host has no command \"") + name + "\"");
    if (!run.available)
        return outcome(false, std::string("\"") + name +
                                  "\" is not available now (the module declines it when no "
                                  "event is selected)");
    const std::size_t made = countMarkers(project_.root()) - markersBefore;
    std::string message = std::string("\"") + name +
                          "\": " + (run.result == ResultOk ? "ResultOk, " : "not confirmed, ") +
                          std::to_string(made) + (made == 1 ? " marker made" : " markers made");
    const auto& dialogs = host_.dialogService().dialogRuns();
    for (std::size_t i = dialogsBefore; i < dialogs.size(); ++i)
        for (const std::string& problem : dialogs[i].problems)
            message += "; the dialog shows a problem: " + problem;
    StepOutcome done = outcome(true, std::move(message));
    done.command = StepOutcome::CommandAnswer{run.result, made};
    return done;
}

StepOutcome ScriptRunner::select(const ScriptStep& step) {
    std::vector<ProjectObject*> chosen;
    const bool all = step.objects.size() == 1 && step.objects.front() == "all";
    const bool none = step.objects.size() == 1 && step.objects.front() == "none";
    std::optional<NamePaths> names;
    if (!all && !none)
        for (const std::string& path : step.objects) {
            if (path.starts_with('/')) {
                ProjectObject* object = atPointer(project_.root(), path);
                if (!object || ProjectFile::pointerOf(*object) != path)
                    return outcome(false, "the project has no object at \"" + path + "\"");
                chosen.push_back(object);
                continue;
            }
            if (!names)
                names.emplace(project_.root());
            const std::vector<ProjectObject*>* found = names->find(path);
            if (!found)
                return outcome(false, "the project has no object \"" + path + "\"");
            if (found->size() > 1) {
                std::string matches;
                for (const ProjectObject* match : *found)
                    matches += (matches.empty() ? "" : ", ") + ProjectFile::pointerOf(*match);
                return outcome(false, "\"" + path + "\" names " + std::to_string(found->size()) +
                                          " objects (" + matches + "); select one by its pointer");
            }
            chosen.push_back(found->front());
        }
    for (ProjectObject* object : std::vector<ProjectObject*>(project_.selection().objects()))
        project_.select(*object, false);
    if (all)
        project_.selectEvents();
    for (ProjectObject* object : chosen)
        project_.select(*object);
    return outcome(true,
                   std::to_string(project_.selection().objects().size()) + " objects selected");
}

} // namespace Brennovar::RefHost

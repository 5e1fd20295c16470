#include "refhost/script/session_script.h"

#include "refhost/core/host_error.h"
#include "refhost/files/input_file.h"
#include "refhost/files/json_document.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

namespace Brennovar::RefHost {

namespace {

using nlohmann::json;

struct StepKind {
    std::string_view name;
    bool inDialog;
    // The keys the step takes besides "do" and "expect".
    std::vector<std::string_view> keys;
};

const std::array<StepKind, 17>& stepKinds() {
    static const std::array<StepKind, 17> kinds = {{
        {"select", false, {"objects"}},
        {"run", false, {"command"}},
        {"undo", false, {}},
        {"store", false, {}},
        {"save", false, {"file"}},
        {"markerType", true, {"choose"}},
        {"targetTrack", true, {"choose"}},
        {"combine", true, {}},
        {"addRow", true, {}},
        {"source", true, {"row", "choose"}},
        {"target", true, {"row", "choose"}},
        {"type", true, {"row", "text"}},
        {"deleteRow", true, {"row"}},
        {"ok", true, {}},
        {"cancel", true, {}},
        {"show", true, {}},
        {"wait", true, {}},
    }};
    return kinds;
}

const StepKind* findKind(std::string_view name) {
    for (const StepKind& kind : stepKinds())
        if (kind.name == name)
            return &kind;
    return nullptr;
}

class StepReader {
public:
    StepReader(const std::string& source, std::size_t index, const json& step)
        : source_(source), index_(index), step_(step) {}

    ScriptStep read() {
        if (!step_.is_object())
            fail("", "a step is an object such as {\"do\": \"addRow\"}");
        const StepKind* kind = findKind(text("do"));
        if (!kind) {
            std::string names;
            for (const StepKind& known : stepKinds())
                names += (names.empty() ? "" : ", ") + std::string(known.name);
            fail("/do", "unknown step \"" + text("do") + "\"; the steps are " + names);
        }
        for (const auto& [key, value] : step_.items())
            if (key != "do" && key != "expect" &&
                std::find(kind->keys.begin(), kind->keys.end(), key) == kind->keys.end())
                fail("/" + key,
                     "a \"" + std::string(kind->name) + "\" step takes no \"" + key + "\"");
        ScriptStep result;
        result.kind = kind->name;
        if (step_.contains("expect")) {
            if (text("expect") != "refused")
                fail("/expect", "the only expectation is \"refused\"");
            result.expectRefused = true;
        }
        for (std::string_view key : kind->keys) {
            if (key == "objects")
                result.objects = texts("objects", true);
            else if (key == "command") {
                result.command = text("command");
                if (result.command != "dialog" && result.command != "current")
                    fail("/command", "the command is \"dialog\" or \"current\"");
            } else if (key == "choose") {
                result.choose = texts("choose", false);
                if (result.choose.size() > 1 && kind->keys.size() == 1)
                    fail("/choose", "\"choose\" is one text here");
            } else if (key == "row")
                result.row = row();
            else
                result.text = text(std::string(key));
        }
        return result;
    }

private:
    [[noreturn]] void fail(const std::string& pointer, const std::string& message) const {
        throw FileError(source_, "/" + std::to_string(index_) + pointer,
                        "step " + std::to_string(index_ + 1) + ": " + message);
    }

    // A text reaches the module zero-terminated: one holding U+0000 would arrive cut.
    std::string checked(const json& value, const std::string& pointer) const {
        std::string result = value.get<std::string>();
        if (result.find('\0') != std::string::npos)
            fail(pointer, "a text may not contain the character U+0000");
        return result;
    }

    std::string text(const std::string& key) const {
        if (!step_.contains(key) || !step_[key].is_string())
            fail("/" + key, "\"" + key + "\" must be a text");
        return checked(step_[key], "/" + key);
    }

    // A text, or a list of one or more texts (for objects also "all" and "none").
    std::vector<std::string> texts(const std::string& key, bool manyAllowed) const {
        if (step_.contains(key) && step_[key].is_string())
            return {checked(step_[key], "/" + key)};
        const std::size_t most = manyAllowed ? SIZE_MAX : 2;
        if (!step_.contains(key) || !step_[key].is_array() || step_[key].empty() ||
            step_[key].size() > most)
            fail("/" + key, manyAllowed ? "\"" + key + "\" must be a text or a list of texts"
                                        : "\"" + key +
                                              "\" must be a text, or a sub-menu's text and an "
                                              "item's text");
        std::vector<std::string> result;
        for (const json& item : step_[key]) {
            const std::string pointer = "/" + key + "/" + std::to_string(result.size());
            if (!item.is_string())
                fail(pointer, "must be a text");
            result.push_back(checked(item, pointer));
        }
        return result;
    }

    int row() const {
        if (!step_.contains("row") || !step_["row"].is_number_integer() ||
            step_["row"].get<std::int64_t>() < 1 || step_["row"].get<std::int64_t>() > 1000)
            fail("/row", "\"row\" must be a row number counted from 1");
        return step_["row"].get<int>();
    }

    const std::string& source_;
    std::size_t index_;
    const json& step_;
};

} // namespace

bool ScriptStep::inDialog() const noexcept {
    const StepKind* found = findKind(kind);
    return found && found->inDialog;
}

std::vector<ScriptStep> SessionScript::read(const std::string& path) {
    return parse(InputFile::read(path, kMaxBytes), path);
}

std::vector<ScriptStep> SessionScript::parse(std::string_view text, const std::string& source) {
    json document = JsonDocument::parse(text, source);
    if (!document.is_array())
        throw FileError(source, "/", "a script is a JSON list of steps");
    std::vector<ScriptStep> steps;
    steps.reserve(document.size());
    for (std::size_t i = 0; i < document.size(); ++i) {
        steps.push_back(StepReader(source, i, document[i]).read());
        // Each step's part of the document goes once it is read.
        document[i] = nullptr;
    }
    return steps;
}

} // namespace Brennovar::RefHost

#include "refhost/dialog/dialog_state_report.h"

#include "refhost/controls/host_parameter.h"
#include "refhost/core/text_conversion.h"
#include "refhost/dialog/dialog_runtime.h"

#include <array>
#include <sstream>

namespace Brennovar::RefHost {

namespace {

using nlohmann::json;

// Views that only lay out others; the report shows what they hold.
constexpr std::array<std::string_view, 10> kLayoutTypes = {
    "container", "locale",        "flow-layout", "spacer", "decor",
    "font",      "content-frame", "view",        "symbol", "on-switch"};
constexpr std::array<std::string_view, 3> kStaticTexts = {"text-title", "caption", "label"};

template <std::size_t N>
bool isOneOf(const std::array<std::string_view, N>& types, std::string_view type) {
    for (std::string_view candidate : types)
        if (candidate == type)
            return true;
    return false;
}

json menuJson(const std::vector<MenuEntry>& entries, int32 value, std::string& shown) {
    json items = json::array();
    for (const MenuEntry& entry : entries) {
        json item = {{"title", utf8(entry.title)}, {"enabled", entry.enabled}};
        if (entry.isSubMenu()) {
            item["items"] = menuJson(entry.items, value, shown);
        } else {
            item["number"] = entry.number;
            if (entry.number == value)
                shown = utf8(entry.title);
        }
        items.push_back(std::move(item));
    }
    return items;
}

class Capture {
public:
    explicit Capture(DialogRuntime& runtime) : runtime_(runtime) {}

    void controls(const ViewNode& node, json& into) {
        for (const auto& child : DialogRuntime::visibleChildren(node)) {
            if (child->type == "controller") {
                if (!child->heldController)
                    continue;
                json row = {{"row", ++rows_}, {"controller", child->name}};
                row["controls"] = json::array();
                controls(*child, row["controls"]);
                into.push_back(std::move(row));
                continue;
            }
            if (child->type == "button") {
                buttons_.push_back(button(*child));
                continue;
            }
            if (!isOneOf(kLayoutTypes, child->type))
                into.push_back(control(*child));
            controls(*child, into);
        }
    }

    json buttons() { return std::move(buttons_); }

private:
    void text(json& object, const char* key, const ViewNode& node) {
        if (std::string_view english = node.attribute(key); !english.empty())
            object[key] = runtime_.translate(english);
    }

    json control(const ViewNode& node) {
        json object = {{"control", node.type}};
        if (!node.name.empty() && !isOneOf(kStaticTexts, node.type))
            object["name"] = node.name;
        for (const char* key : {"title", "tip", "placeholder"})
            text(object, key, node);
        HostParameter* parameter = node.parameter;
        if (!parameter)
            return object;
        object["parameter"] = parameterKindName(parameter->kind());
        object["tag"] = parameter->tag();
        // A text parameter's value is its text.
        if (parameter->kind() == ParameterKind::kText)
            object["text"] = utf8(parameter->text());
        else
            object["value"] = parameter->value();
        object["enabled"] = parameter->enabled();
        if (node.type == "radio-group") {
            json choices = json::array();
            collectChoices(node, choices);
            object["choices"] = choices;
            if (parameter->value() >= 0 && parameter->value() < static_cast<int32>(choices.size()))
                object["shows"] = choices[static_cast<std::size_t>(parameter->value())];
        } else if (parameter->kind() == ParameterKind::kStringList) {
            json choices = json::array();
            for (const std::u16string& entry : parameter->strings())
                choices.push_back(utf8(entry));
            object["choices"] = choices;
            if (parameter->value() >= 0 && parameter->value() < static_cast<int32>(choices.size()))
                object["shows"] = choices[static_cast<std::size_t>(parameter->value())];
        } else if (parameter->kind() == ParameterKind::kMenu) {
            runtime_.updateMenu(node);
            std::string shown;
            object["menu"] = menuJson(parameter->menuEntries(), parameter->value(), shown);
            if (!shown.empty())
                object["shows"] = shown;
        } else if (node.type == "exclusive-group-legacy") {
            auto shown = DialogRuntime::visibleChildren(node);
            if (!shown.empty())
                object["shows"] = shown.front()->name;
        }
        return object;
    }

    void collectChoices(const ViewNode& node, json& choices) {
        for (const auto& child : node.children) {
            if (child->type == "on-switch")
                choices.push_back(runtime_.translate(child->attribute("title")));
            collectChoices(*child, choices);
        }
    }

    json button(const ViewNode& node) {
        json object = {{"name", node.name}};
        if (node.parameter && node.parameter->kind() == ParameterKind::kText)
            object["title"] = utf8(node.parameter->text());
        else
            object["title"] = runtime_.translate(node.name == "ok" ? "OK" : "Cancel");
        return object;
    }

    DialogRuntime& runtime_;
    int rows_ = 0;
    json buttons_ = json::array();
};

void controlLine(const json& control, const std::string& indent, std::ostringstream& out);

void menuLines(const json& items, const std::string& indent, std::ostringstream& out) {
    for (const json& item : items) {
        out << indent << item["title"].get<std::string>();
        if (item.contains("items"))
            out << " >";
        if (!item["enabled"].get<bool>())
            out << "  (disabled)";
        out << '\n';
        if (item.contains("items"))
            menuLines(item["items"], indent + "  ", out);
    }
}

void controlsText(const json& controls, const std::string& indent, std::ostringstream& out) {
    for (const json& control : controls) {
        if (control.contains("row")) {
            out << indent << "row " << control["row"].get<int>() << " ("
                << control["controller"].get<std::string>() << ")\n";
            controlsText(control["controls"], indent + "  ", out);
        } else {
            controlLine(control, indent, out);
        }
    }
}

void controlLine(const json& control, const std::string& indent, std::ostringstream& out) {
    out << indent << control["control"].get<std::string>();
    if (control.contains("title"))
        out << " \"" << control["title"].get<std::string>() << "\"";
    if (control.contains("name"))
        out << "  " << control["name"].get<std::string>();
    if (control.contains("value"))
        out << " = " << control["value"].get<int>();
    if (control.contains("shows"))
        out << "  shows \"" << control["shows"].get<std::string>() << "\"";
    if (control.contains("text"))
        out << "  text \"" << control["text"].get<std::string>() << "\"";
    if (control.contains("placeholder") && control.value("text", std::string()).empty())
        out << "  placeholder \"" << control["placeholder"].get<std::string>() << "\"";
    if (control.contains("enabled") && !control["enabled"].get<bool>())
        out << "  (disabled)";
    if (control.contains("tip"))
        out << "  tip \"" << control["tip"].get<std::string>() << "\"";
    out << '\n';
    if (control.contains("choices"))
        for (const json& choice : control["choices"])
            out << indent << "    " << choice.get<std::string>() << '\n';
    if (control.contains("menu"))
        menuLines(control["menu"], indent + "    ", out);
}

} // namespace

json DialogStateReport::capture(DialogRuntime& runtime) {
    json state = {{"template", nullptr}, {"title", nullptr}, {"open", !runtime.closed()}};
    json controls = json::array();
    json buttons = json::array();
    if (const ViewNode* root = runtime.root()) {
        state["template"] = root->name;
        state["title"] = runtime.translate(root->attribute("title"));
        Capture capture(runtime);
        capture.controls(*root, controls);
        buttons = capture.buttons();
    }
    state["controls"] = std::move(controls);
    state["buttons"] = std::move(buttons);
    state["problems"] = runtime.problems();
    return state;
}

std::string DialogStateReport::text(const json& state) {
    std::ostringstream out;
    if (state["template"].is_null()) {
        out << "no dialog is shown\n";
    } else {
        out << "dialog \"" << state["title"].get<std::string>() << "\" (template "
            << state["template"].get<std::string>() << ")\n";
        controlsText(state["controls"], "  ", out);
        out << "  buttons:";
        for (const json& button : state["buttons"])
            out << "  [" << button["title"].get<std::string>() << "]";
        out << '\n';
    }
    if (state["problems"].empty())
        out << "no problems\n";
    for (const json& problem : state["problems"])
        out << "problem: " << problem.get<std::string>() << '\n';
    return out.str();
}

} // namespace Brennovar::RefHost

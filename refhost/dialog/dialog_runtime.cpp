#include "refhost/dialog/dialog_runtime.h"

#include "refhost/controls/host_parameter.h"
#include "refhost/core/host_environment.h"
#include "refhost/core/host_error.h"
#include "refhost/core/text_conversion.h"
#include "refhost/services/translation_service.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace Brennovar::RefHost {

namespace {

// Element types whose `name` binds a parameter of the controller.
constexpr std::array<std::string_view, 8> kBoundTypes = {"radio-group",
                                                         "option-menu",
                                                         "check-box",
                                                         "push-switch",
                                                         "text-entry",
                                                         "command-menu",
                                                         "exclusive-group-legacy",
                                                         "dependentcontentview"};

// Templates that include one another deeper than this are taken to recurse.
constexpr int kMaxTemplateDepth = 32;
// A `for` range longer than this is refused: no dialog repeats a view that often.
constexpr int kMaxRepeat = 1000;

bool isBound(std::string_view type) {
    return std::find(kBoundTypes.begin(), kBoundTypes.end(), type) != kBoundTypes.end();
}

std::string substitute(std::string_view text, const ViewVariables* variables) {
    std::string result(text);
    if (!variables)
        return result;
    for (const auto& [variable, value] : *variables) {
        if (variable.empty())
            continue;
        for (std::size_t at = result.find(variable); at != std::string::npos;
             at = result.find(variable, at + value.size()))
            result.replace(at, variable.size(), value);
    }
    return result;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        std::size_t end = text.find(separator);
        parts.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return parts;
}

bool parseInt(std::string_view text, int& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

DialogRuntime::DialogRuntime(const SkinDocument& skin, HostEnvironment& environment,
                             TranslationService& translation)
    : skin_(skin), environment_(environment), translation_(translation),
      behaviours_(environment.behaviours()), random_(behaviours_.seed.value_or(0)),
      actionsUntilPause_(1 + static_cast<int>(random_() % 5)) {}

// The views go before the dialog's controller: they give back the sub-controllers first.
DialogRuntime::~DialogRuntime() {
    for (HostParameter* parameter : watched_)
        parameter->watch(nullptr);
}

bool DialogRuntime::open(std::string_view templateName, IPlugController* controller) {
    const SkinElement* dialogTemplate = skin_.findTemplate(templateName);
    if (!dialogTemplate) {
        problem(nullptr, {}, "the skin has no template \"" + std::string(templateName) + "\"");
        return false;
    }
    controller_ = Owned<IPlugController>::share(controller);
    root_ = std::make_unique<ViewNode>();
    root_->element = dialogTemplate;
    root_->type = "template";
    root_->name = templateName;
    root_->context = BuildContext{controller, {}, dialogTemplate->attribute("name"), 1};
    building_ = true;
    buildChildren(*dialogTemplate, *root_, root_->context);
    addButtons(*dialogTemplate, *root_);
    building_ = false;
    return true;
}

void DialogRuntime::buildTemplateView(std::string_view templateName, IPlugController* controller) {
    if (!expanding_) {
        problem(nullptr, {},
                "buildTemplateView(\"" + std::string(templateName) +
                    "\") was called while no view was being built");
        return;
    }
    ViewNode& into = *expanding_;
    BuildContext context = into.context;
    if (controller != context.controller) {
        // A view built with another controller keeps that controller alive while it exists.
        into.heldController = Owned<IPlugController>::share(controller);
        context.controller = controller;
    }
    buildTemplate(templateName, into, std::move(context), *into.element);
}

void DialogRuntime::idle() {
    if (behaviours_.lateRebuild) {
        if (!behaviours_.seed || --actionsUntilPause_ > 0)
            return;
        actionsUntilPause_ = 1 + static_cast<int>(random_() % 5);
    }
    rebuild();
}

void DialogRuntime::pause() {
    rebuild();
}

void DialogRuntime::rebuild() {
    if (building_)
        return;
    building_ = true;
    // A rebuild changes no parameter, so a second pass finds nothing; the bound only guards
    // against a controller that changes parameters while its views are built.
    for (int pass = 0; root_ && pass < 4 && rebuildChanged(*root_); ++pass) {
    }
    building_ = false;
}

bool DialogRuntime::rebuildPending() const {
    std::vector<const ViewNode*> pending;
    if (root_)
        pending.push_back(root_.get());
    while (!pending.empty()) {
        const ViewNode* node = pending.back();
        pending.pop_back();
        if (node->type == "dependentcontentview" && node->parameter &&
            node->parameter->version() != node->builtVersion)
            return true;
        for (const auto& child : node->children)
            pending.push_back(child.get());
    }
    return false;
}

bool DialogRuntime::reportsPressTwice() {
    return behaviours_.doubleClick && (!behaviours_.seed || random_() % 2 == 0);
}

void DialogRuntime::watch(HostParameter& parameter) {
    if (!behaviours_.immediateRebuild ||
        std::find(watched_.begin(), watched_.end(), &parameter) != watched_.end())
        return;
    watched_.push_back(&parameter);
    parameter.watch([this] { rebuild(); });
}

void DialogRuntime::updateMenu(const ViewNode& control) {
    if (!control.parameter)
        return;
    if (auto callback = Owned<IOptionMenuCallback>::query(control.context.controller))
        callback->updateMenu(control.parameter);
}

std::span<const std::unique_ptr<ViewNode>> DialogRuntime::visibleChildren(const ViewNode& node) {
    const std::span<const std::unique_ptr<ViewNode>> children(node.children);
    if (node.type != "exclusive-group-legacy")
        return children;
    const int32 index = node.parameter ? node.parameter->value() : 0;
    if (index < 0 || static_cast<std::size_t>(index) >= children.size())
        return {};
    return children.subspan(static_cast<std::size_t>(index), 1);
}

std::string DialogRuntime::translate(std::string_view english) const {
    try {
        const std::u16string key = utf16(english);
        return utf8(translation_.translate(key.c_str()));
    } catch (const HostError&) {
        return std::string(english);
    }
}

void DialogRuntime::buildChildren(const SkinElement& element, ViewNode& parent,
                                  const BuildContext& context) {
    if (parent.children.empty())
        parent.children.reserve(element.children.size());
    for (const SkinElement& child : element.children)
        buildElement(child, parent, context);
}

void DialogRuntime::buildElement(const SkinElement& element, ViewNode& parent,
                                 const BuildContext& context) {
    if (element.type == "for") {
        repeat(element, parent, context);
        return;
    }
    auto owned = std::make_unique<ViewNode>();
    ViewNode& node = *owned;
    parent.children.push_back(std::move(owned));
    node.element = &element;
    node.type = element.type;
    node.name = substitute(element.attribute("name"), context.variables.get());
    node.context = context;

    std::string_view symbols =
        element.type == "symbol" ? element.attribute("name") : element.attribute("symbols");
    while (!symbols.empty()) {
        const std::size_t end = symbols.find('|');
        if (std::string_view symbol = symbols.substr(0, end); !skin_.hasSymbol(symbol))
            problem(&element, context,
                    element.type + ": no atlas section \"" + std::string(symbol) + "\"");
        symbols = end == std::string_view::npos ? std::string_view() : symbols.substr(end + 1);
    }

    if (node.type == "controller") {
        resolveController(node);
    } else if (node.type == "view") {
        expandView(node);
    } else if (node.type == "dependentcontentview") {
        bind(node, true);
        node.builtVersion = node.parameter ? node.parameter->version() : 0;
        if (node.parameter)
            watch(*node.parameter);
        buildTemplate(element.attribute("template"), node, context, element);
    } else {
        if (isBound(node.type))
            bind(node, true);
        buildChildren(element, node, context);
    }
}

void DialogRuntime::buildTemplate(std::string_view name, ViewNode& into, BuildContext context,
                                  const SkinElement& from) {
    const SkinElement* found = skin_.findTemplate(name);
    if (!found) {
        problem(&from, context, "the skin has no template \"" + std::string(name) + "\"");
        return;
    }
    if (context.depth >= kMaxTemplateDepth) {
        problem(&from, context,
                "templates nest deeper than " + std::to_string(kMaxTemplateDepth) + " at \"" +
                    std::string(name) + "\"");
        return;
    }
    context.templateName = found->attribute("name");
    ++context.depth;
    buildChildren(*found, into, context);
}

void DialogRuntime::expandView(ViewNode& node) {
    if (auto builder = Owned<IViewBuilder>::query(node.context.controller)) {
        ViewNode* outer = std::exchange(expanding_, &node);
        // The view builder answers by asking back with buildTemplateView; what it returns
        // itself carries nothing.
        builder->buildView(node.name.c_str());
        expanding_ = outer;
        if (!node.children.empty())
            return;
    }
    buildTemplate(node.name, node, node.context, *node.element);
}

void DialogRuntime::resolveController(ViewNode& node) {
    auto parent = Owned<IPlugController3>::query(node.context.controller);
    if (!parent) {
        problem(node.element, node.context,
                "controller \"" + node.name + "\": the controller has no sub-controllers");
        return;
    }
    IPlugController* found = nullptr;
    // An unknown name leaves the slot empty: a list longer than its content shows nothing
    // there.
    if (parent->getSubController(node.name.c_str(), &found) != ResultOk || !found)
        return;
    node.heldController = Owned<IPlugController>::share(found);
    BuildContext context = node.context;
    context.controller = found;
    buildChildren(*node.element, node, context);
}

void DialogRuntime::repeat(const SkinElement& element, ViewNode& parent,
                           const BuildContext& context) {
    // The range "first,end" counts from first up to end, not including end.
    std::vector<std::string_view> bounds = split(element.attribute("range"), ',');
    int first = 0;
    int end = 0;
    if (bounds.size() != 2 || !parseInt(bounds[0], first) || !parseInt(bounds[1], end) ||
        end < first || end - first > kMaxRepeat) {
        problem(&element, context,
                "for: the range \"" + std::string(element.attribute("range")) +
                    "\" is not \"first,end\" with at most " + std::to_string(kMaxRepeat) +
                    " steps");
        return;
    }
    parent.children.reserve(parent.children.size() +
                            static_cast<std::size_t>(end - first) * element.children.size());
    BuildContext inner = context;
    for (int i = first; i < end; ++i) {
        // The views of each pass share its values; later passes leave them alone.
        auto variables = std::make_shared<ViewVariables>(context.variables ? *context.variables
                                                                           : ViewVariables());
        variables->emplace_back(element.attribute("variable"), std::to_string(i));
        inner.variables = std::move(variables);
        buildChildren(element, parent, inner);
    }
}

void DialogRuntime::bind(ViewNode& node, bool required) {
    IPlugController* controller = node.context.controller;
    IHostParameter* parameter = nullptr;
    if (!controller || controller->getParameter(node.name.c_str(), &parameter) != ResultOk ||
        !parameter) {
        if (required)
            problem(node.element, node.context,
                    node.type + " \"" + node.name +
                        "\": the controller has no parameter of that name");
        return;
    }
    node.parameter = environment_.resolveAs<HostParameter>(parameter);
    if (node.parameter)
        node.parameterHold = HostHold(*node.parameter);
    else
        problem(node.element, node.context,
                node.type + " \"" + node.name + "\": the parameter was not made by this host");
}

void DialogRuntime::addButtons(const SkinElement& dialogTemplate, ViewNode& root) {
    for (std::string_view name : split(dialogTemplate.attribute("buttons"), '|')) {
        auto button = std::make_unique<ViewNode>();
        button->type = "button";
        button->name = name;
        button->context = root.context;
        // The confirm button takes its title from a parameter of its name when the controller
        // has one; without it the host's own title stands.
        bind(*button, false);
        root.children.push_back(std::move(button));
    }
}

bool DialogRuntime::rebuildChanged(ViewNode& node) {
    if (node.type == "dependentcontentview" && node.parameter &&
        node.parameter->version() != node.builtVersion) {
        node.children.clear();
        node.builtVersion = node.parameter->version();
        buildTemplate(node.attribute("template"), node, node.context, *node.element);
        return true;
    }
    bool rebuilt = false;
    for (auto& child : node.children)
        rebuilt = rebuildChanged(*child) || rebuilt;
    return rebuilt;
}

void DialogRuntime::problem(const SkinElement* element, const BuildContext& context,
                            std::string text) {
    std::string where;
    if (!context.templateName.empty())
        where = "template \"" + std::string(context.templateName) + "\"";
    if (element)
        where += (where.empty() ? "line " : " line ") + std::to_string(element->line);
    std::string line = where.empty() ? text : where + ": " + text;
    // Rebuilt views meet the same fault again; it is one problem of the dialog.
    if (std::find(problems_.begin(), problems_.end(), line) == problems_.end())
        problems_.push_back(std::move(line));
}

} // namespace Brennovar::RefHost

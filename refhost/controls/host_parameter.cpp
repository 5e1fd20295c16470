#include "refhost/controls/host_parameter.h"

#include "refhost/controls/host_menu.h"
#include "refhost/core/host_environment.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace Brennovar::RefHost {

namespace {

// One call a client made to change the parameter: its name and up to two arguments.
struct ClientCall {
    const char* name;
    std::array<double, 2> arguments;
    std::size_t count;
};

} // namespace

struct HostParameter::State {
    ParameterKind kind;
    int32 tag = 0;
    int32 value = 0;
    int32 minimum = 0;
    int32 maximum = 1;
    bool enabled = true;
    float displayValue = 0.0f;
    int32 displayFlags = 0;
    std::u16string text;
    std::vector<std::u16string> strings;
    IPlugController* controller = nullptr;
    std::uint64_t version = 0;
    HostMenu* menu = nullptr;
    // The client's calls as made, written out as text only when asked for.
    std::vector<ClientCall> calls;
    std::vector<std::string> callTexts;
    std::function<void()> watcher;
    std::size_t textCutTo = 0;
};

namespace {

// A client that answers each echo of its own change with another change would never end; the
// host stops echoing this deep, and echoes nothing more until the outermost echo has returned.
constexpr int kMostNestedEchoes = 16;
thread_local int nestedEchoes = 0;
thread_local bool echoesStopped = false;

} // namespace

HostParameter::HostParameter(HostEnvironment& environment, ParameterKind kind)
    : HostFaces(environment), state_(std::make_unique<State>()) {
    state_->kind = kind;
    if (kind == ParameterKind::kMenu) {
        state_->menu = &environment.makeReleasable<HostMenu>();
        environment.hold(*state_->menu);
    }
}

HostParameter::~HostParameter() {
    if (state_->menu)
        environment().letGo(*state_->menu);
}

ParameterKind HostParameter::kind() const noexcept {
    return state_->kind;
}
int32 HostParameter::tag() const noexcept {
    return state_->tag;
}
int32 HostParameter::value() const noexcept {
    return state_->value;
}
int32 HostParameter::minimum() const noexcept {
    return state_->minimum;
}
int32 HostParameter::maximum() const noexcept {
    return state_->maximum;
}
bool HostParameter::enabled() const noexcept {
    return state_->enabled;
}
float HostParameter::displayValue() const noexcept {
    return state_->displayValue;
}
int32 HostParameter::displayFlags() const noexcept {
    return state_->displayFlags;
}
std::u16string HostParameter::text() const {
    return state_->text;
}
const std::vector<std::u16string>& HostParameter::strings() const noexcept {
    return state_->strings;
}
IPlugController* HostParameter::controller() const noexcept {
    return state_->controller;
}
std::vector<MenuEntry> HostParameter::menuEntries() const {
    return state_->menu ? state_->menu->entries() : std::vector<MenuEntry>{};
}
std::uint64_t HostParameter::version() const noexcept {
    return state_->version;
}

std::size_t HostParameter::textCutTo() const noexcept {
    return state_->textCutTo;
}

const std::vector<std::string>& HostParameter::clientCalls() const noexcept {
    std::vector<std::string>& texts = state_->callTexts;
    try {
        texts.clear();
        for (const ClientCall& call : state_->calls) {
            std::string entry = call.name;
            for (std::size_t i = 0; i < call.count; ++i) {
                char number[32];
                std::snprintf(number, sizeof number, " %g", call.arguments[i]);
                entry += number;
            }
            texts.push_back(std::move(entry));
        }
    } catch (...) {
        texts.clear();
    }
    return texts;
}

void HostParameter::changed() noexcept {
    ++state_->version;
    if (state_->watcher)
        state_->watcher();
}

void HostParameter::watch(std::function<void()> watcher) {
    state_->watcher = std::move(watcher);
}

void HostParameter::echo() noexcept {
    IPlugController* controller = state_->controller;
    if (!controller || !environment().behaviours().echo)
        return;
    if (echoesStopped)
        return;
    if (nestedEchoes >= kMostNestedEchoes) {
        echoesStopped = true;
        try {
            environment().noteProblem(
                "the module answered the echo of its own parameter change with another change, " +
                std::to_string(kMostNestedEchoes) + " deep (tag " + std::to_string(state_->tag) +
                "): a host that reports a client's own changes would never finish");
        } catch (...) {
        }
        return;
    }
    ++nestedEchoes;
    controller->onParameterChanged(this, state_->tag);
    if (--nestedEchoes == 0)
        echoesStopped = false;
}

void HostParameter::clientChanged(const char* call,
                                  std::initializer_list<double> arguments) noexcept {
    try {
        ClientCall made{call, {}, std::min(arguments.size(), std::size_t{2})};
        std::copy_n(arguments.begin(), made.count, made.arguments.begin());
        // The latest calls tell what a client did; a parameter that lives for a whole session
        // must not keep every one.
        if (state_->calls.size() == kKeptCalls)
            state_->calls.erase(state_->calls.begin());
        // A client configures a parameter with a handful of calls.
        if (state_->calls.capacity() == 0)
            state_->calls.reserve(8);
        state_->calls.push_back(made);
    } catch (...) {
        // The log is a diagnostic; the change itself stands.
    }
    changed();
}

ResultCode HostParameter::report() {
    changed();
    // The controller may release this parameter while it handles the change (a row that
    // deletes itself); nothing of this object is used after the call.
    IPlugController* controller = state_->controller;
    return controller ? controller->onParameterChanged(this, state_->tag) : ResultOk;
}

ResultCode HostParameter::userSetValue(int32 value) {
    switch (state_->kind) {
    case ParameterKind::kToggle:
        value = value != 0 ? 1 : 0;
        break;
    case ParameterKind::kInteger:
        if (state_->minimum <= state_->maximum)
            value = std::clamp(value, state_->minimum, state_->maximum);
        break;
    case ParameterKind::kStringList:
        if (value < 0 || value >= static_cast<int32>(state_->strings.size()))
            return ResultInvalidArgument;
        break;
    case ParameterKind::kMenu:
        if (value < 0 || value >= state_->menu->leafCount())
            return ResultInvalidArgument;
        break;
    case ParameterKind::kText:
        break;
    }
    state_->value = value;
    return report();
}

ResultCode HostParameter::userSetText(const std::u16string& text) {
    state_->text = text;
    state_->textCutTo = 0;
    return report();
}

int32 HostParameter::getValue() noexcept {
    return state_->value;
}

ResultCode HostParameter::setOn(bool on) noexcept {
    state_->value = on ? 1 : 0;
    clientChanged("setOn", {on ? 1.0 : 0.0});
    echo();
    return ResultOk;
}

ResultCode HostParameter::connect(IPlugController* controller, int32 tag) noexcept {
    state_->controller = controller;
    state_->tag = tag;
    clientChanged("connect", {double(tag)});
    return ResultOk;
}

int32 HostParameter::getTag() noexcept {
    return state_->tag;
}

ResultCode HostParameter::setEnabled(bool enabled) noexcept {
    state_->enabled = enabled;
    clientChanged("setEnabled", {enabled ? 1.0 : 0.0});
    return ResultOk;
}

ResultCode HostParameter::setText(const char16_t* text, int32) noexcept {
    try {
        state_->text = text ? text : u"";
    } catch (...) {
        return ResultFailed;
    }
    clientChanged("setText");
    echo();
    return ResultOk;
}

ResultCode HostParameter::setValue(int32 value, int32) noexcept {
    state_->value = value;
    clientChanged("setValue", {double(value)});
    echo();
    return ResultOk;
}

ResultCode HostParameter::setMinimum(int32 minimum) noexcept {
    state_->minimum = minimum;
    clientChanged("setMinimum", {double(minimum)});
    return ResultOk;
}

ResultCode HostParameter::setMaximum(int32 maximum) noexcept {
    state_->maximum = maximum;
    clientChanged("setMaximum", {double(maximum)});
    return ResultOk;
}

ResultCode HostParameter::setDisplayValue(float value) noexcept {
    state_->displayValue = value;
    clientChanged("setDisplayValue", {value});
    return ResultOk;
}

ResultCode HostParameter::setDisplayFlag(int32 flag, bool on) noexcept {
    state_->displayFlags = on ? state_->displayFlags | flag : state_->displayFlags & ~flag;
    clientChanged("setDisplayFlag", {double(flag), on ? 1.0 : 0.0});
    return ResultOk;
}

ResultCode HostParameter::addString(const char16_t* text) noexcept {
    if (!text)
        return ResultInvalidArgument;
    try {
        state_->strings.emplace_back(text);
    } catch (...) {
        return ResultFailed;
    }
    clientChanged("addString");
    return ResultOk;
}

ResultCode HostParameter::setStrings(const void* strings) noexcept {
    try {
        std::vector<std::u16string> entries;
        for (auto* text = static_cast<const char16_t* const*>(strings); text && *text; ++text)
            entries.emplace_back(*text);
        state_->strings = std::move(entries);
    } catch (...) {
        return ResultFailed;
    }
    clientChanged("setStrings");
    return ResultOk;
}

ResultCode HostParameter::getText(char16_t* buffer, int32 capacity) noexcept {
    if (!buffer || capacity < 1)
        return ResultInvalidArgument;
    std::size_t count = std::min(state_->text.size(), static_cast<std::size_t>(capacity - 1));
    // Cut at a whole character: never between the two halves of a surrogate pair.
    if (count < state_->text.size() && count > 0 && state_->text[count - 1] >= 0xD800 &&
        state_->text[count - 1] <= 0xDBFF)
        --count;
    std::copy_n(state_->text.data(), count, buffer);
    buffer[count] = 0;
    state_->textCutTo = count < state_->text.size() ? count : std::size_t{0};
    return ResultOk;
}

IMenu* HostParameter::getMenu() noexcept {
    return state_->menu;
}

ResultCode HostParameter::menuChanged() noexcept {
    clientChanged("menuChanged");
    return ResultOk;
}

uint32 HostParameter::release() noexcept {
    const uint32 count = clientRelease();
    if (clientReferences() == 0)
        state_->controller = nullptr;
    return count;
}

FUnknown* HostParameter::face(const Guid& id) noexcept {
    if (id == FUnknown::iid)
        return static_cast<IHostParameter*>(this);
    if (id == IParameterDisplay::iid)
        return static_cast<IParameterDisplay*>(this);
    if (id == IParameterValue::iid)
        return static_cast<IParameterValue*>(this);
    if (id == IStringListParameter::iid && state_->kind == ParameterKind::kStringList)
        return static_cast<IStringListParameter*>(this);
    if (id == IMenuAccess::iid && state_->kind == ParameterKind::kMenu)
        return static_cast<IMenuAccess*>(this);
    return nullptr;
}

std::string HostParameter::describe() const {
    return std::string(parameterKindName(state_->kind)) + " parameter (tag " +
           std::to_string(state_->tag) + ")";
}

const char* parameterKindName(ParameterKind kind) noexcept {
    switch (kind) {
    case ParameterKind::kToggle:
        return "toggle";
    case ParameterKind::kInteger:
        return "integer";
    case ParameterKind::kText:
        return "text";
    case ParameterKind::kStringList:
        return "string list";
    case ParameterKind::kMenu:
        return "menu";
    }
    return "?";
}

} // namespace Brennovar::RefHost

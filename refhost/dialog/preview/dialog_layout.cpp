#include "refhost/dialog/preview/dialog_layout.h"

#include "refhost/controls/host_parameter.h"
#include "refhost/core/text_conversion.h"
#include "refhost/dialog/dialog_runtime.h"
#include "refhost/dialog/preview/font_metrics.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace Brennovar::RefHost {

namespace {

// Views that only group others: their shown children join the enclosing flow.
constexpr std::array<std::string_view, 8> kGroups = {
    "locale",    "font", "view", "controller", "dependentcontentview", "exclusive-group-legacy",
    "container", "decor"};
// Views that lay out their own items.
constexpr std::array<std::string_view, 3> kFlows = {"flow-layout", "content-frame", "radio-group"};

template <std::size_t N>
bool isOneOf(const std::array<std::string_view, N>& types, std::string_view type) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

// No skin draws anything larger; sizes beyond it are refused or held at it, so that no sum of
// sizes can overflow.
constexpr int kMaxExtent = 1 << 16;

// The numbers of a "a,b,..." attribute; empty when it is not exactly `count` numbers of at most
// kMaxExtent.
std::vector<int> numbers(std::string_view text, std::size_t count) {
    std::vector<int> values;
    const char* at = text.data();
    const char* end = at + text.size();
    while (at != end && values.size() < count) {
        int value = 0;
        auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || value < 0 || value > kMaxExtent)
            return {};
        values.push_back(value);
        at = next;
        if (at != end && *at == ',')
            ++at;
    }
    return values.size() == count && at == end ? values : std::vector<int>();
}

std::string firstSymbol(const ViewNode& node) {
    std::string_view symbols =
        node.type == "symbol" ? std::string_view(node.name) : node.attribute("symbols");
    return std::string(symbols.substr(0, symbols.find('|')));
}

bool findMenuTitle(const std::vector<MenuEntry>& entries, int32 value, std::string& title) {
    for (const MenuEntry& entry : entries) {
        if (entry.isSubMenu() ? findMenuTitle(entry.items, value, title) : entry.number == value) {
            if (title.empty())
                title = utf8(entry.title);
            return true;
        }
    }
    return false;
}

} // namespace

struct DialogLayout::Context {
    int columns = 1;
    int lines = 1;
    bool enabled = true;
    std::string color;
    std::string row;
};

struct DialogLayout::Item {
    const ViewNode* node;
    Context context;
};

DialogLayout::DialogLayout(DialogRuntime& runtime) : runtime_(runtime) {
    dialog_.look = "dialog";
    const ViewNode* root = runtime.root();
    if (!root)
        return;
    PreviewBox content = flow(*root, Context{}, false, 0, 0);
    std::vector<PreviewBox> buttons;
    for (const auto& child : DialogRuntime::visibleChildren(*root))
        if (child->type == "button")
            buttons.push_back(control(*child, Context{kButtonUnits, 1, true, {}, {}}));
    int buttonsWidth = static_cast<int>(buttons.size()) * (kButtonUnits * kUnitWidth + kFlowGap);
    dialog_.width = std::max(content.width, buttonsWidth + kFramePadding);

    PreviewBox title;
    title.look = "titlebar";
    title.width = dialog_.width;
    title.height = kTitleBarHeight;
    title.text = runtime.translate(root->attribute("title"));
    title.textLeft = 10;
    title.textWidth = dialog_.width - 20;
    title.fontSize = kTitleFontSize;
    fit(title, "title");
    dialog_.children.push_back(std::move(title));

    content.y = kTitleBarHeight;
    int y = content.y + content.height;
    dialog_.children.push_back(std::move(content));
    int x = dialog_.width - kFramePadding;
    for (auto button = buttons.rbegin(); button != buttons.rend(); ++button) {
        x -= button->width;
        button->x = x;
        button->y = y;
        x -= kFlowGap;
    }
    for (PreviewBox& button : buttons)
        dialog_.children.push_back(std::move(button));
    dialog_.height = y + (buttons.empty() ? 0 : kUnitHeight + kFramePadding);
}

void DialogLayout::collect(const ViewNode& node, const Context& context, std::vector<Item>& items) {
    for (const auto& child : DialogRuntime::visibleChildren(node)) {
        if (child->type == "button")
            continue;
        if (!isOneOf(kGroups, child->type) || !child->attribute("size").empty()) {
            items.push_back({child.get(), context});
            continue;
        }
        Context inner = context;
        if (child->type == "locale") {
            if (std::vector<int> units = numbers(child->attribute("unit-size"), 2);
                !units.empty()) {
                inner.columns = units[0];
                inner.lines = units[1];
            }
        } else if (child->type == "font") {
            inner.color = child->attribute("color");
        } else if (child->type == "controller") {
            if (!child->heldController)
                continue;
            inner.row = "row " + std::to_string(++rows_) + " ";
        }
        if (child->parameter)
            inner.enabled = inner.enabled && child->parameter->enabled();
        collect(*child, inner, items);
    }
}

PreviewBox DialogLayout::flow(const ViewNode& node, const Context& context, bool row, int gap,
                              int padding) {
    std::vector<Item> items;
    collect(node, context, items);
    PreviewBox group;
    group.look = "group";
    int along = padding;
    int across = 0;
    for (const Item& item : items) {
        PreviewBox child = box(*item.node, item.context);
        if (child.width == 0 && child.height == 0)
            continue;
        if (along > padding)
            along += gap;
        (row ? child.x : child.y) += along;
        (row ? child.y : child.x) += padding;
        along = std::min(along + (row ? child.width : child.height), kMaxExtent);
        across = std::max(across, (row ? child.y + child.height : child.x + child.width) - padding);
        group.children.push_back(std::move(child));
    }
    (row ? group.width : group.height) = along + padding;
    (row ? group.height : group.width) = across + 2 * padding;
    if (items.empty() || group.children.empty())
        group.width = group.height = 0;
    return group;
}

PreviewBox DialogLayout::box(const ViewNode& node, const Context& context) {
    std::vector<int> size = numbers(node.attribute("size"), 4);
    if (!isOneOf(kFlows, node.type) && !isOneOf(kGroups, node.type)) {
        PreviewBox leaf = control(node, context);
        if (!size.empty()) {
            leaf.width = size[2];
            leaf.height = size[3];
        }
        return leaf;
    }
    // A view of fixed size stacks what it holds; a flow layout or radio group has a direction.
    bool row = node.attribute("preset") == "row" || node.attribute("dir") == "horizontal" ||
               node.attribute("direction") == "horizontal";
    int gap = kFlowGap;
    if (std::vector<int> value = numbers(node.attribute("gap"), 1); !value.empty())
        gap = value[0];
    Context inner = context;
    if (node.type == "font")
        inner.color = node.attribute("color");
    if (node.parameter)
        inner.enabled = inner.enabled && node.parameter->enabled();
    PreviewBox group =
        flow(node, inner, row, gap, node.type == "content-frame" ? kFramePadding : 0);
    if (node.type == "radio-group" && node.parameter) {
        int index = 0;
        for (PreviewBox& choice : group.children)
            choice.on = choice.look == "on-switch" && index++ == node.parameter->value();
    }
    if (node.type == "decor") {
        group.look = "decor";
        group.background = node.attribute("bgcolor");
    }
    if (!size.empty()) {
        group.x = size[0];
        group.y = size[1];
        group.width = size[2];
        group.height = size[3];
    }
    return group;
}

PreviewBox DialogLayout::control(const ViewNode& node, const Context& context) {
    PreviewBox box;
    box.look = node.type;
    box.width = context.columns * kUnitWidth;
    box.height = context.lines * kUnitHeight;
    box.enabled = context.enabled && (!node.parameter || node.parameter->enabled());
    box.color = context.color;
    box.icon = firstSymbol(node);
    if (std::string_view tip = node.attribute("tip"); !tip.empty())
        box.tip = runtime_.translate(tip);
    if (node.type == "text-title" || node.type == "label")
        box.look = "text";
    else if (node.type == "spacer")
        return box;
    box.text = shownText(node, box.placeholder);
    int iconRoom = box.icon.empty() || box.text.empty() ? 0 : 24;
    int left = 4 + iconRoom;
    int right = 4;
    if (node.type == "check-box")
        left += 20;
    else if (node.type == "option-menu")
        right += 14;
    else if (node.type == "button")
        left = right = 8;
    box.on = node.type == "check-box" && node.parameter && node.parameter->value() != 0;
    box.textLeft = left;
    box.textWidth = std::max(0, box.width - left - right);
    std::string name =
        node.name.empty() ? "\"" + std::string(node.attribute("title")) + "\"" : node.name;
    fit(box, context.row + std::string(node.type) + " " + name);
    return box;
}

std::string DialogLayout::shownText(const ViewNode& node, bool& placeholder) {
    HostParameter* parameter = node.parameter;
    if (node.type == "button")
        return parameter && parameter->kind() == ParameterKind::kText
                   ? utf8(parameter->text())
                   : runtime_.translate(node.name == "ok" ? "OK" : "Cancel");
    if (parameter && parameter->kind() == ParameterKind::kStringList) {
        const auto& strings = parameter->strings();
        int32 value = parameter->value();
        return value >= 0 && static_cast<std::size_t>(value) < strings.size()
                   ? utf8(strings[static_cast<std::size_t>(value)])
                   : std::string();
    }
    if (parameter && parameter->kind() == ParameterKind::kMenu) {
        if (node.type == "command-menu")
            return {};
        runtime_.updateMenu(node);
        std::string title;
        findMenuTitle(parameter->menuEntries(), parameter->value(), title);
        return title;
    }
    if (parameter && parameter->kind() == ParameterKind::kText) {
        std::string text = utf8(parameter->text());
        placeholder = text.empty();
        return placeholder ? runtime_.translate(node.attribute("placeholder")) : text;
    }
    std::string_view title = node.attribute("title");
    return title.empty() ? std::string() : runtime_.translate(title);
}

void DialogLayout::fit(PreviewBox& box, const std::string& control) {
    if (box.text.empty())
        return;
    int needed = static_cast<int>(std::ceil(FontMetrics::textWidth(box.text, box.fontSize)));
    if (needed <= box.textWidth)
        return;
    box.cut = needed - box.textWidth;
    cuts_.push_back({control, box.text, needed, box.textWidth});
}

} // namespace Brennovar::RefHost

#pragma once

#include "refhost/dialog/preview/preview_box.h"

#include <string>
#include <vector>

namespace Brennovar::RefHost {

class DialogRuntime;
struct ViewNode;

/// A text that its control cuts off.
struct TextCut {
    /// The control, as "check-box combineAdjacentEvents", "label \"Source\"" or
    /// "row 2 option-menu selectTargetAttribute".
    std::string control;
    std::string text;
    /// The text's width and the width the control gives it, in pixels.
    int needed = 0;
    int available = 0;
};

/// Lays out a rendered dialog as the reference host draws it, and measures every text against
/// the room its control gives it.
///
/// Sizes come from the skin: `locale unit-size="W,H"` gives the controls inside it W columns
/// of kUnitWidth pixels and H lines of kUnitHeight pixels; a `size` attribute fixes a view's
/// rectangle; a container lays its items out in the direction of its `flow-layout` (preset
/// "row" or "column", dir "horizontal" or "vertical") with its `gap` (kFlowGap when it names
/// none). Views that only group (locale, font, view, controller, dependentcontentview, an
/// exclusive group) take no room of their own: their shown children join the enclosing flow.
/// Around the content frame come the title bar and the row of the template's buttons.
///
/// Texts are measured with FontMetrics at kFontSize (the title at kTitleFontSize) against the
/// control's width less its padding, icon, check mark or menu arrow.
class DialogLayout {
public:
    static constexpr int kUnitWidth = 25;
    static constexpr int kUnitHeight = 24;
    static constexpr int kFlowGap = 2;
    static constexpr int kFramePadding = 8;
    static constexpr int kTitleBarHeight = 28;
    static constexpr int kButtonUnits = 4;
    static constexpr double kFontSize = 12;
    static constexpr double kTitleFontSize = 13;

    /// Lays out the dialog the runtime shows now (menus are brought up to date first, as
    /// before they are shown). An unopened runtime gives an empty dialog box.
    explicit DialogLayout(DialogRuntime& runtime);

    const PreviewBox& dialog() const noexcept { return dialog_; }
    /// Every text that does not fit, in view order.
    const std::vector<TextCut>& cuts() const noexcept { return cuts_; }

private:
    struct Context;
    struct Item;

    void collect(const ViewNode& node, const Context& context, std::vector<Item>& items);
    PreviewBox flow(const ViewNode& node, const Context& context, bool row, int gap, int padding);
    PreviewBox box(const ViewNode& node, const Context& context);
    PreviewBox control(const ViewNode& node, const Context& context);
    std::string shownText(const ViewNode& node, bool& placeholder);
    void fit(PreviewBox& box, const std::string& control);

    DialogRuntime& runtime_;
    PreviewBox dialog_;
    std::vector<TextCut> cuts_;
    int rows_ = 0;
};

} // namespace Brennovar::RefHost

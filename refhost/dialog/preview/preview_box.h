#pragma once

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// One drawn rectangle of a dialog preview, placed relative to its parent box.
struct PreviewBox {
    /// How it is drawn: "dialog", "titlebar", "frame", "group", "decor", "text", "caption",
    /// "check-box", "on-switch", "push-switch", "option-menu", "command-menu", "text-entry",
    /// "symbol", "button" or "spacer".
    std::string look;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    /// The text the control shows (UTF-8, in the dialog's language); empty for none.
    std::string text;
    /// Where the text starts inside the box and how wide it may be drawn.
    int textLeft = 0;
    int textWidth = 0;
    double fontSize = 12;
    /// How many pixels of the text the control cuts off; 0 when it fits.
    int cut = 0;
    /// The text is a placeholder (an empty text field's hint).
    bool placeholder = false;
    /// The atlas section drawn as the control's icon; empty for none.
    std::string icon;
    bool enabled = true;
    /// A chosen radio switch, a ticked check box.
    bool on = false;
    /// Colours a `decor` or `font` gives; empty keeps the dialog's.
    std::string background;
    std::string color;
    /// The tooltip.
    std::string tip;
    std::vector<PreviewBox> children;
};

} // namespace Brennovar::RefHost

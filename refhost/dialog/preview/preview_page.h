#pragma once

#include "refhost/dialog/preview/atlas_images.h"
#include "refhost/dialog/preview/dialog_layout.h"

#include <string>

namespace Brennovar::RefHost {

/// Writes a laid-out dialog as one self-contained HTML page: every box placed at its pixel
/// position with inline styles, the icons drawn from the atlases embedded as data URIs (the
/// scale-2 image on high-density screens), disabled controls dimmed, and every text that its
/// control cuts off outlined in red, with the list of those texts under the dialog.
///
/// The dialog's box is the element with id "dialog", at kMargin pixels from the page's top
/// left corner, on a page of colour kPageColour.
class PreviewPage {
public:
    static constexpr int kMargin = 20;
    static constexpr std::string_view kPageColour = "#d7d9dc";
    static constexpr std::string_view kDialogColour = "#303236";

    /// The page for the dialog in `language` (a language code, shown in the page's heading).
    static std::string html(const DialogLayout& layout, const AtlasImages& atlases,
                            const std::string& language);
};

} // namespace Brennovar::RefHost

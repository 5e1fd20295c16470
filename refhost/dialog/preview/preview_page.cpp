#include "refhost/dialog/preview/preview_page.h"

#include "refhost/dialog/preview/font_metrics.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace Brennovar::RefHost {

namespace {

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A skin's colour as CSS: a name or #digits, nothing that could carry more style or a URL.
bool isPlainColour(std::string_view colour) {
    return !colour.empty() && std::all_of(colour.begin(), colour.end(), [](char c) {
        return c == '#' || std::isalnum(static_cast<unsigned char>(c));
    });
}

std::string base64(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::uint32_t group = static_cast<std::uint32_t>(bytes[at]) << 16;
        if (at + 1 < bytes.size())
            group |= static_cast<std::uint32_t>(bytes[at + 1]) << 8;
        if (at + 2 < bytes.size())
            group |= bytes[at + 2];
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += at + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : '=';
        out += at + 2 < bytes.size() ? kDigits[group & 63] : '=';
    }
    return out;
}

constexpr std::string_view kStyle = R"(
body { margin: 0; background: PAGE; font-family: FONT; font-size: 12px; color: #1d1f22; }
#dialog { position: absolute; left: MARGINpx; top: MARGINpx; background: DIALOG; color: #e4e6e8;
  box-shadow: 0 4px 14px rgba(0, 0, 0, 0.45); }
.b { position: absolute; box-sizing: border-box; overflow: hidden; white-space: nowrap; }
.t { position: absolute; top: 0; overflow: hidden; white-space: nowrap; }
.i { position: absolute; width: 20px; height: 20px; background-repeat: no-repeat; }
.titlebar { background: #1f2124; border-bottom: 1px solid #55595e; }
.caption .t { font-weight: normal; color: #9fc4ff; }
.on-switch, .push-switch, .button { background: #4a4e54; border: 1px solid #24262a;
  border-radius: 3px; }
.on-switch.on { background: #3d79c7; }
.option-menu, .command-menu { background: #40444a; border: 1px solid #24262a; border-radius: 2px; }
.option-menu::after, .command-menu::after { content: ''; position: absolute; right: 5px; top: 10px;
  border: 4px solid transparent; border-top: 5px solid #c9ccd0; }
.text-entry { background: #1c1e21; border: 1px solid #5a5e63; }
.placeholder { color: #7d8288; }
.check-box::before { content: ''; position: absolute; left: 5px; top: 5px; width: 12px;
  height: 12px; border: 1px solid #8a8f95; background: #1c1e21; }
.check-box.on::before { background: #3d79c7; box-shadow: inset 0 0 0 2px #1c1e21; }
.off { opacity: 0.4; }
.cut { outline: 2px solid #ff3b30; outline-offset: -2px; }
.cut::before { content: ''; position: absolute; right: 0; top: 0; border-left: 9px solid transparent;
  border-top: 9px solid #ff3b30; z-index: 1; }
#cuts { position: absolute; left: MARGINpx; font-size: 12px; }
#cuts li { margin: 2px 0; }
)";

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class Writer {
public:
    explicit Writer(const AtlasImages& atlases) : atlases_(atlases) {}

    void box(const PreviewBox& box, bool root) {
        out_ << "<div class=\"b " << box.look;
        if (box.on)
            out_ << " on";
        if (!box.enabled)
            out_ << " off";
        if (box.cut > 0)
            out_ << " cut";
        out_ << "\"" << (root ? " id=\"dialog\"" : "") << " style=\"";
        // The page's style places the dialog itself.
        if (!root)
            out_ << "left:" << box.x << "px;top:" << box.y << "px;";
        out_ << "width:" << box.width << "px;height:" << box.height << "px";
        if (isPlainColour(box.background))
            out_ << ";background:" << box.background;
        if (isPlainColour(box.color))
            out_ << ";color:" << box.color;
        out_ << "\"";
        std::string tip = box.tip;
        if (box.cut > 0)
            tip += (tip.empty() ? "" : " | ") + std::string("cut off by ") +
                   std::to_string(box.cut) + " px";
        if (!tip.empty())
            out_ << " title=\"" << escaped(tip) << "\"";
        out_ << ">";
        icon(box);
        if (!box.text.empty())
            out_ << "<span class=\"t" << (box.placeholder ? " placeholder" : "")
                 << "\" style=\"left:" << box.textLeft << "px;width:" << box.textWidth
                 << "px;line-height:" << box.height << "px;font-size:" << box.fontSize << "px\">"
                 << escaped(box.text) << "</span>";
        for (const PreviewBox& child : box.children)
            this->box(child, false);
        out_ << "</div>";
    }

    std::string text() const { return out_.str(); }

private:
    void icon(const PreviewBox& box) {
        const AtlasImages::Section* section = atlases_.section(box.icon);
        if (!section)
            return;
        const AtlasImages::Atlas& atlas = atlases_.atlases().at(section->atlas);
        int left = box.text.empty() ? (box.width - section->width) / 2 : 4;
        out_ << "<span class=\"i\" style=\"left:" << left
             << "px;top:" << (box.height - section->height) / 2 << "px;width:" << section->width
             << "px;height:" << section->height << "px;background-position:-" << section->x
             << "px -" << section->y << "px;background-size:" << atlas.width << "px "
             << atlas.height << "px;background-image:var(--" << section->atlas << ")\"></span>";
    }

    const AtlasImages& atlases_;
    std::ostringstream out_;
};

} // namespace

std::string PreviewPage::html(const DialogLayout& layout, const AtlasImages& atlases,
                              const std::string& language) {
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html lang=\"" << escaped(language)
         << "\"><head><meta charset=\"utf-8\"><title>"
         << escaped(layout.dialog().children.empty() ? "" : layout.dialog().children[0].text)
         << "</title>\n<style>";
    std::string style = replaced(std::string(kStyle), "PAGE", kPageColour);
    style = replaced(style, "DIALOG", kDialogColour);
    style = replaced(style, "MARGIN", std::to_string(kMargin));
    page << replaced(style, "FONT", FontMetrics::kFontFamily);
    // The atlases once each, as custom properties that every icon names.
    page << ":root {";
    for (const auto& [name, atlas] : atlases.atlases()) {
        std::string small = "url(data:image/png;base64," + base64(atlas.png) + ")";
        page << "--" << name << ": ";
        if (atlas.png2x.empty())
            page << small << ";";
        else
            page << "image-set(" << small << " 1x, url(data:image/png;base64,"
                 << base64(atlas.png2x) << ") 2x);";
    }
    page << "}\n</style></head><body>\n";
    Writer writer(atlases);
    writer.box(layout.dialog(), true);
    page << writer.text() << "\n";
    page << "<div id=\"cuts\" style=\"top:" << kMargin * 2 + layout.dialog().height << "px\">";
    if (layout.cuts().empty()) {
        page << "Every text fits (" << escaped(language) << ").";
    } else {
        page << "Texts cut off (" << escaped(language) << "):<ul>";
        for (const TextCut& cut : layout.cuts())
            page << "<li>" << escaped(cut.control) << ": \u201C" << escaped(cut.text)
                 << "\u201D needs " << cut.needed << " px, has " << cut.available << " px</li>";
        page << "</ul>";
    }
    page << "</div>\n</body></html>\n";
    return page.str();
}

} // namespace Brennovar::RefHost

#include "refhost/dialog/preview/preview_page.h"
#include "refhost_cli/tool_run.h"

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <zlib.h>

namespace {

using Brennovar::RefHost::PreviewPage;
using namespace RefHostCliTest;
namespace fs = std::filesystem;

// An 8-bit RGB or RGBA PNG, decoded.
struct Image {
    std::uint32_t width = 0, height = 0;
    std::size_t channels = 0;
    std::vector<std::uint8_t> pixels;

    std::uint32_t rgb(std::size_t x, std::size_t y) const {
        const std::uint8_t* p = &pixels[(y * width + x) * channels];
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
};

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    return (static_cast<std::uint8_t>(bytes[at]) << 24) |
           (static_cast<std::uint8_t>(bytes[at + 1]) << 16) |
           (static_cast<std::uint8_t>(bytes[at + 2]) << 8) |
           static_cast<std::uint8_t>(bytes[at + 3]);
}

Image decodePng(const std::string& png) {
    Image image;
    std::string compressed;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        std::uint32_t length = bigEndian(png, at);
        std::string type = png.substr(at + 4, 4);
        if (type == "IHDR") {
            image.width = bigEndian(png, at + 8);
            image.height = bigEndian(png, at + 12);
            image.channels = png[at + 17] == 6 ? 4 : 3;
            if (png[at + 16] != 8 || (png[at + 17] != 6 && png[at + 17] != 2) || png[at + 20])
                return {};
        } else if (type == "IDAT") {
            compressed += png.substr(at + 8, length);
        }
        at += 12 + length;
    }
    const std::size_t stride = image.width * image.channels;
    std::vector<std::uint8_t> raw((stride + 1) * image.height);
    uLongf size = raw.size();
    if (image.width == 0 ||
        uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(compressed.data()),
                   compressed.size()) != Z_OK ||
        size != raw.size())
        return {};
    image.pixels.resize(stride * image.height);
    for (std::size_t y = 0; y < image.height; ++y) {
        const std::uint8_t filter = raw[y * (stride + 1)];
        for (std::size_t i = 0; i < stride; ++i) {
            int a = i >= image.channels ? image.pixels[y * stride + i - image.channels] : 0;
            int b = y > 0 ? image.pixels[(y - 1) * stride + i] : 0;
            int c = y > 0 && i >= image.channels
                        ? image.pixels[(y - 1) * stride + i - image.channels]
                        : 0;
            const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
            const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const int predictors[] = {0, a, b, (a + b) / 2, paeth};
            image.pixels[y * stride + i] = static_cast<std::uint8_t>(
                raw[y * (stride + 1) + 1 + i] + (filter < 5 ? predictors[filter] : 0));
        }
    }
    return image;
}

} // namespace

// What the fit check finds, per language: a table of the controls that cut their text. It
// pins the layout model (unit sizes, paddings, the font's advances) as the docs describe it.
TEST(DialogPreviewTest, CheckFitListsTheCutTextsOfEveryLanguage) {
    auto [status, out, err] = runTool("dialog --json --check-fit " + moduleArgument());
    EXPECT_EQ(status, 1) << "a text that does not fit fails the check";
    const std::set<std::string> addAndOk = {"push-switch addAttributeMapping", "button ok"};
    const std::map<std::string, std::set<std::string>> expected = {
        {"de", addAndOk}, {"us", {}},      {"es", {"button ok"}}, {"fr", addAndOk},
        {"it", addAndOk}, {"jp", {}},      {"pt", addAndOk},      {"ru", addAndOk},
        {"zh", {}},       {"xx", addAndOk}};
    nlohmann::json report = nlohmann::json::parse(out);
    std::map<std::string, std::set<std::string>> found;
    for (const auto& language : report["languages"]) {
        auto& controls = found[language["language"].get<std::string>()];
        for (const auto& cut : language["cuts"]) {
            controls.insert(cut["control"].get<std::string>());
            EXPECT_EQ(cut["cutBy"], cut["needed"].get<int>() - cut["available"].get<int>());
            EXPECT_GT(cut["cutBy"].get<int>(), 0);
        }
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(report["fits"], false);
    EXPECT_TRUE(report["hostProblems"].empty()) << report["hostProblems"];
}

// The page shows a user's text as text, and opens in a real browser showing the whole dialog:
// the screenshot has the window's size, the dialog's box is where and as large as the layout
// says, and it holds drawn text and icons rather than a blank or error page.
TEST(DialogPreviewTest, PageShowsTextsAsTextAndChromiumDrawsItAsLaidOut) {
    const fs::path folder = temporary("chromium");
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path page = folder / "dialog.html";
    const fs::path settings = folder / "settings.json";
    std::ofstream(settings)
        << R"({"mappings": [{"source": "FreeText", "target": "MarkerDescription", "text": "<b>&"}]})";
    auto [status, out, err] =
        runTool("dialog --json --lang de " + moduleArgument() + " --settings " + quoted(settings) +
                " --html " + quoted(page));
    ASSERT_EQ(status, 0) << out;
    EXPECT_NE(readText(page).find(">&lt;b&gt;&amp;</span>"), std::string::npos);

    const ToolRun found = runCommand("command -v chromium || command -v chromium-browser");
    const std::string browser = found.out.substr(0, found.out.find('\n'));
    if (browser.empty())
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps --with-chromium "
                        "installs it); the browser check of the dialog preview is skipped";
    const nlohmann::json written = nlohmann::json::parse(out);
    const int width = written["width"], height = written["height"];
    const int windowWidth = width + 2 * PreviewPage::kMargin;
    const int windowHeight = height + 2 * PreviewPage::kMargin;

    const fs::path shot = folder / "dialog.png";
    const ToolRun shown =
        runCommand("timeout 120 '" + browser +
                   "' --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                   "--disable-background-networking --disable-component-update --disable-sync "
                   "--hide-scrollbars --user-data-dir='" +
                   (folder / "profile").string() + "' --screenshot='" + shot.string() +
                   "' --window-size=" + std::to_string(windowWidth) + "," +
                   std::to_string(windowHeight) + " 'file://" + page.string() + "'");
    ASSERT_EQ(shown.status, 0) << shown.err;

    const Image image = decodePng(readText(shot));
    ASSERT_EQ(image.width, static_cast<std::uint32_t>(windowWidth));
    ASSERT_EQ(image.height, static_cast<std::uint32_t>(windowHeight));
    const std::uint32_t dialogColour =
        std::stoul(std::string(PreviewPage::kDialogColour.substr(1)), nullptr, 16);
    const std::uint32_t pageColour =
        std::stoul(std::string(PreviewPage::kPageColour.substr(1)), nullptr, 16);
    std::size_t left = image.width, top = image.height, right = 0, bottom = 0, drawn = 0;
    for (std::size_t y = 0; y < image.height; ++y)
        for (std::size_t x = 0; x < image.width; ++x) {
            const std::uint32_t colour = image.rgb(x, y);
            if (colour == dialogColour) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            } else if (colour != pageColour) {
                ++drawn;
            }
        }
    EXPECT_EQ(left, static_cast<std::size_t>(PreviewPage::kMargin));
    EXPECT_EQ(right - left, static_cast<std::size_t>(width));
    EXPECT_GE(bottom - top, static_cast<std::size_t>(height) * 9 / 10);
    // Title bar, header, menus, buttons, texts and icons cover far more than a tenth.
    EXPECT_GT(drawn, static_cast<std::size_t>(width * height / 10));
}

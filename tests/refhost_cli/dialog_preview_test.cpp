#include "refhost/dialog/preview/preview_page.h"
#include "refhost_cli/browser_screenshot.h"

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace {

using Brennovar::RefHost::PreviewPage;
using namespace RefHostCliTest;
namespace fs = std::filesystem;

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

    const std::string browser = chromium();
    if (browser.empty())
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps --with-chromium "
                        "installs it); the browser check of the dialog preview is skipped";
    const nlohmann::json written = nlohmann::json::parse(out);
    const int width = written["width"], height = written["height"];
    const int windowWidth = width + 2 * PreviewPage::kMargin;
    const int windowHeight = height + 2 * PreviewPage::kMargin;

    ToolRun shown;
    const Image image = screenshot(browser, page, windowWidth, windowHeight, shown);
    ASSERT_EQ(shown.status, 0) << shown.err;
    ASSERT_EQ(image.width, static_cast<std::uint32_t>(windowWidth));
    ASSERT_EQ(image.height, static_cast<std::uint32_t>(windowHeight));
    const std::uint32_t dialogColour = rgb(PreviewPage::kDialogColour);
    const std::uint32_t pageColour = rgb(PreviewPage::kPageColour);
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

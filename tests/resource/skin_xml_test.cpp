#include "resource_files.h"

#include <expat.h>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace Brennovar::Testing {
namespace {

/// An element of a document, in document order.
struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;

    std::string attribute(const std::string& key) const {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
};

std::vector<Element> elementsOf(const std::string& file) {
    const auto bytes = readResourceFile(file);
    std::vector<Element> elements;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &elements);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            Element element{name, {}};
            for (; attributes[0]; attributes += 2)
                element.attributes[attributes[0]] = attributes[1];
            static_cast<std::vector<Element>*>(data)->push_back(std::move(element));
        },
        nullptr);
    const bool parsed = XML_Parse(parser, reinterpret_cast<const char*>(bytes.data()),
                                  static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    EXPECT_TRUE(parsed) << file << " is not well-formed";
    return elements;
}

std::vector<const Element*> all(const std::vector<Element>& document, const std::string& name) {
    std::vector<const Element*> found;
    for (const Element& e : document)
        if (e.name == name)
            found.push_back(&e);
    return found;
}

TEST(SkinXmlTest, IsAsciiWithCrLfLinesAndTabIndentation) {
    const auto bytes = readResourceFile("skin.xml");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("<skin>", 0), 0u) << "no XML declaration, the root comes first";
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        ASSERT_LT(c, 0x80) << "byte " << i;
        ASSERT_TRUE(c != '\r' || (i + 1 < text.size() && text[i + 1] == '\n')) << "bare CR " << i;
        ASSERT_TRUE(c != '\n' || (i > 0 && text[i - 1] == '\r')) << "bare LF at " << i;
        ASSERT_FALSE(c == ' ' && i == lineStart) << "line indented with spaces at byte " << i;
        if (c == '\n')
            lineStart = i + 1;
    }
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

// Whether every bound name, template, title, button and icon resolves is decided by the
// reference host's dialog runtime, which renders this skin against the module's controllers and
// reports problems.
TEST(SkinXmlTest, AtlasSectionsTileTheAtlas) {
    const std::vector<Element> skin = elementsOf("skin.xml");
    const auto atlases = all(skin, "bitmapatlas");
    ASSERT_EQ(atlases.size(), 1u);
    EXPECT_EQ(atlases[0]->attribute("path"), "icons-zintara.png");
    constexpr int kWidth = 120, kHeight = 20;
    std::vector<int> covered(kWidth * kHeight, 0);
    const auto sections = all(skin, "atlassection");
    EXPECT_EQ(sections.size(), 6u);
    for (const Element* section : sections) {
        int x = 0, y = 0, w = 0, h = 0;
        ASSERT_EQ(std::sscanf(section->attribute("size").c_str(), "%d,%d,%d,%d", &x, &y, &w, &h),
                  4);
        ASSERT_TRUE(x >= 0 && y >= 0 && x + w <= kWidth && y + h <= kHeight)
            << section->attribute("name");
        for (int row = y; row < y + h; ++row)
            for (int column = x; column < x + w; ++column)
                ++covered[row * kWidth + column];
    }
    for (int i = 0; i < kWidth * kHeight; ++i)
        ASSERT_EQ(covered[i], 1) << "pixel " << i % kWidth << "," << i / kWidth;
}

TEST(SkinXmlTest, EveryTextIsATranslationKey) {
    std::set<std::string> keys;
    for (const Element& e : elementsOf("translation.xml"))
        if (e.name == "String")
            keys.insert(e.attribute("Key"));
    std::size_t texts = 0;
    for (const Element& e : elementsOf("skin.xml")) {
        for (const char* attribute : {"title", "tip", "placeholder"}) {
            const std::string text = e.attribute(attribute);
            texts += !text.empty();
            EXPECT_TRUE(text.empty() || keys.count(text))
                << e.name << " " << attribute << " " << text;
        }
    }
    EXPECT_GT(texts, 0u);
}

} // namespace
} // namespace Brennovar::Testing

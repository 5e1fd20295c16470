#include "resource_files.h"

#include <cstdio>
#include <expat.h>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>

namespace Brennovar::Testing {
namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<std::unique_ptr<Element>> children;
    Element* parent = nullptr;

    std::string attribute(const std::string& key) const {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    void visit(const std::function<void(const Element&)>& f) const {
        f(*this);
        for (const auto& child : children)
            child->visit(f);
    }
};

struct TreeBuilder {
    std::unique_ptr<Element> root;
    Element* current = nullptr;
};

std::unique_ptr<Element> parseXml(const std::string& text) {
    TreeBuilder builder;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &builder);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            auto& b = *static_cast<TreeBuilder*>(data);
            auto element = std::make_unique<Element>();
            element->name = name;
            for (; attributes[0]; attributes += 2)
                element->attributes[attributes[0]] = attributes[1];
            element->parent = b.current;
            Element* raw = element.get();
            if (b.current)
                b.current->children.push_back(std::move(element));
            else
                b.root = std::move(element);
            b.current = raw;
        },
        [](void* data, const XML_Char*) {
            auto& b = *static_cast<TreeBuilder*>(data);
            b.current = b.current->parent;
        });
    const bool parsed =
        XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return parsed ? std::move(builder.root) : nullptr;
}

class SkinXmlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto bytes = readBinaryFile(std::string(ZINTARA_RESOURCE_DIR) + "/skin.xml");
        text_.assign(bytes.begin(), bytes.end());
        root_ = parseXml(text_);
        ASSERT_TRUE(root_) << "skin.xml is not well-formed";
    }

    std::vector<const Element*> all(const std::string& name) const {
        std::vector<const Element*> found;
        root_->visit([&](const Element& e) {
            if (e.name == name)
                found.push_back(&e);
        });
        return found;
    }

    std::string text_;
    std::unique_ptr<Element> root_;
};

TEST_F(SkinXmlTest, IsAsciiWithCrLfLinesAndTabIndentation) {
    EXPECT_EQ(text_.rfind("<skin>", 0), 0u) << "no XML declaration, the root comes first";
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const auto c = static_cast<unsigned char>(text_[i]);
        ASSERT_LT(c, 0x80) << "byte " << i;
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < text_.size() && text_[i + 1] == '\n') << "bare CR at " << i;
        }
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && text_[i - 1] == '\r') << "bare LF at " << i;
            lineStart = i + 1;
        }
        if (c == ' ' && i == lineStart)
            FAIL() << "line indented with spaces at byte " << i;
    }
    EXPECT_EQ(text_.substr(text_.size() - 2), "\r\n");
}

TEST_F(SkinXmlTest, HasTheResourcesAndSixTemplates) {
    EXPECT_EQ(root_->name, "skin");
    std::vector<std::string> children;
    for (const auto& child : root_->children)
        children.push_back(child->name == "template" ? child->attribute("name") : child->name);
    EXPECT_EQ(children, (std::vector<std::string>{
                            "resources", "ZintaraDialog", "AttributeMappingView", "ListHeader",
                            "AttributeMappingListView", "AttributeMappingRow", "FreeTextField"}));
    const Element& dialog = *root_->children[1];
    EXPECT_EQ(dialog.attribute("buttons"), "ok|cancel");
    EXPECT_EQ(dialog.attribute("title"), "Create Markers from Selected Events");
    EXPECT_EQ(dialog.attribute("style"), "dialogstyle|rememberpos");
}

TEST_F(SkinXmlTest, EveryBoundNameIsAControllerParameter) {
    const std::set<std::string> parameters = {"markerType",
                                              "markerTargetTrackType",
                                              "combineAdjacentEvents",
                                              "attributeMappingChanged",
                                              "addAttributeMapping",
                                              "ok",
                                              "selectSourceAttribute",
                                              "selectTargetAttribute",
                                              "deleteAttribute",
                                              "freeText",
                                              "toggleFreeText"};
    const std::set<std::string> boundElements = {"radio-group",  "option-menu",
                                                 "check-box",    "dependentcontentview",
                                                 "push-switch",  "exclusive-group-legacy",
                                                 "command-menu", "text-entry"};
    std::set<std::string> bound;
    root_->visit([&](const Element& e) {
        if (!boundElements.count(e.name))
            return;
        EXPECT_TRUE(parameters.count(e.attribute("name")))
            << e.name << " binds unknown \"" << e.attribute("name") << "\"";
        bound.insert(e.attribute("name"));
    });
    std::set<std::string> expected = parameters;
    expected.erase("ok"); // bound through the template's buttons
    EXPECT_EQ(bound, expected);
}

TEST_F(SkinXmlTest, EveryReferenceResolves) {
    std::set<std::string> templates;
    for (const Element* t : all("template"))
        templates.insert(t->attribute("name"));
    std::set<std::string> sections;
    for (const Element* s : all("atlassection")) {
        EXPECT_EQ(s->attribute("path"), "baZintaraIcons");
        sections.insert(s->attribute("name"));
    }
    for (const Element* view : all("view"))
        EXPECT_TRUE(templates.count(view->attribute("name"))) << view->attribute("name");
    for (const Element* view : all("dependentcontentview"))
        EXPECT_TRUE(templates.count(view->attribute("template"))) << view->attribute("template");
    root_->visit([&](const Element& e) {
        const std::string symbol =
            e.name == "symbol" ? e.attribute("name") : e.attribute("symbols");
        if (!symbol.empty()) {
            EXPECT_TRUE(sections.count(symbol)) << symbol;
        }
    });
    const auto controllers = all("controller");
    ASSERT_EQ(controllers.size(), 1u);
    EXPECT_EQ(controllers[0]->attribute("name"), "AttributeMappingViewController[i]");
    const auto loops = all("for");
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_EQ(loops[0]->attribute("range"), "0,8");
}

TEST_F(SkinXmlTest, AtlasSectionsTileTheAtlas) {
    const auto atlases = all("bitmapatlas");
    ASSERT_EQ(atlases.size(), 1u);
    EXPECT_EQ(atlases[0]->attribute("path"), "icons-zintara.png");
    constexpr int kWidth = 120, kHeight = 20;
    std::vector<int> covered(kWidth * kHeight, 0);
    const auto sections = all("atlassection");
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

TEST_F(SkinXmlTest, EveryTextIsATranslationKey) {
    const auto table = readBinaryFile(std::string(ZINTARA_RESOURCE_DIR) + "/translation.xml");
    const auto translations = parseXml(std::string(table.begin(), table.end()));
    ASSERT_TRUE(translations) << "translation.xml is not well-formed";
    std::set<std::string> keys;
    translations->visit([&](const Element& e) {
        if (e.name == "String")
            keys.insert(e.attribute("Key"));
    });
    std::size_t texts = 0;
    root_->visit([&](const Element& e) {
        for (const char* attribute : {"title", "tip", "placeholder"}) {
            const std::string text = e.attribute(attribute);
            if (text.empty())
                continue;
            ++texts;
            EXPECT_TRUE(keys.count(text)) << e.name << " " << attribute << " \"" << text << "\"";
        }
    });
    EXPECT_GT(texts, 0u);
}

} // namespace
} // namespace Brennovar::Testing

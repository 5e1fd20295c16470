#include "refhost/dialog/skin_document.h"

#include "module/module_names.h"
#include "refhost/core/host_error.h"
#include "refhost/resources/skin_container.h"

#include <expat.h>
#include <memory>
#include <set>

namespace Brennovar::RefHost {

namespace {

// Deeper nesting than any dialog needs is refused rather than followed.
constexpr std::size_t kMaxDepth = 64;

struct ParseState {
    SkinElement root;
    std::vector<SkinElement*> open;
    XML_Parser parser = nullptr;
    std::string error;
};

void XMLCALL onStart(void* context, const XML_Char* name, const XML_Char** attributes) {
    auto& state = *static_cast<ParseState*>(context);
    if (!state.error.empty())
        return;
    SkinElement element;
    element.type = name;
    element.line = static_cast<int>(XML_GetCurrentLineNumber(state.parser));
    for (const XML_Char** a = attributes; *a; a += 2)
        element.attributes.emplace_back(a[0], a[1]);
    if (state.open.empty()) {
        state.root = std::move(element);
        state.open.push_back(&state.root);
        return;
    }
    if (state.open.size() >= kMaxDepth) {
        state.error = "line " + std::to_string(element.line) + ": elements nest deeper than " +
                      std::to_string(kMaxDepth);
        XML_StopParser(state.parser, XML_FALSE);
        return;
    }
    auto& children = state.open.back()->children;
    children.push_back(std::move(element));
    state.open.push_back(&children.back());
}

void XMLCALL onEnd(void* context, const XML_Char*) {
    auto& state = *static_cast<ParseState*>(context);
    if (!state.open.empty())
        state.open.pop_back();
}

} // namespace

SkinDocument SkinDocument::parse(std::string_view xml) {
    const auto fail = [](const std::string& problem) {
        return FileError(Zintara::Names::kSkinDocument, "", problem, kExitCheckFailed);
    };
    ParseState state;
    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                        XML_ParserFree);
    if (!parser)
        throw fail("out of memory");
    state.parser = parser.get();
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    const bool parsed = XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()),
                                  XML_TRUE) == XML_STATUS_OK;
    if (!state.error.empty())
        throw fail(state.error);
    if (!parsed)
        throw fail("line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
                   XML_ErrorString(XML_GetErrorCode(parser.get())));
    if (state.root.type != "skin")
        throw fail("the root element is <" + state.root.type + ">, not <skin>");
    std::set<std::string_view> names;
    for (const SkinElement& child : state.root.children)
        if (child.type == "template" && !names.insert(child.attribute("name")).second)
            throw fail("line " + std::to_string(child.line) + ": a second template named \"" +
                       std::string(child.attribute("name")) + "\"");
    SkinDocument document;
    document.root_ = std::move(state.root);
    return document;
}

SkinDocument SkinDocument::fromContainer(std::span<const std::uint8_t> bytes) {
    const SkinContainer container = readContainer(bytes);
    const ContainerEntry* skin = container.find(Zintara::Names::kSkinDocument);
    if (!skin)
        throw FileError(Zintara::Names::kSkinResource, "", "the container holds no \"skin.xml\"",
                        kExitCheckFailed);
    try {
        return parse(
            std::string_view(reinterpret_cast<const char*>(skin->data.data()), skin->data.size()));
    } catch (const HostError& e) {
        throw FileError(Zintara::Names::kSkinResource, "", "skin.xml: " + e.problem(),
                        kExitCheckFailed);
    }
}

const SkinElement* SkinDocument::findTemplate(std::string_view name) const noexcept {
    for (const SkinElement& child : root_.children)
        if (child.type == "template" && child.attribute("name") == name)
            return &child;
    return nullptr;
}

bool SkinDocument::hasSymbol(std::string_view name) const noexcept {
    for (const SkinElement& resources : root_.children)
        if (resources.type == "resources")
            for (const SkinElement& atlas : resources.children)
                for (const SkinElement& section : atlas.children)
                    if (section.type == "atlassection" && section.attribute("name") == name)
                        return true;
    return false;
}

} // namespace Brennovar::RefHost

#include "refhost/dialog/preview/atlas_images.h"

#include "module/module_names.h"
#include "refhost/core/host_error.h"
#include "refhost/resources/skin_container.h"

#include <charconv>

namespace Brennovar::RefHost {

namespace {

// The size of a PNG from its IHDR chunk; false when the bytes are not a PNG.
bool pngSize(const std::vector<std::uint8_t>& png, int& width, int& height) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 24 || !std::equal(std::begin(kSignature), std::end(kSignature), png.begin()))
        return false;
    auto big = [&](std::size_t at) {
        return static_cast<int>((png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) |
                                png[at + 3]);
    };
    width = big(16);
    height = big(20);
    return width > 0 && height > 0;
}

std::string scaled2xName(std::string_view path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        dot = path.size();
    return std::string(path.substr(0, dot)) + "_2.00x" + std::string(path.substr(dot));
}

bool parseRect(std::string_view text, AtlasImages::Section& section) {
    int* fields[] = {&section.x, &section.y, &section.width, &section.height};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0 && (at == end || *at++ != ','))
            return false;
        auto [next, error] = std::from_chars(at, end, *fields[i]);
        if (error != std::errc() || *fields[i] < 0)
            return false;
        at = next;
    }
    return at == end;
}

} // namespace

AtlasImages AtlasImages::load(const SkinDocument& skin, std::span<const std::uint8_t> container) {
    const auto fail = [](const std::string& problem) {
        return FileError(Zintara::Names::kSkinResource, "", problem, kExitCheckFailed);
    };
    const SkinContainer files = readContainer(container);
    AtlasImages images;
    for (const SkinElement& resources : skin.root().children) {
        if (resources.type != "resources")
            continue;
        for (const SkinElement& atlasElement : resources.children) {
            if (atlasElement.type != "bitmapatlas")
                continue;
            std::string_view path = atlasElement.attribute("path");
            const ContainerEntry* image = files.find(path);
            Atlas atlas;
            if (!image || !pngSize(image->data, atlas.width, atlas.height))
                throw fail("atlas \"" + std::string(path) + "\" is not a PNG of the container");
            atlas.png = image->data;
            if (const ContainerEntry* large = files.find(scaled2xName(path)))
                atlas.png2x = large->data;
            for (const SkinElement& element : atlasElement.children) {
                Section section{std::string(atlasElement.attribute("name")), 0, 0, 0, 0};
                if (element.type != "atlassection")
                    continue;
                if (!parseRect(element.attribute("size"), section) ||
                    section.x + section.width > atlas.width ||
                    section.y + section.height > atlas.height)
                    throw fail("line " + std::to_string(element.line) + ": atlas section \"" +
                               std::string(element.attribute("name")) +
                               "\" is not a rectangle of its atlas");
                images.sections_[std::string(element.attribute("name"))] = section;
            }
            images.atlases_[std::string(atlasElement.attribute("name"))] = std::move(atlas);
        }
    }
    return images;
}

const AtlasImages::Section* AtlasImages::section(std::string_view name) const noexcept {
    auto found = sections_.find(name);
    return found == sections_.end() ? nullptr : &found->second;
}

} // namespace Brennovar::RefHost

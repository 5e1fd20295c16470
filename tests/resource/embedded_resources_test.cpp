#include "platform/embedded_resources.h"

#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace Brennovar::Platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

void appendWord(Bytes& out, std::uint32_t value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    out.insert(out.end(), bytes, bytes + 4);
}

void pad(Bytes& out, std::size_t alignment) {
    while (out.size() % alignment)
        out.push_back(0);
}

// The bytes with the word at `at` replaced, to make a size lie.
Bytes withWord(Bytes bytes, std::size_t at, std::uint32_t value) {
    std::memcpy(bytes.data() + at, &value, 4);
    return bytes;
}

// A resource note's descriptor: name size, data size, the padded name and the data.
Bytes resource(std::string_view name, std::string_view data) {
    Bytes desc;
    appendWord(desc, static_cast<std::uint32_t>(name.size()));
    appendWord(desc, static_cast<std::uint32_t>(data.size()));
    desc.insert(desc.end(), name.begin(), name.end());
    pad(desc, 4);
    desc.insert(desc.end(), data.begin(), data.end());
    return desc;
}

// A note's owner, type and descriptor.
using Note = std::tuple<std::string, std::uint32_t, Bytes>;

Note resourceNote(Bytes desc) {
    return {"Brennovar", 10, std::move(desc)};
}

Bytes segment(const std::vector<Note>& notes, std::size_t alignment = 4) {
    Bytes out;
    for (const auto& [owner, type, desc] : notes) {
        appendWord(out, static_cast<std::uint32_t>(owner.size() + 1));
        appendWord(out, static_cast<std::uint32_t>(desc.size()));
        appendWord(out, type);
        out.insert(out.end(), owner.begin(), owner.end());
        out.push_back(0);
        pad(out, alignment);
        out.insert(out.end(), desc.begin(), desc.end());
        pad(out, alignment);
    }
    return out;
}

std::string found(const Bytes& notes, std::string_view name, std::size_t alignment = 4) {
    const auto data = detail::findInNotes(notes, alignment, name);
    return data ? std::string(data->begin(), data->end()) : "<none>";
}

TEST(ResourceNotesTest, FindsResourcesByNameWithoutRegardToCase) {
    const Bytes notes = segment({{"GNU", 3, Bytes(20, 0xAB)},
                                 resourceNote(resource("SKIN.KXP", "container")),
                                 {"Brennovar", 11, resource("OTHER", "wrong type")},
                                 {"Brennovar2", 10, resource("OTHER", "wrong owner")},
                                 resourceNote(resource("TRANSLATION.XML", "table")),
                                 resourceNote(resource("EMPTY", ""))});
    const std::pair<std::string_view, std::string> cases[] = {
        {"skin.kxp", "container"},    {"Skin.Kxp", "container"},
        {"translation.xml", "table"}, {"empty", ""},
        {"SKIN", "<none>"},           {"SKIN.KXP2", "<none>"},
        {"other", "<none>"},          {"", "<none>"}};
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(found(notes, name), expected) << name;
    EXPECT_EQ(found(segment({resourceNote(resource("A", "eight"))}, 8), "a", 8), "eight");
}

TEST(ResourceNotesTest, NeverReadsPastItsNoteOrSegment) {
    const Note good = resourceNote(resource("GOOD", "ok"));
    const std::tuple<const char*, Bytes, std::string> cases[] = {
        {"data size beyond the note is skipped",
         segment({resourceNote(withWord(resource("GOOD", "x"), 4, 1000)), good}), "ok"},
        {"name size beyond the note is skipped",
         segment({resourceNote(withWord(resource("GOOD", "x"), 0, 1000)), good}), "ok"},
        {"descriptor too short for its sizes is skipped",
         segment({resourceNote(Bytes{1, 0, 0}), good}), "ok"},
        {"descriptor beyond the segment ends the walk",
         withWord(segment({resourceNote(resource("GOOD", "x")), good}), 4, 0xFFFFFFF0), "<none>"},
        {"owner beyond the segment ends the walk",
         withWord(segment({{"GNU", 3, {}}}), 0, UINT32_MAX), "<none>"},
        {"truncated header", Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, "<none>"},
        {"empty segment", Bytes{}, "<none>"},
        {"resource cut by the segment end",
         [&] {
             Bytes n = segment({resourceNote(resource("GOOD", "long data"))});
             n.erase(n.end() - 4, n.end());
             return n;
         }(),
         "<none>"},
    };
    for (const auto& [what, notes, expected] : cases)
        EXPECT_EQ(found(notes, "good"), expected) << what;
}

TEST(LoadedModuleResourcesTest, OnlyTheModuleStartIsItsHandle) {
    const char* path = std::getenv("ZINTARA_MODULE");
    ASSERT_NE(path, nullptr) << "ZINTARA_MODULE is not set";
    const std::unique_ptr<void, int (*)(void*)> library(dlopen(path, RTLD_NOW | RTLD_LOCAL),
                                                        dlclose);
    ASSERT_NE(library, nullptr) << dlerror();
    Dl_info info{};
    ASSERT_NE(dladdr(dlsym(library.get(), "GetPluginFactory"), &info), 0);
    const auto* start = static_cast<const std::uint8_t*>(info.dli_fbase);
    int local = 0;
    EXPECT_FALSE(findResource(start + 4096, "skin.kxp"));
    EXPECT_FALSE(findResource(start + 1, "skin.kxp"));
    EXPECT_FALSE(findResource(&local, "skin.kxp"));
    // The test program links the same resources; the handle chooses whose are read, and the
    // null handle is the main program.
    Dl_info program{};
    ASSERT_NE(dladdr(reinterpret_cast<const void*>(&appendWord), &program), 0);
    const auto own = findResource(nullptr, "skin.kxp");
    const auto viaBase = findResource(program.dli_fbase, "skin.kxp");
    const auto module = findResource(start, "skin.kxp");
    ASSERT_TRUE(own && viaBase && module);
    EXPECT_EQ(own->data(), viaBase->data());
    EXPECT_NE(own->data(), module->data());
}

} // namespace
} // namespace Brennovar::Platform

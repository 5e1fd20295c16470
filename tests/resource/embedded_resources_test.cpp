#include "platform/embedded_resources.h"

#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>

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

// A resource note's descriptor; the sizes may be overridden to make it lie.
Bytes resource(std::string_view name, std::string_view data, std::uint32_t nameSize = UINT32_MAX,
               std::uint32_t dataSize = UINT32_MAX) {
    Bytes desc;
    appendWord(desc, nameSize == UINT32_MAX ? static_cast<std::uint32_t>(name.size()) : nameSize);
    appendWord(desc, dataSize == UINT32_MAX ? static_cast<std::uint32_t>(data.size()) : dataSize);
    desc.insert(desc.end(), name.begin(), name.end());
    pad(desc, 4);
    desc.insert(desc.end(), data.begin(), data.end());
    return desc;
}

struct Note {
    std::string owner;
    std::uint32_t type;
    Bytes desc;
    std::uint32_t descSize = UINT32_MAX;
};

Note resourceNote(Bytes desc) {
    return {"Brennovar", 10, std::move(desc)};
}

Bytes segment(const std::vector<Note>& notes, std::size_t alignment = 4) {
    Bytes out;
    for (const Note& note : notes) {
        appendWord(out, static_cast<std::uint32_t>(note.owner.size() + 1));
        appendWord(out, note.descSize == UINT32_MAX ? static_cast<std::uint32_t>(note.desc.size())
                                                    : note.descSize);
        appendWord(out, note.type);
        out.insert(out.end(), note.owner.begin(), note.owner.end());
        out.push_back(0);
        pad(out, alignment);
        out.insert(out.end(), note.desc.begin(), note.desc.end());
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
    const struct {
        const char* what;
        Bytes notes;
        std::string expected;
    } cases[] = {
        {"data size beyond the note is skipped",
         segment({resourceNote(resource("GOOD", "x", UINT32_MAX, 1000)), good}), "ok"},
        {"name size beyond the note is skipped",
         segment({resourceNote(resource("GOOD", "x", 1000)), good}), "ok"},
        {"descriptor too short for its sizes is skipped",
         segment({resourceNote(Bytes{1, 0, 0}), good}), "ok"},
        {"descriptor beyond the segment ends the walk",
         segment({{"Brennovar", 10, resource("GOOD", "x"), 0xFFFFFFF0}, good}), "<none>"},
        {"owner beyond the segment ends the walk",
         [] {
             Bytes n = segment({{"GNU", 3, {}}});
             std::memset(n.data(), 0xFF, 4);
             return n;
         }(),
         "<none>"},
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
    for (const auto& testCase : cases)
        EXPECT_EQ(found(testCase.notes, "good"), testCase.expected) << testCase.what;
}

class LoadedModuleResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("ZINTARA_MODULE");
        ASSERT_NE(path, nullptr) << "ZINTARA_MODULE is not set";
        library_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library_, nullptr) << dlerror();
        Dl_info info{};
        ASSERT_NE(dladdr(dlsym(library_, "GetPluginFactory"), &info), 0);
        handle_ = info.dli_fbase;
    }
    void TearDown() override {
        if (library_)
            dlclose(library_);
    }

    void* library_ = nullptr;
    ModuleHandle handle_ = nullptr;
};

TEST_F(LoadedModuleResourcesTest, OnlyTheModuleStartIsItsHandle) {
    const auto* start = static_cast<const std::uint8_t*>(handle_);
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
    const auto module = findResource(handle_, "skin.kxp");
    ASSERT_TRUE(own && viaBase && module);
    EXPECT_EQ(own->data(), viaBase->data());
    EXPECT_NE(own->data(), module->data());
}

} // namespace
} // namespace Brennovar::Platform

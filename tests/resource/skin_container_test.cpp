#include "container_writer.h"
#include "md5_digest.h"
#include "refhost/core/host_error.h"
#include "refhost/resources/skin_container.h"
#include "resource_files.h"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace Brennovar::RefHost {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Testing::readBinaryFile;

/// Why reading the container is refused; empty when it is read.
std::string refusal(const Bytes& bytes, std::uint64_t maxTotal = kMaxContainerBytes) {
    try {
        readContainer(bytes, maxTotal);
        return {};
    } catch (const HostError& error) {
        return error.problem();
    }
}

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::uint32_t getWord(const Bytes& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

TEST(Md5DigestTest, KnownDigests) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [message, digest] : cases)
        EXPECT_EQ(Resources::Md5Digest::hexOf(bytesOf(message)), digest) << message;
}

// The entries' names and contents are the skin command's case; here the layout and the trailer.
TEST(BuiltContainerTest, StoresTheAtlasesAsTheyAreTheSkinCompressedAndDescribesTheFile) {
    const Bytes bytes = readBinaryFile(ZINTARA_SKIN_CONTAINER_PATH);
    const SkinContainer container = readContainer(bytes);
    ASSERT_EQ(container.entries.size(), 3u);
    EXPECT_EQ(container.entries[0].offset, 25u);
    const std::uint32_t flags[] = {2, 2, 6};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(container.entries[i].flags, flags[i]) << container.entries[i].name;
    const ContainerEntry& skin = container.entries[2];
    EXPECT_LT(skin.storedSize, skin.data.size());
    const std::size_t directoryEnd = bytes.size() - 48;
    EXPECT_EQ(getWord(bytes, bytes.size() - 16), directoryEnd - skin.offset - skin.storedSize);
    EXPECT_EQ(getWord(bytes, bytes.size() - 12), 3u);
    EXPECT_EQ(getWord(bytes, bytes.size() - 8), 48u);
    EXPECT_EQ(std::string(bytes.end() - 4, bytes.end()), "KXP2");
    EXPECT_EQ(container.digest, Resources::Md5Digest::hexOf(std::span(bytes).first(directoryEnd)));
    std::string error;
    EXPECT_TRUE(validateSkinContainer(bytes, error)) << error;
}

// A small container like the skin's: two stored files and a compressed one.
Bytes sampleContainer() {
    return Resources::packContainer({
        {"a.png", bytesOf("PNG-DATA"), false},
        {"b.png", bytesOf("MORE-PNG-DATA"), false},
        {"skin.xml", bytesOf("<skin><template name=\"ZintaraDialog\"/></skin>"), true},
    });
}

void putWord(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void addToWord(Bytes& bytes, std::size_t at, std::uint32_t amount) {
    putWord(bytes, at, getWord(bytes, at) + amount);
}

// Positions in the sample: directory records are 12 + 6, 12 + 6 and 16 + 9 bytes long.
std::size_t directoryStart(const Bytes& c) {
    return c.size() - 48 - getWord(c, c.size() - 16);
}
std::size_t record(const Bytes& c, int index) {
    return directoryStart(c) + 18 * static_cast<std::size_t>(index);
}
void gapBeforeDirectory(Bytes& c) {
    c.insert(c.begin() + static_cast<std::ptrdiff_t>(directoryStart(c)), 0);
}

TEST(SkinContainerReaderTest, RefusesDamagedContainers) {
    std::string sampleError;
    ASSERT_TRUE(validateSkinContainer(sampleContainer(), sampleError)) << sampleError;
    const std::tuple<const char*, std::function<void(Bytes&)>, const char*> cases[] = {
        {"empty", [](Bytes& c) { c.clear(); }, "too small"},
        {"header and tail only", [](Bytes& c) { c.resize(72); }, "too small"},
        {"last byte cut", [](Bytes& c) { c.pop_back(); }, "magic"},
        {"first byte cut", [](Bytes& c) { c.erase(c.begin()); }, "header line"},
        {"wrong magic", [](Bytes& c) { c.back() = '3'; }, "magic"},
        {"tail size 47", [](Bytes& c) { putWord(c, c.size() - 8, 47); }, "tail size 47"},
        {"directory larger than the file", [](Bytes& c) { putWord(c, c.size() - 16, 0xFFFFFFF0); },
         "does not fit"},
        {"directory one byte larger", [](Bytes& c) { addToWord(c, c.size() - 16, 1); },
         "entry \"ng\" lies outside"},
        {"entry count 4", [](Bytes& c) { putWord(c, c.size() - 12, 4); },
         "directory record 3 is truncated"},
        {"entry count 2", [](Bytes& c) { putWord(c, c.size() - 12, 2); },
         "does not match its records"},
        {"entry count huge", [](Bytes& c) { putWord(c, c.size() - 12, 0x7FFFFFFF); },
         "entry count"},
        {"offset past the end", [](Bytes& c) { putWord(c, record(c, 1) + 4, 0xFFFFFF00); },
         "outside the entry data"},
        {"offset inside the header", [](Bytes& c) { putWord(c, record(c, 0) + 4, 24); },
         "outside the entry data"},
        {"stored size wrapping around", [](Bytes& c) { putWord(c, record(c, 0) + 8, 0xFFFFFFF0); },
         "outside the entry data"},
        {"gap between entries", [](Bytes& c) { addToWord(c, record(c, 1) + 4, 1); },
         "does not start where"},
        {"gap before the directory", gapBeforeDirectory,
         "1 bytes lie between the last entry and the directory"},
        {"bytes after the zlib stream",
         [](Bytes& c) { gapBeforeDirectory(c), addToWord(c, record(c, 2) + 8, 1); },
         "has bytes after its zlib stream"},
        {"empty name", [](Bytes& c) { c[record(c, 0) + 12] = 0; }, "record 0 has an empty name"},
        {"name without terminator", [](Bytes& c) { c[c.size() - 49] = 'x'; }, "terminated"},
        {"duplicate name", [](Bytes& c) { c[record(c, 1) + 12] = 'a'; }, "appears twice"},
        {"recorded size one more", [](Bytes& c) { addToWord(c, record(c, 2) + 12, 1); },
         "not its recorded size"},
        {"recorded size one less", [](Bytes& c) { addToWord(c, record(c, 2) + 12, UINT32_MAX); },
         "more than its recorded size"},
        {"recorded size impossible", [](Bytes& c) { putWord(c, record(c, 2) + 12, 0xFFFFFFFF); },
         "impossible"},
        {"compressed bytes damaged", [](Bytes& c) { c[getWord(c, record(c, 2) + 4) + 4] ^= 0xFF; },
         "zlib"},
        {"lower-case digest", [](Bytes& c) { c[c.size() - 48] = 'a'; }, "digest"},
    };
    for (const auto& [what, damage, message] : cases) {
        Bytes damaged = sampleContainer();
        damage(damaged);
        EXPECT_NE(refusal(damaged).find(message), std::string::npos) << what;
        std::string error;
        EXPECT_FALSE(validateSkinContainer(damaged, error)) << what;
    }
}

TEST(SkinContainerReaderTest, RefusesSkinsThatAreNotDialogs) {
    // What the case is, the skin's entry name, its text and what the refusal says.
    const std::tuple<const char*, std::string, std::string, const char*> cases[] = {
        {"no skin.xml", "other.xml", "<skin/>", "no \"skin.xml\""},
        {"not well-formed", "skin.xml", "<skin><template></skin>", "not well-formed"},
        {"empty skin", "skin.xml", "", "not well-formed"},
        {"other root", "skin.xml", "<theme><template name=\"ZintaraDialog\"/></theme>", "root"},
        {"dialog missing", "skin.xml", "<skin><template name=\"zintaradialog\"/></skin>",
         "ZintaraDialog"},
        {"atlas missing", "skin.xml",
         "<skin><resources><bitmapatlas path=\"gone.png\"/></resources>"
         "<template name=\"ZintaraDialog\"/></skin>",
         "gone.png"},
    };
    for (const auto& [what, skinName, skin, message] : cases) {
        const Bytes container = Resources::packContainer({{skinName, bytesOf(skin), true}});
        std::string error;
        EXPECT_FALSE(validateSkinContainer(container, error)) << what;
        EXPECT_NE(error.find(message), std::string::npos) << what << ": " << error;
    }
}

// Each entry's size is capped; so is their sum, or many entries under the cap add up to
// gigabytes.
TEST(SkinContainerReaderTest, BoundsWhatAllEntriesHoldTogether) {
    const Bytes sample = sampleContainer();
    std::uint64_t total = 0;
    for (const ContainerEntry& entry : readContainer(sample).entries)
        total += entry.data.size();
    EXPECT_NO_THROW(readContainer(sample, total));
    EXPECT_NE(refusal(sample, total - 1).find("in all, more than"), std::string::npos);
}

} // namespace
} // namespace Brennovar::RefHost

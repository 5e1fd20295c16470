#include "refhost/resources/skin_container.h"

#include "module/module_names.h"
#include "refhost/core/host_error.h"

#include <algorithm>
#include <expat.h>
#include <new>
#include <set>
#include <zlib.h>

namespace Brennovar::RefHost {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view kHeader = Zintara::Names::kContainerHeader;
constexpr std::string_view kMagic = Zintara::Names::kContainerMagic;
constexpr std::size_t kTrailerSize = Zintara::Names::kContainerTrailerSize;
constexpr std::size_t kDigestSize = Zintara::Names::kContainerDigestSize;
constexpr std::size_t kTailSize = Zintara::Names::kContainerTailSize;
constexpr std::uint32_t kEntryFlagCompressed = Zintara::Names::kContainerEntryCompressed;
// Flags, offset, stored size and at least a terminator.
constexpr std::size_t kSmallestRecord = 13;
// No deflate stream expands more than 1032 times; a recorded size beyond that (or beyond the
// cap) is refused before any memory is set aside for it.
constexpr std::uint64_t kDeflateRatioLimit = 1032;
constexpr std::uint64_t kInflatedSizeCap = kMaxContainerBytes;

std::uint32_t readWord(Bytes bytes, std::size_t at) noexcept {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

bool startsWith(Bytes bytes, std::string_view text) noexcept {
    return bytes.size() >= text.size() && std::equal(text.begin(), text.end(), bytes.begin());
}

bool isUpperHex(std::uint8_t c) noexcept {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

std::string quoted(const std::string& name) {
    return "entry \"" + name + "\"";
}

// Parses the directory records that lie in `directory`, which must hold exactly `count`.
bool readDirectory(Bytes directory, std::uint32_t count, std::vector<ContainerEntry>& entries,
                   std::string& error) {
    std::size_t position = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string record = "directory record " + std::to_string(i);
        ContainerEntry entry;
        if (directory.size() - position < 12) {
            error = record + " is truncated";
            return false;
        }
        entry.flags = readWord(directory, position);
        entry.offset = readWord(directory, position + 4);
        entry.storedSize = readWord(directory, position + 8);
        entry.uncompressedSize = entry.storedSize;
        position += 12;
        if (entry.flags & kEntryFlagCompressed) {
            if (directory.size() - position < 4) {
                error = record + " is truncated";
                return false;
            }
            entry.uncompressedSize = readWord(directory, position);
            position += 4;
        }
        const auto nameStart = directory.begin() + static_cast<std::ptrdiff_t>(position);
        const auto terminator = std::find(nameStart, directory.end(), std::uint8_t{0});
        if (terminator == directory.end()) {
            error = record + " has no terminated name";
            return false;
        }
        entry.name.assign(nameStart, terminator);
        position += entry.name.size() + 1;
        if (entry.name.empty()) {
            error = record + " has an empty name";
            return false;
        }
        entries.push_back(std::move(entry));
    }
    if (position != directory.size()) {
        error = "directory size " + std::to_string(directory.size()) +
                " does not match its records (" + std::to_string(position) + " bytes)";
        return false;
    }
    return true;
}

// Entries lie back to back from the end of the header line up to the directory.
bool checkPlacement(const std::vector<ContainerEntry>& entries, std::size_t directoryStart,
                    std::string& error) {
    std::set<std::string> names;
    std::uint64_t expected = kHeader.size();
    for (const ContainerEntry& entry : entries) {
        if (entry.offset < kHeader.size() || entry.offset > directoryStart ||
            entry.storedSize > directoryStart - entry.offset) {
            error = quoted(entry.name) + " lies outside the entry data";
            return false;
        }
        if (entry.offset != expected) {
            error = quoted(entry.name) + " does not start where the previous entry ends";
            return false;
        }
        if (!names.insert(entry.name).second) {
            error = quoted(entry.name) + " appears twice";
            return false;
        }
        expected = std::uint64_t{entry.offset} + entry.storedSize;
    }
    if (expected != directoryStart) {
        error = std::to_string(directoryStart - expected) +
                " bytes lie between the last entry and the directory";
        return false;
    }
    return true;
}

bool plausibleSize(const ContainerEntry& entry, std::string& error) {
    const std::uint64_t size = entry.uncompressedSize;
    if (size > kInflatedSizeCap || size > std::uint64_t{entry.storedSize} * kDeflateRatioLimit) {
        error =
            quoted(entry.name) + " records an impossible uncompressed size " + std::to_string(size);
        return false;
    }
    return true;
}

// The entry's recorded size must have passed plausibleSize.
bool inflateExactly(Bytes stored, ContainerEntry& entry, std::string& error) {
    const std::uint64_t size = entry.uncompressedSize;
    // One spare byte tells a stream that inflates to more than the recorded size.
    std::vector<std::uint8_t> out(size + 1);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        error = "the inflater cannot start";
        return false;
    }
    stream.next_in = const_cast<Bytef*>(stored.data());
    stream.avail_in = static_cast<uInt>(stored.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const std::size_t produced = out.size() - stream.avail_out;
    const bool trailing = stream.avail_in != 0;
    inflateEnd(&stream);
    if (produced > size) {
        error =
            quoted(entry.name) + " inflates to more than its recorded size " + std::to_string(size);
        return false;
    }
    if (result != Z_STREAM_END) {
        error = quoted(entry.name) + " is not a complete zlib stream";
        return false;
    }
    if (produced != size) {
        error = quoted(entry.name) + " inflates to " + std::to_string(produced) +
                " bytes, not its recorded size " + std::to_string(size);
        return false;
    }
    if (trailing) {
        error = quoted(entry.name) + " has bytes after its zlib stream";
        return false;
    }
    out.resize(size);
    entry.data = std::move(out);
    return true;
}

std::optional<SkinContainer> read(Bytes bytes, std::uint64_t maxTotal, std::string& error) {
    if (bytes.size() < kHeader.size() + kTailSize) {
        error = "the container is too small (" + std::to_string(bytes.size()) + " bytes)";
        return std::nullopt;
    }
    if (!startsWith(bytes, kHeader)) {
        error = "the container does not begin with its header line";
        return std::nullopt;
    }
    const Bytes trailer = bytes.last(kTrailerSize);
    if (!startsWith(trailer.last(kMagic.size()), kMagic)) {
        error = "the container does not end with the magic \"KXP2\"";
        return std::nullopt;
    }
    const std::uint32_t directorySize = readWord(trailer, 0);
    const std::uint32_t count = readWord(trailer, 4);
    const std::uint32_t tailSize = readWord(trailer, 8);
    if (tailSize != kTailSize) {
        error = "tail size " + std::to_string(tailSize) + " is not 48";
        return std::nullopt;
    }
    const std::size_t tailStart = bytes.size() - kTailSize;
    if (directorySize > tailStart - kHeader.size()) {
        error =
            "directory size " + std::to_string(directorySize) + " does not fit in the container";
        return std::nullopt;
    }
    if (count > directorySize / kSmallestRecord) {
        error = "entry count " + std::to_string(count) + " does not fit in the directory";
        return std::nullopt;
    }
    const Bytes digest = bytes.subspan(tailStart, kDigestSize);
    if (!std::all_of(digest.begin(), digest.end(), isUpperHex)) {
        error = "the digest is not 32 upper-case hexadecimal digits";
        return std::nullopt;
    }
    const std::size_t directoryStart = tailStart - directorySize;
    SkinContainer container;
    container.digest.assign(digest.begin(), digest.end());
    if (!readDirectory(bytes.subspan(directoryStart, directorySize), count, container.entries,
                       error) ||
        !checkPlacement(container.entries, directoryStart, error))
        return std::nullopt;
    // Each entry is capped (when it is inflated), and so is their sum: many entries just under
    // the cap would otherwise add up to gigabytes.
    std::uint64_t total = 0;
    for (const ContainerEntry& entry : container.entries) {
        if ((entry.flags & kEntryFlagCompressed) && !plausibleSize(entry, error))
            return std::nullopt;
        total += entry.uncompressedSize;
    }
    if (total > maxTotal) {
        error = "the entries hold " + std::to_string(total) + " bytes in all, more than the " +
                std::to_string(maxTotal) + " a container may hold";
        return std::nullopt;
    }
    for (ContainerEntry& entry : container.entries) {
        const Bytes stored = bytes.subspan(entry.offset, entry.storedSize);
        if (!(entry.flags & kEntryFlagCompressed))
            entry.data.assign(stored.begin(), stored.end());
        else if (!inflateExactly(stored, entry, error))
            return std::nullopt;
    }
    return container;
}

// What validateSkinContainer needs from skin.xml, gathered while expat parses it.
struct SkinScan {
    int depth = 0;
    std::string root;
    bool hasDialog = false;
    std::vector<std::string> atlasPaths;
};

const char* attribute(const XML_Char** attributes, std::string_view name) noexcept {
    for (; attributes[0]; attributes += 2) {
        if (name == attributes[0])
            return attributes[1];
    }
    return nullptr;
}

void XMLCALL onStart(void* context, const XML_Char* element, const XML_Char** attributes) {
    auto& scan = *static_cast<SkinScan*>(context);
    const std::string_view name = element;
    if (scan.depth++ == 0)
        scan.root = name;
    if (name == "template") {
        const char* templateName = attribute(attributes, "name");
        scan.hasDialog = scan.hasDialog || (templateName && std::string_view(templateName) ==
                                                                Zintara::Names::kDialogTemplate);
    } else if (name == "bitmapatlas") {
        const char* path = attribute(attributes, "path");
        scan.atlasPaths.emplace_back(path ? path : "");
    }
}

void XMLCALL onEnd(void* context, const XML_Char*) {
    --static_cast<SkinScan*>(context)->depth;
}

bool validateSkin(const SkinContainer& container, std::string& error) {
    const ContainerEntry* skin = container.find(Zintara::Names::kSkinDocument);
    if (!skin) {
        error = "the container holds no \"skin.xml\"";
        return false;
    }
    SkinScan scan;
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser) {
        error = "the XML parser cannot start";
        return false;
    }
    XML_SetUserData(parser, &scan);
    XML_SetElementHandler(parser, onStart, onEnd);
    const bool parsed = XML_Parse(parser, reinterpret_cast<const char*>(skin->data.data()),
                                  static_cast<int>(skin->data.size()), XML_TRUE) == XML_STATUS_OK;
    if (!parsed) {
        error = std::string("skin.xml is not well-formed: ") +
                XML_ErrorString(XML_GetErrorCode(parser)) + " at line " +
                std::to_string(XML_GetCurrentLineNumber(parser));
    }
    XML_ParserFree(parser);
    if (!parsed)
        return false;
    if (scan.root != "skin") {
        error = "the root element of skin.xml is \"" + scan.root + "\", not \"skin\"";
        return false;
    }
    if (!scan.hasDialog) {
        error = "skin.xml has no template \"ZintaraDialog\"";
        return false;
    }
    for (const std::string& path : scan.atlasPaths) {
        if (!container.find(path)) {
            error = "the bitmap atlas \"" + path + "\" is not in the container";
            return false;
        }
    }
    return true;
}

} // namespace

const ContainerEntry* SkinContainer::find(std::string_view name) const noexcept {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [name](const ContainerEntry& e) { return e.name == name; });
    return found == entries.end() ? nullptr : &*found;
}

SkinContainer readContainer(std::span<const std::uint8_t> bytes, std::uint64_t maxTotal) {
    std::string error;
    std::optional<SkinContainer> container;
    try {
        container = read(bytes, maxTotal, error);
    } catch (const std::bad_alloc&) {
        error = "out of memory while reading the container";
    }
    if (!container)
        throw FileError(Zintara::Names::kSkinResource, "", error, kExitCheckFailed);
    return std::move(*container);
}

bool validateSkinContainer(const SkinContainer& container, std::string& error) noexcept {
    try {
        return validateSkin(container, error);
    } catch (const std::bad_alloc&) {
        error = "out of memory while checking the skin";
        return false;
    }
}

bool validateSkinContainer(std::span<const std::uint8_t> bytes, std::string& error) noexcept {
    try {
        const std::optional<SkinContainer> container = read(bytes, kMaxContainerBytes, error);
        return container && validateSkin(*container, error);
    } catch (const std::bad_alloc&) {
        error = "out of memory while reading the container";
        return false;
    }
}

} // namespace Brennovar::RefHost

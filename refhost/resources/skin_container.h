#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

/// One file of a packed resource container.
struct ContainerEntry {
    std::string name;
    std::uint32_t flags = 0;
    std::uint32_t offset = 0;
    std::uint32_t storedSize = 0;
    /// The recorded uncompressed size for compressed entries; the stored size otherwise.
    std::uint32_t uncompressedSize = 0;
    /// The file's content, inflated when the entry is compressed.
    std::vector<std::uint8_t> data;
};

/// A packed resource container, read and checked.
struct SkinContainer {
    std::vector<ContainerEntry> entries;
    /// The 32 upper-case hexadecimal digits before the trailer.
    std::string digest;

    /// The entry with exactly this name, or null.
    const ContainerEntry* find(std::string_view name) const noexcept;
};

/// What all entries of a container may hold together, inflated.
inline constexpr std::uint64_t kMaxContainerBytes = 256u << 20;

/// Reads a container from its trailer. Every size and offset is checked against the bounds of
/// `bytes`; compressed entries are inflated and must give exactly their recorded size, and all
/// entries together may hold at most `maxTotal` bytes. A damaged container is a
/// FileError(kExitCheckFailed) on "skin.kxp" whose problem is a one-line description.
SkinContainer readContainer(std::span<const std::uint8_t> bytes,
                            std::uint64_t maxTotal = kMaxContainerBytes);

/// Checks a skin container: it reads (readContainer), holds "skin.xml", which is well-formed
/// XML with the root element `skin`, a template "ZintaraDialog", and whose bitmap atlases name
/// files of the container. On failure returns false and sets `error`.
bool validateSkinContainer(std::span<const std::uint8_t> bytes, std::string& error) noexcept;
/// The same checks of a container already read (so that it is inflated once).
bool validateSkinContainer(const SkinContainer& container, std::string& error) noexcept;

} // namespace Brennovar::RefHost

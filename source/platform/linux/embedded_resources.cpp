#include "platform/embedded_resources.h"

#include <cstring>
#include <link.h>
#include <unistd.h>
#include <utility>

namespace Brennovar::Platform {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t readWord(Bytes bytes, std::size_t at) noexcept {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

std::size_t alignUp(std::size_t value, std::size_t alignment) noexcept {
    return (value + alignment - 1) / alignment * alignment;
}

char lowerAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(Bytes stored, std::string_view name) noexcept {
    if (stored.size() != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (lowerAscii(static_cast<char>(stored[i])) != lowerAscii(name[i]))
            return false;
    }
    return true;
}

bool isResourceOwner(Bytes owner) noexcept {
    const std::string_view expected = detail::kResourceNoteOwner;
    return owner.size() == expected.size() + 1 && owner.back() == 0 &&
           std::memcmp(owner.data(), expected.data(), expected.size()) == 0;
}

// A resource note's descriptor: name size, data size (32 bits each, native order), the name
// (no terminator), padding to 4 bytes, the data.
std::optional<Bytes> matchResource(Bytes desc, std::string_view name) noexcept {
    constexpr std::size_t kFixed = 8;
    if (desc.size() < kFixed)
        return std::nullopt;
    const std::size_t nameSize = readWord(desc, 0);
    const std::size_t dataSize = readWord(desc, 4);
    if (nameSize > desc.size() - kFixed)
        return std::nullopt;
    const std::size_t dataStart = alignUp(kFixed + nameSize, 4);
    if (dataStart > desc.size() || dataSize > desc.size() - dataStart)
        return std::nullopt;
    if (!equalIgnoringCase(desc.subspan(kFixed, nameSize), name))
        return std::nullopt;
    return desc.subspan(dataStart, dataSize);
}

struct Search {
    std::uintptr_t handle = 0;
    std::string_view name;
    bool first = true;
    std::optional<Bytes> found;
};

// Where the object's image starts: the page of its lowest loadable segment. This is the
// address that dladdr reports as the object's base.
std::uintptr_t imageStart(const dl_phdr_info& info, std::uintptr_t pageSize) noexcept {
    std::uintptr_t lowest = UINTPTR_MAX;
    for (ElfW(Half) i = 0; i < info.dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = info.dlpi_phdr[i];
        if (header.p_type == PT_LOAD && header.p_vaddr < lowest)
            lowest = header.p_vaddr;
    }
    if (lowest == UINTPTR_MAX)
        return UINTPTR_MAX;
    return info.dlpi_addr + (lowest & ~(pageSize - 1));
}

// A note segment is read only when it lies wholly inside the file-backed part of a loadable
// segment, so that every byte of it is mapped.
bool isMapped(const dl_phdr_info& info, const ElfW(Phdr) & note) noexcept {
    for (ElfW(Half) i = 0; i < info.dlpi_phnum; ++i) {
        const ElfW(Phdr)& load = info.dlpi_phdr[i];
        if (load.p_type == PT_LOAD && note.p_vaddr >= load.p_vaddr &&
            note.p_memsz <= load.p_filesz &&
            note.p_vaddr - load.p_vaddr <= load.p_filesz - note.p_memsz)
            return true;
    }
    return false;
}

int visitObject(dl_phdr_info* info, std::size_t, void* context) noexcept {
    auto& search = *static_cast<Search*>(context);
    const bool mainProgram = std::exchange(search.first, false);
    const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const bool matches = search.handle == 0
                             ? mainProgram
                             : imageStart(*info, pageSize > 0 ? pageSize : 4096) == search.handle;
    if (!matches)
        return 0;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum && !search.found; ++i) {
        const ElfW(Phdr)& header = info->dlpi_phdr[i];
        if (header.p_type != PT_NOTE || !isMapped(*info, header))
            continue;
        const Bytes segment(reinterpret_cast<const std::uint8_t*>(info->dlpi_addr + header.p_vaddr),
                            header.p_memsz);
        search.found = detail::findInNotes(segment, header.p_align, search.name);
    }
    return 1;
}

} // namespace

std::optional<std::span<const std::uint8_t>> findResource(ModuleHandle module,
                                                          std::string_view name) noexcept {
    Search search;
    search.handle = reinterpret_cast<std::uintptr_t>(module);
    search.name = name;
    dl_iterate_phdr(visitObject, &search);
    return search.found;
}

namespace detail {

std::optional<std::span<const std::uint8_t>> findInNotes(std::span<const std::uint8_t> segment,
                                                         std::size_t alignment,
                                                         std::string_view name) noexcept {
    // Note header: owner size, descriptor size, type; then the owner (with its terminator) and
    // the descriptor, each padded to the segment's alignment.
    constexpr std::size_t kHeader = 12;
    const std::size_t align = alignment == 8 ? 8 : 4;
    std::size_t position = 0;
    while (segment.size() - position >= kHeader) {
        const std::size_t ownerSize = readWord(segment, position);
        const std::size_t descSize = readWord(segment, position + 4);
        const std::uint32_t type = readWord(segment, position + 8);
        const std::size_t ownerStart = position + kHeader;
        if (ownerSize > segment.size() - ownerStart)
            return std::nullopt;
        const std::size_t descStart = alignUp(ownerStart + ownerSize, align);
        if (descStart > segment.size() || descSize > segment.size() - descStart)
            return std::nullopt;
        if (type == kResourceNoteType && isResourceOwner(segment.subspan(ownerStart, ownerSize))) {
            if (auto data = matchResource(segment.subspan(descStart, descSize), name))
                return data;
        }
        const std::size_t next = alignUp(descStart + descSize, align);
        if (next >= segment.size())
            break;
        position = next;
    }
    return std::nullopt;
}

} // namespace detail

} // namespace Brennovar::Platform

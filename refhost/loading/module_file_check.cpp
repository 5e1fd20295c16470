#include "refhost/loading/module_file_check.h"

#include <cerrno>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Brennovar::RefHost {

namespace {

#if defined(__x86_64__)
constexpr int kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr int kMachine = EM_386;
#elif defined(__arm__)
constexpr int kMachine = EM_ARM;
#elif defined(__riscv)
constexpr int kMachine = EM_RISCV;
#elif defined(__powerpc64__)
constexpr int kMachine = EM_PPC64;
#else
#error "zintara-host does not know this machine's ELF architecture"
#endif

// The ELF types of this machine's word size (ElfW from <link.h>).
using Header = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);
constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kByteOrder =
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            close(fd);
    }
};

bool readAt(int fd, void* into, std::size_t size, std::uint64_t offset) {
    auto* bytes = static_cast<char*>(into);
    while (size > 0) {
        const ssize_t got = pread(fd, bytes, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

} // namespace

std::string ModuleFileCheck::problem(const std::string& path) {
    if (path.empty())
        return "no module file named";
    const Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0)
        return std::string("cannot be opened: ") + std::strerror(errno);
    struct stat status {};
    if (fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode))
        return "is not a regular file";
    const auto size = static_cast<std::uint64_t>(status.st_size);
    Header header{};
    if (size < sizeof header || !readAt(file.fd, &header, sizeof header, 0))
        return "is not an ELF shared object: the file is shorter than an ELF header";
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return "is not an ELF shared object";
    if (header.e_ident[EI_CLASS] != kClass)
        return std::string("is a ") + (header.e_ident[EI_CLASS] == ELFCLASS32 ? "32" : "64") +
               "-bit ELF object; this host is " + (kClass == ELFCLASS32 ? "32" : "64") + "-bit";
    if (header.e_ident[EI_DATA] != kByteOrder)
        return "is an ELF object of the other byte order";
    if (header.e_type != ET_DYN)
        return "is an ELF object but not a shared object";
    if (header.e_machine != kMachine)
        return "is a shared object for another architecture (ELF machine " +
               std::to_string(header.e_machine) + ")";
    if (header.e_phentsize != sizeof(ProgramHeader) || header.e_phnum == 0)
        return "is damaged: its program headers are missing or of the wrong size";
    const std::uint64_t tableEnd = static_cast<std::uint64_t>(header.e_phoff) +
                                   std::uint64_t{header.e_phnum} * sizeof(ProgramHeader);
    if (header.e_phoff > size || tableEnd > size)
        return "is truncated: its program headers lie beyond the end of the file";
    std::vector<ProgramHeader> segments(header.e_phnum);
    if (!readAt(file.fd, segments.data(), segments.size() * sizeof(ProgramHeader), header.e_phoff))
        return "cannot be read";
    bool loadable = false;
    for (const ProgramHeader& segment : segments) {
        if (segment.p_type != PT_LOAD && segment.p_type != PT_DYNAMIC)
            continue;
        loadable = loadable || segment.p_type == PT_LOAD;
        const std::uint64_t end = static_cast<std::uint64_t>(segment.p_offset) + segment.p_filesz;
        if (end < segment.p_offset || end > size)
            return "is truncated: the file is " + std::to_string(size) +
                   " bytes, its segments need " + std::to_string(end);
        if (segment.p_filesz > segment.p_memsz)
            return "is damaged: a segment holds more bytes in the file than in memory";
    }
    if (!loadable)
        return "is damaged: it has no loadable segment";
    return {};
}

std::string ModuleFileCheck::loadPath(const std::string& path) {
    return path.find('/') == std::string::npos ? "./" + path : path;
}

} // namespace Brennovar::RefHost

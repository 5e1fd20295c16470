#include "refhost/loading/module_exports.h"

#include "refhost/core/host_error.h"

#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>

namespace Brennovar::RefHost {

namespace {

// A struct read from the file at an offset, when it lies wholly inside.
template <class T>
bool readAt(const std::vector<char>& file, std::uint64_t offset, T& out) {
    if (offset > file.size() || file.size() - offset < sizeof(T))
        return false;
    std::memcpy(&out, file.data() + offset, sizeof(T));
    return true;
}

} // namespace

std::vector<std::string> moduleExports(const std::string& path) {
    const auto fail = [&path](const std::string& problem) {
        return FileError(path, "", problem, kExitModuleFailed);
    };
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
    Elf64_Ehdr header{};
    if (!in.good() && !in.eof())
        throw fail("cannot be read");
    if (!readAt(file, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64)
        throw fail("not a 64-bit ELF file");

    std::vector<std::string> names;
    for (std::uint64_t i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr symbols{};
        Elf64_Shdr strings{};
        if (!readAt(file, header.e_shoff + i * sizeof(Elf64_Shdr), symbols))
            throw fail("section header " + std::to_string(i) + " lies outside the file");
        if (symbols.sh_type != SHT_DYNSYM)
            continue;
        if (!readAt(file, header.e_shoff + symbols.sh_link * sizeof(Elf64_Shdr), strings))
            throw fail("the dynamic string table lies outside the file");
        for (std::uint64_t at = 0; at + sizeof(Elf64_Sym) <= symbols.sh_size;
             at += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol{};
            if (!readAt(file, symbols.sh_offset + at, symbol) ||
                symbol.st_name >= strings.sh_size ||
                strings.sh_offset + strings.sh_size > file.size())
                throw fail("the dynamic symbol table lies outside the file");
            const unsigned binding = ELF64_ST_BIND(symbol.st_info);
            const unsigned visibility = ELF64_ST_VISIBILITY(symbol.st_other);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK) ||
                (visibility != STV_DEFAULT && visibility != STV_PROTECTED))
                continue;
            const char* name = file.data() + strings.sh_offset + symbol.st_name;
            names.emplace_back(name, strnlen(name, strings.sh_size - symbol.st_name));
        }
    }
    return names;
}

} // namespace Brennovar::RefHost

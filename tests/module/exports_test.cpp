// The module's dynamic symbol table defines exactly the three entry points.

#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<std::string> definedDynamicSymbols(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
    if (bytes.size() < sizeof(Elf64_Ehdr))
        throw std::runtime_error("not an ELF file: " + path);
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
        throw std::runtime_error("not a 64-bit ELF file: " + path);
    auto section = [&](std::size_t index) {
        Elf64_Shdr s;
        std::memcpy(&s, bytes.data() + header.e_shoff + index * header.e_shentsize, sizeof s);
        return s;
    };
    std::set<std::string> names;
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM)
            continue;
        Elf64_Shdr strings = section(symbols.sh_link);
        for (std::size_t at = 0; at + sizeof(Elf64_Sym) <= symbols.sh_size;
             at += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, bytes.data() + symbols.sh_offset + at, sizeof symbol);
            if (symbol.st_shndx == SHN_UNDEF || ELF64_ST_BIND(symbol.st_info) == STB_LOCAL)
                continue;
            names.insert(bytes.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

} // namespace

TEST(ExportsTest, OnlyTheThreeEntryPointsAreDefined) {
    const char* path = std::getenv("ZINTARA_MODULE");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(definedDynamicSymbols(path),
              (std::set<std::string>{"InitDll", "ExitDll", "GetPluginFactory"}));
}

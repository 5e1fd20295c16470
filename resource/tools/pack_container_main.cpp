// pack_container OUTPUT [-z] FILE...
// Packs the files, in the order given, into a resource container written to OUTPUT. Each
// entry is named after its file's base name; -z stores the next file compressed.
#include "container_writer.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string_view>
#include <utility>

namespace {

bool readFile(const std::filesystem::path& path, std::vector<std::uint8_t>& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int run(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: pack_container OUTPUT [-z] FILE...\n";
        return 2;
    }
    std::vector<Brennovar::Resources::PackedFile> files;
    bool compressNext = false;
    for (int i = 2; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-z") {
            compressNext = true;
            continue;
        }
        Brennovar::Resources::PackedFile file;
        const std::filesystem::path path(argument);
        file.name = path.filename().string();
        file.compress = std::exchange(compressNext, false);
        if (!readFile(path, file.content)) {
            std::cerr << "pack_container: cannot read " << argument << '\n';
            return 1;
        }
        files.push_back(std::move(file));
    }
    const std::vector<std::uint8_t> container = Brennovar::Resources::packContainer(files);
    if (container.empty()) {
        std::cerr << "pack_container: the files cannot be packed\n";
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(container.data()),
              static_cast<std::streamsize>(container.size()));
    if (!out.flush()) {
        std::cerr << "pack_container: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& failure) {
        std::cerr << "pack_container: " << failure.what() << '\n';
        return 1;
    }
}

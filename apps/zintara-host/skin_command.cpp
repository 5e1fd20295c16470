#include "skin_command.h"

#include "platform/embedded_resources.h"
#include "refhost/resources/skin_container.h"

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>

namespace Brennovar::RefHost {

namespace {

// The module built beside the tool; the build passes its path.
#ifdef ZINTARA_DEFAULT_MODULE
constexpr const char* kDefaultModule = ZINTARA_DEFAULT_MODULE;
#else
constexpr const char* kDefaultModule = "";
#endif

struct SkinOptions {
    std::string module = kDefaultModule;
    std::string extractTo;
};

[[noreturn]] void failWith(const std::string& message) {
    std::cerr << "zintara-host skin: " << message << '\n';
    throw CLI::RuntimeError(1);
}

struct LibraryCloser {
    void operator()(void* library) const { dlclose(library); }
};
using Library = std::unique_ptr<void, LibraryCloser>;

// The module's handle is its load address. It is taken from an exported symbol's object, so
// that no code of the module runs beyond what loading it runs.
ModuleHandle handleOf(void* library) {
    Dl_info info{};
    void* entry = dlsym(library, "GetPluginFactory");
    if (!entry || dladdr(entry, &info) == 0 || !info.dli_fbase)
        failWith("the module's load address cannot be determined");
    return info.dli_fbase;
}

// A container's entry names come from its bytes; only plain file names are written out.
bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

void printContainer(const SkinContainer& container, const std::string& module) {
    std::cout << "skin.kxp in " << module << ": " << container.entries.size() << " entries, digest "
              << container.digest << '\n';
    std::cout << std::setw(6) << "flags" << std::setw(8) << "offset" << std::setw(8) << "stored"
              << std::setw(14) << "uncompressed"
              << "  name\n";
    for (const ContainerEntry& entry : container.entries) {
        std::cout << std::setw(6) << entry.flags << std::setw(8) << entry.offset << std::setw(8)
                  << entry.storedSize << std::setw(14) << entry.uncompressedSize << "  "
                  << entry.name << '\n';
    }
}

void extract(const SkinContainer& container, const std::filesystem::path& folder) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure)
        failWith("cannot create " + folder.string() + ": " + failure.message());
    for (const ContainerEntry& entry : container.entries) {
        if (!isPlainFileName(entry.name))
            failWith("refusing to write the entry named \"" + entry.name + "\"");
        const std::filesystem::path path = folder / entry.name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(entry.data.data()),
                  static_cast<std::streamsize>(entry.data.size()));
        if (!out.flush())
            failWith("cannot write " + path.string());
        std::cout << "wrote " << path.string() << '\n';
    }
}

void runSkinCommand(const SkinOptions& options) {
    if (options.module.empty())
        failWith("no module given (--module)");
    dlerror();
    const Library library(dlopen(options.module.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!library) {
        const char* reason = dlerror();
        failWith("cannot load " + options.module + ": " + (reason ? reason : "unknown reason"));
    }
    const auto bytes = Platform::findResource(handleOf(library.get()), "skin.kxp");
    if (!bytes)
        failWith("the module carries no resource \"skin.kxp\"");
    std::string error;
    const std::optional<SkinContainer> container = readContainer(*bytes, error);
    if (!container)
        failWith("skin.kxp cannot be read: " + error);
    printContainer(*container, options.module);
    if (validateSkinContainer(*bytes, error))
        std::cout << "the skin is valid\n";
    else
        std::cout << "the skin is not valid: " << error << '\n';
    if (!options.extractTo.empty())
        extract(*container, options.extractTo);
}

} // namespace

void addSkinCommand(CLI::App& app) {
    auto options = std::make_shared<SkinOptions>();
    CLI::App* command =
        app.add_subcommand("skin", "List the module's packed skin container and extract its files");
    command->add_option("--module", options->module, "Path of the module")->capture_default_str();
    command->add_option("--extract", options->extractTo, "Folder to write the files into");
    command->callback([options] { runSkinCommand(*options); });
}

} // namespace Brennovar::RefHost

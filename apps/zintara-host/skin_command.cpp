#include "skin_command.h"

#include "module/module_names.h"
#include "platform/embedded_resources.h"
#include "refhost/core/host_error.h"
#include "refhost/files/output_file.h"
#include "refhost/loading/module_loader.h"
#include "refhost/resources/skin_container.h"
#include "text_cells.h"
#include "tool_conventions.h"

#include <filesystem>
#include <iomanip>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace Brennovar::RefHost {

namespace {

struct SkinOptions {
    std::string module = kDefaultModule;
    std::string extractTo;
    bool json = false;
};

// A container's entry names come from its bytes; only plain file names are written out.
bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](char c) {
               return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
           });
}

void printText(const SkinContainer& container, const std::string& module) {
    std::cout << "skin.kxp in " << printable(module) << ": " << container.entries.size()
              << " entries, digest " << container.digest << '\n';
    std::cout << std::setw(6) << "flags" << std::setw(8) << "offset" << std::setw(8) << "stored"
              << std::setw(14) << "uncompressed"
              << "  name\n";
    for (const ContainerEntry& entry : container.entries) {
        std::cout << std::setw(6) << entry.flags << ' ' << std::setw(7) << entry.offset << ' '
                  << std::setw(7) << entry.storedSize << ' ' << std::setw(13)
                  << entry.uncompressedSize << "  " << printable(entry.name) << '\n';
    }
}

void printJson(const SkinContainer& container, const std::string& module, bool valid,
               const std::string& problem, const std::vector<std::string>& written) {
    nlohmann::ordered_json out = {{"module", module},
                                  {"digest", container.digest},
                                  {"entries", nlohmann::ordered_json::array()}};
    for (const ContainerEntry& entry : container.entries)
        out["entries"].push_back({{"name", entry.name},
                                  {"flags", entry.flags},
                                  {"offset", entry.offset},
                                  {"stored", entry.storedSize},
                                  {"uncompressed", entry.uncompressedSize}});
    out["valid"] = valid;
    out["problem"] = problem;
    out["written"] = written;
    ToolConventions::printJson(out);
}

std::vector<std::string> extract(const SkinContainer& container,
                                 const std::filesystem::path& folder, const CommandInputs& inputs) {
    for (const ContainerEntry& entry : container.entries) {
        if (!isPlainFileName(entry.name))
            throw HostError(kExitCheckFailed,
                            "refusing to write the entry named \"" + printable(entry.name) + "\"");
        ToolConventions::checkOutput("--extract", (folder / entry.name).string(), inputs);
    }
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure)
        throw HostError(kExitOutputFailed,
                        "cannot create " + folder.string() + ": " + failure.message());
    std::vector<std::string> written;
    for (const ContainerEntry& entry : container.entries) {
        const std::string path = (folder / entry.name).string();
        OutputFile::replace(
            path,
            std::string_view(reinterpret_cast<const char*>(entry.data.data()), entry.data.size()),
            inputs);
        written.push_back(path);
    }
    return written;
}

int runSkinCommand(const SkinOptions& options, bool extractGiven) {
    if (options.module.empty())
        throw HostError(kExitBadInput, "--module needs a file name");
    if (extractGiven && options.extractTo.empty())
        throw HostError(kExitBadInput, "--extract needs a folder name");
    ModuleLoader module;
    if (!module.open(options.module))
        throw HostError(kExitModuleFailed, module.error());
    const auto bytes = Platform::findResource(module.moduleHandle(), Zintara::Names::kSkinResource);
    if (!bytes)
        throw HostError(kExitCheckFailed, "the module carries no resource \"skin.kxp\"");
    SkinContainer container;
    try {
        container = readContainer(*bytes);
    } catch (const HostError& damaged) {
        throw HostError(kExitCheckFailed, "skin.kxp cannot be read: " + damaged.problem());
    }
    std::string problem;
    const bool valid = validateSkinContainer(container, problem);
    std::vector<std::string> written;
    if (extractGiven)
        written = extract(container, options.extractTo,
                          CommandInputs().add("the module", options.module));
    if (options.json) {
        printJson(container, options.module, valid, problem, written);
    } else {
        printText(container, options.module);
        for (const std::string& path : written)
            std::cout << "wrote " << printable(path) << '\n';
        std::cout << '\n'
                  << container.entries.size() << " entries, "
                  << (valid ? "the skin is valid" : "the skin is not valid: " + problem) << '\n';
    }
    return valid ? kExitOk : kExitCheckFailed;
}

} // namespace

void addSkinCommand(CLI::App& app) {
    auto options = std::make_shared<SkinOptions>();
    CLI::App* command =
        app.add_subcommand("skin", "List the module's packed skin container and extract its files");
    command->add_option("--module", options->module, "Path of the module")->capture_default_str();
    command->add_option("--extract", options->extractTo, "Folder to write the files into");
    ToolConventions::addJsonFlag(*command, options->json);
    ToolConventions::setAction(*command, options->json, [options, command] {
        return runSkinCommand(*options, command->count("--extract") > 0);
    });
}

} // namespace Brennovar::RefHost

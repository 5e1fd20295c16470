#include "tool_conventions.h"

#include "refhost/core/host_error.h"
#include "text_cells.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

namespace {

bool wantsJson(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--json") == 0)
            return true;
    return false;
}

std::string commandNames(const CLI::App& app) {
    std::string names;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
        names += (names.empty() ? "" : ", ") + command->get_name();
    return names;
}

/// Edits (insertions, deletions, substitutions, swaps of neighbours) from one word to the other,
/// case aside.
std::size_t editDistance(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        for (std::size_t j = 0; j <= b.size(); ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = i + j;
                continue;
            }
            const bool same = lower(a[i - 1]) == lower(b[j - 1]);
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + !same});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
                lower(a[i - 2]) == lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

/// " (did you mean \"run\"?)" for the command nearest to a mistyped one, when one is near: a
/// third of its letters wrong at most, and at least one.
std::string nearestCommand(const CLI::App& app, std::string_view typed) {
    // Mistyped words are short; a long argument is no command, and is not compared.
    if (typed.size() > 64)
        return {};
    const CLI::App* nearest = nullptr;
    std::size_t best = 0;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        const std::size_t distance = editDistance(typed, command->get_name());
        if (distance <= std::max<std::size_t>(1, command->get_name().size() / 3) &&
            (!nearest || distance < best)) {
            nearest = command;
            best = distance;
        }
    }
    return nearest ? " (did you mean \"" + nearest->get_name() + "\"?)" : std::string();
}

/// Every command's --module defaults to ToolConventions::defaultModule(). Its help says how that
/// module is found rather than a path of one machine, so the help (and the manual page made
/// from it) is the same wherever the tool is built or installed.
void describeModuleDefault(CLI::App& app) {
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; }))
        if (CLI::Option* module = command->get_option_no_throw("--module"))
            module->default_str("")->description(
                module->get_description() +
                "; default: the module installed beside the tool, else the one built with it "
                "(--version names it)");
}

} // namespace

void ToolConventions::addJsonFlag(CLI::App& command, bool& json) {
    command.add_flag("--json", json, "Print the outcome (or the error) as one JSON object");
}

void ToolConventions::setAction(CLI::App& command, const bool& json, std::function<int()> body) {
    command.callback([&json, body = std::move(body)] {
        int status = kExitOk;
        try {
            status = body();
        } catch (const HostError& failure) {
            report(failure, json);
            status = failure.status();
        }
        if (status != kExitOk)
            throw CLI::RuntimeError(status);
    });
}

void ToolConventions::refuseWithoutEffect(const CLI::App& command, const std::string& option,
                                          bool hasEffect, const std::string& why) {
    if (!hasEffect && command.count(option) > 0)
        throw HostError(kExitBadInput, option + " has no effect here: " + why);
}

void ToolConventions::refuseEmptyName(const CLI::App& command,
                                      std::initializer_list<const char*> options) {
    for (const char* option : options)
        if (command.count(option) > 0 && command.get_option(option)->as<std::string>().empty())
            throw HostError(kExitBadInput, std::string(option) + " needs a file name");
}

void ToolConventions::checkOutput(const std::string& option, const std::string& output,
                                  const CommandInputs& inputs) {
    if (output.empty())
        throw HostError(kExitBadInput, option + " needs a file name");
    inputs.checkOutput(output);
}

void ToolConventions::printWarnings(const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings)
        std::cerr << "zintara-host: warning: " << warning << '\n';
}

void ToolConventions::printProblems(const std::vector<std::string>& warnings,
                                    const std::vector<std::string>& problems) {
    printWarnings(warnings);
    for (const std::string& problem : problems)
        std::cerr << "zintara-host: " << printable(problem) << '\n';
}

void ToolConventions::printJson(const nlohmann::json& outcome) {
    std::cout << outcome.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void ToolConventions::printJson(const nlohmann::ordered_json& outcome) {
    std::cout << outcome.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

const ModuleChoice& ToolConventions::defaultModule() {
    static const ModuleChoice choice = [] {
        // The tool's own file, symbolic links resolved: a link to the tool finds what was
        // installed beside the tool itself.
        std::error_code failed;
        const std::filesystem::path tool = std::filesystem::read_symlink("/proc/self/exe", failed);
        const std::filesystem::path installed =
            (tool.parent_path() / ZINTARA_INSTALLED_MODULE).lexically_normal();
        if (!failed && std::filesystem::exists(installed, failed))
            return ModuleChoice{installed.string(), "installed beside the tool"};
        return ModuleChoice{ZINTARA_DEFAULT_MODULE, "the build's own module"};
    }();
    return choice;
}

void ToolConventions::report(const HostError& failure, bool json) {
    if (!json) {
        std::cerr << "zintara-host: " << failure.what() << '\n';
        return;
    }
    nlohmann::ordered_json error = {{"status", failure.status()}, {"message", failure.what()}};
    if (!failure.file().empty()) {
        error["file"] = failure.file();
        error["place"] = failure.place();
        error["problem"] = failure.problem();
    }
    printJson(nlohmann::ordered_json{{"error", error}});
}

int ToolConventions::run(CLI::App& app, int argc, char** argv,
                         const std::function<int(bool json)>& version) {
    // A write past a file-size limit must fail with an error the tool reports (and then keep
    // the old file), not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    app.set_version_flag("--version", std::string(),
                         "Print the tool's version, the module it loads and the module's version");
    app.set_help_all_flag("--help-all", "Print the help of every command");
    describeModuleDefault(app);
    const bool json = wantsJson(argc, argv);
    const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
    const bool known =
        argc > 1 && std::any_of(commands.begin(), commands.end(), [&](const CLI::App* command) {
            return command->get_name() == argv[1];
        });
    if (argc > 1 && argv[1][0] != '-' && !known) {
        report(HostError(kExitBadInput, std::string("unknown command \"") + argv[1] + "\"" +
                                            nearestCommand(app, argv[1]) + "; the commands are " +
                                            commandNames(app)),
               json);
        return kExitBadInput;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& e) {
        // A subcommand that finished with a non-zero status; it reported why.
        return e.get_exit_code();
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion&) {
        return version(json);
    } catch (const CLI::ParseError& e) {
        if (!json)
            return app.exit(e) == 0 ? kExitOk : kExitBadInput;
        report(HostError(kExitBadInput, e.what()), true);
        return kExitBadInput;
    } catch (const std::exception& e) {
        report(HostError(kExitCheckFailed, e.what()), json);
        return kExitCheckFailed;
    }
    return kExitOk;
}

} // namespace Brennovar::RefHost

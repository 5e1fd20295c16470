#pragma once

#include "refhost/core/host_error.h"
#include "refhost/files/command_inputs.h"

#include <CLI/CLI.hpp>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// The module the tool loads when no `--module` names one, and why that one.
struct ModuleChoice {
    std::string path;
    /// "installed beside the tool" or "the build's own module".
    std::string reason;
};

/// What every subcommand of zintara-host does the same way, so that a new subcommand gets it by
/// using these helpers:
/// - `--json`: the outcome as one JSON object on standard output, and under it an error too:
///   {"error": {"status": 2, "message": "...", "file": ..., "place": ..., "problem": ...}};
/// - the exit statuses of ExitStatus, from a HostError thrown by the subcommand's body;
/// - options that would have no effect are refused rather than ignored;
/// - an output file is never one of the command's inputs or the loaded module, and has a name;
/// - under `--json`, standard output is one JSON object and standard error stays empty.
class ToolConventions {
public:
    /// Adds `--json` to a subcommand.
    static void addJsonFlag(CLI::App& command, bool& json);
    /// Makes `body` the subcommand's action. Its answer is the exit status; a HostError thrown
    /// from it is reported in the form `json` chose (text on standard
    /// error otherwise) and its status becomes the tool's.
    static void setAction(CLI::App& command, const bool& json, std::function<int()> body);
    /// Throws HostError(kExitBadInput) when `option` was given to `command` but would have
    /// no effect; `why` says when it has one ("--confirm needs --command dialog").
    static void refuseWithoutEffect(const CLI::App& command, const std::string& option,
                                    bool hasEffect, const std::string& why);
    /// Throws HostError(kExitBadInput) when one of these file options was given an empty
    /// name (which would otherwise stand for its default).
    static void refuseEmptyName(const CLI::App& command,
                                std::initializer_list<const char*> options);
    /// Throws HostError(kExitBadInput) for an empty output name and for an output that is
    /// one of `inputs`, before the command does anything: the check every writer makes again
    /// when it writes (OutputFile), made early so that a mistaken command line costs nothing.
    static void checkOutput(const std::string& option, const std::string& output,
                            const CommandInputs& inputs);

    /// The module installed beside the tool when there is one: ZINTARA_INSTALLED_MODULE, a path
    /// relative to the folder of the tool's own file (the packages' layout). Otherwise the module
    /// built with the tool, whose path the build passes (ZINTARA_DEFAULT_MODULE).
    static const ModuleChoice& defaultModule();

    /// Parses the command line and runs the chosen subcommand: `--version` through `version`
    /// (given whether `--json` was asked for; its answer is the exit status), an unknown
    /// subcommand named as such, and command-line errors as JSON under `--json`.
    static int run(CLI::App& app, int argc, char** argv,
                   const std::function<int(bool json)>& version);

    /// Prints a failure as text on standard error or as one JSON object on standard output.
    static void report(const HostError& failure, bool json);
    /// Prints warnings as text on standard error, one line each; under `--json` they are the
    /// outcome's "warnings" member instead.
    static void printWarnings(const std::vector<std::string>& warnings);
    /// The warnings, then the host's problems, as text on standard error, one line each.
    static void printProblems(const std::vector<std::string>& warnings,
                              const std::vector<std::string>& problems);
    /// An outcome as one JSON object on standard output, indented; invalid UTF-8 in its texts
    /// is replaced. Members in name order, or (ordered) in the order they were added.
    static void printJson(const nlohmann::json& outcome);
    static void printJson(const nlohmann::ordered_json& outcome);
};

/// The path of ToolConventions::defaultModule(), the default of every `--module`.
inline const std::string kDefaultModule = ToolConventions::defaultModule().path;

} // namespace Brennovar::RefHost

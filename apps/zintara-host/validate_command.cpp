#include "validate_command.h"

#include "host_behaviour_option.h"
#include "refhost/loading/module_file_check.h"
#include "refhost/session/host_session.h"
#include "refhost/validation/check_runner.h"
#include "text_cells.h"
#include "tool_conventions.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>

namespace Brennovar::RefHost {

namespace {

// A test's time limit: long enough for any level on a slow machine, short enough that a hang
// is noticed the same day.
constexpr double kMinTimeout = 0.1;
constexpr double kMaxTimeout = 86400;

struct ValidateOptions {
    std::string module = kDefaultModule;
    int level = 5;
    std::string seed;
    std::string timeLimit;
    bool json = false;
    bool onlyFailed = false;
    std::vector<std::string> include;
    std::vector<std::string> exclude;
    bool list = false;
    bool inProcess = false;
    HostBehaviours behaviours;
    bool seedGiven = false;
    bool timeoutGiven = false;
};

constexpr const char* kStatusNames[] = {"passed", "failed", "warning", "skipped"};

std::vector<ValidationCheck> battery() {
    std::vector<ValidationCheck> tests = loadingChecks();
    for (ValidationCheck& test : sessionChecks())
        tests.push_back(std::move(test));
    return tests;
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void printLine(const CheckResult& result) {
    char time[32];
    std::snprintf(time, sizeof time, "%7.2f s", result.seconds);
    std::cout << result.name
              << std::string(result.name.size() < 24 ? 24 - result.name.size() : 1, ' ')
              << kStatusNames[static_cast<int>(result.outcome.status)]
              << std::string(8 - std::strlen(kStatusNames[static_cast<int>(result.outcome.status)]),
                             ' ')
              << time << (result.outcome.message.empty() ? "" : "  " + result.outcome.message)
              << std::endl;
}

/// --seed: a whole number of 64 bits, written in decimal digits only.
std::uint64_t seedOf(const std::string& text) {
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw HostError(kExitBadInput, "--seed takes a whole number from 0 to " +
                                           std::to_string(UINT64_MAX) + ", not \"" +
                                           printable(text) + "\"");
    return seed;
}

/// --timeout: seconds from kMinTimeout to kMaxTimeout.
double timeoutOf(const std::string& text) {
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !(seconds >= kMinTimeout && seconds <= kMaxTimeout))
        throw HostError(kExitBadInput, "--timeout takes seconds from 0.1 to 86400 (a day), "
                                       "not \"" +
                                           printable(text) + "\"");
    return seconds;
}

void printList(const std::vector<const ValidationCheck*>& tests, bool json) {
    if (!json) {
        for (const ValidationCheck* test : tests)
            std::cout << test->name
                      << std::string(24 - std::min<std::size_t>(test->name.size(), 23), ' ')
                      << test->summary << '\n';
        return;
    }
    nlohmann::json list = nlohmann::json::array();
    for (const ValidationCheck* test : tests)
        list.push_back({{"name", test->name}, {"summary", test->summary}});
    std::cout << nlohmann::json{{"tests", list}}.dump(2) << '\n';
}

int validate(const ValidateOptions& options) {
    const std::vector<ValidationCheck> all = battery();
    for (const auto* names : {&options.include, &options.exclude})
        for (const std::string& name : *names)
            if (std::none_of(all.begin(), all.end(),
                             [&](const ValidationCheck& test) { return test.name == name; }))
                throw HostError(kExitBadInput,
                                "no test is called \"" + printable(name) + "\" (see --list)");
    std::vector<const ValidationCheck*> chosen;
    for (const ValidationCheck& test : all)
        if ((options.include.empty() || contains(options.include, test.name)) &&
            !contains(options.exclude, test.name))
            chosen.push_back(&test);
    if (options.list) {
        printList(chosen, options.json);
        return kExitOk;
    }
    const std::uint64_t seed =
        options.seedGiven ? seedOf(options.seed)
                          : std::random_device{}() * 0x100000000ull ^ std::random_device{}();
    const double timeLimit =
        options.timeoutGiven ? timeoutOf(options.timeLimit) : 30.0 * scaled(options.level, 1, 20);
    // Checked once, before any test: a file the loader must not see (a device, a pipe, a
    // truncated object) would otherwise fail, hang or exhaust every test in its own way.
    if (std::string problem = ModuleFileCheck::problem(options.module); !problem.empty())
        throw HostError(kExitModuleFailed, "module " + options.module + ": " + problem);

    CheckSettings settings{options.module, options.level, seed, options.behaviours};
    if (!options.json)
        std::cout << "zintara-host validate: module " << settings.module << ", level "
                  << settings.level << ", seed " << settings.seed << std::endl;
    const CheckRunner runner(settings, timeLimit, options.inProcess);
    int counts[4] = {};
    nlohmann::json tests = nlohmann::json::array();
    for (const ValidationCheck* test : chosen) {
        const CheckResult result = runner.run(*test);
        ++counts[static_cast<int>(result.outcome.status)];
        if (options.onlyFailed && result.outcome.status != CheckStatus::kFailed)
            continue;
        if (options.json)
            tests.push_back({{"name", result.name},
                             {"status", kStatusNames[static_cast<int>(result.outcome.status)]},
                             {"seconds", result.seconds},
                             {"message", result.outcome.message}});
        else
            printLine(result);
    }
    const std::size_t run = chosen.size();
    if (options.json)
        std::cout << nlohmann::json{{"module", settings.module},
                                    {"level", settings.level},
                                    {"seed", settings.seed},
                                    {"tests", tests},
                                    {"run", run},
                                    {"passed", counts[0]},
                                    {"failed", counts[1]},
                                    {"warnings", counts[2]},
                                    {"skipped", counts[3]}}
                         .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                  << '\n';
    else
        std::cout << run << " tests run, " << counts[0] << " passed, " << counts[1] << " failed, "
                  << counts[2] << " warnings, " << counts[3] << " skipped\n";
    return counts[1] > 0 ? kExitCheckFailed : kExitOk;
}

} // namespace

void addValidateCommand(CLI::App& app) {
    auto options = std::make_shared<ValidateOptions>();
    CLI::App* command = app.add_subcommand(
        "validate", "Put a build of the module through the validation battery, each test in a "
                    "process of its own");
    command->add_option("--module", options->module, "The module to validate")
        ->capture_default_str();
    command->add_option("--level", options->level, "1 to 10: higher runs more and longer")
        ->check(CLI::Range(1, 10))
        ->capture_default_str();
    command->add_option("--seed", options->seed,
                        "The seed of every random choice (printed; random when absent)");
    command->add_option("--timeout", options->timeLimit,
                        "Seconds a test may take, 0.1 to 86400 (default grows with the level, 30 "
                        "at 1)");
    ToolConventions::addJsonFlag(*command, options->json);
    command->add_flag("--only-failed", options->onlyFailed, "Show only the failed tests");
    command->add_option("--include", options->include, "Run only these tests");
    command->add_option("--exclude", options->exclude, "Do not run these tests");
    command->add_flag("--list", options->list, "List the tests (after --include/--exclude)");
    addHostBehaviourOption(*command, options->behaviours);
    command->add_flag("--in-process", options->inProcess,
                      "Run the tests in this process (for a debugger); a crash ends the run");
    ToolConventions::setAction(*command, options->json, [options, command] {
        ToolConventions::refuseEmptyName(*command, {"--module"});
        options->seedGiven = command->count("--seed") > 0;
        options->timeoutGiven = command->count("--timeout") > 0;
        return validate(*options);
    });
}

} // namespace Brennovar::RefHost

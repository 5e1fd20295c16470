#pragma once

#include "refhost/core/host_behaviours.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

enum class CheckStatus { kPassed, kFailed, kWarning, kSkipped };

/// How a test of the validation battery went: its status and, unless it passed, why.
struct CheckOutcome {
    CheckStatus status = CheckStatus::kPassed;
    std::string message;

    static CheckOutcome passed() { return {}; }
    static CheckOutcome failed(std::string why) { return {CheckStatus::kFailed, std::move(why)}; }
    static CheckOutcome warning(std::string why) { return {CheckStatus::kWarning, std::move(why)}; }
    static CheckOutcome skipped(std::string why) { return {CheckStatus::kSkipped, std::move(why)}; }
};

/// What every test is given: the module, the strictness and a random source seeded from the
/// run's seed and the test's name, so one test replays alone with the same seed.
struct CheckSettings {
    std::string module;
    /// 1 to 10; higher levels repeat more and try more.
    int level = 5;
    std::uint64_t seed = 0;
    /// How the host behaves in every session of the tests (see HostBehaviours).
    HostBehaviours behaviours;
};

/// A number that grows with the level: `atOne` at level 1, `atTen` at level 10, geometric in
/// between.
int scaled(int level, int atOne, int atTen);

/// Problems as one message, separated by "; ".
std::string joined(const std::vector<std::string>& problems);

/// One test of the battery. Names are kebab-case and stable: they are what --include, --exclude
/// and scripts refer to.
struct ValidationCheck {
    std::string name;
    std::string summary;
    std::function<CheckOutcome(const CheckSettings&, std::mt19937_64&)> run;
};

/// Tests of the module as a library: symbols, factory, entry points and load cycles.
std::vector<ValidationCheck> loadingChecks();
/// Tests of the running service in a host: commands, settings, dialog, resources and undo.
std::vector<ValidationCheck> sessionChecks();

} // namespace Brennovar::RefHost

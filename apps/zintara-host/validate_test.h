#pragma once

#include "refhost/core/host_behaviours.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

enum class TestStatus { kPassed, kFailed, kWarning, kSkipped };

/// How a test of the validation battery went: its status and, unless it passed, why.
struct TestOutcome {
    TestStatus status = TestStatus::kPassed;
    std::string message;

    static TestOutcome passed() { return {}; }
    static TestOutcome failed(std::string why) { return {TestStatus::kFailed, std::move(why)}; }
    static TestOutcome warning(std::string why) { return {TestStatus::kWarning, std::move(why)}; }
    static TestOutcome skipped(std::string why) { return {TestStatus::kSkipped, std::move(why)}; }
};

/// What every test is given: the module, the strictness and a random source seeded from the
/// run's seed and the test's name, so one test replays alone with the same seed.
struct TestSettings {
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
struct ValidationTest {
    std::string name;
    std::string summary;
    std::function<TestOutcome(const TestSettings&, std::mt19937_64&)> run;
};

/// Tests of the module as a library: symbols, factory, entry points and load cycles.
std::vector<ValidationTest> loadingTests();
/// Tests of the running service in a host: commands, settings, dialog, resources and undo.
std::vector<ValidationTest> sessionTests();

} // namespace Brennovar::RefHost

#pragma once

#include "validate_test.h"

namespace Brennovar::RefHost {

/// How one test ended, with its time.
struct TestResult {
    std::string name;
    TestOutcome outcome;
    double seconds = 0;
};

/// Runs tests of the battery. By default each test runs in a child process of its own, so a
/// crash or a hang ends that test, not the run: a signal or the time limit is a failed test
/// whose message names the signal (or the limit), the test and the seed.
class ValidateRunner {
public:
    ValidateRunner(TestSettings settings, double timeLimitSeconds, bool inProcess)
        : settings_(std::move(settings)), timeLimit_(timeLimitSeconds), inProcess_(inProcess) {}

    TestResult run(const ValidationTest& test) const;

private:
    TestOutcome runHere(const ValidationTest& test) const;
    TestOutcome runInChild(const ValidationTest& test) const;
    std::string replayHint(const ValidationTest& test) const;

    TestSettings settings_;
    double timeLimit_;
    bool inProcess_;
};

} // namespace Brennovar::RefHost

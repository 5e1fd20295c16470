#pragma once

#include "refhost/validation/validation_check.h"

namespace Brennovar::RefHost {

/// How one test ended, with its time.
struct CheckResult {
    std::string name;
    CheckOutcome outcome;
    double seconds = 0;
};

/// Runs tests of the battery. By default each test runs in a child process of its own, so a
/// crash or a hang ends that test, not the run: a signal or the time limit is a failed test
/// whose message names the signal (or the limit), the test and the seed.
class CheckRunner {
public:
    CheckRunner(CheckSettings settings, double timeLimitSeconds, bool inProcess)
        : settings_(std::move(settings)), timeLimit_(timeLimitSeconds), inProcess_(inProcess) {}

    CheckResult run(const ValidationCheck& test) const;

private:
    CheckOutcome runHere(const ValidationCheck& test) const;
    CheckOutcome runInChild(const ValidationCheck& test) const;
    std::string replayHint(const ValidationCheck& test) const;

    CheckSettings settings_;
    double timeLimit_;
    bool inProcess_;
};

} // namespace Brennovar::RefHost

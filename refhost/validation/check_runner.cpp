#include "refhost/validation/check_runner.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Brennovar::RefHost {

namespace {

// The test's own random source: the run's seed mixed with the test's name (FNV-1a), so a test
// run alone with --include draws the same numbers as in the whole battery.
std::uint64_t testSeed(std::uint64_t seed, const std::string& name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name)
        hash = (hash ^ c) * 1099511628211ull;
    return seed ^ hash;
}

// The outcome travels from the child as a status letter followed by the message.
constexpr char kStatusLetters[] = {'P', 'F', 'W', 'S'};

std::string encode(const CheckOutcome& outcome) {
    return kStatusLetters[static_cast<int>(outcome.status)] + outcome.message;
}

CheckOutcome decode(const std::string& text) {
    for (int i = 0; i < 4; ++i)
        if (!text.empty() && text[0] == kStatusLetters[i])
            return {static_cast<CheckStatus>(i), text.substr(1)};
    return CheckOutcome::failed("the test process ended without a result");
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written <= 0)
            return;
        done += static_cast<std::size_t>(written);
    }
}

} // namespace

CheckResult CheckRunner::run(const ValidationCheck& test) const {
    const auto start = std::chrono::steady_clock::now();
    CheckResult result{test.name, inProcess_ ? runHere(test) : runInChild(test), 0};
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

CheckOutcome CheckRunner::runHere(const ValidationCheck& test) const {
    std::mt19937_64 random(testSeed(settings_.seed, test.name));
    try {
        return test.run(settings_, random);
    } catch (const std::exception& e) {
        return CheckOutcome::failed(std::string("stopped by an exception: ") + e.what());
    }
}

std::string CheckRunner::replayHint(const ValidationCheck& test) const {
    return " (test " + test.name + ", seed " + std::to_string(settings_.seed) + ")";
}

CheckOutcome CheckRunner::runInChild(const ValidationCheck& test) const {
    int channel[2];
    if (pipe(channel) != 0)
        return CheckOutcome::failed(std::string("cannot make a pipe: ") + std::strerror(errno));
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return CheckOutcome::failed(std::string("cannot start a process: ") + std::strerror(errno));
    }
    if (child == 0) {
        close(channel[0]);
        writeAll(channel[1], encode(runHere(test)));
        close(channel[1]);
        // The child's result is sent; it leaves without running the parent's exit handlers.
        std::fflush(nullptr);
        _exit(0);
    }
    close(channel[1]);
    std::string received;
    bool timedOut = false;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeLimit_);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            kill(child, SIGKILL);
            break;
        }
        pollfd wait{channel[0], POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 1000))) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        received.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut)
        return CheckOutcome::failed("no result within the time limit of " + seconds(timeLimit_) +
                                    " s" + replayHint(test));
    if (WIFSIGNALED(status))
        return CheckOutcome::failed("the test process was killed by signal " +
                                    std::to_string(WTERMSIG(status)) + " (" +
                                    sigabbrev_np(WTERMSIG(status)) + ", " +
                                    strsignal(WTERMSIG(status)) + ")" + replayHint(test));
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return CheckOutcome::failed("the test process exited with status " +
                                    std::to_string(WEXITSTATUS(status)) + replayHint(test));
    return decode(received);
}

} // namespace Brennovar::RefHost

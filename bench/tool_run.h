#pragma once
// Runs the tool as a child process, its standard output discarded, and measures it: exit status,
// wall time, processor time and peak memory. Shared by the benchmarks of the tool's paths.

#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace BenchTool {

struct Measure {
    int status = -1;
    double seconds = 0.0;
    // User and system time of the child: steadier than the wall time on a shared machine.
    double cpuSeconds = 0.0;
    long peakKiB = 0;
};

inline Measure runTool(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Measure measure;
    int raw = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &raw, 0, &usage) != child)
        return measure;
    measure.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    measure.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    measure.peakKiB = usage.ru_maxrss;
    measure.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return measure;
}

} // namespace BenchTool

#pragma once

// What the tests of the reference host share: files in a temporary folder of their own, and
// runs of zintara-host (or any command line) with everything they printed.

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace RefHostCliTest {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

/// Writes the file and gives its path quoted for a command line.
inline std::string writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return quoted(path);
}

// Per process: ctest runs every case in a process of its own, in parallel.
inline std::string temporary(const std::string& name) {
    return testing::TempDir() + "refhost_cli_" + std::to_string(getpid()) + "_" + name;
}

inline std::string modulePath() {
    const char* path = std::getenv("ZINTARA_MODULE");
    return path ? path : "";
}

inline std::string moduleArgument() {
    return "--module " + quoted(modulePath());
}

inline std::string fakeModule(const char* fault) {
    return std::string(FAKE_MODULE_DIR) + "/fake_" + fault + ".so";
}

/// Runs a shell command line and collects its exit status and both output streams.
inline ToolRun runCommand(const std::string& command) {
    const std::string out = temporary("stdout.txt");
    const std::string err = temporary("stderr.txt");
    const int raw =
        std::system(("{ " + command + "; } >" + quoted(out) + " 2>" + quoted(err)).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(out), readText(err)};
}

/// Runs zintara-host with the arguments (already quoted where needed) after `shellPrefix`.
inline ToolRun runTool(const std::string& arguments, const std::string& shellPrefix = "") {
    return runCommand(shellPrefix + quoted(ZINTARA_HOST_TOOL) + " " + arguments);
}

} // namespace RefHostCliTest

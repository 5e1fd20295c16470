#pragma once

#include <stdexcept>
#include <string>

namespace Brennovar::RefHost {

/// Exit statuses of zintara-host, the same for every subcommand (the table in
/// docs/zintara-host.md). A HostError carries the one its cause calls for.
enum ExitStatus : int {
    kExitOk = 0,
    /// The host worked but a check failed: references leaked or released too often, the module
    /// did not shut down cleanly, undo did not restore the project, or the skin is not valid.
    kExitCheckFailed = 1,
    /// A bad command line, or an input file (project, settings, script) that cannot be read.
    kExitBadInput = 2,
    /// The module cannot be loaded, or its service cannot be started.
    kExitModuleFailed = 3,
    /// An output file cannot be written.
    kExitOutputFailed = 4,
};

/// Why the reference host or its tool cannot go on: a readable message and the exit status the
/// tool ends with; for a file at fault also the file, the place in it and the problem. The one
/// error the host throws; the tool reports it as text or as JSON.
class HostError : public std::runtime_error {
public:
    HostError(int status, const std::string& message);

    int status() const noexcept { return status_; }
    /// Empty unless a file is at fault.
    const std::string& file() const noexcept { return file_; }
    /// "LINE:COLUMN", a JSON pointer, or empty.
    const std::string& place() const noexcept { return place_; }
    const std::string& problem() const noexcept { return problem_; }

protected:
    HostError(int status, std::string file, std::string place, std::string problem);

private:
    int status_;
    std::string file_;
    std::string place_;
    std::string problem_;
};

/// A file that cannot be read (kExitBadInput) or written (kExitOutputFailed). The message is
/// "FILE: PROBLEM", "FILE:LINE:COLUMN: PROBLEM" or "FILE: at /POINTER: PROBLEM".
class FileError : public HostError {
public:
    FileError(std::string file, std::string place, std::string problem, int status = kExitBadInput);
};

} // namespace Brennovar::RefHost

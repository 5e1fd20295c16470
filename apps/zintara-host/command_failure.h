#pragma once

#include "exit_status.h"

#include <stdexcept>
#include <string>

namespace Brennovar::RefHost {

class ProjectFileError;

/// Why a subcommand of zintara-host stops: the exit status and a message, and for a file at
/// fault the file, the place in it and the problem (as ProjectFileError names them).
class CommandFailure : public std::runtime_error {
public:
    CommandFailure(int status, const std::string& message);
    CommandFailure(int status, const ProjectFileError& error);

    int status() const noexcept { return status_; }
    const std::string& file() const noexcept { return file_; }
    const std::string& place() const noexcept { return place_; }
    const std::string& problem() const noexcept { return problem_; }

private:
    int status_;
    std::string file_;
    std::string place_;
    std::string problem_;
};

} // namespace Brennovar::RefHost

#include "command_failure.h"

#include "refhost/files/project_file.h"

namespace Brennovar::RefHost {

CommandFailure::CommandFailure(int status, const std::string& message)
    : std::runtime_error(message), status_(status) {}

CommandFailure::CommandFailure(int status, const ProjectFileError& error)
    : std::runtime_error(error.what()), status_(status), file_(error.file()), place_(error.place()),
      problem_(error.problem()) {}

} // namespace Brennovar::RefHost

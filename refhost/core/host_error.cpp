#include "refhost/core/host_error.h"

namespace Brennovar::RefHost {

namespace {

std::string fileMessage(const std::string& file, const std::string& place,
                        const std::string& problem) {
    return file +
           (place.empty()          ? ": "
            : place.front() == '/' ? ": at " + place + ": "
                                   : ":" + place + ": ") +
           problem;
}

} // namespace

HostError::HostError(int status, const std::string& message)
    : std::runtime_error(message), status_(status) {}

HostError::HostError(int status, std::string file, std::string place, std::string problem)
    : std::runtime_error(fileMessage(file, place, problem)), status_(status),
      file_(std::move(file)), place_(std::move(place)), problem_(std::move(problem)) {}

FileError::FileError(std::string file, std::string place, std::string problem, int status)
    : HostError(status, std::move(file), std::move(place), std::move(problem)) {}

} // namespace Brennovar::RefHost

#include "refhost/files/command_inputs.h"

#include "refhost/core/host_error.h"

#include <sys/stat.h>

namespace Brennovar::RefHost {

namespace {

// Both are looked up now rather than when the input was named: what counts is the file the
// output would replace at the moment it is written.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

CommandInputs& CommandInputs::add(std::string role, std::string path) {
    if (!path.empty())
        inputs_.push_back({std::move(role), std::move(path)});
    return *this;
}

void CommandInputs::checkOutput(const std::string& output) const {
    for (const Input& input : inputs_)
        if (sameFile(output, input.path))
            throw FileError(output, "",
                            "is " + input.role + " " + input.path +
                                ", an input of this command; it is not overwritten");
}

} // namespace Brennovar::RefHost

#pragma once

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// The files one command of the tool reads: the module it loads, the project, the settings file,
/// the script. No output of the command may replace one of them, so every writer (OutputFile)
/// is given this list and checks its target against it. Files are compared by identity (device
/// and inode), so "./song.json", a hard link and a symbolic link to an input are refused as
/// well as the input's own name.
class CommandInputs {
public:
    /// `role` names the input in messages ("the module"); an empty path is no input.
    CommandInputs& add(std::string role, std::string path);

    /// Throws FileError naming `output` and the input it is, when it is one.
    void checkOutput(const std::string& output) const;

private:
    struct Input {
        std::string role;
        std::string path;
    };
    std::vector<Input> inputs_;
};

} // namespace Brennovar::RefHost

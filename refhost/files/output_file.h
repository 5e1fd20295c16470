#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

class CommandInputs;

/// Writes a file so that it is never left half written: the content goes to a temporary file
/// beside the target, is flushed to the disk and only then renamed over the target. When any
/// step fails the temporary file is removed and whatever was at the target before is untouched.
/// A new file gets the usual permissions (0666 less the umask); a replaced one keeps its own.
///
/// A target that is an input of the command is refused before anything is written. A target
/// that is a symbolic link is written through: the file it leads to is replaced and the link
/// stays. The temporary file's name fits the folder's limit however long the target's is.
class OutputFile {
public:
    /// Throws FileError naming the target and what failed.
    static void replace(const std::string& path, std::string_view content,
                        const CommandInputs& inputs);
    /// The same with content that `write` produces into the stream, so that a large document
    /// need not be held whole in memory.
    static void replace(const std::string& path, const std::function<void(std::ostream&)>& write,
                        const CommandInputs& inputs);
};

} // namespace Brennovar::RefHost

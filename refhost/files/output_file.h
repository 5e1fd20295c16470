#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

/// Writes a file so that it is never left half written: the content goes to a temporary file
/// beside the target, is flushed to the disk and only then renamed over the target. When any
/// step fails the temporary file is removed and whatever was at the target before is untouched.
/// A new file gets the usual permissions (0666 less the umask); a replaced one keeps its own.
class OutputFile {
public:
    /// Throws ProjectFileError naming the target and what failed.
    static void replace(const std::string& path, std::string_view content);
    /// The same with content that `write` produces into the stream, so that a large document
    /// need not be held whole in memory.
    static void replace(const std::string& path, const std::function<void(std::ostream&)>& write);
};

} // namespace Brennovar::RefHost

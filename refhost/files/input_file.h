#pragma once

#include <cstdint>
#include <string>

namespace Brennovar::RefHost {

/// Reads an input file whole, after checking what it is: a path that names nothing, a folder, a
/// device (/dev/zero), a pipe or a file larger than the limit is refused before a byte is read,
/// so a hostile path cannot make the tool read without end.
class InputFile {
public:
    /// The largest project or settings file read: 256 MiB, some two million events.
    static constexpr std::uint64_t kMaxBytes = 256ull << 20;

    /// The file's bytes; throws FileError naming the file and the problem.
    static std::string read(const std::string& path, std::uint64_t maxBytes = kMaxBytes);
};

} // namespace Brennovar::RefHost

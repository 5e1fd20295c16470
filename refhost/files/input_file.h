#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Brennovar::RefHost {

/// Reads an input file, after checking what it is: a path that names nothing, a folder, a
/// device (/dev/zero), a pipe or a file larger than the limit is refused before a byte is read,
/// so a hostile path cannot make the tool read without end. A file is read whole (read()) or in
/// pieces (an InputFile), never past the size it had when it was checked.
class InputFile {
public:
    /// The largest project or settings file read: 256 MiB, some two million events.
    static constexpr std::uint64_t kMaxBytes = 256ull << 20;

    /// The file's bytes; throws FileError naming the file and the problem.
    static std::string read(const std::string& path, std::uint64_t maxBytes = kMaxBytes);

    /// Opens the file for reading in pieces; throws FileError as read() does.
    explicit InputFile(const std::string& path, std::uint64_t maxBytes = kMaxBytes);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    /// The size the file had when it was checked.
    std::uint64_t size() const noexcept { return size_; }
    /// Reads the next bytes into `buffer`: how many, 0 at the end. Throws FileError.
    std::size_t readSome(char* buffer, std::size_t capacity);

private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t done_ = 0;
};

} // namespace Brennovar::RefHost

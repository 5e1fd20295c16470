#include "refhost/files/input_file.h"

#include "refhost/core/host_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Brennovar::RefHost {

InputFile::InputFile(const std::string& path, std::uint64_t maxBytes) : path_(path) {
    if (path.empty())
        throw FileError("(empty name)", "", "an input file needs a name");
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        throw FileError(path, "",
                        std::string("cannot be opened for reading: ") + std::strerror(errno));
    try {
        struct stat status {};
        if (fstat(fd_, &status) != 0)
            throw FileError(path, "", std::string("cannot be read: ") + std::strerror(errno));
        if (!S_ISREG(status.st_mode))
            throw FileError(path, "",
                            S_ISDIR(status.st_mode) ? "is a folder, not a file"
                                                    : "is not a regular file");
        size_ = static_cast<std::uint64_t>(status.st_size);
        if (size_ > maxBytes)
            throw FileError(path, "",
                            "is " + std::to_string(size_) + " bytes; files larger than " +
                                std::to_string(maxBytes) + " bytes are refused");
    } catch (...) {
        close(fd_);
        throw;
    }
}

InputFile::~InputFile() {
    close(fd_);
}

std::size_t InputFile::readSome(char* buffer, std::size_t capacity) {
    // A file that shrank while it was read is taken as it was found; one that grew is cut at
    // the size it had when it was checked.
    const std::size_t wanted = std::min<std::uint64_t>(capacity, size_ - done_);
    for (;;) {
        if (wanted == 0)
            return 0;
        const ssize_t got = ::read(fd_, buffer, wanted);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileError(path_, "", std::string("cannot be read: ") + std::strerror(errno));
        done_ += static_cast<std::uint64_t>(got);
        return static_cast<std::size_t>(got);
    }
}

std::string InputFile::read(const std::string& path, std::uint64_t maxBytes) {
    InputFile file(path, maxBytes);
    // Read in pieces appended to room reserved for the whole, so that the memory of a large
    // file is written once (a string of its size would be filled with zeros first).
    std::string content;
    content.reserve(file.size());
    char piece[1 << 16];
    while (const std::size_t got = file.readSome(piece, sizeof piece))
        content.append(piece, got);
    return content;
}

} // namespace Brennovar::RefHost

#include "refhost/files/input_file.h"

#include "refhost/core/host_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Brennovar::RefHost {

namespace {

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            close(fd);
    }
};

} // namespace

std::string InputFile::read(const std::string& path, std::uint64_t maxBytes) {
    if (path.empty())
        throw FileError("(empty name)", "", "an input file needs a name");
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
    const Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0)
        throw FileError(path, "",
                        std::string("cannot be opened for reading: ") + std::strerror(errno));
    struct stat status {};
    if (fstat(file.fd, &status) != 0)
        throw FileError(path, "", std::string("cannot be read: ") + std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        throw FileError(path, "",
                        S_ISDIR(status.st_mode) ? "is a folder, not a file"
                                                : "is not a regular file");
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > maxBytes)
        throw FileError(path, "",
                        "is " + std::to_string(size) + " bytes; files larger than " +
                            std::to_string(maxBytes) + " bytes are refused");
    std::string content(size, '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t got = ::read(file.fd, content.data() + done, content.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileError(path, "", std::string("cannot be read: ") + std::strerror(errno));
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    // A file that shrank while it was read is taken as it was found; one that grew is cut at
    // the size it had when it was checked.
    content.resize(done);
    return content;
}

} // namespace Brennovar::RefHost

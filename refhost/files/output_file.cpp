#include "refhost/files/output_file.h"

#include "refhost/files/project_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Brennovar::RefHost {

namespace {

std::string failure(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

/// The temporary file: removed on destruction unless it was renamed into place.
class Temporary {
public:
    explicit Temporary(const std::string& target) : name_(target + ".XXXXXX") {
        fd_ = mkstemp(name_.data());
    }
    ~Temporary() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!renamed_)
            unlink(name_.c_str());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    int fd() const noexcept { return fd_; }
    const std::string& name() const noexcept { return name_; }
    bool close() noexcept {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void renamed() noexcept { renamed_ = true; }

private:
    std::string name_;
    int fd_ = -1;
    bool renamed_ = false;
};

} // namespace

void OutputFile::replace(const std::string& path, std::string_view content) {
    if (path.empty())
        throw ProjectFileError("(empty name)", "", "an output file needs a name");
    struct stat existing {};
    const bool exists = stat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        throw ProjectFileError(path, "", "is not a regular file; it is not replaced");
    Temporary temporary(path);
    if (temporary.fd() < 0)
        throw ProjectFileError(path, "",
                               "cannot be written: " + failure("creating a file beside it"));
    if (fchmod(temporary.fd(), exists ? existing.st_mode & 07777 : newFileMode()) != 0)
        throw ProjectFileError(path, "", "cannot be written: " + failure("setting permissions"));
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = write(temporary.fd(), content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw ProjectFileError(path, "",
                                   "cannot be written: " + failure("write") +
                                       "; the previous file is unchanged");
        done += static_cast<std::size_t>(written);
    }
    if (fsync(temporary.fd()) != 0 || !temporary.close())
        throw ProjectFileError(path, "",
                               "cannot be written: " + failure("flush") +
                                   "; the previous file is unchanged");
    if (std::rename(temporary.name().c_str(), path.c_str()) != 0)
        throw ProjectFileError(path, "",
                               "cannot be written: " + failure("rename") +
                                   "; the previous file is unchanged");
    temporary.renamed();
}

} // namespace Brennovar::RefHost

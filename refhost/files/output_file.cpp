#include "refhost/files/output_file.h"

#include "refhost/core/host_error.h"
#include "refhost/files/command_inputs.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <ostream>
#include <streambuf>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Brennovar::RefHost {

namespace {

/// The file cannot be written: the tool ends with kExitOutputFailed.
FileError unwritable(const std::string& path, const std::string& problem) {
    return FileError(path, "", problem, kExitOutputFailed);
}

std::string failure(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

/// The file a path leads to: the path itself, or where its chain of symbolic links ends (which
/// need not exist yet), so that writing through a link replaces that file and keeps the link.
std::string linkTarget(const std::string& path) {
    // The system's own limit on links followed in one lookup.
    constexpr int kMaxLinks = 40;
    std::filesystem::path at = path;
    for (int followed = 0; followed < kMaxLinks; ++followed) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(at, error)))
            return at.string();
        std::filesystem::path next = std::filesystem::read_symlink(at, error);
        if (error)
            throw unwritable(path, "cannot be written: " + error.message());
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    throw unwritable(path, "cannot be written: too many levels of symbolic links");
}

/// "NAME.XXXXXX" beside the target, with NAME cut so that the whole fits the longest file name
/// a folder takes.
std::string temporaryName(const std::string& target) {
    constexpr std::string_view kSuffix = ".XXXXXX";
    const std::filesystem::path path = target;
    std::string name = path.filename().string();
    name.resize(std::min(name.size(), NAME_MAX - kSuffix.size()));
    return (path.parent_path() / (name + std::string(kSuffix))).string();
}

/// The temporary file: removed on destruction unless it was renamed into place.
class Temporary {
public:
    explicit Temporary(const std::string& target) : name_(temporaryName(target)) {
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

/// A stream buffer that writes to a file descriptor and keeps the first error.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd) : fd_(fd), buffer_(1u << 16) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    int error() const noexcept { return error_; }

protected:
    int_type overflow(int_type c) override {
        if (!drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    bool drain() {
        const char* from = pbase();
        while (error_ == 0 && from < pptr()) {
            const ssize_t written = ::write(fd_, from, static_cast<std::size_t>(pptr() - from));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                error_ = written < 0 ? errno : EIO;
            else
                from += written;
        }
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return error_ == 0;
    }

    int fd_;
    std::vector<char> buffer_;
    int error_ = 0;
};

} // namespace

void OutputFile::replace(const std::string& path, std::string_view content,
                         const CommandInputs& inputs) {
    replace(
        path,
        [content](std::ostream& out) {
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
        },
        inputs);
}

void OutputFile::replace(const std::string& path, const std::function<void(std::ostream&)>& write,
                         const CommandInputs& inputs) {
    if (path.empty())
        throw FileError("(empty name)", "", "an output file needs a name");
    inputs.checkOutput(path);
    const std::string target = linkTarget(path);
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        throw unwritable(path, "is not a regular file; it is not replaced");
    Temporary temporary(target);
    if (temporary.fd() < 0)
        throw unwritable(path, "cannot be written: " + failure("creating a file beside it"));
    if (fchmod(temporary.fd(), exists ? existing.st_mode & 07777 : newFileMode()) != 0)
        throw unwritable(path, "cannot be written: " + failure("setting permissions"));
    // What a failure from here on leaves behind: the old file untouched, or no file at all.
    const std::string leftAlone =
        exists ? "; the previous file is unchanged" : "; no file was left behind";
    DescriptorBuffer buffer(temporary.fd());
    std::ostream out(&buffer);
    write(out);
    out.flush();
    if (buffer.error() != 0) {
        errno = buffer.error();
        throw unwritable(path, "cannot be written: " + failure("write") + leftAlone);
    }
    if (fsync(temporary.fd()) != 0 || !temporary.close())
        throw unwritable(path, "cannot be written: " + failure("flush") + leftAlone);
    if (std::rename(temporary.name().c_str(), target.c_str()) != 0)
        throw unwritable(path, "cannot be written: " + failure("rename") + leftAlone);
    temporary.renamed();
}

} // namespace Brennovar::RefHost

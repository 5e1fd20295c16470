#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Brennovar::Resources {

/// One file to pack.
struct PackedFile {
    std::string name;
    std::vector<std::uint8_t> content;
    /// Stored as a zlib stream at the highest compression level (flags 6) instead of as it is
    /// (flags 2).
    bool compress = false;
};

/// Packs files into a resource container: the header line, the entries back to back from
/// offset 25, the directory, the digest (Md5Digest of everything before it) and the trailer.
/// Returns an empty vector when a file is too large for 32-bit sizes or fails to compress.
std::vector<std::uint8_t> packContainer(const std::vector<PackedFile>& files);

} // namespace Brennovar::Resources

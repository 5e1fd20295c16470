#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace Brennovar::Resources {

/// The 128-bit message digest of RFC 1321. The container's digest is this digest of every byte
/// before it (header line, entry data and directory), written as 32 upper-case hex digits.
class Md5Digest {
public:
    Md5Digest() noexcept;

    /// Adds bytes to the message.
    void update(std::span<const std::uint8_t> bytes) noexcept;
    /// Pads the message and returns its digest; the object is then spent.
    std::array<std::uint8_t, 16> finish() noexcept;

    /// The digest of `bytes` as 32 upper-case hexadecimal digits.
    static std::string hexOf(std::span<const std::uint8_t> bytes);

private:
    void processBlock(const std::uint8_t* block) noexcept;

    std::array<std::uint32_t, 4> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::uint64_t length_ = 0;
};

} // namespace Brennovar::Resources

#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace Brennovar::Zintara {

/// Owns copies of texts for the life of a translation table. Texts are packed into blocks of
/// 40960 bytes; a text that does not fit the room left starts a new block (a text larger than a
/// block gets a block of its own). Nothing is freed before the pool is destroyed, so every
/// returned pointer stays valid until then. Copies are null-terminated.
class StringPool {
public:
    static constexpr std::size_t kBlockSize = 40960;

    StringPool() = default;
    StringPool(const StringPool&) = delete;
    StringPool& operator=(const StringPool&) = delete;

    /// Null when memory runs out.
    const char* store(std::string_view text) noexcept;
    const char16_t* store(std::u16string_view text) noexcept;

private:
    void* allocate(std::size_t bytes, std::size_t alignment) noexcept;

    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::size_t used_ = kBlockSize;
    std::size_t capacity_ = kBlockSize;
};

} // namespace Brennovar::Zintara

#include "localization/string_pool.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace Brennovar::Zintara {

void* StringPool::allocate(std::size_t bytes, std::size_t alignment) noexcept {
    std::size_t start = (used_ + alignment - 1) / alignment * alignment;
    if (blocks_.empty() || start + bytes > capacity_) {
        std::size_t size = std::max(bytes, kBlockSize);
        try {
            blocks_.push_back(std::unique_ptr<std::byte[]>(new (std::nothrow) std::byte[size]));
        } catch (...) {
            return nullptr;
        }
        if (!blocks_.back()) {
            blocks_.pop_back();
            return nullptr;
        }
        capacity_ = size;
        start = 0;
    }
    used_ = start + bytes;
    return blocks_.back().get() + start;
}

const char* StringPool::store(std::string_view text) noexcept {
    auto* copy = static_cast<char*>(allocate(text.size() + 1, alignof(char)));
    if (!copy)
        return nullptr;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

const char16_t* StringPool::store(std::u16string_view text) noexcept {
    std::size_t units = text.size() + 1;
    if (units > SIZE_MAX / sizeof(char16_t))
        return nullptr;
    auto* copy = static_cast<char16_t*>(allocate(units * sizeof(char16_t), alignof(char16_t)));
    if (!copy)
        return nullptr;
    std::memcpy(copy, text.data(), text.size() * sizeof(char16_t));
    copy[text.size()] = u'\0';
    return copy;
}

} // namespace Brennovar::Zintara

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Brennovar::Testing {

/// The vtable slot of a virtual member function. Under the Itanium C++ ABI a pointer to a
/// virtual member function stores 1 + the byte offset of its entry in the vtable.
template <class Function>
std::size_t slotOf(Function function) {
    static_assert(sizeof(Function) == 2 * sizeof(std::uintptr_t));
    std::uintptr_t words[2];
    std::memcpy(words, &function, sizeof words);
    return (words[0] - 1) / sizeof(void*);
}

} // namespace Brennovar::Testing

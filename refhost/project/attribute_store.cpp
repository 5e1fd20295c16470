#include "refhost/project/attribute_store.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace Brennovar::RefHost {

namespace {

bool sameText16(const char16_t* a, const char16_t* b) noexcept {
    if (!a || !b)
        return a == b;
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

} // namespace

bool sameValue(const FTaggedValue& a, const FTaggedValue& b) noexcept {
    if (a.kind() != b.kind())
        return false;
    switch (a.kind()) {
    case FTaggedValue::kString8:
        return (!a.string8 || !b.string8) ? a.string8 == b.string8
                                          : std::strcmp(a.string8, b.string8) == 0;
    case FTaggedValue::kString16:
        return sameText16(a.string16, b.string16);
    case FTaggedValue::kObject:
        return a.object == b.object;
    default:
        return a.integer == b.integer;
    }
}

bool AttributeStore::storable(const FTaggedValue& value) noexcept {
    switch (value.kind()) {
    case FTaggedValue::kEmpty:
    case FTaggedValue::kInteger:
    case FTaggedValue::kString8:
    case FTaggedValue::kString16:
        return true;
    default:
        return false;
    }
}

struct AttributeStore::Block {
    std::uint32_t size;
    std::uint32_t capacity;

    static Block* make(std::uint32_t capacity) {
        static_assert(sizeof(Block) % alignof(Entry) == 0);
        void* memory = ::operator new(sizeof(Block) + capacity * sizeof(Entry));
        return new (memory) Block{0, capacity};
    }
    /// Destroys the entries and frees the block.
    static void release(Block* block) noexcept {
        if (!block)
            return;
        std::destroy(block->begin(), block->end());
        block->~Block();
        ::operator delete(block);
    }
    Entry* begin() noexcept {
        return std::launder(
            reinterpret_cast<Entry*>(reinterpret_cast<std::byte*>(this) + sizeof(Block)));
    }
    Entry* end() noexcept { return begin() + size; }
    /// Where the key is or would go.
    Entry* positionOf(std::string_view key) noexcept {
        return std::lower_bound(begin(), end(), key,
                                [](const Entry& entry, std::string_view wanted) {
                                    return std::string_view(entry.first) < wanted;
                                });
    }
};

AttributeStore& AttributeStore::operator=(AttributeStore&& other) noexcept {
    if (this != &other)
        Block::release(std::exchange(block_, std::exchange(other.block_, nullptr)));
    return *this;
}

AttributeStore::~AttributeStore() {
    Block::release(block_);
}

void AttributeStore::set(std::string_view key, const FTaggedValue& value) {
    FTaggedValue copy(value);
    if (copy.isEmpty()) {
        erase(key);
        return;
    }
    Entry* at = block_ ? block_->positionOf(key) : nullptr;
    if (block_ && at != block_->end() && at->first == key) {
        at->second = std::move(copy);
        return;
    }
    Entry added(std::string(key), std::move(copy));
    if (!block_ || block_->size == block_->capacity) {
        // A larger block, the entries moved into it around the new one (moves do not throw).
        const std::uint32_t size = block_ ? block_->size : 0;
        const std::size_t index = block_ ? static_cast<std::size_t>(at - block_->begin()) : 0;
        Block* grown = Block::make(size == 0 ? 1 : 2 * size);
        Entry* target = grown->begin();
        if (block_) {
            target = std::uninitialized_move(block_->begin(), block_->begin() + index, target);
            new (target++) Entry(std::move(added));
            std::uninitialized_move(block_->begin() + index, block_->end(), target);
        } else {
            new (target) Entry(std::move(added));
        }
        grown->size = size + 1;
        Block::release(std::exchange(block_, grown));
        return;
    }
    // Room at the end: the entries from `at` on move up one.
    Entry* last = block_->end();
    if (at == last) {
        new (last) Entry(std::move(added));
    } else {
        new (last) Entry(std::move(*(last - 1)));
        std::move_backward(at, last - 1, last);
        *at = std::move(added);
    }
    ++block_->size;
}

void AttributeStore::erase(std::string_view key) noexcept {
    if (!block_)
        return;
    Entry* at = block_->positionOf(key);
    if (at == block_->end() || at->first != key)
        return;
    std::move(at + 1, block_->end(), at);
    std::destroy_at(block_->end() - 1);
    --block_->size;
}

const FTaggedValue* AttributeStore::find(std::string_view key) const noexcept {
    if (!block_)
        return nullptr;
    const Entry* at = block_->positionOf(key);
    return at != block_->end() && at->first == key ? &at->second : nullptr;
}

AttributeStore::Entries AttributeStore::entries() const noexcept {
    return block_ ? Entries(block_->begin(), block_->size) : Entries();
}

} // namespace Brennovar::RefHost

#include "refhost/core/object_store.h"

#include <algorithm>
#include <new>
#include <sys/mman.h>

namespace Brennovar::RefHost {

namespace {

// Blocks grow from small (a test's host holds a few dozen objects) up to a size that the
// allocator serves from the memory it keeps, such as what a file's outline freed once its
// project was built. A store of millions of objects (a large project, a command that makes a
// marker for each of its events) goes on in large blocks that the system maps with all their
// pages at once: taking the pages one fault at a time costs more than making the objects.
constexpr std::size_t kFirstBlockSize = std::size_t{1} << 12;
constexpr std::size_t kLargestBlockSize = std::size_t{1} << 16;
constexpr std::size_t kMappedBlockSize = std::size_t{1} << 22;
/// Blocks allocated before the store maps them: some 16 MiB.
constexpr std::size_t kAllocatedBlocks = 256;
#ifdef MAP_POPULATE
constexpr int kMapAtOnce = MAP_POPULATE;
#else
constexpr int kMapAtOnce = 0;
#endif

} // namespace

void ObjectStore::Release::operator()(std::byte* memory) const noexcept {
    if (mapped)
        munmap(memory, mapped);
    else
        delete[] memory;
}

ObjectStore::Entry& ObjectStore::reserve(std::size_t size, std::size_t alignment) {
    auto fits = [&](const Block& block) {
        return (block.used + alignment - 1) / alignment * alignment + size <= block.size;
    };
    if (blocks_.empty() || !fits(blocks_.back())) {
        std::size_t blockSize = blocks_.empty()
                                    ? kFirstBlockSize
                                    : std::min(2 * blocks_.back().size, kLargestBlockSize);
        Block block;
        if (blocks_.size() < kAllocatedBlocks) {
            block.size = std::max(blockSize, size);
            block.memory.reset(new std::byte[block.size]);
        } else {
            block.size = std::max(kMappedBlockSize, size);
            void* mapped = mmap(nullptr, block.size, PROT_READ | PROT_WRITE,
                                MAP_PRIVATE | MAP_ANONYMOUS | kMapAtOnce, -1, 0);
            if (mapped == MAP_FAILED)
                throw std::bad_alloc();
            block.memory = std::unique_ptr<std::byte[], Release>(static_cast<std::byte*>(mapped),
                                                                 Release{block.size});
        }
        // Room for as many entries as objects of this size fill the block, so that the entries
        // of a block of like objects are allocated once.
        block.entries.reserve(block.size / size);
        const std::byte* start = block.memory.get();
        byAddress_.add(start, blocks_.size());
        try {
            blocks_.push_back(std::move(block));
        } catch (...) {
            byAddress_.remove(start);
            throw;
        }
    }
    Block& block = blocks_.back();
    const std::size_t offset = (block.used + alignment - 1) / alignment * alignment;
    Entry& entry = block.entries.emplace_back(Entry{block.memory.get() + offset, nullptr});
    block.used = offset + size;
    return entry;
}

CountedObject* ObjectStore::find(const void* address) const noexcept {
    const auto* byte = static_cast<const std::byte*>(address);
    if (CountedObject* loose = loose_.find(byte))
        return loose;
    const auto block = byAddress_.startingBefore(byte);
    if (!block)
        return nullptr;
    const Block& holder = blocks_[*block];
    if (!AddressIndex::before(byte, holder.memory.get() + holder.used))
        return nullptr;
    auto entry = std::upper_bound(
        holder.entries.begin(), holder.entries.end(), byte,
        [](const std::byte* a, const Entry& b) { return AddressIndex::before(a, b.start); });
    return entry == holder.entries.begin() ? nullptr : std::prev(entry)->object;
}

void ObjectStore::destroy(CountedObject& object) noexcept {
    void* room = dynamic_cast<void*>(&object);
    if (!loose_.vacate(room))
        return;
    object.~CountedObject();
    loose_.free(room);
}

void ObjectStore::clear() noexcept {
    // Loose objects first: they are made for clients, and may use the others as they go.
    for (CountedObject* object : loose_.live(false)) {
        void* room = dynamic_cast<void*>(object);
        loose_.vacate(room);
        object->~CountedObject();
    }
    loose_.reset();
    // Newest first, so objects go before the objects they were made from.
    for (auto block = blocks_.rbegin(); block != blocks_.rend(); ++block) {
        for (auto entry = block->entries.rbegin(); entry != block->entries.rend(); ++entry) {
            CountedObject* object = std::exchange(entry->object, nullptr);
            if (object)
                object->~CountedObject();
        }
    }
    blocks_.clear();
    byAddress_.clear();
}

} // namespace Brennovar::RefHost

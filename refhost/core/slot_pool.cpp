#include "refhost/core/slot_pool.h"

#include <algorithm>
#include <limits>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZINTARA_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZINTARA_ADDRESS_SANITIZER 1
#endif
#ifdef ZINTARA_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

namespace Brennovar::RefHost {

namespace {

constexpr std::size_t kSlabSize = std::size_t{1} << 16;
constexpr std::size_t kAlignment = 16;
constexpr std::size_t kNoSlab = std::numeric_limits<std::size_t>::max();
// Slots given back wait until this many more of their size were given back after them.
constexpr std::size_t kWaiting = 64;

bool before(const std::byte* a, const std::byte* b) noexcept {
    return AddressIndex::before(a, b);
}

void poison([[maybe_unused]] void* room, [[maybe_unused]] std::size_t size) noexcept {
#ifdef ZINTARA_ADDRESS_SANITIZER
    __asan_poison_memory_region(room, size);
#endif
}

void unpoison([[maybe_unused]] void* room, [[maybe_unused]] std::size_t size) noexcept {
#ifdef ZINTARA_ADDRESS_SANITIZER
    __asan_unpoison_memory_region(room, size);
#endif
}

} // namespace

SlotPool::SizeClass& SlotPool::sizeClass(std::size_t slotSize) {
    for (SizeClass& sizes : sizes_)
        if (sizes.slotSize == slotSize)
            return sizes;
    return sizes_.emplace_back(SizeClass{slotSize, kNoSlab});
}

SlotPool::Slot* SlotPool::carve(SizeClass& sizes) {
    if (sizes.slab == kNoSlab || slabs_[sizes.slab].carved == slabs_[sizes.slab].slots) {
        const std::size_t bytes = std::max(kSlabSize, sizes.slotSize);
        Slab slab{std::unique_ptr<std::byte[]>(new std::byte[bytes]), sizes.slotSize,
                  bytes / sizes.slotSize};
        const std::byte* start = slab.memory.get();
        byAddress_.add(start, slabs_.size());
        try {
            slabs_.push_back(std::move(slab));
        } catch (...) {
            byAddress_.remove(start);
            throw;
        }
        sizes.slab = slabs_.size() - 1;
    }
    Slab& slab = slabs_[sizes.slab];
    return new (slab.memory.get() + slab.carved++ * slab.slotSize) Slot;
}

void* SlotPool::allocate(std::size_t size) {
    const std::size_t room = (size + kAlignment - 1) / kAlignment * kAlignment;
    SizeClass& sizes = sizeClass(sizeof(Slot) + room);
    Slot* slot = nullptr;
    if (sizes.waiting > kWaiting) {
        slot = std::exchange(sizes.oldest, sizes.oldest->next);
        if (!sizes.oldest)
            sizes.newest = nullptr;
        --sizes.waiting;
        unpoison(slot + 1, room);
    } else {
        slot = carve(sizes);
    }
    slot->next = nullptr;
    slot->size = size;
    return slot + 1;
}

void SlotPool::occupy(void* room, CountedObject* object) noexcept {
    Slot* slot = static_cast<Slot*>(room) - 1;
    slot->object = object;
    slot->serial = nextSerial_++;
}

bool SlotPool::vacate(const void* room) noexcept {
    Slot* slot = slotAt(static_cast<const std::byte*>(room));
    if (!slot || slot + 1 != room || !slot->object)
        return false;
    slot->object = nullptr;
    return true;
}

void SlotPool::free(void* room) noexcept {
    Slot* slot = static_cast<Slot*>(room) - 1;
    slot->object = nullptr;
    const std::size_t slotSize = slabAt(reinterpret_cast<const std::byte*>(slot))->slotSize;
    SizeClass& sizes = *std::find_if(sizes_.begin(), sizes_.end(),
                                     [&](const SizeClass& c) { return c.slotSize == slotSize; });
    poison(room, slotSize - sizeof(Slot));
    (sizes.newest ? sizes.newest->next : sizes.oldest) = slot;
    sizes.newest = slot;
    ++sizes.waiting;
}

const SlotPool::Slab* SlotPool::slabAt(const std::byte* address) const noexcept {
    const auto at = byAddress_.startingBefore(address);
    if (!at)
        return nullptr;
    const Slab& slab = slabs_[*at];
    return before(address, slab.memory.get() + slab.carved * slab.slotSize) ? &slab : nullptr;
}

SlotPool::Slot* SlotPool::slotAt(const std::byte* address) const noexcept {
    const Slab* slab = slabAt(address);
    if (!slab)
        return nullptr;
    std::byte* start = slab->memory.get();
    const std::size_t slot = static_cast<std::size_t>(address - start) / slab->slotSize;
    return reinterpret_cast<Slot*>(start + slot * slab->slotSize);
}

CountedObject* SlotPool::find(const void* address) const noexcept {
    const auto* byte = static_cast<const std::byte*>(address);
    const Slot* slot = slotAt(byte);
    if (!slot || !slot->object)
        return nullptr;
    const auto* room = reinterpret_cast<const std::byte*>(slot + 1);
    return !before(byte, room) && before(byte, room + slot->size) ? slot->object : nullptr;
}

std::vector<CountedObject*> SlotPool::live(bool oldestFirst) const {
    std::vector<const Slot*> slots;
    for (const Slab& slab : slabs_)
        for (std::size_t i = 0; i < slab.carved; ++i)
            if (const auto* slot =
                    reinterpret_cast<const Slot*>(slab.memory.get() + i * slab.slotSize);
                slot->object)
                slots.push_back(slot);
    if (oldestFirst)
        std::sort(slots.begin(), slots.end(),
                  [](const Slot* a, const Slot* b) { return a->serial < b->serial; });
    std::vector<CountedObject*> objects;
    objects.reserve(slots.size());
    for (const Slot* slot : slots)
        objects.push_back(slot->object);
    return objects;
}

void SlotPool::reset() noexcept {
    for (Slab& slab : slabs_)
        unpoison(slab.memory.get(), std::max(kSlabSize, slab.slotSize));
    slabs_.clear();
    byAddress_.clear();
    sizes_.clear();
}

} // namespace Brennovar::RefHost

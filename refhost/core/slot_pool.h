#pragma once

#include "refhost/core/address_index.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

class CountedObject;

/// Rooms for host objects that may go early (a dialog's parameters and menu items, made and let
/// go by the thousand), carved as slots from large slabs instead of allocated one by one. Each
/// slot remembers the object in it, so that an address inside a live object names that object.
///
/// A slot given back waits in a queue of its size until many more were given back after it, and
/// under AddressSanitizer its room is poisoned while it waits: a client that uses an object
/// after the host destroyed it is caught as with objects allocated one by one.
class SlotPool {
public:
    SlotPool() = default;
    SlotPool(const SlotPool&) = delete;
    SlotPool& operator=(const SlotPool&) = delete;
    ~SlotPool() { reset(); }

    /// Room for an object of `size` bytes, aligned for any fundamental type.
    void* allocate(std::size_t size);
    /// Records the object constructed in `room` (as its CountedObject part).
    void occupy(void* room, CountedObject* object) noexcept;
    /// Forgets the object in `room`; false, changing nothing, when `room` is not the room of a
    /// live object of this pool.
    bool vacate(const void* room) noexcept;
    /// Gives back a room that holds no object (vacated, or whose constructor threw).
    void free(void* room) noexcept;

    /// The object whose room holds the address; null for any other address.
    CountedObject* find(const void* address) const noexcept;
    /// The live objects, oldest first or in no particular order.
    std::vector<CountedObject*> live(bool oldestFirst) const;

    /// Frees every slab; the objects in them must have been destroyed.
    void reset() noexcept;

private:
    struct alignas(16) Slot {
        CountedObject* object = nullptr;
        Slot* next = nullptr;
        std::uint64_t serial = 0;
        std::size_t size = 0;
    };
    struct Slab {
        std::unique_ptr<std::byte[]> memory;
        std::size_t slotSize;
        std::size_t slots;
        std::size_t carved = 0;
    };
    // The slots of one size: the slab being carved and the queue of slots given back.
    struct SizeClass {
        std::size_t slotSize;
        std::size_t slab;
        Slot* oldest = nullptr;
        Slot* newest = nullptr;
        std::size_t waiting = 0;
    };

    SizeClass& sizeClass(std::size_t slotSize);
    Slot* carve(SizeClass& sizes);
    /// The slab whose carved slots hold the address, or null.
    const Slab* slabAt(const std::byte* address) const noexcept;
    /// The slot whose bytes hold the address, or null.
    Slot* slotAt(const std::byte* address) const noexcept;

    std::vector<Slab> slabs_;
    // Each slab's start with its index in slabs_.
    AddressIndex byAddress_;
    std::vector<SizeClass> sizes_;
    std::uint64_t nextSerial_ = 0;
};

} // namespace Brennovar::RefHost

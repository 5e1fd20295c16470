#pragma once

#include "refhost/core/address_index.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/slot_pool.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

/// Where the host objects live. Those that live until the host ends are packed one after the
/// other into large blocks rather than allocated one by one: nothing is lost by that, and the
/// objects of a block lie in address order, which lets find() name the object that holds an
/// address with two binary searches instead of a register entry for each interface of each
/// object. Loose objects, which may go early (destroy()), live in the slots of a SlotPool.
class ObjectStore {
public:
    ObjectStore() = default;
    ObjectStore(const ObjectStore&) = delete;
    ObjectStore& operator=(const ObjectStore&) = delete;
    ~ObjectStore() { clear(); }

    /// Constructs T in the store. Objects that T's constructor makes itself come after it.
    template <class T, class... Args>
    T& make(Args&&... args) {
        static_assert(std::is_base_of_v<CountedObject, T>);
        static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
        Entry& entry = reserve(sizeof(T), alignof(T));
        const std::size_t block = blocks_.size() - 1;
        const std::size_t index = blocks_.back().entries.size() - 1;
        T* object = new (entry.start) T(std::forward<Args>(args)...);
        // The constructor may have made objects, which moved the entries.
        blocks_[block].entries[index].object = object;
        return *object;
    }

    /// Constructs T on its own, to be destroyed early or with the store.
    template <class T, class... Args>
    T& makeLoose(Args&&... args) {
        static_assert(std::is_base_of_v<CountedObject, T>);
        static_assert(alignof(T) <= 16);
        void* room = loose_.allocate(sizeof(T));
        T* object = nullptr;
        try {
            object = new (room) T(std::forward<Args>(args)...);
        } catch (...) {
            loose_.free(room);
            throw;
        }
        loose_.occupy(room, object);
        return *object;
    }
    /// Destroys a loose object now.
    void destroy(CountedObject& object) noexcept;

    /// The object whose storage holds the address; null for any other address.
    CountedObject* find(const void* address) const noexcept;

    /// Calls visit(object) for every object: those kept until the end oldest first, then the
    /// loose ones oldest first.
    template <class Visit>
    void forEach(Visit&& visit) const {
        for (const Block& block : blocks_)
            for (const Entry& entry : block.entries)
                if (entry.object)
                    visit(*entry.object);
        for (CountedObject* object : loose_.live(true))
            visit(*object);
    }

    /// Destroys every object, newest first, and frees the storage.
    void clear() noexcept;

private:
    struct Entry {
        std::byte* start;
        // Null while the object is being constructed, and for ever when its constructor threw.
        CountedObject* object;
    };
    /// Frees a block's memory: mapped (its size) or allocated (0).
    struct Release {
        std::size_t mapped;
        void operator()(std::byte* memory) const noexcept;
    };
    struct Block {
        std::unique_ptr<std::byte[], Release> memory{nullptr, Release{0}};
        std::size_t size = 0;
        std::size_t used = 0;
        std::vector<Entry> entries;
    };

    Entry& reserve(std::size_t size, std::size_t alignment);

    std::vector<Block> blocks_;
    // Each block's start with its index in blocks_.
    AddressIndex byAddress_;
    SlotPool loose_;
};

} // namespace Brennovar::RefHost

#pragma once

#include "module/tagged_value.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace Brennovar::RefHost {

/// The attributes of one host object: values by key, each an owned copy, so a stored value
/// survives whatever the caller does with its own buffer afterwards.
///
/// Integers, 8-bit and 16-bit strings are stored. Objects are refused: attributes are saved with
/// the project, which cannot hold an object, and holding a client's object would outlive the
/// client.
class AttributeStore {
public:
    using Entry = std::pair<std::string, FTaggedValue>;
    /// The keys with their values, in the order of the keys (as compared by std::string).
    using Entries = std::span<const Entry>;

    AttributeStore() = default;
    AttributeStore(const AttributeStore&) = delete;
    AttributeStore& operator=(const AttributeStore&) = delete;
    AttributeStore(AttributeStore&& other) noexcept
        : block_(std::exchange(other.block_, nullptr)) {}
    AttributeStore& operator=(AttributeStore&& other) noexcept;
    ~AttributeStore();

    /// Whether a value can be stored: empty (removes the key), integer, 8-bit or 16-bit string.
    static bool storable(const FTaggedValue& value) noexcept;

    /// Stores an owned copy under the key; an empty value (or a null string) removes the key.
    /// The value must be storable.
    void set(std::string_view key, const FTaggedValue& value);
    void erase(std::string_view key) noexcept;
    /// The stored value, or null.
    const FTaggedValue* find(std::string_view key) const noexcept;

    /// Valid until the store changes.
    Entries entries() const noexcept;

private:
    /// The entries in one allocation: their count and room, then the entries themselves.
    struct Block;

    // Most objects of a large project (its events) have no attributes: they hold a null pointer
    // rather than an empty list. An object has few keys, so a sorted list finds them as fast as
    // a tree would, in one allocation with its count rather than one per key.
    Block* block_ = nullptr;
};

/// Two tagged values hold the same kind and the same payload (strings by content).
bool sameValue(const FTaggedValue& a, const FTaggedValue& b) noexcept;

} // namespace Brennovar::RefHost

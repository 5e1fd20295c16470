#pragma once

#include "module/tagged_value.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

/// The attributes of one host object: values by key, each an owned copy, so a stored value
/// survives whatever the caller does with its own buffer afterwards.
///
/// Integers, 8-bit and 16-bit strings are stored. Objects are refused: attributes are saved with
/// the project, which cannot hold an object, and holding a client's object would outlive the
/// client.
class AttributeStore {
public:
    /// Whether a value can be stored: empty (removes the key), integer, 8-bit or 16-bit string.
    static bool storable(const FTaggedValue& value) noexcept;

    /// Stores an owned copy under the key; an empty value (or a null string) removes the key.
    /// The value must be storable.
    void set(const std::string& key, const FTaggedValue& value);
    void erase(const std::string& key) noexcept;
    /// The stored value, or null.
    const FTaggedValue* find(std::string_view key) const noexcept;

    using Entries = std::map<std::string, FTaggedValue, std::less<>>;
    const Entries& entries() const noexcept;

private:
    // Most objects of a large project (its events) have no attributes: they hold a null pointer
    // rather than an empty map.
    std::unique_ptr<Entries> values_;
};

/// Two tagged values hold the same kind and the same payload (strings by content).
bool sameValue(const FTaggedValue& a, const FTaggedValue& b) noexcept;

} // namespace Brennovar::RefHost

#pragma once

#include "module/funknown.h"

#include <cstddef>

namespace Brennovar {

/// The 16-byte tagged value exchanged with the host's attribute calls and held as a mapping
/// row's data. Owned strings are allocated with malloc and freed with free, on both sides of the
/// boundary, so that a value filled by the host can be released by the module and the reverse.
struct FTaggedValue {
    enum Type : std::uint16_t {
        kEmpty = 0,
        kInteger = 1,
        kString8 = 4,
        kObject = 8,
        kOwner = 0x10,
        kString16 = 0x20,
    };
    static constexpr std::uint16_t kKindMask = 0xFFEF;

    std::uint16_t type = kEmpty;
    std::uint8_t padding[6]{};
    union {
        int64 integer = 0;
        char* string8;
        char16_t* string16;
        FUnknown* object;
    };

    FTaggedValue() = default;
    FTaggedValue(const FTaggedValue& other) { copyFrom(other); }
    FTaggedValue& operator=(const FTaggedValue& other) {
        copyFrom(other);
        return *this;
    }
    /// Takes over the other's payload and ownership; the other becomes empty.
    FTaggedValue(FTaggedValue&& other) noexcept : type(other.type), integer(other.integer) {
        other.type = kEmpty;
        other.integer = 0;
    }
    FTaggedValue& operator=(FTaggedValue&& other) noexcept {
        if (this != &other) {
            release();
            type = other.type;
            integer = other.integer;
            other.type = kEmpty;
            other.integer = 0;
        }
        return *this;
    }
    ~FTaggedValue() { release(); }

    static FTaggedValue fromInteger(int64 value);
    /// A view of the caller's text; the value does not own it.
    static FTaggedValue fromString8(const char* text);
    static FTaggedValue fromString16(const char16_t* text);

    /// The type without the owner flag.
    std::uint16_t kind() const { return type & kKindMask; }
    bool isEmpty() const { return kind() == kEmpty; }
    bool owns() const { return (type & kOwner) != 0; }

    /// Frees an owned string or releases an owned object; the value becomes empty.
    void release();
    /// Releases this value's payload, then takes the other's type; strings are duplicated and
    /// objects get a reference, after which the copy owns its payload. Copying a value into
    /// itself leaves it unchanged.
    void copyFrom(const FTaggedValue& other);
};
static_assert(sizeof(FTaggedValue) == 16);
static_assert(offsetof(FTaggedValue, type) == 0);
static_assert(offsetof(FTaggedValue, integer) == 8);

/// malloc-based copies, freed with free(); null for a null text.
char* duplicateString8(const char* text);
char16_t* duplicateString16(const char16_t* text);

} // namespace Brennovar

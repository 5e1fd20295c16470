#pragma once

#include "module/funknown.h"

#include <string>

namespace Brennovar {

/// A polymorphic wrapper around the 16 bytes of an id.
class FUID {
public:
    /// All zero.
    FUID() = default;
    explicit FUID(const Guid& bytes) : guid_(bytes) {}
    /// From four 32-bit numbers: A; B then C; D then the first four digits of E; the last eight
    /// digits of E.
    FUID(uint32 l1, uint32 l2, uint32 l3, uint32 l4);
    virtual ~FUID() = default;

    /// A fresh random id from the operating system's random source.
    static FUID generate();

    const Guid& bytes() const { return guid_; }
    bool isZero() const { return guid_ == Guid{}; }
    /// The text form {AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}, upper-case.
    std::string toString() const;

    bool operator==(const FUID& other) const { return guid_ == other.guid_; }

private:
    Guid guid_{};
};

} // namespace Brennovar
